#!/usr/bin/env python3
"""A stand-in for the lottery operator's site on 127.0.0.1, for the package and desktop tests and the
start-up benchmark: the program is pointed at it through set.ini's [download] site key, so nothing ever
reaches another host.

  loopback_site.py --pages DIR   serves DIR/datas/history/haocai/history_1..4.html
  loopback_site.py --silent      accepts every connection and never answers

The chosen port is printed on the first line of standard output; the server runs until it is ended.
"""
import argparse
import functools
import http.server
import socket
import os
import sys


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def quiet_server(directory):
    """A server of the pages below directory on a free loopback port, not yet serving."""
    handler = functools.partial(QuietHandler, directory=directory)
    return http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)


def serve_pages(directory):
    server = quiet_server(directory)
    print(server.server_address[1], flush=True)
    server.serve_forever()


def serve_silence():
    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.bind(("127.0.0.1", 0))
    listener.listen(16)
    print(listener.getsockname()[1], flush=True)
    held = []  # kept open so that the client waits for an answer that never comes
    while True:
        connection, _ = listener.accept()
        held.append(connection)


def write_pages(directory, draws_per_page, first_period):
    """Four history pages in the operator's layout, newest draw first, one period marker and one number
    marker per draw; returns the record lines they hold."""
    folder = os.path.join(directory, "datas", "history", "haocai")
    os.makedirs(folder, exist_ok=True)
    lines = []
    period = first_period
    for page in range(4, 0, -1):
        rows = []
        for _ in range(draws_per_page):
            number = "%02d" % (period * 7 % 36 + 1)
            lines.append("%05d.%s" % (period, number))
            rows.append('<tr><td class="qh">20%05d</td><td><i class="ball" No="%s"></i></td></tr>'
                        % (period, number))
            period += 1
        rows.reverse()
        body = ("<html><head><meta charset=\"utf-8\"><title>history</title></head><body><table>\n"
                + "\n".join(rows) + "\n</table></body></html>\n")
        with open(os.path.join(folder, "history_%d.html" % page), "w", encoding="utf-8") as f:
            f.write(body)
    return sorted(lines)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    mode = parser.add_mutually_exclusive_group(required=True)
    mode.add_argument("--pages", metavar="DIR", help="serve the history pages below DIR")
    mode.add_argument("--silent", action="store_true", help="accept and never answer")
    mode.add_argument("--write-pages", metavar="DIR", help="write four history pages below DIR and exit")
    parser.add_argument("--draws", type=int, default=30, help="draws per page for --write-pages")
    args = parser.parse_args()
    try:
        if args.write_pages:
            for line in write_pages(args.write_pages, args.draws, 24001):
                print(line)
        elif args.silent:
            serve_silence()
        else:
            serve_pages(args.pages)
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
