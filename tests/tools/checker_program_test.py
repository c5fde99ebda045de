#!/usr/bin/env python3
"""Runs the built nvx-manifest-check (natively, or the Windows build under Wine when the command
starts with scripts/wine-run.sh) as a release pipeline would: exit codes, the text and JSON
reports, and --online against a small HTTP server on a free loopback port that this test starts
and stops (its request loop ends by itself after a bounded time).

usage: checker_program_test.py CHECKER_COMMAND..."""
import hashlib
import http.server
import json
import os
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
CASES = os.path.join(HERE, '..', 'data', 'manifest-check')
CHECKER = sys.argv[1:]
UNDER_WINE = any(part.endswith('wine-run.sh') for part in CHECKER)
failures = []


def check(condition, what):
    print(('ok   ' if condition else 'FAIL ') + what)
    if not condition:
        failures.append(what)


def run(*arguments):
    done = subprocess.run(CHECKER + list(arguments), capture_output=True, timeout=600)
    return done.returncode, done.stdout.decode('utf-8', 'replace').replace('\r\n', '\n')


def case(*parts):
    return os.path.join(CASES, *parts)


def offline():
    code, out = run(case('manifestPro.xml'), case('version.xml'))
    check(code == 0 and out.endswith('0 error(s), 0 warning(s)\n'), f'clean pair: exit 0 ({code}) {out!r}')
    broken = case('version', 'minimum_of_another_major.xml')
    code, out = run(case('manifestPro.xml'), broken)
    check(code == 2, f'broken version.xml: exit 2 ({code})')
    check(':9:9: error: <min_web_installer_version> "9.0.0.0"' in out and '[self-update-never]' in out,
          f'broken version.xml: the finding with its place: {out!r}')
    code, out = run(case('manifest', 'no_publisher.xml'), '--json')
    report = json.loads(out)
    check(code == 1 and report['exit_code'] == 1 and report['warnings'] == 1 and report['errors'] == 0,
          f'warnings only: exit 1 and the counts in JSON ({code}, {report})')
    problem = report['problems'][0]
    check(problem['code'] == 'missing-publisher' and problem['severity'] == 'warning' and problem['line'] == 8
          and problem['column'] == 5 and problem['file'].endswith('no_publisher.xml'),
          f'JSON finding: {problem}')
    code, _ = run('--frobnicate', case('manifestPro.xml'))
    check(code == 3, f'wrong usage: exit 3 ({code})')


class Handler(http.server.BaseHTTPRequestHandler):
    files = {}

    def log_message(self, *args):
        pass

    def do_GET(self):
        name = self.path.lstrip('/')
        if name not in self.files:
            self.send_error(404)
            return
        body, mode = self.files[name]
        if mode == 'error':
            self.send_response(500)
            self.send_header('Content-Length', str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            return
        wanted = self.headers.get('Range')
        if wanted == 'bytes=0-0' and mode == 'normal':
            self.send_response(206)
            self.send_header('Content-Range', f'bytes 0-0/{len(body)}')
            self.send_header('Content-Length', '1')
            self.end_headers()
            self.wfile.write(body[:1])
            return
        self.send_response(200)
        if mode != 'no-length':
            self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        self.wfile.write(body)
        self.close_connection = True


def serve(server, stop, deadline):
    server.timeout = 0.2
    while not stop.is_set() and time.time() < deadline:
        server.handle_request()


def line_of(text, marker):
    return text[:text.index(marker)].count('\n') + 1


def online():
    package = os.urandom(300000)
    small = b'MZ' + os.urandom(5000)
    Handler.files = {
        'version.xml': (b'', 'normal'),  # below, once the port is known
        'product.msi': (package, 'normal'),
        'de.mst': (small, 'no-ranges'),
        'fr.mst': (small, 'no-length'),
        'lp1031.exe': (small, 'normal'),
        'vc_redist.exe': (small, 'error'),
        'webinstaller.exe': (small, 'normal'),
    }
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), Handler)
    port = server.server_address[1]
    stop = threading.Event()
    thread = threading.Thread(target=serve, args=(server, stop, time.time() + 600))
    thread.start()
    try:
        base = f'http://127.0.0.1:{port}/'
        # The published version.xml asks for an installer of another first number.
        published = open(case('version.xml'), encoding='utf-8').read().replace(
            'http://downloads.example.com/lumetra/', base).replace(
            '<min_web_installer_version>1.0.0.5<', '<min_web_installer_version>9.0.0.0<', 1)
        Handler.files['version.xml'] = (published.encode('utf-8'), 'normal')
        text = open(case('manifestPro.xml'), encoding='utf-8').read()
        pins = {'LumetraProfessional.msi': hashlib.sha256(package).hexdigest(),
                '1031.mst': hashlib.sha256(small).hexdigest(),
                '1036.mst': hashlib.sha256(small).hexdigest(),
                'language_pack_1031.exe': hashlib.sha256(b'other bytes').hexdigest(),  # a wrong pin
                'language_pack_1036.exe': hashlib.sha256(small).hexdigest()}
        text = text.replace('http://downloads.example.com/lumetra/version.xml', base + 'version.xml')
        text = text.replace('http://downloads.example.com/lumetra/LumetraProfessional.msi', base + 'product.msi')
        text = text.replace('http://downloads.example.com/lumetra/1031.mst', base + 'de.mst')
        text = text.replace('https://downloads.example.com/lumetra/1036.mst', base + 'fr.mst')
        text = text.replace('http://downloads.example.com/lumetra/language_pack_1031.exe', base + 'lp1031.exe')
        text = text.replace('http://downloads.example.com/lumetra/language_pack_1036.exe', base + 'missing.exe')
        text = text.replace('http://downloads.example.com/lumetra/vc_redist.exe', base + 'vc_redist.exe')
        for name, pin in pins.items():
            marker = f'<name>{name}</name>'
            at = text.index(marker)
            end = text.index('</sha256>', at)
            start = text.rindex('<sha256>', 0, end) + len('<sha256>')
            text = text[:start] + pin + text[end:]
        if UNDER_WINE:  # WinINet fetches https too; nothing here answers it, so leave it out
            text = text.replace('https://downloads.example.com/lumetra/webview2.exe', base + 'lp1031.exe')
        expected = {
            ('no-ranges', line_of(text, base + 'de.mst')),
            ('online-answer', line_of(text, base + 'fr.mst')),
            ('pin-mismatch', line_of(text, base + 'lp1031.exe')),
            ('online-answer', line_of(text, base + 'missing.exe')),
            ('online-answer', line_of(text, base + 'vc_redist.exe')),
        }
        if not UNDER_WINE:
            expected.add(('not-checked', line_of(text, 'https://downloads.example.com/lumetra/webview2.exe')))
        else:
            # The same file under another pin: the prerequisite's pin does not match it.
            expected.add(('pin-mismatch', text.count('\n', 0, text.index(base + 'lp1031.exe', text.index(
                '<name>webview2.exe</name>'))) + 1))
        with tempfile.TemporaryDirectory() as folder:
            manifest = os.path.join(folder, 'manifestPro.xml')
            with open(manifest, 'w', encoding='utf-8', newline='\n') as f:
                f.write(text)
            release = os.path.join(folder, 'version.xml')
            with open(release, 'w', encoding='utf-8', newline='\n') as f:
                f.write(open(case('version.xml'), encoding='utf-8').read().replace(
                    'http://downloads.example.com/lumetra/', base))
            code, out = run(manifest, release, '--online', '--json')
        report = json.loads(out)
        found = {(p['code'], p['line']) for p in report['problems']}
        check(found == expected, f'--online findings: {sorted(found)} (expected {sorted(expected)})')
        check(code == 2, f'--online: exit 2 ({code})')
        # Without a version.xml named, the published one is fetched and checked as well.
        with tempfile.TemporaryDirectory() as folder:
            manifest = os.path.join(folder, 'manifestPro.xml')
            with open(manifest, 'w', encoding='utf-8', newline='\n') as f:
                f.write(text)
            code, out = run(manifest, '--online', '--json')
        published_findings = [(p['code'], p['line']) for p in json.loads(out)['problems']
                              if p['file'] == base + 'version.xml']
        check(published_findings == [('self-update-never', line_of(published, '<min_web_installer_version>'))],
              f'--online without VERSION_XML checks the published one: {published_findings} (exit {code})')
        messages = ' '.join(p['message'] for p in report['problems'])
        check('answers with status 500' in messages and 'without a Content-Length' in messages
              and 'status 404' in messages and hashlib.sha256(small).hexdigest() in messages,
              f'--online messages say what the server did: {messages!r}')
    finally:
        stop.set()
        thread.join()
        server.server_close()


offline()
online()
if failures:
    print(f'{len(failures)} check(s) failed')
    sys.exit(1)
print('all checks passed')
