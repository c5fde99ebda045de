#!/usr/bin/env python3
"""Loopback HTTP and HTTPS servers for the download tests and the download benchmark.

  netservers.py start STATE_DIR [--lifetime SECONDS] [--bench]
  netservers.py stop STATE_DIR

`start` makes the served files and the certificates, picks free loopback ports, starts nginx
with a configuration of its own (plain HTTP plus four HTTPS servers: a certificate of the test
CA for 127.0.0.1, an expired one, one for another host name, and one from a CA nobody trusts)
and the fault server below, and writes the ports to STATE_DIR/servers.ini. Both servers stop
by themselves after the lifetime; `stop` ends them earlier, by the process ids `start` recorded.

The fault server answers what nginx cannot do on demand (see FaultHandler) and records the
request head of every request that carries a `tag` query parameter in
STATE_DIR/requests/<tag>.txt, so tests can check the request line and headers.

Served bytes follow one pattern everywhere: the byte at offset i is i % 251.
"""
import argparse
import configparser
import os
import signal
import socket
import socketserver
import struct
import subprocess
import sys
import threading
import time
import urllib.parse
from pathlib import Path

PATTERN_PERIOD = 251
PATTERN_BLOCK = bytes(range(PATTERN_PERIOD)) * 4096
HTTPS_SERVERS = ("https", "https_expired", "https_wronghost", "https_unknown_ca")
FAULT_MAX_REQUESTS = 100000
HOLD_LIMIT_SECONDS = 60.0


def pattern(offset, length):
    """The served bytes [offset, offset + length)."""
    out = bytearray()
    while length > 0:
        start = offset % PATTERN_PERIOD
        take = min(length, len(PATTERN_BLOCK) - start)
        out += PATTERN_BLOCK[start:start + take]
        offset += take
        length -= take
    return bytes(out)


def write_pattern_file(path, size):
    if path.exists() and path.stat().st_size == size:
        return
    tmp = path.with_suffix(".part")
    with open(tmp, "wb") as f:
        offset = 0
        step = len(PATTERN_BLOCK) - len(PATTERN_BLOCK) % PATTERN_PERIOD
        while offset < size:
            n = min(step, size - offset)
            f.write(pattern(offset, n))
            offset += n
    tmp.replace(path)


# ---------------------------------------------------------------- certificates

CA_CONFIG = """[ca]
default_ca = test_ca
[test_ca]
dir = {dir}
database = $dir/index.txt
new_certs_dir = $dir/issued
rand_serial = yes
crlnumber = $dir/crlnumber
default_crl_days = 30
default_md = sha256
policy = any_name
copy_extensions = none
unique_subject = no
email_in_dn = no
[any_name]
commonName = supplied
[ca_ext]
basicConstraints = critical, CA:TRUE
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
"""


def openssl(*args):
    subprocess.run(["openssl", *args], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def make_ca(ca_dir, name):
    """A CA kept across runs; its database of issued certificates starts empty each run."""
    ca_dir.mkdir(parents=True, exist_ok=True)
    issued = ca_dir / "issued"
    issued.mkdir(exist_ok=True)
    for old in issued.iterdir():
        old.unlink()
    (ca_dir / "index.txt").write_text("")
    (ca_dir / "crlnumber").write_text("01\n")
    (ca_dir / "ca.cnf").write_text(CA_CONFIG.format(dir=ca_dir))
    if not (ca_dir / "ca.pem").exists():
        openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", str(ca_dir / "ca.key"),
                "-out", str(ca_dir / "ca.pem"), "-days", "3650", "-subj", f"/CN={name}",
                "-config", str(ca_dir / "ca.cnf"), "-extensions", "ca_ext")
        openssl("x509", "-in", str(ca_dir / "ca.pem"), "-outform", "DER", "-out", str(ca_dir / "ca.der"))


def publish_crl(ca_dir, www_crl):
    """The CA's (empty) revocation list, where its certificates say it is."""
    pem = ca_dir / "ca.crl.pem"
    openssl("ca", "-batch", "-config", str(ca_dir / "ca.cnf"), "-cert", str(ca_dir / "ca.pem"),
            "-keyfile", str(ca_dir / "ca.key"), "-gencrl", "-out", str(pem))
    www_crl.parent.mkdir(parents=True, exist_ok=True)
    openssl("crl", "-in", str(pem), "-outform", "DER", "-out", str(www_crl))


def issue(ca_dir, out_dir, stem, host, start, end, crl_url):
    """A server certificate of the CA in ca_dir for host, valid from start to end (YYYYMMDDHHMMSSZ).

    It names the CA's revocation list: Wine's certificate check treats a certificate without one
    as unverifiable and refuses it."""
    key = out_dir / f"{stem}.key"
    csr = out_dir / f"{stem}.csr"
    ext = out_dir / f"{stem}.ext"
    san = f"IP:{host}" if host.replace(".", "").isdigit() else f"DNS:{host}"
    ext.write_text("basicConstraints = CA:FALSE\nkeyUsage = critical, digitalSignature, keyEncipherment\n"
                   f"extendedKeyUsage = serverAuth\nsubjectAltName = {san}\n"
                   f"crlDistributionPoints = URI:{crl_url}\n")
    if not key.exists():
        openssl("genrsa", "-out", str(key), "2048")
    openssl("req", "-new", "-key", str(key), "-out", str(csr), "-subj", f"/CN={host}")
    openssl("ca", "-batch", "-config", str(ca_dir / "ca.cnf"), "-cert", str(ca_dir / "ca.pem"),
            "-keyfile", str(ca_dir / "ca.key"), "-in", str(csr), "-out", str(out_dir / f"{stem}.pem"),
            "-startdate", start, "-enddate", end, "-extfile", str(ext), "-notext")


def make_certificates(cert_dir, www, http_port):
    """The test CA (trusted by the tests) with its server certificates, and a CA nobody trusts.

    The CAs are kept; the server certificates and revocation lists are made for each start
    because they name the port of the plain HTTP server that publishes the lists."""
    now = time.gmtime()
    valid_from = time.strftime("%Y%m%d%H%M%SZ", time.gmtime(time.time() - 86400))
    valid_to = f"{now.tm_year + 2}0101000000Z"
    test_ca = cert_dir / "test-ca"
    unknown_ca = cert_dir / "unknown-ca"
    make_ca(test_ca, "Lumetra Test CA")
    make_ca(unknown_ca, "Unknown Test CA")
    crl = f"http://127.0.0.1:{http_port}/crl"
    issue(test_ca, cert_dir, "https", "127.0.0.1", valid_from, valid_to, f"{crl}/test-ca.crl")
    issue(test_ca, cert_dir, "https_expired", "127.0.0.1", "20200101000000Z", "20210101000000Z",
          f"{crl}/test-ca.crl")
    issue(test_ca, cert_dir, "https_wronghost", "wrong-host.lumetra.example", valid_from, valid_to,
          f"{crl}/test-ca.crl")
    issue(unknown_ca, cert_dir, "https_unknown_ca", "127.0.0.1", valid_from, valid_to, f"{crl}/unknown-ca.crl")
    # This server presents its whole chain, so a client sees the untrusted root itself rather than
    # a chain that breaks off (which Wine reports as a failed revocation check instead).
    chain = cert_dir / "https_unknown_ca.pem"
    chain.write_text(chain.read_text() + (unknown_ca / "ca.pem").read_text())
    publish_crl(test_ca, www / "crl" / "test-ca.crl")
    publish_crl(unknown_ca, www / "crl" / "unknown-ca.crl")


# ---------------------------------------------------------------- nginx

NGINX_CONFIG = """{user}worker_processes 1;
daemon off;
pid {nginx_dir}/nginx.pid;
error_log {nginx_dir}/error.log warn;
events {{ worker_connections 512; }}
http {{
    access_log off;
    client_body_temp_path {nginx_dir}/client_body;
    proxy_temp_path {nginx_dir}/proxy;
    fastcgi_temp_path {nginx_dir}/fastcgi;
    uwsgi_temp_path {nginx_dir}/uwsgi;
    scgi_temp_path {nginx_dir}/scgi;
    types {{ application/xml xml; application/octet-stream bin; application/pkix-crl crl; }}
    default_type application/octet-stream;
    sendfile on;
    tcp_nopush on;
    keepalive_timeout 30s;
    keepalive_requests 10000;
    server {{
        listen 127.0.0.1:{http};
        root {www};
        # The same files, sent slowly, for cancel and pause while bytes are still arriving.
        location /slow/ {{ alias {www}/files/; limit_rate 256k; }}
        # A server that gives up on a client that stops reading (a transfer held paused).
        location /impatient/ {{ alias {www}/files/; send_timeout 2s; }}
        # The link shaped to 200 Mbit/s and 1 Gbit/s (per connection), for the benchmark.
        location /link200m/ {{ alias {www}/files/; limit_rate 25000000; }}
        location /link1g/ {{ alias {www}/files/; limit_rate 125000000; }}
    }}
{https_servers}}}
"""

NGINX_TLS_SERVER = """    server {{
        listen 127.0.0.1:{port} ssl;
        root {www};
        ssl_certificate {certs}/{name}.pem;
        ssl_certificate_key {certs}/{name}.key;
    }}
"""


def free_ports(count):
    sockets = []
    try:
        for _ in range(count):
            s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            s.bind(("127.0.0.1", 0))
            sockets.append(s)
        return [s.getsockname()[1] for s in sockets]
    finally:
        for s in sockets:
            s.close()


def write_nginx_config(state, ports):
    nginx_dir = state / "nginx"
    nginx_dir.mkdir(parents=True, exist_ok=True)
    # Workers of a master started by root would otherwise run as nobody, who cannot read the
    # build tree.
    user = "user root root;\n" if os.geteuid() == 0 else ""
    tls = "".join(NGINX_TLS_SERVER.format(port=ports[name], www=state / "www", certs=state / "certs", name=name)
                  for name in HTTPS_SERVERS)
    conf = nginx_dir / "nginx.conf"
    conf.write_text(NGINX_CONFIG.format(user=user, nginx_dir=nginx_dir, http=ports["http"], www=state / "www",
                                        https_servers=tls))
    return conf


# ---------------------------------------------------------------- fault server

class FaultHandler(socketserver.BaseRequestHandler):
    """One request per connection, answered as the path asks (all with Connection: close):

    /status/<code>?len=N          that status with Content-Length N and N bytes
    /nolength?len=N               200 without Content-Length; the body ends when the connection closes
    /chunked?len=N                200 with a chunked body of N bytes
    /cut?len=N&send=M             Content-Length N, then M bytes, then the connection is closed
    /stall?len=N&send=M&hold=S    Content-Length N, M bytes, then silence for S seconds, then close
    /drip?len=N&chunk=C&delay=MS  Content-Length N, sent C bytes at a time every MS milliseconds
    /flaky?key=K&len=N&...        a file of N bytes that misbehaves for a while, per key K:
        busy=T&status=C&retry_after=S  the first T requests get status C (Retry-After S when given)
        cut=M&fail=close|reset|stall&hold=S  the first body sent breaks off after M bytes: the
                                       connection closed, reset, or silent for S seconds, then closed
        ranges=honour|ignore|shift|total  how a later "Range: bytes=X-" is answered: 206 from X;
                                       the whole file as 200; 206 from X+1; 206 with the total N+1
        file=PATH                      the bytes of that file below nginx's root in place of the
                                       pattern (N is its size)
    """

    def handle(self):
        self.request.settimeout(30)
        head = self.read_head()
        if head is None:
            return
        request_line = head.split(b"\r\n", 1)[0].decode("latin-1")
        parts = request_line.split(" ")
        if len(parts) < 2:
            return
        url = urllib.parse.urlsplit(parts[1])
        query = {k: v[-1] for k, v in urllib.parse.parse_qs(url.query).items()}
        self.record(query.get("tag"), head)
        try:
            if url.path == "/flaky":
                self.answer_flaky(query, head)
                return
            self.answer(url.path, query)
        except (BrokenPipeError, ConnectionResetError, socket.timeout):
            pass

    def read_head(self):
        data = b""
        while b"\r\n\r\n" not in data:
            try:
                chunk = self.request.recv(4096)
            except (socket.timeout, ConnectionResetError):
                return None
            if not chunk or len(data) > 65536:
                return None
            data += chunk
        return data.split(b"\r\n\r\n", 1)[0] + b"\r\n\r\n"

    def record(self, tag, head):
        if not tag or not all(c.isalnum() or c in "-_" for c in tag):
            return
        with self.server.record_lock:
            with open(self.server.requests_dir / f"{tag}.txt", "ab") as f:
                f.write(head)

    def send_head(self, status, headers):
        lines = [f"HTTP/1.1 {status} Test"] + [f"{k}: {v}" for k, v in headers] + ["Connection: close", "", ""]
        self.request.sendall("\r\n".join(lines).encode("latin-1"))

    def send_pattern(self, offset, length):
        while length > 0:
            n = min(length, 1 << 20)
            self.request.sendall(pattern(offset, n))
            offset += n
            length -= n

    def answer(self, path, q):
        length = int(q.get("len", "100"))
        if path.startswith("/status/"):
            self.send_head(int(path[len("/status/"):]), [("Content-Length", length)])
            self.send_pattern(0, length)
        elif path == "/nolength":
            self.send_head(200, [("Content-Type", "application/octet-stream")])
            self.send_pattern(0, length)
        elif path == "/chunked":
            self.send_head(200, [("Transfer-Encoding", "chunked")])
            offset = 0
            while offset < length:
                n = min(3000, length - offset)
                self.request.sendall(b"%x\r\n" % n + pattern(offset, n) + b"\r\n")
                offset += n
            self.request.sendall(b"0\r\n\r\n")
        elif path in ("/cut", "/stall"):
            send = int(q.get("send", "0"))
            self.send_head(200, [("Content-Length", length)])
            self.send_pattern(0, send)
            if path == "/stall":
                time.sleep(min(float(q.get("hold", "5")), HOLD_LIMIT_SECONDS))
        elif path == "/drip":
            chunk = max(1, int(q.get("chunk", "1024")))
            delay = float(q.get("delay", "50")) / 1000.0
            self.send_head(200, [("Content-Length", length)])
            offset = 0
            while offset < length:
                n = min(chunk, length - offset)
                self.request.sendall(pattern(offset, n))
                offset += n
                time.sleep(delay)
        else:
            self.send_head(404, [("Content-Length", 0)])
        try:
            self.request.shutdown(socket.SHUT_WR)
        except OSError:
            pass


    def requested_range(self, head):
        for line in head.decode("latin-1").split("\r\n")[1:]:
            name, _, value = line.partition(":")
            value = value.strip()
            if name.strip().lower() == "range" and value.startswith("bytes=") and value.endswith("-"):
                try:
                    return int(value[len("bytes="):-1])
                except ValueError:
                    return None
        return None

    def served_file(self, relative):
        www = (self.server.requests_dir.parent / "www").resolve()
        path = (www / relative).resolve()
        if www not in path.parents or not path.is_file():
            return None
        return path.read_bytes()

    def answer_flaky(self, q, head):
        key = q.get("key", "")
        length = int(q.get("len", "100"))
        data = None
        if "file" in q:
            data = self.served_file(q["file"])
            if data is None:
                self.send_head(404, [("Content-Length", 0)])
                return
            length = len(data)

        def send_body(offset, count):
            if data is None:
                self.send_pattern(offset, count)
            else:
                self.request.sendall(data[offset:offset + count])
        with self.server.record_lock:
            seen = self.server.flaky_counts.get(key, 0)
            self.server.flaky_counts[key] = seen + 1
        busy = int(q.get("busy", "0"))
        if seen < busy:
            headers = [("Content-Length", 64)]
            if "retry_after" in q:
                headers.append(("Retry-After", q["retry_after"]))
            self.send_head(int(q.get("status", "503")), headers)
            self.request.sendall(b"busy, come back later".ljust(64, b"."))
            self.finish_answer()
            return
        first = self.requested_range(head)
        ranges = q.get("ranges", "honour")
        if first is None or ranges == "ignore":
            first = 0
            self.send_head(200, [("Content-Length", length), ("Accept-Ranges", "bytes")])
        else:
            start = first + 1 if ranges == "shift" else first
            total = length + 1 if ranges == "total" else length
            self.send_head(206, [("Content-Length", length - start),
                                 ("Content-Range", f"bytes {start}-{length - 1}/{total}")])
            first = start
        if seen == busy and "cut" in q:
            send = max(0, min(int(q["cut"]), length) - first)
            send_body(first, send)
            fail = q.get("fail", "close")
            if fail == "reset":
                self.request.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                self.request.close()
                return
            if fail == "stall":
                time.sleep(min(float(q.get("hold", "5")), HOLD_LIMIT_SECONDS))
        else:
            send_body(first, length - first)
        self.finish_answer()

    def finish_answer(self):
        try:
            self.request.shutdown(socket.SHUT_WR)
        except OSError:
            pass


class FaultServer(socketserver.ThreadingMixIn, socketserver.TCPServer):
    daemon_threads = True
    allow_reuse_address = True
    handled = 0

    def process_request(self, request, client_address):
        self.handled += 1
        super().process_request(request, client_address)


def run_fault_server(state, port, lifetime):
    requests_dir = state / "requests"
    requests_dir.mkdir(parents=True, exist_ok=True)
    deadline = time.monotonic() + lifetime
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
    with FaultServer(("127.0.0.1", port), FaultHandler) as server:
        server.requests_dir = requests_dir
        server.record_lock = threading.Lock()
        server.flaky_counts = {}
        server.timeout = 0.5
        # Bounded loop: a lifetime and a number of requests, whichever ends first.
        while time.monotonic() < deadline and server.handled < FAULT_MAX_REQUESTS:
            server.handle_request()


# ---------------------------------------------------------------- start and stop

def wait_for_ports(ports, timeout=15.0):
    deadline = time.monotonic() + timeout
    pending = set(ports)
    while pending and time.monotonic() < deadline:
        for port in list(pending):
            try:
                with socket.create_connection(("127.0.0.1", port), timeout=0.5):
                    pending.discard(port)
            except OSError:
                pass
        if pending:
            time.sleep(0.05)
    return not pending


def owned_by_state(pid, state):
    try:
        cmdline = Path(f"/proc/{pid}/cmdline").read_bytes().replace(b"\0", b" ")
    except OSError:
        return False
    return str(state).encode() in cmdline


def stop(state):
    pid_file = state / "pids"
    if not pid_file.exists():
        return
    pids = [int(p) for p in pid_file.read_text().split()]
    for pid in pids:
        if owned_by_state(pid, state):
            os.kill(pid, signal.SIGTERM)
    deadline = time.monotonic() + 5
    while any(owned_by_state(p, state) for p in pids) and time.monotonic() < deadline:
        time.sleep(0.05)
    for pid in pids:
        if owned_by_state(pid, state):
            os.kill(pid, signal.SIGKILL)
    pid_file.unlink()


def start(state, lifetime, bench):
    stop(state)
    files = state / "www" / "files"
    files.mkdir(parents=True, exist_ok=True)
    sizes = {"small.bin": 1000, "pages.bin": 25 * 4096, "batch.bin": 40960, "large.bin": 4 * 1024 * 1024 + 123,
             "paused.bin": 48 * 1024 * 1024 + 7}
    if bench:
        sizes = {"bench16m.bin": 16 << 20, "bench256m.bin": 256 << 20}
    for name, size in sizes.items():
        write_pattern_file(files / name, size)
    data = Path(__file__).resolve().parents[2] / "data" / "net"
    for doc in data.glob("*.xml"):
        (files / doc.name).write_bytes(doc.read_bytes())
    names = ("http",) + HTTPS_SERVERS + ("fault",)
    ports = dict(zip(names, free_ports(len(names))))
    make_certificates(state / "certs", state / "www", ports["http"])
    conf = write_nginx_config(state, ports)
    log = open(state / "servers.log", "ab")
    nginx = subprocess.Popen(["timeout", str(lifetime), "nginx", "-p", str(state / "nginx"), "-c", str(conf),
                              "-e", str(state / "nginx" / "error.log")],
                             stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)
    fault = subprocess.Popen([sys.executable, str(Path(__file__).resolve()), "fault-server", str(state),
                              str(ports["fault"]), str(lifetime)],
                             stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)
    (state / "pids").write_text(f"{nginx.pid}\n{fault.pid}\n")
    if not wait_for_ports(ports.values()):
        stop(state)
        sys.exit(f"netservers: the servers did not start; see {state}/servers.log and {state}/nginx/error.log")

    ini = configparser.ConfigParser()
    ini["ports"] = {name: str(port) for name, port in ports.items()}
    with open(state / "servers.ini", "w") as f:
        ini.write(f)
    print(f"netservers: " + " ".join(f"{k}={v}" for k, v in ports.items()))


def main():
    parser = argparse.ArgumentParser()
    sub = parser.add_subparsers(dest="command", required=True)
    p = sub.add_parser("start")
    p.add_argument("state")
    p.add_argument("--lifetime", type=int, default=3600)
    p.add_argument("--bench", action="store_true")
    p = sub.add_parser("stop")
    p.add_argument("state")
    p = sub.add_parser("fault-server")
    p.add_argument("state")
    p.add_argument("port", type=int)
    p.add_argument("lifetime", type=int)
    args = parser.parse_args()
    state = Path(args.state).resolve()
    if args.command == "start":
        start(state, args.lifetime, args.bench)
    elif args.command == "stop":
        stop(state)
    else:
        run_fault_server(state, args.port, args.lifetime)


if __name__ == "__main__":
    main()
