"""A private X display and Wine prefix for driving Pelmora.exe like a person would.

WineSession starts Xvfb on a free display, boots a fresh prefix, runs the program, finds
windows by title, types, clicks and takes screenshots; leaving the `with` block ends the
program, the Wine server and the display. pick_wine() chooses the Wine that can run the
program on this machine. Standard library only.
"""

import os
import re
import select
import shutil
import subprocess
import time
from dataclasses import dataclass
from pathlib import Path

DEBIAN_WINE32 = "/usr/lib/wine/wine"
DEBIAN_WINE64 = "/usr/lib/wine/wine64"
# Wine's own "MS Sans Serif" and "Tahoma" have no Chinese glyphs; Windows links them to a
# Chinese face, and so does this prefix, with a face that Debian packages.
FONT_LINK = "wqy-zenhei.ttc,WenQuanYi Zen Hei"
FONT_LINK_KEY = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink"


def near(a, b, tolerance=8):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


def elf_class(path):
    """1 for a 32-bit ELF file, 2 for 64-bit, None for anything else."""
    try:
        with open(path, "rb") as f:
            head = f.read(5)
    except OSError:
        return None
    return head[4] if head[:4] == b"\x7fELF" else None


@dataclass
class Wine:
    loader: str
    exe: Path
    arch: str
    note: str = ""

    def describe(self):
        text = f"running {self.exe} with {self.loader} ({self.arch})"
        return f"{text}\n{self.note}" if self.note else text


def can_execute(loader):
    try:
        return subprocess.run([loader, "--version"], capture_output=True, timeout=120,
                              env={**os.environ, "WINEDEBUG": "-all"}).returncode == 0
    except OSError:
        return False  # ENOEXEC: this kernel cannot run the loader at all
    except subprocess.TimeoutExpired:
        return False


def pick_wine(exe32, exe64):
    """The Wine to use, or a message naming what is missing."""
    def loaders(bits, names):
        found = [DEBIAN_WINE32 if bits == 1 else DEBIAN_WINE64]
        found += [shutil.which(n) for n in names]
        return [p for p in found if p and elf_class(os.path.realpath(p)) == bits]

    wine32 = next(iter(loaders(1, ["wine"])), None)
    if not wine32:
        return "wine32 (apt-get install wine32:i386)"
    if can_execute(wine32):
        return Wine(wine32, exe32, "win32")
    wine64 = next(iter(loaders(2, ["wine64"])), None)
    note = ("this kernel cannot execute 32-bit programs (ia32 emulation is off), so wine32 "
            "cannot start; checking the same sources built for x86_64 under wine64")
    if not wine64:
        return f"wine64 ({note})"
    if not exe64 or not exe64.is_file():
        return f"the x86_64 build of Pelmora.exe ({note})"
    return Wine(wine64, exe64, "win64", note)


class Screenshot:
    """A P6 PPM; a missing or cut-short image reads as an empty one, so waits time out."""

    def __init__(self, ppm):
        self.width = self.height = 0
        self.data = b""
        fields, pos = [], 0
        while len(fields) < 4:
            while pos < len(ppm) and ppm[pos:pos + 1].isspace():
                pos += 1
            end = pos
            while end < len(ppm) and not ppm[end:end + 1].isspace():
                end += 1
            if end == pos:
                return
            fields.append(ppm[pos:end])
            pos = end
        if fields[0] != b"P6" or int(fields[3]) != 255:
            raise ValueError("not an 8-bit binary PPM")
        self.width, self.height = int(fields[1]), int(fields[2])
        self.data = ppm[pos + 1:]

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            return (-1, -1, -1)
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])


class WineSession:
    def __init__(self, wine, scratch):
        self.wine, self.scratch = wine, scratch
        self.xvfb = self.program = None
        self.log = open(scratch / "wine.log", "wb")
        self.env = {k: v for k, v in os.environ.items()
                    if k not in ("WINEDLLPATH", "WINELOADER", "WINESERVER")}
        self.env.update(WINEPREFIX=str(scratch / "prefix"), WINEARCH=wine.arch,
                        WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")

    def __enter__(self):
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                      "1024x768x24", "-nolisten", "tcp", "-noreset"],
                                     pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        os.close(write_end)
        ready, _, _ = select.select([read_end], [], [], 30)
        display = os.read(read_end, 64).decode().strip() if ready else ""
        os.close(read_end)
        if not display:
            self.__exit__(None, None, None)
            raise RuntimeError("Xvfb did not start")
        self.env["DISPLAY"] = f":{display}"
        return self

    def __exit__(self, *exc):
        if self.program and self.program.poll() is None:
            self.program.terminate()
        server = shutil.which("wineserver")
        if server and "DISPLAY" in self.env:
            subprocess.run([server, "-k"], env=self.env, timeout=60, capture_output=True)
        for process in (self.program, self.xvfb):
            if process and process.poll() is None:
                process.kill()
            if process:
                process.wait(timeout=30)
        self.log.close()
        return False

    def run(self, args, timeout):
        return subprocess.run(args, env=self.env, timeout=timeout, capture_output=True)

    def boot(self):
        """Creates the prefix; returns the seconds it took. The first boot is slow."""
        started = time.monotonic()
        self.run([self.wine.loader, "wineboot", "--init"], 900)
        for face in ("MS Sans Serif", "Tahoma"):
            self.run([self.wine.loader, "reg", "add", FONT_LINK_KEY, "/v", face, "/t",
                      "REG_MULTI_SZ", "/d", FONT_LINK, "/f"], 120)
        # The program must not meet a server that is just shutting down: wait it out.
        server = shutil.which("wineserver")
        if server:
            self.run([server, "-w"], 300)
        return time.monotonic() - started

    def start_program(self, exe):
        # Wine's own errors go to the log, which a failed check prints.
        self.program = subprocess.Popen([self.wine.loader, str(exe)],
                                        env={**self.env, "WINEDEBUG": "err+all,fixme-all"},
                                        stdout=self.log, stderr=self.log)

    def log_tail(self, lines=20):
        self.log.flush()
        text = (self.scratch / "wine.log").read_text(errors="replace").splitlines()
        return "\n".join(text[-lines:])

    def xdotool(self, *args, timeout=20):
        try:
            return self.run(["xdotool", *args], timeout).stdout.decode()
        except subprocess.TimeoutExpired:
            return ""

    def find_windows(self, title_pattern):
        return self.xdotool("search", "--onlyvisible", "--name", title_pattern).split()

    def wait_until(self, condition, timeout):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if condition():
                return True
            time.sleep(0.5)
        return condition()

    def wait_for_window(self, title_pattern, timeout):
        found = []
        self.wait_until(lambda: found.extend(self.find_windows(title_pattern)) or found, timeout)
        return found[0] if found else None

    def geometry(self, window):
        text = self.run(["xwininfo", "-id", window], 20).stdout.decode()
        value = lambda label: int(re.search(label + r":\s+(-?\d+)", text).group(1))
        return {"x": value("Absolute upper-left X"), "y": value("Absolute upper-left Y"),
                "width": value("Width"), "height": value("Height")}

    def focus(self, window):
        self.xdotool("windowfocus", "--sync", window, timeout=10)
        time.sleep(0.5)

    def type_text(self, text):
        self.xdotool("type", "--delay", "150", text)
        time.sleep(0.5)

    def key(self, name):
        self.xdotool("key", name)
        time.sleep(0.5)

    def click(self, window, x, y):
        self.xdotool("mousemove", "--window", window, str(x), str(y), "click", "1")
        time.sleep(0.5)

    def screenshot(self):
        if self.xvfb.poll() is not None:
            raise RuntimeError("the X server has gone")
        ppm = self.run(["import", "-window", "root", "-depth", "8", "ppm:-"], 60).stdout
        return Screenshot(ppm)

    def wait_for_screen(self, condition, timeout):
        shots = []
        self.wait_until(lambda: condition(shots.append(self.screenshot()) or shots[-1]), timeout)
        return shots[-1]

    def save_window_png(self, window, path):
        path.parent.mkdir(parents=True, exist_ok=True)
        self.run(["import", "-window", window, f"png:{path}"], 60)
