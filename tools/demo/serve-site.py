#!/usr/bin/env python3
"""Serves the demo's update site over HTTP on 127.0.0.1: serve-site.py DIR PORTFILE.

The system picks a free port; it is written to PORTFILE once the server listens."""
import functools
import http.server
import os
import sys


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, format, *args):
        pass


def main():
    directory, portfile = sys.argv[1], sys.argv[2]
    handler = functools.partial(QuietHandler, directory=directory)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    with open(portfile + ".part", "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(portfile + ".part", portfile)
    server.serve_forever()


if __name__ == "__main__":
    main()
