"""A scripted HTTP server for the live tests of the HTTP client.

Paths (sizes in bytes; bodies are pattern(size) unless said otherwise):
  /page              a GBK page with Set-Cookie lines in three letter cases
  /echo              the request line, headers and body, as received
  /redirect          302 to /page;  /redirect-file?size=N  302 to /file?size=N
  /missing           404 with an error page
  /file?size=N       honours Range (206, or 416 beyond the end)
  /norange?size=N    ignores Range: always 200 and the whole body
  /nolength?size=N   no Content-Length; the connection closes after the body
  /gzip?size=N       the body gzip-compressed, with Content-Encoding: gzip
  /cut?size=N&send=M states N bytes, sends M and closes the connection
"""

import gzip
import http.server
import re
import urllib.parse

PAGE = "<html><head><title>测试图纸</title></head><body>页面</body></html>".encode("gbk")
MOVED = b"moved"
ERROR_PAGE = b"<html><body>not here</body></html>"
PERIOD = 251 * 256  # pattern() repeats after this many bytes
_period_bytes = bytes((i * 131 + i // 251) & 0xFF for i in range(PERIOD))


def pattern(size):
    """The bytes the live tests expect: byte i is (i * 131 + i / 251) mod 256."""
    whole, rest = divmod(size, PERIOD)
    return _period_bytes * whole + _period_bytes[:rest]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, format, *args):  # quiet: ctest shows the test's output
        pass

    def do_GET(self):
        self.route(b"")

    def do_HEAD(self):
        self.route(b"")

    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0"))
        self.route(self.rfile.read(length) if length else b"")

    def route(self, body):
        url = urllib.parse.urlsplit(self.path)
        query = {k: int(v[0]) for k, v in urllib.parse.parse_qs(url.query).items()}
        size = query.get("size", 0)
        path = url.path
        if path == "/page":
            self.reply(200, PAGE, [("set-cookie", "sid=9; path=/"), ("SET-COOKIE", "lang=cn"),
                                   ("Set-Cookie", "theme=dark; HttpOnly"),
                                   ("Content-Type", "text/html; charset=gbk")])
        elif path == "/echo":
            received = self.requestline.encode("latin-1") + b"\r\n"
            received += str(self.headers).encode("latin-1").replace(b"\n", b"\r\n") + body
            self.reply(200, received)
        elif path == "/redirect":
            self.reply(302, MOVED, [("Location", "/page")])
        elif path == "/redirect-file":
            self.reply(302, MOVED, [("Location", "/file?size=%d" % size)])
        elif path == "/missing":
            self.reply(404, ERROR_PAGE)
        elif path == "/file":
            self.ranged(pattern(size))
        elif path == "/norange":
            self.reply(200, pattern(size))
        elif path == "/nolength":
            self.send_response(200)
            self.send_header("Connection", "close")
            self.end_headers()
            self.write(pattern(size))
            self.close_connection = True
        elif path == "/gzip":
            self.reply(200, gzip.compress(pattern(size)), [("Content-Encoding", "gzip")])
        elif path == "/cut":
            self.send_response(200)
            self.send_header("Content-Length", str(size))
            self.end_headers()
            self.write(pattern(size)[:query.get("send", 0)])
            self.close_connection = True
        else:
            self.reply(404, ERROR_PAGE)

    def ranged(self, data):
        match = re.fullmatch(r"\s*bytes\s*=\s*(\d+)-\s*", self.headers.get("Range", ""))
        if not match:
            self.reply(200, data)
            return
        start = int(match.group(1))
        if start >= len(data):
            self.reply(416, b"", [("Content-Range", "bytes */%d" % len(data))])
            return
        self.reply(206, data[start:],
                   [("Content-Range", "bytes %d-%d/%d" % (start, len(data) - 1, len(data)))])

    def reply(self, status, body, headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.write(body)

    def write(self, body):
        if self.command != "HEAD":
            self.wfile.write(body)


def make_server():
    """A server on 127.0.0.1 and a free port; the caller runs and stops it."""
    return http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
