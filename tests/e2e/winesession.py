"""A private Wine session for running the real hostglow.exe and looking at it
as a user would: its own X server, its own Wine prefix and wineserver, the
lamp's colour read from the pixels of Wine's tray window, clicks sent to the
lamp and its menu, message boxes read through the tests' helper program.

Used by the end-to-end tests and by the README's run command. Standard library
only.
"""

import os
import re
import shutil
import signal
import subprocess
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.path.join(ROOT, "build", "windows")
EXE = os.path.join(BUILD, "hostglow.exe")
PROBE = os.path.join(BUILD, "hgprobe.exe")


class SessionError(Exception):
    pass


def free_display():
    """A display number that no X server uses."""
    for number in range(90, 200):
        if not os.path.exists("/tmp/.X11-unix/X%d" % number) and not os.path.exists(
            "/tmp/.X%d-lock" % number
        ):
            return number
    raise SessionError("no free X display number")


def lamp_colour(r, g, b):
    """'red' or 'green' for a pixel of a lamp's body, else None."""
    if b >= 60:
        return None
    if r > 200 and g < 60:
        return "red"
    if g > 200 and r < 60:
        return "green"
    return None


def classify(pixels):
    """'red', 'green' or 'none': which lamp the pixels show."""
    red = green = 0
    for i in range(0, len(pixels) - 2, 3):
        colour = lamp_colour(pixels[i], pixels[i + 1], pixels[i + 2])
        red += colour == "red"
        green += colour == "green"
    if max(red, green) < 12:
        return "none"
    return "red" if red > green else "green"


def read_ppm(data):
    """Width, height and RGB bytes of a binary PPM image."""
    fields = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
    if not fields:
        raise SessionError("not a PPM image")
    return int(fields.group(1)), int(fields.group(2)), data[fields.end():]


class WineSession:
    def __init__(self, prefix, display=None, log=None):
        self.prefix = prefix
        self.own_display = display is None
        self.display = display
        self.log = log or (lambda text: None)
        self.xvfb = None
        self.program = None
        self.neighbour = None
        self.env = dict(os.environ)

    # ---- life cycle ---------------------------------------------------------

    def start(self):
        if self.own_display:
            number = free_display()
            self.display = ":%d" % number
            self.xvfb = subprocess.Popen(
                ["Xvfb", self.display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
            for _ in range(100):
                if os.path.exists("/tmp/.X11-unix/X%d" % number):
                    break
                time.sleep(0.05)
        self.env.update({
            "DISPLAY": self.display,
            "WINEPREFIX": self.prefix,
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
        })
        self.ensure_prefix()
        if self.own_display:
            self.keep_icon()
        return self

    def keep_icon(self):
        """Starts the helper that keeps an icon of its own in the tray, and waits for it."""
        self.neighbour = subprocess.Popen(["wine", PROBE, "keep-icon"], env=self.env,
                                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                          start_new_session=True)
        start = time.monotonic()
        while time.monotonic() - start < 20:
            if self.tray_window()[0] is not None:
                return
            time.sleep(0.1)
        raise SessionError("Wine's tray window did not appear")

    def ensure_prefix(self):
        if os.path.exists(os.path.join(self.prefix, "system.reg")):
            return
        self.log("creating the Wine prefix %s (once, about 10 s)" % self.prefix)
        os.makedirs(self.prefix, exist_ok=True)
        subprocess.run(["wineboot", "-i"], env=self.env, check=True, timeout=300,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=120)

    def stop(self):
        """Ends the program, the wineserver and the X server, whatever state they are in."""
        try:
            if self.program is not None and self.program.poll() is None:
                self.probe("close")
                try:
                    self.program.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    self.program.kill()
        finally:
            subprocess.run(["wineserver", "-k"], env=self.env, timeout=30,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            subprocess.run(["wineserver", "-w"], env=self.env, timeout=30,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if self.neighbour is not None:
                self.neighbour.wait(timeout=10)
                self.neighbour = None
            if self.xvfb is not None:
                self.xvfb.terminate()
                try:
                    self.xvfb.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    self.xvfb.kill()
                self.xvfb = None

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()
        return False

    # ---- the program --------------------------------------------------------

    def run(self, *args):
        """Starts hostglow.exe with args; returns at once."""
        # A session of its own: a Ctrl-C in the terminal reaches the caller, which
        # then closes the program as a user would.
        self.program = subprocess.Popen(["wine", EXE] + [str(a) for a in args], env=self.env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        start_new_session=True)
        self.started = time.monotonic()
        return self.program

    def exit_code(self, timeout):
        """The program's exit code once it has ended, waiting at most timeout seconds."""
        try:
            return self.program.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise SessionError("hostglow.exe still runs after %.1f s" % timeout)

    def running(self):
        return self.program is not None and self.program.poll() is None

    def wineserver_pid(self):
        """The wineserver of this session's prefix."""
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open("/proc/%s/cmdline" % entry, "rb") as f:
                    command = f.read().split(b"\0")[0]
                if not os.path.basename(command).startswith(b"wineserver"):
                    continue
                with open("/proc/%s/environ" % entry, "rb") as f:
                    if ("WINEPREFIX=" + self.prefix).encode() in f.read().split(b"\0"):
                        return int(entry)
            except OSError:
                continue
        return None

    def stats(self):
        """The program's handles (Windows side), its private memory, open file
        descriptors and context switches (Linux side), and its processor time."""
        code, output = self.probe("stats")
        if code != 0:
            raise SessionError("the helper could not read the program's figures")
        fields = dict(line.split(None, 1) for line in output.splitlines() if " " in line)
        pid = self.program.pid
        server = self.wineserver_pid()
        with open("/proc/%d/stat" % pid) as f:
            ticks = f.read().rsplit(")", 1)[1].split()
        clock = os.sysconf("SC_CLK_TCK")
        return {
            "handles": int(fields["system_handles"]),
            "private_bytes": linux_private_bytes(pid),
            "fds_program": open_fds(pid),
            "fds_wineserver": open_fds(server) if server else None,
            "cpu_ms": (int(ticks[11]) + int(ticks[12])) * 1000.0 / clock,
            "wake_ups": wake_ups(pid),
        }

    def probe(self, *args, timeout=30):
        """Runs the helper in the session: (exit code, output)."""
        done = subprocess.run(["wine", PROBE] + [str(a) for a in args], env=self.env,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=timeout)
        return done.returncode, done.stdout.decode("utf-8", "replace").replace("\r\n", "\n")

    def wine(self, *args):
        subprocess.run(["wine"] + list(args), env=self.env, timeout=60,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def set_windows_version(self, version):
        """Makes Wine report version (win98, winxp, ...) to hostglow.exe alone."""
        key = r"HKCU\Software\Wine\AppDefaults\hostglow.exe"
        if version is None:
            self.wine("reg", "delete", key, "/f")
        else:
            self.wine("reg", "add", key, "/v", "Version", "/d", version, "/f")

    # ---- the desktop --------------------------------------------------------

    def x(self, *args, check=True):
        done = subprocess.run(list(args), env=self.env, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, timeout=30)
        if check and done.returncode != 0:
            raise SessionError("%s failed" % " ".join(args))
        return done.stdout.decode("utf-8", "replace")

    def windows(self):
        """Top-level windows as (id, name, owner, width, height, x, y)."""
        found = []
        pattern = re.compile(
            r'^\s+(0x[0-9a-f]+) (?:"(.*)"|\(has no name\)): \("([^"]*)" "[^"]*"\)\s+'
            r"(\d+)x(\d+)\+(-?\d+)\+(-?\d+)")
        for line in self.x("xwininfo", "-root", "-children").splitlines():
            match = pattern.match(line)
            if match:
                wid, name, owner, w, h, x, y = match.groups()
                found.append((wid, name, owner, int(w), int(h), int(x), int(y)))
        return found

    def hidden_window_shown(self):
        """Whether the X window of the program's hidden window is mapped."""
        for wid, name, owner, *_ in self.windows():
            if owner == "hostglow.exe" and name == "About Hostglow...":
                return "IsUnMapped" not in self.x("xwininfo", "-id", wid, check=False)
        return False

    def tray_window(self):
        for wid, name, _owner, w, h, x, y in self.windows():
            if name == "Wine System Tray":
                state = self.x("xwininfo", "-id", wid, check=False)
                if "IsViewable" in state:
                    return wid, (x, y, w, h)
        return None, None

    def tray_pixels(self):
        wid, _ = self.tray_window()
        if wid is None:
            return None
        done = subprocess.run(["import", "-window", wid, "-depth", "8", "ppm:-"], env=self.env,
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=30)
        if done.returncode != 0:
            return None
        return read_ppm(done.stdout)

    def lamp(self):
        image = self.tray_pixels()
        return "none" if image is None else classify(image[2])

    def wait_lamp(self, state, timeout):
        """Seconds until the lamp shows state; raises when it does not within timeout."""
        start = time.monotonic()
        seen = None
        while time.monotonic() - start <= timeout:
            seen = self.lamp()
            if seen == state:
                return time.monotonic() - start
            time.sleep(0.1)
        raise SessionError("the lamp is %s, not %s, after %.1f s" % (seen, state, timeout))

    def lamp_centre(self):
        """Root coordinates of the lamp's centre."""
        wid, (x, y, _w, _h) = self.tray_window()
        width, height, pixels = self.tray_pixels()
        xs, ys = [], []
        for i in range(width * height):
            if lamp_colour(pixels[3 * i], pixels[3 * i + 1], pixels[3 * i + 2]):
                xs.append(i % width)
                ys.append(i // width)
        if not xs:
            raise SessionError("no lamp in the tray")
        return x + (min(xs) + max(xs)) // 2, y + (min(ys) + max(ys)) // 2

    def click_lamp(self, button, repeat=1):
        x, y = self.lamp_centre()
        self.x("xdotool", "mousemove", str(x), str(y), "click", "--repeat", str(repeat),
               "--delay", "80", str(button))

    def menu(self, timeout=5):
        """The pop-up menu's window geometry (x, y, w, h) once it is open."""
        start = time.monotonic()
        while time.monotonic() - start <= timeout:
            for _wid, name, owner, w, h, x, y in self.windows():
                if owner == "hostglow.exe" and name is None and w > 20 and h > 20:
                    return x, y, w, h
            time.sleep(0.1)
        raise SessionError("no pop-up menu within %.1f s" % timeout)

    def choose(self, item):
        """Clicks "About..." (the first item) or "Exit" (the last) in the open menu."""
        x, y, w, h = self.menu()
        target_y = y + 10 if item == "About..." else y + h - 10
        self.x("xdotool", "mousemove", str(x + w // 3), str(target_y), "click", "1")

    def screenshot(self, path):
        self.x("import", "-window", "root", path)


def echo_requests_sent():
    """Echo requests sent so far in this network namespace (IcmpMsg OutType8)."""
    lines = open("/proc/net/snmp").read().splitlines()
    for header, values in zip(lines, lines[1:]):
        if header.startswith("IcmpMsg:") and values.startswith("IcmpMsg:"):
            row = dict(zip(header.split()[1:], values.split()[1:]))
            return int(row.get("OutType8", 0))
    return 0


def linux_private_bytes(pid):
    total = 0
    with open("/proc/%d/smaps_rollup" % pid) as smaps:
        for line in smaps:
            if line.startswith(("Private_Clean:", "Private_Dirty:")):
                total += int(line.split()[1]) * 1024
    return total


def open_fds(pid):
    return len(os.listdir("/proc/%d/fd" % pid))


def wake_ups(pid):
    """Context switches of all the process's threads so far."""
    total = 0
    for task in os.listdir("/proc/%d/task" % pid):
        with open("/proc/%d/task/%s/status" % (pid, task)) as status:
            for line in status:
                if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                    total += int(line.split()[1])
    return total


def require_root_namespace():
    """The end-to-end tests run as root inside a network namespace of their own."""
    if os.geteuid() != 0:
        raise SessionError("needs root, for a private network namespace (unshare -n)")


def set_echo_answers(on):
    """Switches the echo answers of this network namespace's loopback on or off."""
    subprocess.run(["sysctl", "-q", "-w", "net.ipv4.icmp_echo_ignore_all=%d" % (0 if on else 1)],
                   check=True)


def tools_present():
    missing = [t for t in ("wine", "wineserver", "Xvfb", "xdotool", "xwininfo", "import")
               if shutil.which(t) is None]
    if missing:
        raise SessionError("missing tools: %s (run scripts/setup.sh as root)" % ", ".join(missing))
