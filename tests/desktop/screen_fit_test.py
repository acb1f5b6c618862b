#!/usr/bin/python3
"""The window on screens shorter than it is made for, as the desktop shows it: the built program in an X
server, a session bus and an AT-SPI bus of its own (desktop_test.py's), on

  1366 × 700 pixels at Qt's scale 1, and
  1920 × 1080 pixels at QT_SCALE_FACTOR=1.5, which is 1280 × 720 of Qt's pixels (a laptop at 150 %).

A bare X server has no panels: the screen's free area is the whole screen. The window must lie whole
inside it, take its height (766 does not fit), and a click on each tab's caption, at the bottom of the
window, must select that tab.

  screen_fit_test.py PROGRAM              every screen, each in a process of its own
  screen_fit_test.py PROGRAM SCREEN SCALE one screen ("1366x700", "1")

Exits non-zero, listing what failed, when anything does.
"""
import os
import signal
import subprocess
import sys
import threading

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desktop_test  # noqa: E402
from desktop_test import loopback_site, wait_for  # noqa: E402

SCREENS = [("1366x700", "1"), ("1920x1080", "1.5")]
DESIGNED = (442, 766)  # the window's size where the screen holds it, in Qt's pixels
TABS = ["走势", "设置", "帮助", "分析"]


def window_geometry(env):
    """The program's window as the X server has it: x, y, width, height in its pixels."""
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Dravik$", "getwindowgeometry",
                          "--shell"], env=env, capture_output=True, text=True).stdout
    values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    if not values:
        return None
    return tuple(int(values[key]) for key in ("X", "Y", "WIDTH", "HEIGHT"))


def check_screen(executable, screen, scale, failures):
    width, height = (int(n) for n in screen.split("x"))
    label = "%s at %s" % (screen, scale)
    session = desktop_test.Session(screen + "x24")
    server = None
    try:
        session.start()
        pages = os.path.join(session.root, "site")
        loopback_site.write_pages(pages, 30, 24001)
        server = loopback_site.quiet_server(pages)
        threading.Thread(target=server.serve_forever, daemon=True).start()
        program = desktop_test.Program(session, executable, server.server_address[1],
                                       {"QT_SCALE_FACTOR": scale})
        try:
            geometry = wait_for(lambda: window_geometry(session.env), "the window's geometry")
            x, y, w, h = geometry
            print("%s: the window is %dx%d at %d,%d" % (label, w, h, x, y))
            expected = (round(min(DESIGNED[0], width / float(scale)) * float(scale)),
                        round(min(DESIGNED[1], height / float(scale)) * float(scale)))
            if (w, h) != expected:
                failures.append("%s: the window is %dx%d, expected %dx%d" % (label, w, h, *expected))
            if x < 0 or y < 0 or x + w > width or y + h > height:
                failures.append("%s: the window %dx%d at %d,%d is not inside the screen" % (label, w, h, x, y))
            for caption in TABS:
                tab = program.control("page tab", caption)
                program.click(tab, "caption")
                try:
                    wait_for(lambda: tab.getState().contains(program.pyatspi.STATE_SELECTED),
                             "the tab " + caption, timeout=10)
                except RuntimeError as error:
                    failures.append("%s: a click on the caption %s: %s" % (label, caption, error))
        finally:
            status = program.close()
            if status != 0:
                failures.append("%s: the program ended with status %s" % (label, status))
    except RuntimeError as error:
        failures.append("%s: %s" % (label, error))
    finally:
        desktop_test.end_session(session, server, failures)


def main():
    if len(sys.argv) == 2:
        # Each screen in a process of its own: pyatspi stays with the first AT-SPI bus it met.
        failed = [screen for screen, scale in SCREENS
                  if subprocess.run([sys.executable, os.path.abspath(__file__), sys.argv[1], screen, scale]).returncode]
        print("%d screens: %s" % (len(SCREENS), "FAILED" if failed else "passed"))
        return 1 if failed else 0
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    failures = []
    check_screen(os.path.abspath(sys.argv[1]), sys.argv[2], sys.argv[3], failures)
    for failure in failures:
        print("FAIL", failure)
    print("%s at %s: %s" % (sys.argv[2], sys.argv[3], "FAILED" if failures else "passed"))
    return 1 if failures else 0


if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *args: sys.exit(1))
    sys.exit(main())
