#!/usr/bin/python3
"""Stand-in for the management-analysis service in tests: an HTTPS server on
127.0.0.1 answering GET /request.php?pmd=... with the reply headers X-Add,
X-Pas and X-Status and an empty body.

State (a JSON file, read on every request):
  replies   {pmd: {header name: value}}; a header missing there is not sent
  http      {pmd: status} an HTTP error status instead of a reply
Every request line and its User-Agent are appended to the log file.
"""
import argparse
import http.server
import json
import os
import ssl
import urllib.parse


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"

    def log_message(self, *args):
        pass

    def do_GET(self):
        args = self.server.args
        with open(args.log, "a", encoding="utf-8") as log:
            log.write(self.requestline + "\n")
            log.write("User-Agent=%s\n" % self.headers.get("User-Agent"))
        with open(args.state, encoding="utf-8") as f:
            state = json.load(f)
        url = urllib.parse.urlsplit(self.path)
        q = {k: v[0] for k, v in urllib.parse.parse_qs(url.query, keep_blank_values=True).items()}
        pmd = q.get("pmd", "")
        if url.path != "/request.php":
            self.send_error(404)
            return
        status = state.get("http", {}).get(pmd)
        if status:
            self.send_error(int(status))
            return
        self.send_response(200)
        for name, value in state.get("replies", {}).get(pmd, {}).items():
            self.send_header(name, value)
        self.send_header("Content-Length", "0")
        self.end_headers()


def main():
    p = argparse.ArgumentParser()
    for name in ("cert", "key", "state", "log", "port-file"):
        p.add_argument("--" + name, required=True)
    args = p.parse_args()
    server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
    server.args = args
    ctx = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    ctx.minimum_version = ssl.TLSVersion.TLSv1_2
    ctx.load_cert_chain(args.cert, args.key)
    server.socket = ctx.wrap_socket(server.socket, server_side=True)
    with open(args.port_file + ".tmp", "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(args.port_file + ".tmp", args.port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
