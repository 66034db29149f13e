"""The benchmark: what hostglow.exe costs, measured on the real program under
Wine, in a network namespace of its own (loopback only), on a private X server.

    unshare -n python3 bench/bench.py [--rounds N] [--out FILE]

Prints a table and writes the figures to a JSON file. It asserts nothing: a
figure that could not be measured is reported as such.
"""

import argparse
import json
import os
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

from winesession import (  # noqa: E402
    BUILD, EXE, SessionError, WineSession, echo_requests_sent, require_root_namespace,
    set_echo_answers, tools_present)

ECHOBENCH = os.path.join(BUILD, "echobench.exe")
MANY_PROBES = 20000


def echobench(session, mode, count):
    """Cycles per second of one echobench loop."""
    done = subprocess.run(["wine", ECHOBENCH, "127.0.0.1", mode, str(count)], env=session.env,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=600)
    fields = dict(line.split() for line in done.stdout.decode().splitlines() if " " in line)
    if int(fields.get("answered", 0)) != count:
        raise SessionError("echobench %s: only %s of %d answered" % (mode, fields.get("answered"),
                                                                   count))
    return count * 1000.0 / float(fields["ms"])


def cycles_per_second(seconds):
    start, began = echo_requests_sent(), time.monotonic()
    time.sleep(seconds)
    return (echo_requests_sent() - start) / (time.monotonic() - began)


def wait_probes(count, limit):
    start, began = echo_requests_sent(), time.monotonic()
    while echo_requests_sent() - start < count:
        if time.monotonic() - began > limit:
            raise SessionError("fewer than %d probes in %d s" % (count, limit))
        time.sleep(0.2)
    return time.monotonic() - began


def measure(session, rounds, figures, log):
    def record(name, value, unit, note=""):
        figures[name] = {"value": value, "unit": unit, "note": note}
        log(name, value, unit, note)

    # The platform's floor and the probe's own steps, before the program runs.
    bare = [echobench(session, "bare", 2000) for _ in range(rounds)]
    probe = [echobench(session, "probe", 2000) for _ in range(rounds)]
    record("echo loop on one held handle", statistics.median(bare), "cycles/s",
           "median of %d rounds of 2000" % rounds)
    record("PingHost loop (acquire, resolve, echo, release)", statistics.median(probe),
           "cycles/s", "median of %d rounds of 2000" % rounds)

    # Start-up: from the process's start to the lamp's first change (to green).
    startups = []
    for _ in range(3):
        session.run("127.0.0.1")
        session.wait_lamp("green", 10)
        startups.append(time.monotonic() - session.started)
        session.probe("close")
        session.exit_code(10)
    record("start-up to the first change of the lamp", statistics.median(startups) * 1000, "ms",
           "median of 3 starts; includes Wine's own process start")

    # The program itself with Delay 0.
    session.run("127.0.0.1", 1000, 0)
    session.wait_lamp("green", 10)
    program = [cycles_per_second(2.0) for _ in range(rounds)]
    record("hostglow.exe probe cycle, Delay 0", statistics.median(program), "cycles/s",
           "median of %d rounds of 2 s, counted as echo requests sent" % rounds)
    record("ratio PingHost loop / bare echo loop",
           statistics.median(probe) / statistics.median(bare), "", "")
    record("ratio hostglow.exe / PingHost loop",
           statistics.median(program) / statistics.median(probe), "",
           "each cycle also sends one modify request to the tray")
    session.probe("close")
    session.exit_code(10)

    # Idle cost at the default Delay of 1000 ms.
    session.run("127.0.0.1")
    session.wait_lamp("green", 10)
    time.sleep(1.0)
    before, sent, began = session.stats(), echo_requests_sent(), time.monotonic()
    time.sleep(20.0)
    after, cycles = session.stats(), echo_requests_sent() - sent
    record("idle: processor time per probe cycle, Delay 1000",
           (after["cpu_ms"] - before["cpu_ms"]) / max(cycles, 1), "ms",
           "%d cycles in %.0f s; all threads of the Wine process" %
           (cycles, time.monotonic() - began))
    record("idle: wake-ups per probe cycle, Delay 1000",
           (after["wake_ups"] - before["wake_ups"]) / max(cycles, 1), "",
           "context switches of all threads of the Wine process")
    session.probe("close")
    session.exit_code(10)

    # Memory and handles at start and after many probes.
    session.run("127.0.0.1", 1000, 0)
    session.wait_lamp("green", 10)
    start = session.stats()
    took = wait_probes(MANY_PROBES, 1200)
    end = session.stats()
    for key, label, unit, note in (
            ("private_bytes", "private memory", "bytes",
             "Linux side (smaps Private); Wine answers 0 to GetProcessMemoryInfo"),
            ("handles", "handles", "", "from the system's handle table"),
            ("fds_program", "open file descriptors, program", "", ""),
            ("fds_wineserver", "open file descriptors, wineserver", "", "")):
        for when, values in (("at start", start), ("after %d probes" % MANY_PROBES, end)):
            value = values[key]
            record("%s %s" % (label, when), value, unit,
                   "not measured: no wineserver found" if value is None else note)
    record("time for %d probes, Delay 0" % MANY_PROBES, took, "s", "")
    session.probe("close")
    session.exit_code(10)

    record("hostglow.exe size", os.path.getsize(EXE), "bytes", "static, stripped")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--out", default=os.path.join(ROOT, "build", "bench", "bench.json"))
    options = parser.parse_args()
    tools_present()
    require_root_namespace()
    subprocess.run(["ip", "link", "set", "lo", "up"], check=True)
    set_echo_answers(True)

    figures = {}

    def log(name, value, unit, note):
        shown = "not measured" if value is None else (
            "%.3f" % value if isinstance(value, float) else str(value))
        print("%-52s %14s %-9s %s" % (name, shown, unit, note), flush=True)

    print("%-52s %14s %-9s %s" % ("figure", "value", "unit", "note"))
    print("-" * 110)
    session = WineSession(os.path.join(ROOT, "build", "bench", "prefix"))
    try:
        session.start()
        measure(session, options.rounds, figures, log)
    except SessionError as error:
        print("bench: stopped: %s" % error, file=sys.stderr)
        figures["stopped"] = str(error)
    finally:
        session.stop()
    os.makedirs(os.path.dirname(options.out), exist_ok=True)
    with open(options.out, "w") as out:
        json.dump(figures, out, indent=2)
    print("figures written to %s" % options.out)
    return 1 if "stopped" in figures else 0


if __name__ == "__main__":
    sys.exit(main())
