#!/usr/bin/python3
"""Stand-in for the member service's file store in tests: an FTP server on
127.0.0.1 (passive, one user) whose root holds the area folders /01 ... /10.

  --read-limit N        uploads are received at N bytes a second at most, so
                        a test can break the connection in the middle of one
  --short-store         every stored file loses its last byte (a store whose
                        size check must fail)
  --refuse-quit         QUIT is refused (550) and the connection stays open
"""
import argparse
import os

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--root", required=True)
    p.add_argument("--user", required=True)
    p.add_argument("--password", required=True)
    p.add_argument("--port-file", required=True)
    p.add_argument("--port", type=int, default=0)
    p.add_argument("--read-limit", type=int, default=0)
    p.add_argument("--short-store", action="store_true")
    p.add_argument("--refuse-quit", action="store_true")
    args = p.parse_args()

    for n in range(1, 11):
        os.makedirs(os.path.join(args.root, "%02d" % n), exist_ok=True)

    class Dtp(ThrottledDTPHandler):
        read_limit = args.read_limit

    class Handler(FTPHandler):
        if args.read_limit:
            dtp_handler = Dtp

        def on_file_received(self, path):
            if args.short_store:
                size = os.path.getsize(path)
                with open(path, "r+b") as f:
                    f.truncate(max(size - 1, 0))

        def ftp_QUIT(self, line):
            if args.refuse_quit:
                self.respond("550 QUIT refused.")
            else:
                FTPHandler.ftp_QUIT(self, line)

    authorizer = DummyAuthorizer()
    authorizer.add_user(args.user, args.password, args.root, perm="elradfmwMT")
    Handler.authorizer = authorizer
    Handler.passive_ports = None
    Handler.auth_failed_timeout = 0.1
    server = FTPServer(("127.0.0.1", args.port), Handler)
    with open(args.port_file + ".tmp", "w") as f:
        f.write(str(server.address[1]))
    os.replace(args.port_file + ".tmp", args.port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
