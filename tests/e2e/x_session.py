"""A private X display with the real program on it, driven as a person drives it.

XSession starts its own Xvfb (no window manager: with the pointer over a window, keys go
to it), an accessibility bus, and the program with Qt's xcb plugin. It then offers what a
person can do and see: move and click the mouse, press keys, use the clipboard, look at
the screen, find message windows by their title. It never talks to the program's core;
everything goes through X, the clipboard and the accessibility tree.
"""
import os
import shutil
import signal
import subprocess
import tempfile
import time

import keyboard_layout

SCREEN = (800, 600)
MESSAGE_TITLE = '出错'
BUS_LAUNCHER = '/usr/libexec/at-spi-bus-launcher'


class Failure(AssertionError):
    """What the window showed is not what a person should see."""


class DisplayLost(Exception):
    """The program could not reach the display that Xvfb had just opened."""


def wait_until(condition, timeout, interval=0.05):
    """Polls `condition` until it returns a true value or `timeout` seconds pass."""
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value or time.monotonic() >= end:
            return value
        time.sleep(interval)


class Screenshot:
    """One picture of the whole screen, as RGB triples."""

    def __init__(self, raw, size):
        self.raw, (self.width, self.height) = raw, size

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.raw[i:i + 3])


class XSession:
    """One run of the program on its own display, and the person's hands and eyes on it.
    Used as a context manager: entering starts Xvfb, the accessibility bus and the
    program; leaving stops all three. It knows pixels, keys and windows, not controls."""

    def __init__(self, program, work_dir):
        self.program = program
        self.work = work_dir
        self.procs = []
        self.app = None
        self.origin = (0, 0)
        self.pointer = None
        self.runtime_dirs = []
        self.env = dict(os.environ)

    # ----- start and stop -----
    def __enter__(self):
        # On a shared machine a display number can be lost to another server between
        # Xvfb naming it and the program connecting; start afresh when that happens.
        for _ in range(3):
            try:
                self._start_display()
                self._start_bus()
                self.start_program()
                return self
            except DisplayLost:
                self.close()
            except BaseException:
                self.close()
                raise
        raise Failure('could not keep an X display for the program three times running')

    def __exit__(self, *exc):
        self.close()

    def _spawn(self, args, **kwargs):
        proc = subprocess.Popen(args, env=self.env, **kwargs)
        self.procs.append(proc)
        return proc

    def _start_display(self):
        read_fd, write_fd = os.pipe()
        log = open(os.path.join(self.work, 'xvfb.log'), 'wb')
        self._spawn(['Xvfb', '-displayfd', str(write_fd), '-nolisten', 'tcp', '-noreset', '-screen', '0',
                     '%dx%dx24' % SCREEN], pass_fds=(write_fd,), stdout=log, stderr=log)
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise Failure('Xvfb did not start; see xvfb.log')
        self.env['DISPLAY'] = ':' + number
        self.pointer = None
        keyboard_layout.add_keys(self.env['DISPLAY'])
        # Short and under /tmp: the accessibility bus puts a socket in it, and socket
        # paths are limited to about a hundred bytes however deep the build folder is.
        runtime = tempfile.mkdtemp(prefix='pelmora-e2e-')
        self.runtime_dirs.append(runtime)
        self.env['XDG_RUNTIME_DIR'] = runtime
        os.environ.update(DISPLAY=self.env['DISPLAY'], XDG_RUNTIME_DIR=runtime)

    def _start_bus(self):
        # Started by hand rather than by D-Bus activation so that it is ours to stop.
        if os.path.exists(BUS_LAUNCHER):
            self._spawn([BUS_LAUNCHER, '--launch-immediately'],
                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(0.3)

    def start_program(self):
        env = dict(self.env, QT_QPA_PLATFORM='xcb', QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1',
                   QT_ACCESSIBILITY='1', LANG='C.UTF-8', LC_ALL='C.UTF-8')
        log = open(os.path.join(self.work, 'program.log'), 'wb')
        self.app = subprocess.Popen([self.program], env=env, stdout=log, stderr=log)
        self.procs.append(self.app)
        self.started = time.monotonic()
        window = wait_until(lambda: not self.alive() or self.search('^Pelmoria$'), 10)
        if not self.alive():
            with open(os.path.join(self.work, 'program.log'), errors='replace') as f:
                if 'could not connect to display' in f.read():
                    raise DisplayLost()
            raise Failure('the program ended at start (exit %s); see program.log' % self.app.returncode)
        if not window:
            raise Failure('no window titled Pelmoria within 10 s')
        self.window = window[0]
        info = self.run(['xwininfo', '-id', self.window])
        field = lambda key: int(info.split(key)[1].split()[0])
        self.origin = (field('Absolute upper-left X:'), field('Absolute upper-left Y:'))
        self.size = (field('Width:'), field('Height:'))
        # A person rests the mouse on the window; without a window manager the keys then
        # go to it. The spot is empty window background.
        self.move_to(655, 200)

    def alive(self):
        return self.app is not None and self.app.poll() is None

    def close(self):
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.send_signal(signal.SIGTERM)
        for proc in reversed(self.procs):
            try:
                proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
        self.procs = []
        for path in self.runtime_dirs:
            shutil.rmtree(path, ignore_errors=True)
        self.runtime_dirs = []

    # ----- X tools -----
    def run(self, args, data=None, timeout=20):
        result = subprocess.run(args, env=self.env, input=data, capture_output=True,
                                timeout=timeout)
        return result.stdout.decode('utf-8', 'replace')

    def search(self, name_pattern):
        return self.run(['xdotool', 'search', '--onlyvisible', '--name', name_pattern]).split()

    def messages(self):
        """The visible message windows, by their title."""
        return self.search('^%s$' % MESSAGE_TITLE)

    # ----- what a person does (client pixel coordinates) -----
    def move_to(self, x, y):
        # --sync waits for the pointer to move, so never ask it to move where it is.
        target = (self.origin[0] + x, self.origin[1] + y)
        if self.pointer != target:
            self.run(['xdotool', 'mousemove', '--sync', str(target[0]), str(target[1])])
            self.pointer = target

    def click(self, point):
        self.move_to(*point)
        self.run(['xdotool', 'click', '1'])

    def key(self, *keys):
        self.run(['xdotool', 'key', '--delay', '30'] + list(keys))

    def type(self, text):
        """Types `text`. Characters the default keyboard lacks are pressed on the keys
        keyboard_layout gave them: xdotool type would bind a key only for the moment."""
        run = ''
        for ch in text + '\0':
            if ch in keyboard_layout.EXTRA_CHARACTERS or ch == '\0':
                if run:
                    self.run(['xdotool', 'type', '--delay', '30', '--', run])
                    run = ''
                if ch != '\0':
                    self.key('U%04X' % ord(ch))
            else:
                run += ch

    def set_clipboard(self, data):
        """Puts `data` (bytes) on the clipboard, as copying it elsewhere would. xclip
        serves it until the program takes the clipboard over, then ends by itself."""
        path = os.path.join(self.work, 'clip.bin')
        with open(path, 'wb') as f:
            f.write(data)
        proc = self._spawn(['xclip', '-quiet', '-selection', 'clipboard', '-i', path],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_until(lambda: self.run(['xclip', '-selection', 'clipboard', '-o', '-t', 'TARGETS']), 2)
        return proc

    def clipboard(self):
        return self.run(['xclip', '-selection', 'clipboard', '-o'], timeout=30)

    # ----- what a person sees -----
    def screenshot(self, save_as=None):
        raw = subprocess.run(['import', '-window', 'root', '-depth', '8', 'rgb:-'],
                             env=self.env, capture_output=True, timeout=20).stdout
        if save_as:
            subprocess.run(['import', '-window', 'root', os.path.join(self.work, save_as)],
                           env=self.env, timeout=20)
        return Screenshot(raw, SCREEN)

    def pixel(self, shot, x, y):
        """Pixel (x, y) of the client area in `shot`."""
        return shot.pixel(self.origin[0] + x, self.origin[1] + y)


def tools_missing():
    """The programs the session needs that this machine lacks."""
    needed = ['Xvfb', 'xdotool', 'xclip', 'xwininfo', 'import', 'dbus-run-session']
    missing = [tool for tool in needed if shutil.which(tool) is None]
    try:
        import pyatspi  # noqa: F401
    except ImportError:
        missing.append('python3-pyatspi')
    return missing
