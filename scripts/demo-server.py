#!/usr/bin/env python3
"""The demo download server: serves a folder on 127.0.0.1 over HTTP/1.1 (GET and HEAD with
Content-Length, keep-alive) and stops by itself after a time limit or a request limit. With
--rate it sends at most that many bytes a second per download, so that the progress of a
demo installation can be watched."""
import argparse
import functools
import http.server
import threading
import time


class Handler(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    requests_left = 0
    rate = 0
    lock = threading.Lock()

    def copyfile(self, source, outputfile):
        if not Handler.rate:
            return super().copyfile(source, outputfile)
        chunk = max(1, Handler.rate // 10)
        while True:
            data = source.read(chunk)
            if not data:
                return
            outputfile.write(data)
            time.sleep(len(data) / Handler.rate)

    def log_message(self, fmt, *args):
        print("demo-server: " + fmt % args, flush=True)

    def handle_one_request(self):
        with Handler.lock:
            Handler.requests_left -= 1
            if Handler.requests_left < 0:
                self.close_connection = True
                threading.Thread(target=self.server.shutdown, daemon=True).start()
                return
        super().handle_one_request()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("root")
    parser.add_argument("--port", type=int, default=8731)
    parser.add_argument("--seconds", type=float, default=900)
    parser.add_argument("--max-requests", type=int, default=10000)
    parser.add_argument("--rate", type=int, default=0, help="bytes a second per download (0: no limit)")
    args = parser.parse_args()
    Handler.requests_left = args.max_requests
    Handler.rate = args.rate
    handler = functools.partial(Handler, directory=args.root)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), handler)
    server.daemon_threads = True
    timer = threading.Timer(args.seconds, server.shutdown)
    timer.daemon = True
    timer.start()
    print(f"demo-server: serving {args.root} on http://127.0.0.1:{args.port}/ for at most {args.seconds:.0f} s",
          flush=True)
    server.serve_forever()
    server.server_close()


if __name__ == "__main__":
    main()
