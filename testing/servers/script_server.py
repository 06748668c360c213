#!/usr/bin/env python3
"""Scripted HTTP test server for what a plain file server does not do on request.

Binds 127.0.0.1 only, on a free port (or --port), prints "PORT <n>" on its first
line and ends by itself after --timeout seconds.

Paths (n, m: byte counts; bodies use the pattern of pattern_bytes()):
  /file/<n>            200, Content-Length n, Last-Modified
  /nolength/<n>        200, no Content-Length, body n bytes, then the connection closes
  /cut/<n>/<m>         200, Content-Length n, only m bytes, then the connection closes
  /zero                200, Content-Length 0
  /404/<name>          404 with an HTML error page and its Content-Length
  /slow/<n>/<ms>       200, Content-Length n, 1024-byte pieces every <ms> milliseconds
  /html/<name>         200, an HTML page (a portal or index page) instead of a package
"""
import argparse
import http.server
import socketserver
import sys
import threading
import time

ERROR_PAGE = (b"<html>\r\n<head><title>404 Not Found</title></head>\r\n"
              b"<body>\r\n<center><h1>404 Not Found</h1></center>\r\n</body>\r\n</html>\r\n")
HTML_PAGE = (b"<HTML>\n<HEAD>\n<TITLE>Welcome to the portal</TITLE>\n</HEAD>\n"
             b"<BODY>Please log in.</BODY>\n</HTML>\n")
LAST_MODIFIED = "Tue, 05 Mar 2024 14:30:58 GMT"


def pattern_bytes(n):
    """Byte i is (i * 31 + 7) mod 251: no period that lines up with a chunk."""
    period = bytes((i * 31 + 7) % 251 for i in range(251))
    reps = n // 251 + 1
    return (period * reps)[:n]


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "ScriptServer/1"

    def log_message(self, fmt, *args):
        if self.server.verbose:
            sys.stderr.write("script-server: " + (fmt % args) + "\n")

    def head(self, status, length=None, ctype="application/octet-stream", close=False):
        self.send_response(status)
        self.send_header("Content-Type", ctype)
        if length is not None:
            self.send_header("Content-Length", str(length))
        self.send_header("Last-Modified", LAST_MODIFIED)
        if close:
            self.send_header("Connection", "close")
            self.close_connection = True
        self.end_headers()

    def do_GET(self):
        parts = [p for p in self.path.split("?")[0].split("/") if p]
        try:
            kind = parts[0] if parts else ""
            nums = [int(p) for p in parts[1:] if p.isdigit()]
            if kind == "file" and len(nums) == 1:
                self.head(200, nums[0])
                self.wfile.write(pattern_bytes(nums[0]))
            elif kind == "nolength" and len(nums) == 1:
                self.head(200, None, close=True)
                self.wfile.write(pattern_bytes(nums[0]))
            elif kind == "cut" and len(nums) == 2:
                self.head(200, nums[0], close=True)
                self.wfile.write(pattern_bytes(nums[0])[:nums[1]])
                self.wfile.flush()
            elif kind == "zero":
                self.head(200, 0)
            elif kind == "404":
                self.head(404, len(ERROR_PAGE), "text/html")
                self.wfile.write(ERROR_PAGE)
            elif kind == "slow" and len(nums) == 2:
                body = pattern_bytes(nums[0])
                self.head(200, len(body))
                for i in range(0, len(body), 1024):
                    self.wfile.write(body[i:i + 1024])
                    self.wfile.flush()
                    time.sleep(nums[1] / 1000.0)
            elif kind == "html":
                self.head(200, len(HTML_PAGE), "text/html")
                self.wfile.write(HTML_PAGE)
            else:
                body = b"unknown path\n"
                self.head(400, len(body), "text/plain")
                self.wfile.write(body)
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--port", type=int, default=0)
    ap.add_argument("--timeout", type=float, default=1800.0,
                    help="seconds after which the server ends by itself")
    ap.add_argument("--verbose", action="store_true")
    args = ap.parse_args()
    server = Server(("127.0.0.1", args.port), Handler)
    server.verbose = args.verbose
    print("PORT %d" % server.server_address[1], flush=True)
    timer = threading.Timer(args.timeout, server.shutdown)
    timer.daemon = True
    timer.start()
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    server.server_close()


if __name__ == "__main__":
    main()
