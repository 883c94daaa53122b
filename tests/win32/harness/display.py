"""A private X display for a program under test, and a person's hands and eyes on it.

Display starts its own Xvfb (no window manager: keys go to the window under the mouse or
the one given the focus), runs programs on it, finds their windows by title, looks at
the screen, clicks and types. Every wait is for something a person would see: a window,
a colour, a text. A deadline only bounds a hang; PELMORA_DEADLINE (seconds, default 30)
stretches it where everything runs slowly, such as an emulated machine.

The as-a-user tests, the Wine checks and the screenshot script build on it. Standard
library only, plus Xvfb, xdotool, xwininfo and ImageMagick's import on PATH.
"""
import os
import re
import select
import shutil
import signal
import subprocess
import time

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


def missing_tools(extra=()):
    return [tool for tool in TOOLS + list(extra) if shutil.which(tool) is None]


class Screenshot:
    """One picture of the whole screen from an 8-bit binary PPM; one cut short reads as
    empty, so a wait for what it shows goes on."""

    def __init__(self, ppm):
        self.width = self.height = 0
        self.data = b''
        # The header ends with exactly one blank; the pixels may start with any byte.
        header = re.match(rb'P6\s+(\d+)\s+(\d+)\s+255\s', ppm)
        if header:
            width, height = int(header.group(1)), int(header.group(2))
            if len(ppm) - header.end() >= width * height * 3:
                self.width, self.height, self.data = width, height, ppm[header.end():]

    def pixel(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            return (-1, -1, -1)
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])


def stop_newest_first(procs):
    """Ends each process, the last started first: SIGTERM, then SIGKILL after a grace."""
    for proc in reversed(procs):
        if proc.poll() is None:
            proc.send_signal(signal.SIGTERM)
        try:
            proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()


class Display:
    """One Xvfb and the programs started on it; used as a context manager, leaving it
    ends the programs (last started first) and then the display."""

    def __init__(self, work, size=(1024, 768)):
        self.work, self.size = str(work), size
        os.makedirs(self.work, exist_ok=True)
        self.env = dict(os.environ)
        self.env.pop('WAYLAND_DISPLAY', None)
        self.procs = []
        self.xvfb = None
        self.origin = (0, 0)  # where points are counted from: the window looked at
        self.pointer = None

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def start(self):
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

    def close(self):
        # The programs first, the newest first, and the X server last, so that no program
        # sees its display vanish and logs a broken connection.
        stop_newest_first(([self.xvfb] if self.xvfb else []) + self.procs)
        self.procs, self.xvfb = [], None

    def run(self, args, data=None, timeout=DEADLINE):
        """Runs a tool on the display; its output, or '' when it hung."""
        try:
            result = subprocess.run(args, env=self.env, input=data, capture_output=True,
                                    timeout=timeout)
        except subprocess.TimeoutExpired:
            return ''
        return result.stdout.decode('utf-8', 'replace')

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

    def geometry(self, window):
        """(x, y, width, height) of a window's inside, on the screen."""
        info = self.run(['xwininfo', '-id', window])
        field = lambda key: int(info.split(key)[1].split()[0])
        return (field('Absolute upper-left X:'), field('Absolute upper-left Y:'),
                field('Width:'), field('Height:'))

    def icon_sizes(self, window):
        """The sizes of the icons a window gives the taskbar (_NET_WM_ICON), as (w, h)."""
        icons = self.run(['xprop', '-id', window, '_NET_WM_ICON'])
        return [(int(w), int(h)) for w, h in re.findall(r'Icon \((\d+) x (\d+)\)', icons)]

    def look_at(self, window):
        """From now on points are pixels of `window`'s inside; returns its size."""
        x, y, width, height = self.geometry(window)
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
        shots = []
        wait_until(lambda: condition(shots.append(self.screenshot()) or shots[-1]), deadline,
                   interval=0.1)
        return shots[-1]

    def save_png(self, path, window='root', crop=None):
        """Writes a window, or an (x, y, width, height) part of the one looked at, as PNG."""
        args = ['import', '-window', window]
        if crop:
            x, y = self.origin[0] + crop[0], self.origin[1] + crop[1]
            args += ['-crop', '%dx%d+%d+%d' % (crop[2], crop[3], x, y), '+repage']
        subprocess.run(args + ['png:' + str(path)], env=self.env, timeout=DEADLINE, check=True)

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

    def key(self, *keys, delay=30):
        self.run(['xdotool', 'key', '--delay', str(delay)] + list(keys))

    def type(self, text, delay=30):
        self.run(['xdotool', 'type', '--delay', str(delay), '--', text])

    def focus(self, window):
        self.run(['xdotool', 'windowfocus', '--sync', window])


def picture_rgb(path):
    """A PNG's pixels as 8-bit RGB bytes, read by ImageMagick."""
    return subprocess.run(['convert', str(path), '-depth', '8', 'rgb:-'], capture_output=True,
                          check=True).stdout


def match_picture(display, reference, size, masked=(), name_at=str):
    """Waits for the part of the screen at the origin, `size` pixels, to look like the
    reference PNG, leaving out the `masked` rectangles (x, y, w, h). A blinking caret is
    waited out the same way. Returns None when it does; otherwise leaves the rendering and
    a diff beside the reference and returns where they differ. PELMORA_RENEW_PICTURES=1
    writes the rendering as the new reference instead."""
    base = str(reference)[:-len('.png')]
    width, height = size
    if os.environ.get('PELMORA_RENEW_PICTURES') == '1':
        display.save_png(reference, crop=(0, 0, width, height))
        return None
    want = picture_rgb(reference)
    stride = width * 3

    def differing(shot):
        wrong = []
        for y in range(height):
            start = ((display.origin[1] + y) * shot.width + display.origin[0]) * 3
            row, wanted = bytearray(shot.data[start:start + stride]), want[y * stride:(y + 1) * stride]
            for mx, my, mw, mh in masked:
                if my <= y < my + mh:
                    row[mx * 3:(mx + mw) * 3] = wanted[mx * 3:(mx + mw) * 3]
            if row != wanted:
                wrong += [(x, y) for x in range(width) if row[x * 3:x * 3 + 3] != wanted[x * 3:x * 3 + 3]]
        return wrong
    shot = display.wait_for_screen(lambda s: not differing(s))
    wrong = differing(shot)
    if not wrong:
        return None
    display.save_png(base + '.actual.png', crop=(0, 0, width, height))
    subprocess.run(['compare', str(reference), base + '.actual.png', base + '.diff.png'],
                   capture_output=True)
    xs, ys = [p[0] for p in wrong], [p[1] for p in wrong]
    return ('%d pixels differ within (%d,%d) %dx%d, the first at %s on %s; see %s.actual.png '
            'and .diff.png' % (len(wrong), min(xs), min(ys), max(xs) - min(xs) + 1,
                               max(ys) - min(ys) + 1, wrong[0], name_at(wrong[0]), base))
