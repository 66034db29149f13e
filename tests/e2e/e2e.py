"""End-to-end tests of the real hostglow.exe under Wine.

Each case runs in a network namespace of its own that holds only loopback
(the caller starts it as `unshare -n python3 e2e.py CASE`), on a private X
server, with the run's Wine prefix and a wineserver of its own. Every probe
the program sends goes to 127.0.0.1 or to a name that does not resolve.

    python3 e2e.py CASE [--prefix DIR] [--shots DIR]
"""

import argparse
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from winesession import (  # noqa: E402
    SessionError, WineSession, echo_requests_sent, require_root_namespace, set_echo_answers,
    tools_present)

ABOUT_LINES = [
    "  Hostglow v1.0",
    "  \u00a9 2026 The Hostglow Project        ",
    "  https://hostglow.example.org/",
    "  E-mail:hostglow@example.org",
]


class CaseFailed(Exception):
    pass


def expect(what, expected, got):
    if expected != got:
        raise CaseFailed("%s: expected %r, got %r" % (what, expected, got))
    print("ok: %s: %r" % (what, got))


def expect_true(what, condition, detail=""):
    if not condition:
        raise CaseFailed("%s%s" % (what, ": " + detail if detail else ""))
    print("ok: %s" % what)


def unescape(text):
    """Undoes the helper's escaping of backslashes, CR and LF."""
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append({"r": "\r", "n": "\n"}.get(text[i + 1], text[i + 1]))
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def box_texts(session, caption, timeout_ms=8000):
    """The texts and buttons of the open box with caption, as lists."""
    code, output = session.probe("box", caption, timeout_ms)
    if code != 0:
        raise CaseFailed("no box %r appeared" % caption)
    texts = [unescape(l[6:]) for l in output.splitlines() if l.startswith("text: ")]
    buttons = [l[8:] for l in output.splitlines() if l.startswith("button: ")]
    icons = [int(l[7:]) for l in output.splitlines() if l.startswith("icons: ")]
    return texts, buttons, icons[0] if icons else 0


# ---- cases ----------------------------------------------------------------

def refusal(session, args, text):
    session.run(*args)
    texts, buttons, icons = box_texts(session, "Error")
    expect("box text", [text], texts)
    expect("buttons", ["OK"], buttons)
    expect("icons in the box", 0, icons)
    expect("lamp while the box is open", "red", session.lamp())
    session.probe("press", "Error")
    expect("exit code", 0, session.exit_code(10))
    session.wait_lamp("none", 5)
    print("ok: the lamp is gone")


def case_no_argument(session):
    refusal(session, [], "No Actual Paramets In Param String!")


def case_bad_address(session):
    refusal(session, ["0.1.2.3"], "Error IP Adress!")


def case_loopback(session):
    set_echo_answers(True)
    session.run("127.0.0.1")
    # The first probe on loopback takes a millisecond, so the red lamp of the
    # start is seldom seen before Wine's tray window shows it green.
    took = session.wait_lamp("green", 2.0 - (time.monotonic() - session.started))
    print("ok: green within %.2f s of the start" % (time.monotonic() - session.started))
    set_echo_answers(False)
    took = session.wait_lamp("red", 1.0 + 1.0 + 1.0)
    print("ok: red within %.2f s of the echo answers being switched off" % took)
    set_echo_answers(True)
    took = session.wait_lamp("green", 1.0 + 1.0 + 1.0)
    print("ok: green again within %.2f s" % took)
    expect_true("still running", session.running())


def case_unresolvable(session):
    session.run("no-such-host.invalid", 500, 200)
    session.wait_lamp("red", 5)
    for _ in range(15):
        time.sleep(0.2)
        expect("lamp", "red", session.lamp())
    expect_true("still running after 3 s", session.running())


def case_menu_exit(session):
    session.run("127.0.0.1")
    session.wait_lamp("green", 5)
    session.click_lamp(3)
    session.menu()
    print("ok: the pop-up menu opened")
    start = time.monotonic()
    session.choose("Exit")
    expect("exit code", 0, session.exit_code(5))
    print("ok: ended %.2f s after the click on Exit" % (time.monotonic() - start))
    session.wait_lamp("none", 5)
    print("ok: the lamp is gone")


def about(session, version):
    session.set_windows_version(version)
    session.run("127.0.0.1")
    session.wait_lamp("green", 5)
    session.click_lamp(1, repeat=2)
    texts, buttons, icons = box_texts(session, "About")
    expect("About text", ["\r\n".join(ABOUT_LINES)], texts)
    expect("buttons", ["OK"], buttons)
    expect("icons in the box", 1, icons)
    session.probe("press", "About")
    time.sleep(0.5)
    expect("boxes still open", "0", session.probe("boxes", "About")[1].strip())
    expect_true("still running after the box", session.running())


def case_about_nt(session):
    about(session, "winxp")


def case_about_95(session):
    try:
        about(session, "win98")
    finally:
        session.set_windows_version(None)


def case_menu_about(session):
    session.run("127.0.0.1")
    session.wait_lamp("green", 5)
    session.click_lamp(3)
    session.choose("About...")
    texts, _buttons, _icons = box_texts(session, "About")
    expect("About text", ["\r\n".join(ABOUT_LINES)], texts)
    # A second About over the first, then Exit while both are open.
    session.probe("command", 200)
    time.sleep(1.0)
    expect("About boxes open", "2", session.probe("boxes", "About")[1].strip())
    expect("hidden window shown", False, session.hidden_window_shown())
    session.probe("command", 210)
    expect("exit code", 0, session.exit_code(5))


def case_close_request(session):
    session.run("127.0.0.1")
    session.wait_lamp("green", 5)
    expect("helper found the window", 0, session.probe("close")[0])
    expect("exit code", 0, session.exit_code(5))
    session.wait_lamp("none", 5)
    print("ok: the lamp is gone")


def case_quit_message(session):
    session.run("127.0.0.1")
    session.wait_lamp("green", 5)
    expect("helper found the window", 0, session.probe("quit")[0])
    expect("exit code", 0, session.exit_code(5))


def case_exit_during_long_timeout(session):
    set_echo_answers(False)
    session.run("127.0.0.1", 20000, 1000)
    session.wait_lamp("red", 5)
    time.sleep(1.5)  # the first probe is now waiting out its 20 s
    session.click_lamp(3)
    session.menu()
    start = time.monotonic()
    session.choose("Exit")
    expect("exit code", 0, session.exit_code(5))
    took = time.monotonic() - start
    expect_true("ended within 1 s of the click on Exit (%.2f s)" % took, took <= 1.0)


def case_exit_from_error_box(session):
    session.run()
    box_texts(session, "Error")
    session.click_lamp(3)
    session.choose("Exit")
    session.wait_lamp("none", 5)
    print("ok: Exit removed the lamp while the error box is open")
    session.probe("press", "Error")
    expect("exit code", 0, session.exit_code(10))


SOAK_PROBES = 20000


def case_soak(session):
    """20,000 probes with Delay 0, the host answering and silent by turns: the
    program's handles, memory and descriptors end where they were after warm-up."""
    set_echo_answers(True)
    session.run("127.0.0.1", 10, 0)
    session.wait_lamp("green", 5)
    start = echo_requests_sent()
    while echo_requests_sent() - start < 500:
        time.sleep(0.1)
    before = session.stats()
    print("after warm-up: %s" % before)
    sent = echo_requests_sent()
    answering, turns, seen = True, 0, set()
    began = time.monotonic()
    while echo_requests_sent() - sent < SOAK_PROBES:
        if time.monotonic() - began > 900:
            raise CaseFailed("fewer than %d probes in 900 s" % SOAK_PROBES)
        answering = not answering
        set_echo_answers(answering)
        turns += 1
        time.sleep(0.3)
        seen.add(session.lamp())
    set_echo_answers(True)
    session.wait_lamp("green", 5)
    probes = echo_requests_sent() - sent
    after = session.stats()
    print("after %d probes in %.0f s (%d turns): %s" % (probes, time.monotonic() - began, turns,
                                                      after))
    expect_true("the lamp showed both states", {"red", "green"} <= seen, str(seen))
    margins = {"handles": 4, "private_bytes": 1 << 20, "fds_program": 4, "fds_wineserver": 4}
    for name, margin in margins.items():
        if before[name] is None:
            continue
        expect_true("%s %d within %d of %d" % (name, after[name], margin, before[name]),
                    after[name] <= before[name] + margin)


CASES = {name[5:]: fn for name, fn in globals().items() if name.startswith("case_")}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=sorted(CASES) + ["prefix"])
    parser.add_argument("--prefix", default=os.path.join(
        os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__)))),
        "build", "e2e", "prefix"))
    parser.add_argument("--shots", default=None, help="folder for a screenshot when a case fails")
    options = parser.parse_args()

    tools_present()
    require_root_namespace()
    subprocess.run(["ip", "link", "set", "lo", "up"], check=True)
    session = WineSession(options.prefix, log=print)
    try:
        session.start()
        if options.case != "prefix":
            CASES[options.case](session)
    except (CaseFailed, SessionError, subprocess.TimeoutExpired) as failure:
        print("FAIL: %s: %s" % (options.case, failure))
        if options.shots:
            os.makedirs(options.shots, exist_ok=True)
            try:
                session.screenshot(os.path.join(options.shots, options.case + ".png"))
            except SessionError:
                pass
        return 1
    finally:
        session.stop()
    print("PASS: %s" % options.case)
    return 0


if __name__ == "__main__":
    sys.exit(main())
