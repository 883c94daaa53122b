"""A private display and Wine prefix for driving Pelmora.exe like a person would.

WineSession is a Display (tests/support/display.py) with a fresh Wine prefix on it: it
boots the prefix and runs the program; leaving the `with` block ends the program, the
Wine server and the display. pick_wine() chooses the Wine that can run the program on
this machine. Standard library only.
"""

import os
import re
import shutil
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

# The display helpers this check was written on (tests/win32/harness), until the Wine
# adapter of the shared scenario table replaces it; in the check VM they sit in support/.
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "support"))
sys.path.insert(0, str(Path(__file__).resolve().parent / "harness"))
from display import Display  # noqa: E402

DEBIAN_WINE32 = "/usr/lib/wine/wine"
DEBIAN_WINE64 = "/usr/lib/wine/wine64"
# A Chinese Windows draws the captions' "MS Sans Serif" with two faces: Latin text in
# it, Chinese characters in the face its font links name, SimSun, whose built-in bitmaps
# keep small characters whole. This prefix does the same with Debian's faces. Wine's own
# "MS Sans Serif" is not installed (it comes with fonts-wine), so Liberation Sans stands
# in for it, as in the Qt program; Wine looks links up under the face it substitutes.
# AR PL UMing CN is a Ming face like SimSun, with bitmaps down to 11 pixels. (A linked
# face without them, WenQuanYi Zen Hei, drew the captions with strokes missing: at 11
# pixels its table of sizes turns grey levels off, and Wine, lacking "MS Sans Serif",
# took it for the Latin text too: "开发组" read "J 发组", "Pelmora" "Pelmorc".)
CHINESE_FACE = "uming.ttc,AR PL UMing CN"
FONT_LINK_KEY = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink"
LINKED_FACES = ("Liberation Sans", "Tahoma")
# A Chinese Windows has the Kai face the headings ask for; Debian's is "AR PL KaitiM GB".
# Without the name Wine picks any GB2312 face, and not the same one in every build.
# A .reg file, as UTF-16, so the Chinese name survives any locale.
SUBSTITUTES = """Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]
"楷体_GB2312"="AR PL KaitiM GB"
"MS Sans Serif"="Liberation Sans"
"""


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

    def describe(self):
        return f"running {self.exe} with {self.loader} ({self.arch})"


def can_execute(loader):
    try:
        return subprocess.run([loader, "--version"], capture_output=True, timeout=120,
                              env={**os.environ, "WINEDEBUG": "-all"}).returncode == 0
    except OSError:
        return False  # ENOEXEC: this kernel cannot run the loader at all
    except subprocess.TimeoutExpired:
        return False


def pick_wine(exe, bits):
    """The Wine that runs `exe` (bits 32 or 64) here, or a message naming what is missing."""
    elf, loader, name = (1, DEBIAN_WINE32, "wine") if bits == 32 else (2, DEBIAN_WINE64, "wine64")
    loader = next((p for p in (loader, shutil.which(name))
                   if p and elf_class(os.path.realpath(p)) == elf), None)
    if not loader:
        return "wine32 (apt-get install wine32:i386)" if bits == 32 else "wine64"
    if not can_execute(loader):
        return (f"a kernel that can execute {loader} (this one cannot run 32-bit programs: "
                "ia32 emulation is off)")
    return Wine(loader, exe, "win32" if bits == 32 else "win64")


class WineSession(Display):
    def __init__(self, wine, scratch, locale=None):
        """`locale` is the one Wine and the program run in; the X tools keep the caller's,
        which must be a UTF-8 one for them to match Chinese window titles."""
        super().__init__(scratch)
        self.wine, self.scratch = wine, scratch
        self.wine_locale = {"LC_ALL": locale} if locale else {}
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
        return subprocess.run([self.wine.loader, *args], env={**self.env, **self.wine_locale},
                              timeout=timeout, capture_output=True)

    def boot(self, font_link=True):
        """Creates the prefix, with the Chinese fonts and font links a Chinese Windows has
        unless told not to; returns the seconds it took. The first boot is slow."""
        started = time.monotonic()
        self.wine_run(["wineboot", "--init"], 900)
        if font_link:
            reg = self.scratch / "fonts.reg"
            reg.write_text(SUBSTITUTES.replace("\n", "\r\n"), encoding="utf-16")
            # A Unix path would read as a switch; Z: is Wine's root.
            self.wine_run(["reg", "import", "Z:" + str(reg).replace("/", "\\")], 120)
        for face in LINKED_FACES if font_link else ():
            self.wine_run(["reg", "add", FONT_LINK_KEY, "/v", face, "/t", "REG_MULTI_SZ",
                           "/d", CHINESE_FACE, "/f"], 120)
        # The program must not meet a server that is just shutting down: wait it out.
        server = shutil.which("wineserver")
        if server:
            subprocess.run([server, "-w"], env=self.env, timeout=300, capture_output=True)
        return time.monotonic() - started

    def start_program(self, exe):
        # Wine's own errors go to the log, which a failed check prints.
        self.program = self.spawn([self.wine.loader, str(exe)],
                                  env={"WINEDEBUG": "err+all,fixme-all", **self.wine_locale},
                                  log="wine.log")

    def windows(self, title):
        # By the UTF-8 title (_NET_WM_NAME): Wine's WM_NAME holds only what the program's
        # locale can encode, "??" for "出错" in the C locale.
        found = []
        for window in self.run(["xdotool", "search", "--onlyvisible", "--name", ""]).split():
            name = re.fullmatch(r'_NET_WM_NAME\(UTF8_STRING\) = "(.*)"',
                                self.run(["xprop", "-id", window, "_NET_WM_NAME"]).strip())
            if name and name.group(1) == title:
                found.append(window)
        return found

    def log_tail(self, lines=20):
        path = self.scratch / "wine.log"
        text = path.read_text(errors="replace").splitlines() if path.exists() else []
        return "\n".join(text[-lines:])
