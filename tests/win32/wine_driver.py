"""The scenarios' driver for Pelmora.exe under Wine, in a private Xvfb and Wine prefix.

--exe32 is the program that ships, under wine32; where this kernel cannot run 32-bit
code, vm/ runs the session in a virtual machine. --exe64 is the same sources built for
x86_64, under wine64. --locale is the one Wine and the program run in (the session's own
must be a UTF-8 one, for the title "出错"). --no-font-link leaves out the links a Chinese
Windows has from "MS Sans Serif" and "Tahoma" to a Chinese face, so the program must find
its glyphs by itself. --pictures compares with pictures/, taken in zh_CN.UTF-8 with links.
"""
import os
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

import keyboard_layout
import window_layout as layout
from display import DEADLINE, Display, Failure, missing_tools, stop_newest_first, wait_until
from x_driver import XDriver

# A Chinese Windows draws the captions' "MS Sans Serif" with Latin text in it and Chinese
# characters in the face its font links name, SimSun, whose bitmaps keep small characters
# whole. Here Liberation Sans stands in for "MS Sans Serif" (fonts-wine is not installed)
# and AR PL UMing CN, a Ming face with bitmaps down to 11 pixels, for SimSun. (WenQuanYi
# Zen Hei, without them, drew the captions with strokes missing, and Wine took it for the
# Latin text too: "开发组" read "J 发组".) The headings' Kai face is Debian's AR PL KaitiM
# GB; without the name Wine picks any GB2312 face. A .reg file in UTF-16 keeps the
# Chinese name whole in any locale.
FONT_LINKS = [('reg', 'add', r'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink',
               '/v', face, '/t', 'REG_MULTI_SZ', '/d', 'uming.ttc,AR PL UMing CN', '/f')
              for face in ('Liberation Sans', 'Tahoma')]
SUBSTITUTES = ('Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft'
               '\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n"楷体_GB2312"="AR PL KaitiM GB"\r\n'
               '"MS Sans Serif"="Liberation Sans"\r\n')


def runs(loader):
    try:
        return subprocess.run([loader, '--version'], capture_output=True, timeout=120,
                              env={**os.environ, 'WINEDEBUG': '-all'}).returncode == 0
    except (OSError, subprocess.TimeoutExpired):
        return False  # ENOEXEC: this kernel cannot run the loader at all


class WineDriver(XDriver):
    """Boots one prefix and starts Pelmora.exe afresh in it for each scenario, its window
    given the keyboard focus as a desktop gives it. window_reader.exe reads the controls
    and message boxes, as a Windows screen reader does."""

    LACKS = {'live': 'nothing here reads what Wine gives UI Automation',
             'names': 'nothing here reads the names Wine keeps for MSAA',
             'scale2': 'Wine draws at 96 dpi here', 'nul': 'Windows text ends at a NUL',
             'scripts': "Wine's X11 keyboard drops keys it has no layout for",
             # 10,000 digits take 1.6 s in the range box, 100,000 take 54 s.
             'megabyte': "Wine's edit control takes a long line in quadratic time",
             'screen_reader': 'no screen reader for Wine', 'wayland': 'Wine draws through X11',
             'first_frame': 'the program paints its first frame'}
    PICTURES = str(Path(__file__).resolve().parent / 'pictures')

    @staticmethod
    def add_options(parser):
        exe = parser.add_mutually_exclusive_group()
        exe.add_argument('--exe32', type=Path)
        exe.add_argument('--exe64', type=Path)
        parser.add_argument('--reader', type=Path, help='window_reader.exe built for the same Wine')
        parser.add_argument('--locale')
        parser.add_argument('--no-font-link', action='store_true')
        parser.add_argument('--pictures', action='store_true')
        parser.add_argument('--screenshot', type=Path, help='where to keep the last window seen')

    @staticmethod
    def missing(args):
        """What the session lacks here; sets args.loader to the Wine that runs the program."""
        program, bits = (args.exe32, 32) if args.exe32 else (args.exe64, 64)
        lacking = missing_tools(['xprop', 'xclip'])
        lacking += ['%s (build it first)' % p for p in (program, args.reader)
                    if not p or not p.is_file()]
        name = 'wine' if bits == 32 else 'wine64'
        elf = lambda path: open(path, 'rb').read(5)[4] if os.path.exists(path) else None
        args.loader = next((p for p in ('/usr/lib/wine/' + name, shutil.which(name))
                            if p and elf(os.path.realpath(p)) == bits // 32), None)
        if not args.loader:
            lacking.append('wine32 (apt-get install wine32:i386)' if bits == 32 else 'wine64')
        elif not runs(args.loader):
            lacking.append('a kernel that runs %s (ia32 emulation is off)' % args.loader)
        return lacking

    def __init__(self, args, work, log):
        self.scratch = Path(tempfile.mkdtemp(prefix='pelmora-wine-'))
        super().__init__(Display(self.scratch), log)
        self.args, self.reader = args, None
        self.locale = {'LC_ALL': args.locale} if args.locale else {}
        if not args.pictures:
            self.LACKS = {**self.LACKS, 'pictures': 'the pictures are of zh_CN.UTF-8 with font links'}
        for name in ('WINEDLLPATH', 'WINELOADER', 'WINESERVER'):
            self.x.env.pop(name, None)
        self.x.env.update(WINEPREFIX=str(self.scratch / 'prefix'), WINEDEBUG='-all',
                          WINEARCH='win32' if args.exe32 else 'win64',
                          WINEDLLOVERRIDES='mscoree,mshtml,winealsa.drv,winepulse.drv,wineoss.drv=')

    def wine(self, *args, timeout=120):
        subprocess.run([self.args.loader, *args], env={**self.x.env, **self.locale}, timeout=timeout,
                       capture_output=True)

    def close(self):
        stop_newest_first([self.reader])
        subprocess.run(['wineserver', '-k'], env=self.x.env, timeout=60, capture_output=True)
        super().close()
        shutil.rmtree(self.scratch, ignore_errors=True)

    def open(self):
        """Boots the prefix, with the font links unless --no-font-link."""
        self.x.open()
        started, font_link = time.monotonic(), not self.args.no_font_link
        self.wine('wineboot', '--init', timeout=900)
        if font_link:
            reg = os.path.join(self.x.work, 'fonts.reg')
            with open(reg, 'w', encoding='utf-16') as f:
                f.write(SUBSTITUTES)
            self.wine('reg', 'import', 'Z:' + reg.replace('/', '\\'))  # Z: is Wine's root
            for command in FONT_LINKS:
                self.wine(*command)
        # The program must not meet a server that is just shutting down: wait it out.
        subprocess.run(['wineserver', '-w'], env=self.x.env, timeout=300, capture_output=True)
        self.log('%s: prefix ready in %.0f s (%s locale, %s)' % (
            self.args.loader, time.monotonic() - started, self.args.locale or 'own',
            'font links' if font_link else 'no font links'))
        keyboard_layout.add_keys(self.x.env['DISPLAY'])
        self.reader = subprocess.Popen([self.args.loader, str(self.args.reader), layout.WINDOW_TITLE],
                                       env=self.x.env, stdin=subprocess.PIPE, stdout=subprocess.PIPE)

    def start(self, options):
        # Wine's own errors go to the log, which a failure shows.
        window = self.launch([self.args.loader, str(self.args.exe32 or self.args.exe64)]
                             + options.get('args', []), log='wine.log', deadline=4 * DEADLINE,
                             env={'WINEDEBUG': 'err+all,fixme-all', **self.locale})
        self.x.focus(window)
        self.shown(window)

    def stop(self):
        if self.args.screenshot and self.alive():
            self.x.save_png(self.args.screenshot, self.window_id)
        if self.app:
            super().stop()
            # The next program must not meet this one's windows.
            wait_until(lambda: not [w for w in self.ask() if w['kind'] == 'W' and w['text'] in (
                layout.WINDOW_TITLE, layout.MESSAGE_TITLE)])

    def on_failure(self):
        super().on_failure()
        log = os.path.join(self.x.work, 'wine.log')
        self.log("Wine's log ends:\n" + ''.join(open(log, errors='replace').readlines()[-20:])
                 if os.path.exists(log) else 'no log of Wine')

    def type(self, text):
        self.x.type(text, delay=150)  # Wine drops keys pressed faster

    def ask(self, question=''):
        """window_reader.exe's answer: a dict a window (kind W) or control (kind C) with its
        place, check, length (None when the program did not answer), class and text."""
        self.reader.stdin.write(question.encode() + b'\n')
        self.reader.stdin.flush()
        found = []
        while (line := self.reader.stdout.readline().decode().rstrip('\r\n')) != '.':
            if not line:
                raise Failure('window_reader.exe ended')
            kind, handle, x, y, w, h, check, length, cls, text = line.split(' ')
            found.append(dict(kind=kind, handle=handle, rect=(int(x), int(y), int(w), int(h)),
                              length=None if length == '-1' else int(length), cls=cls,
                              text=bytes.fromhex(text).decode()))
        return found

    def control(self, name):
        """The text box or label the design puts at `name`; {} while the program is busy."""
        r = layout.rect(name)
        found = self.ask('%d %d' % r.centre)
        if found and found[0]['length'] is None:
            return {}
        if not found or found[0]['rect'] != (r.x, r.y, r.w, r.h) or found[0]['cls'] not in ('Edit', 'Static'):
            raise Failure('no text box or label at %s for "%s": %s' % ((r.x, r.y, r.w, r.h), name, found))
        return found[0]

    def text(self, name):
        return self.control(name).get('text')

    def length(self, name):
        return self.control(name).get('length')

    def message(self):
        found = self.ask()
        boxes = [i for i, w in enumerate(found) if w['kind'] == 'W' and w['cls'] == '#32770']
        if len(boxes) > 1:
            raise Failure('%d message boxes at once' % len(boxes))
        if not boxes:
            return None
        box = found[boxes[0]]
        labels = [c['text'] for c in found[boxes[0] + 1:] if c['kind'] == 'C' and c['text']]
        if box['length'] is None or not labels:
            return None  # being made, or the program does not answer yet
        return box['text'], labels[0] if len(labels) == 1 else labels, box['handle']

    def close_message(self):
        # Its X window is the program's other one.
        for window in self.x.run(['xdotool', 'search', '--onlyvisible', '--pid', str(self.app.pid)]).split():
            if window != self.window_id:
                self.x.focus(window)
        self.key('Return')
