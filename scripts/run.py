"""Runs hostglow.exe under Wine: python3 scripts/run.py [HOST [TIMEOUT [DELAY]]]

With a display (DISPLAY set and reachable), the lamp appears in that desktop's
tray. Without one, the program runs on a virtual display of its own, and each
change of the lamp is printed with its time, with a screenshot of the tray
saved beside the build. Ctrl-C closes the program as a user would: its
hidden window is asked to close, the lamp disappears, and nothing is left
running.
"""

import datetime
import os
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

from winesession import SessionError, WineSession, tools_present  # noqa: E402

PREFIX = os.path.join(ROOT, "build", "run", "prefix")
SHOT = os.path.join(ROOT, "build", "run", "tray.png")


def display_present():
    display = os.environ.get("DISPLAY")
    if not display:
        return None
    done = subprocess.run(["xwininfo", "-root"], stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL)
    return display if done.returncode == 0 else None


def now():
    return datetime.datetime.now().strftime("%H:%M:%S.%f")[:-3]


def main():
    args = sys.argv[1:] or ["127.0.0.1"]
    tools_present()
    display = display_present()
    session = WineSession(PREFIX, display=display, log=print)
    interrupted = []
    signal.signal(signal.SIGINT, lambda *_: interrupted.append(True))
    try:
        session.start()
        print("%s  hostglow.exe %s on %s" % (now(), " ".join(args),
              "display " + display if display else "a virtual display"), flush=True)
        if not display:
            print("          screenshots of the tray: %s; Ctrl-C ends" % SHOT, flush=True)
        session.run(*args)
        shown = None
        while session.running() and not interrupted:
            if not display:
                state = session.lamp()
                if state != shown:
                    report(session, state)
                    shown = state
            time.sleep(0.2)
        if interrupted and session.running():
            print("%s  closing hostglow.exe" % now(), flush=True)
            session.probe("close")
            code = session.exit_code(10)
        else:
            code = session.program.wait()
        print("%s  hostglow.exe ended with exit code %d" % (now(), code), flush=True)
        return 0
    except SessionError as error:
        print("run: %s" % error, file=sys.stderr)
        return 1
    finally:
        session.stop()


def report(session, state):
    label = {"red": "red (no answer)", "green": "green (answers)", "none": "not shown"}[state]
    print("%s  lamp %s" % (now(), label), flush=True)
    if state != "none":
        wid = session.tray_window()[0]
        if wid:
            session.x("import", "-window", wid, SHOT, check=False)


if __name__ == "__main__":
    sys.exit(main())
