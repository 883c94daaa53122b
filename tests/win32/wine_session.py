"""A private display and Wine prefix for driving Pelmora.exe like a person would.

WineSession is a Display (tests/support/display.py) with a fresh Wine prefix on it: it
boots the prefix and runs the program; leaving the `with` block ends the program, the
Wine server and the display. pick_wine() chooses the Wine that can run the program on
this machine. Standard library only.
"""

import os
import shutil
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "support"))
from display import Display  # noqa: E402

DEBIAN_WINE32 = "/usr/lib/wine/wine"
DEBIAN_WINE64 = "/usr/lib/wine/wine64"
# Wine's own "MS Sans Serif" and "Tahoma" have no Chinese glyphs; Windows links them to a
# Chinese face, and so does this prefix, with a face that Debian packages.
FONT_LINK = "wqy-zenhei.ttc,WenQuanYi Zen Hei"
FONT_LINK_KEY = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink"


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


class WineSession(Display):
    def __init__(self, wine, scratch):
        super().__init__(scratch)
        self.wine, self.scratch = wine, scratch
        self.program = None
        for name in ("WINEDLLPATH", "WINELOADER", "WINESERVER"):
            self.env.pop(name, None)
        self.env.update(WINEPREFIX=str(scratch / "prefix"), WINEARCH=wine.arch,
                        WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")

    def close(self):
        server = shutil.which("wineserver")
        if server and "DISPLAY" in self.env:
            subprocess.run([server, "-k"], env=self.env, timeout=60, capture_output=True)
        super().close()

    def wine_run(self, args, timeout):
        return subprocess.run([self.wine.loader, *args], env=self.env, timeout=timeout,
                              capture_output=True)

    def boot(self):
        """Creates the prefix; returns the seconds it took. The first boot is slow."""
        started = time.monotonic()
        self.wine_run(["wineboot", "--init"], 900)
        for face in ("MS Sans Serif", "Tahoma"):
            self.wine_run(["reg", "add", FONT_LINK_KEY, "/v", face, "/t", "REG_MULTI_SZ",
                           "/d", FONT_LINK, "/f"], 120)
        # The program must not meet a server that is just shutting down: wait it out.
        server = shutil.which("wineserver")
        if server:
            subprocess.run([server, "-w"], env=self.env, timeout=300, capture_output=True)
        return time.monotonic() - started

    def start_program(self, exe):
        # Wine's own errors go to the log, which a failed check prints.
        self.program = self.spawn([self.wine.loader, str(exe)],
                                  env={"WINEDEBUG": "err+all,fixme-all"}, log="wine.log")

    def log_tail(self, lines=20):
        path = self.scratch / "wine.log"
        text = path.read_text(errors="replace").splitlines() if path.exists() else []
        return "\n".join(text[-lines:])
