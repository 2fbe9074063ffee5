#!/usr/bin/env python3
"""A local stand-in for the drawing site, for the demo, the end-to-end tests
and the benchmark. Serves on 127.0.0.1 only.

  /bieshuCADtuzhi/17564.html   an item page whose title is Chinese (GBK)
  /page?title=<%-bytes>[&length=0][&size=N]
                               a page whose <title> holds exactly the given
                               bytes; it also decides how the next attachment
                               is served (with or without Content-Length, size)
  ATTACHMENT_PATH              the archive: `size` bytes of a fixed pattern
                               (byte i is (7*i + i//1024) mod 256)
  /stats                       how many attachment requests were served
"""
import argparse
import http.server
import os
import signal
import socketserver
import sys
import threading
import time
import urllib.parse

ATTACHMENT_PATH = "/d/file/bieshuCADtuzhi/2016-08-04/ceec363b0c442b1bbeabb2288a6864eb.rar"
DEMO_PAGE_PATH = "/bieshuCADtuzhi/17564.html"
DEMO_TITLE = "别墅CAD图纸 17564".encode("gbk")
PATTERN_PERIOD = 256 * 1024
PATTERN = bytes((7 * i + i // 1024) & 0xFF for i in range(PATTERN_PERIOD))


def pattern_slice(offset, count):
    """`count` bytes of the attachment pattern starting at `offset`."""
    out = bytearray()
    while count > 0:
        start = offset % PATTERN_PERIOD
        piece = PATTERN[start:start + count]
        out += piece
        offset += len(piece)
        count -= len(piece)
    return bytes(out)


def query_bytes(query):
    """Query values as raw bytes (titles are GBK, not UTF-8)."""
    values = {}
    for pair in query.encode("latin-1").split(b"&"):
        name, _, value = pair.partition(b"=")
        values[name.decode("latin-1")] = urllib.parse.unquote_to_bytes(value)
    return values


def page(title):
    return (b"<html><head><meta charset=\"gbk\"><title>" + title +
            b"</title></head><body><p>\xb8\xbd\xbc\xfe\xcf\xc2\xd4\xd8</p></body></html>")


class State:
    def __init__(self, size, rate):
        self.lock = threading.Lock()
        self.default_size = size
        self.size = size
        self.with_length = True
        self.rate = rate
        self.attachment_requests = 0


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    state = None  # set by main()

    def log_message(self, fmt, *args):
        if os.environ.get("SITE_SERVER_VERBOSE"):
            sys.stderr.write("site: " + fmt % args + "\n")

    def send_body(self, body, content_type):
        self.send_response(200)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        if url.path == DEMO_PAGE_PATH:
            with self.state.lock:
                self.state.size, self.state.with_length = self.state.default_size, True
            self.send_body(page(DEMO_TITLE), "text/html; charset=gbk")
        elif url.path == "/page":
            query = query_bytes(url.query)
            with self.state.lock:
                self.state.with_length = query.get("length", b"1") != b"0"
                self.state.size = int(query.get("size", self.state.default_size))
            self.send_body(page(query.get("title", b"")), "text/html; charset=gbk")
        elif url.path == ATTACHMENT_PATH:
            self.send_attachment()
        elif url.path == "/stats":
            with self.state.lock:
                count = self.state.attachment_requests
            self.send_body(b"attachment_requests=%d" % count, "text/plain")
        else:
            self.send_error(404)

    def send_attachment(self):
        with self.state.lock:
            size, with_length, rate = self.state.size, self.state.with_length, self.state.rate
            self.state.attachment_requests += 1
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        if with_length:
            self.send_header("Content-Length", str(size))
        else:
            self.send_header("Connection", "close")
            self.close_connection = True
        self.end_headers()
        chunk = 64 * 1024
        started = time.monotonic()
        sent = 0
        while sent < size:
            piece = pattern_slice(sent, min(chunk, size - sent))
            self.wfile.write(piece)
            sent += len(piece)
            if rate:
                ahead = sent / rate - (time.monotonic() - started)
                if ahead > 0:
                    time.sleep(ahead)


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=0, help="0 picks a free port")
    parser.add_argument("--size", type=int, default=4 * 1024 * 1024, help="attachment bytes")
    parser.add_argument("--rate", type=int, default=0, help="bytes per second, 0 = unlimited")
    parser.add_argument("--port-file", help="write the port here once listening")
    args = parser.parse_args()

    Handler.state = State(args.size, args.rate)
    server = Server(("127.0.0.1", args.port), Handler)
    port = server.server_address[1]
    if args.port_file:
        with open(args.port_file + ".tmp", "w") as f:
            f.write(str(port))
        os.replace(args.port_file + ".tmp", args.port_file)
    signal.signal(signal.SIGTERM, lambda *_: threading.Thread(target=server.shutdown).start())
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    server.server_close()


if __name__ == "__main__":
    main()
