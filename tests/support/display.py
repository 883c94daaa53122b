"""A private X display for a program under test, and a person's hands and eyes on it.

Every wait is for something a person would see: a window, a colour, a text. A deadline
only bounds a hang; PELMORA_DEADLINE (seconds, default 30) stretches it where everything
runs slowly, such as an emulated machine. Standard library only, plus Xvfb, xdotool,
xwininfo and ImageMagick's import on PATH (xclip to paste).
"""
import os
import re
import select
import shutil
import signal
import subprocess
import time

import keyboard_layout

DEADLINE = float(os.environ.get('PELMORA_DEADLINE', '30'))
TOOLS = ['Xvfb', 'xdotool', 'xwininfo', 'import']
SKIP = 77  # CTest's SKIP_RETURN_CODE


def skip_unless_ci(what):
    """The exit code for a check that lacks `what`: 77 (skip) on a developer's machine,
    1 under CI, which installs everything."""
    print('missing: %s' % what)
    return 1 if os.environ.get('CI') else SKIP


class Failure(AssertionError):
    """What the screen showed is not what a person should see."""


def wait_until(condition, deadline=DEADLINE, interval=0.05):
    """Polls `condition` until it returns a true value, which it returns; after `deadline`
    seconds it returns the last (false) value."""
    end = time.monotonic() + deadline
    while True:
        value = condition()
        if value or time.monotonic() >= end:
            return value
        time.sleep(interval)


def last_until(take, condition, deadline=DEADLINE, interval=0.05):
    """Takes values until `condition` holds for one; that one, else the last taken."""
    taken = []
    wait_until(lambda: condition(taken.append(take()) or taken[-1]), deadline, interval)
    return taken[-1]


def missing_tools(extra=(), base=TOOLS):
    return [tool for tool in list(base) + list(extra) if shutil.which(tool) is None]


class Screenshot:
    """A picture of the screen from an 8-bit binary PPM; one cut short reads as empty."""

    def __init__(self, ppm):
        self.width = self.height = 0
        self.data = b''
        # The header ends with one blank; the pixels may start with any byte.
        header = re.match(rb'P6\s+(\d+)\s+(\d+)\s+255\s', ppm)
        if header:
            width, height = int(header.group(1)), int(header.group(2))
            if len(ppm) - header.end() >= width * height * 3:
                self.width, self.height, self.data = width, height, ppm[header.end():]

    @classmethod
    def of_png(cls, png):
        return cls(subprocess.run(['convert', 'png:-', '-depth', '8', 'ppm:-'], input=png,
                                  capture_output=True).stdout)

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            return (-1, -1, -1)
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])


def stop_newest_first(procs):
    """Ends each process, the last started first: SIGTERM, then SIGKILL after a grace."""
    for proc in reversed([p for p in procs if p]):
        if proc.poll() is None:
            proc.send_signal(signal.SIGTERM)
        try:
            proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


class Resource:
    """Opened as a context manager, and closed however it is left, even half open."""

    def __enter__(self):
        try:
            self.open()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()


class Display(Resource):
    """One Xvfb (no window manager: keys go to the window under the mouse or the one
    given the focus) and the programs started on it. Leaving it as a context manager ends
    the programs, the last started first, and then the display."""

    def __init__(self, work, size=(1024, 768)):
        self.work, self.size = str(work), size
        os.makedirs(self.work, exist_ok=True)
        self.env = dict(os.environ)
        self.env.pop('WAYLAND_DISPLAY', None)
        self.procs = []
        self.xvfb = None
        self.origin = (0, 0)  # where points are counted from: the window looked at
        self.pointer = None

    def open(self):
        # -displayfd: Xvfb picks a free display and reports it once it takes clients.
        read_end, write_end = os.pipe()
        with open(os.path.join(self.work, 'xvfb.log'), 'wb') as log:
            self.xvfb = subprocess.Popen(
                ['Xvfb', '-displayfd', str(write_end), '-nolisten', 'tcp', '-noreset',
                 '-screen', '0', '%dx%dx24' % self.size],
                pass_fds=(write_end,), stdout=log, stderr=log)
        os.close(write_end)
        # Read the whole line: Xvfb dies if the pipe closes before it has written it.
        line, end = b'', time.monotonic() + DEADLINE
        while not line.endswith(b'\n') and select.select([read_end], [], [],
                                                          max(0, end - time.monotonic()))[0]:
            chunk = os.read(read_end, 64)
            if not chunk:
                break
            line += chunk
        os.close(read_end)
        number = line.decode().strip()
        if not number:
            raise Failure('Xvfb did not start; see %s/xvfb.log' % self.work)
        self.env['DISPLAY'] = ':' + number

    def spawn(self, args, env=None, log=None):
        """Starts a program on the display; its output goes to `log` in the work folder."""
        out = open(os.path.join(self.work, log), 'ab') if log else subprocess.DEVNULL
        proc = subprocess.Popen(args, env={**self.env, **(env or {})}, stdout=out,
                                stderr=out)
        self.procs.append(proc)
        return proc

    def end(self, *procs):
        """Ends these programs of the display, the newest first."""
        stop_newest_first(procs)
        self.procs = [p for p in self.procs if p not in procs]

    def close(self):
        # The programs first, the newest first, and the X server last, so that no program
        # sees its display vanish and logs a broken connection.
        stop_newest_first([self.xvfb] + self.procs)
        self.procs, self.xvfb = [], None

    def run(self, args):
        """Runs a tool on the display; its output, or '' when it hung."""
        try:
            done = subprocess.run(args, env=self.env, capture_output=True, timeout=DEADLINE)
        except subprocess.TimeoutExpired:
            return ''
        return done.stdout.decode('utf-8', 'replace')

    # ----- windows -----
    def windows(self, title):
        """The visible windows whose title is exactly `title`."""
        return self.run(['xdotool', 'search', '--onlyvisible', '--name', '^%s$' % title]).split()

    def wait_for_window(self, title, program=None, deadline=DEADLINE):
        """The first visible window titled `title`; fails when none comes or `program`
        ends first."""
        found = wait_until(lambda: self.windows(title) or (program and program.poll() is not None),
                           deadline, interval=0.1)
        if program is not None and program.poll() is not None:
            raise Failure('the program ended (exit %s) before a window "%s" showed'
                          % (program.returncode, title))
        if not found:
            raise Failure('no window "%s" within %.0f s' % (title, deadline))
        return found[0]

    def icon_sizes(self, window):
        """The sizes of the icons a window gives the taskbar (_NET_WM_ICON), as (w, h)."""
        icons = self.run(['xprop', '-id', window, '_NET_WM_ICON'])
        return [(int(w), int(h)) for w, h in re.findall(r'Icon \((\d+) x (\d+)\)', icons)]

    def look_at(self, window):
        """From now on points are pixels of `window`'s inside; returns its size."""
        info = self.run(['xwininfo', '-id', window])
        x, y, width, height = (int(info.split(key)[1].split()[0]) for key in (
            'Absolute upper-left X:', 'Absolute upper-left Y:', 'Width:', 'Height:'))
        self.origin = (x, y)
        return width, height

    # ----- eyes -----
    def screenshot(self):
        if self.xvfb is None or self.xvfb.poll() is not None:
            raise Failure('the X server has gone')
        raw = subprocess.run(['import', '-window', 'root', '-depth', '8', 'ppm:-'],
                             env=self.env, capture_output=True, timeout=DEADLINE).stdout
        return Screenshot(raw)

    def pixel(self, shot, x, y):
        return shot.pixel(self.origin[0] + x, self.origin[1] + y)

    def wait_for_screen(self, condition, deadline=DEADLINE):
        """The first screenshot for which `condition` holds, else the last one taken."""
        return last_until(self.screenshot, condition, deadline, interval=0.1)

    def save_png(self, path, window='root'):
        subprocess.run(['import', '-window', window, 'png:' + str(path)], env=self.env,
                       timeout=DEADLINE, check=True)

    # ----- hands -----
    def move(self, x, y):
        target = (self.origin[0] + x, self.origin[1] + y)
        # --sync waits until the pointer has moved, so never ask it to stay where it is.
        if self.pointer != target:
            self.run(['xdotool', 'mousemove', '--sync', str(target[0]), str(target[1])])
            self.pointer = target

    def click(self, x, y):
        self.move(x, y)
        self.run(['xdotool', 'click', '1'])

    def key(self, *keys):
        self.run(['xdotool', 'key', '--delay', '30'] + list(keys))

    def type(self, text, delay=30):
        """Types `text`. Characters the default keyboard lacks are pressed on the keys
        keyboard_layout.add_keys gave them: xdotool type would bind a key only for the
        moment, and a busy program may read the keyboard map after it is gone."""
        for run in re.split('([%s])' % keyboard_layout.EXTRA_CHARACTERS, text):
            if len(run) == 1 and run in keyboard_layout.EXTRA_CHARACTERS:
                self.key('U%04X' % ord(run))
            elif run:
                self.run(['xdotool', 'type', '--delay', str(delay), '--', run])

    def set_clipboard(self, data):
        """Puts `data` (bytes) on the clipboard, as copying it elsewhere would. xclip
        serves it until the program takes the clipboard over, then ends by itself."""
        path = os.path.join(self.work, 'clip.bin')
        with open(path, 'wb') as f:
            f.write(data)
        self.spawn(['xclip', '-quiet', '-selection', 'clipboard', '-i', path])
        if not wait_until(lambda: self.run(['xclip', '-selection', 'clipboard', '-o', '-t',
                                            'TARGETS'])):
            raise Failure('xclip did not take the clipboard')

    def focus(self, window):
        self.run(['xdotool', 'windowfocus', '--sync', window])
