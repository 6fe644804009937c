#!/usr/bin/env python3
"""A local update server for the tests: prints its port, then serves version files.

Usage: version_server.py <own version, e.g. 1.2.3>
Each folder is one case: /newer/, /equal/, /missing/, /garbage/, /big/, /slow/ (stalls),
/delayed/ (equal after a second), /redirect/ (to /newer/), /general/ (the section spelled
"General"), /error/ (a good file with status 500), /short/ (cut off), /chunked/ (sent in
pieces).
"""
import http.server
import sys
import time

own = [int(p) for p in sys.argv[1].split(".")]


def version_file(major, minor, build, section="Gerneral"):
    return (f"[{section}]\r\nmajor_version={major}\r\nminor_version={minor}\r\n"
            f"build={build}\r\n").encode()


class Handler(http.server.BaseHTTPRequestHandler):
    def send_body(self, body, status=200):
        self.send_response(status)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        case = self.path.strip("/").split("/")[0]
        if case == "newer":
            self.send_body(version_file(own[0], own[1] + 1, 0))
        elif case == "equal":
            self.send_body(version_file(*own))
        elif case == "delayed":
            time.sleep(1)
            self.send_body(version_file(*own))
        elif case == "garbage":
            self.send_body(b"<html><body>Not a version file</body></html>")
        elif case == "big":
            self.send_body(version_file(own[0] + 1, 0, 0) + b";" + b"x" * 150000 + b"\n")
        elif case == "slow":
            self.send_response(200)
            self.send_header("Content-Length", "1000")
            self.end_headers()
            self.wfile.write(b"[Gerneral]\n")
            self.wfile.flush()
            time.sleep(120)
        elif case == "redirect":
            self.send_response(302)
            self.send_header("Location", "/newer/version.ini")
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif case == "general":
            self.send_body(version_file(own[0] + 1, 0, 0, "General"))
        elif case == "error":
            self.send_body(version_file(own[0] + 1, 0, 0), status=500)
        elif case == "short":
            self.send_body(b"[Gerneral]\nmajor_version=9\nmino")
        elif case == "chunked":
            body = version_file(own[0], own[1] + 1, 0)
            self.send_response(200)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            for i in range(0, len(body), 8):
                self.wfile.write(body[i:i + 8])
                self.wfile.flush()
                time.sleep(0.02)
        else:
            self.send_body(b"not found", status=404)

    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
server.daemon_threads = True
print(server.server_address[1], flush=True)
server.serve_forever()
