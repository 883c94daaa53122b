"""The real program on a private display, with what the as-a-user scenarios add to it.

XSession is a Display with an accessibility bus, keys for the characters a US keyboard
lacks, the clipboard, and the program started with Qt's xcb plugin. Points are client
pixels of the program's window. It never talks to the program's core; everything goes
through X, the clipboard and the accessibility tree.
"""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'support'))

import keyboard_layout  # noqa: E402
import screen_reader  # noqa: E402
import window_layout as layout  # noqa: E402
from display import DEADLINE, Display, Failure, missing_tools, wait_until  # noqa: E402,F401

MESSAGE_TITLE = '出错'
BUS_LAUNCHER = '/usr/libexec/at-spi-bus-launcher'


class XSession(Display):
    """One run of the program on its own display, from its first painted frame on."""

    def __init__(self, program, work_dir, args=(), screen_reader=False):
        super().__init__(work_dir, size=(800, 600))
        self.program, self.args = program, list(args)
        self.with_screen_reader = screen_reader
        self.app = self.orca = None
        # Short and under /tmp: the accessibility bus puts a socket in it, and socket
        # paths are limited to about a hundred bytes however deep the build folder is.
        self.runtime = tempfile.mkdtemp(prefix='pelmora-e2e-')
        self.env['XDG_RUNTIME_DIR'] = self.runtime

    def start(self):
        super().start()
        keyboard_layout.add_keys(self.env['DISPLAY'])
        os.environ.update(DISPLAY=self.env['DISPLAY'], XDG_RUNTIME_DIR=self.runtime)
        self._start_bus()
        if self.with_screen_reader:
            self.orca = screen_reader.Orca(self)
        self._start_program()

    def close(self):
        super().close()
        shutil.rmtree(self.runtime, ignore_errors=True)

    def _start_bus(self):
        # Started by hand rather than by D-Bus activation so that it is ours to stop.
        if not os.path.exists(BUS_LAUNCHER):
            return
        self.spawn([BUS_LAUNCHER, '--launch-immediately'])
        ask = ['dbus-send', '--session', '--print-reply', '--dest=org.freedesktop.DBus', '/',
               'org.freedesktop.DBus.NameHasOwner', 'string:org.a11y.Bus']
        if not wait_until(lambda: 'boolean true' in self.run(ask)):
            raise Failure('the accessibility bus did not start')

    def _start_program(self):
        env = dict(QT_QPA_PLATFORM='xcb', QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1',
                   QT_ACCESSIBILITY='1', LANG='C.UTF-8', LC_ALL='C.UTF-8')
        self.app = self.spawn([self.program] + self.args, env=env, log='program.log')
        self.window = self.wait_for_window('Pelmoria', self.app)
        self.size_shown = self.look_at(self.window)
        # The first frame is there once its cells are: Qt puts a frame on the screen whole.
        if not wait_until(lambda: layout.cell_colour(self, self.screenshot(),
                                                     layout.view_cell(0)) == 'light blue'):
            raise Failure('the window showed no first frame (cell 0 light blue) in %.0f s'
                          % DEADLINE)
        # A person rests the mouse on the window; without a window manager the keys then
        # go to it. The spot is empty window background.
        self.move(655, 200)

    def alive(self):
        return self.app is not None and self.app.poll() is None

    def messages(self):
        """The visible message windows."""
        return self.windows(MESSAGE_TITLE)

    def type(self, text, delay=30):
        """Types `text`. Characters the default keyboard lacks are pressed on the keys
        keyboard_layout gave them: xdotool type would bind a key only for the moment."""
        run = ''
        for ch in text + '\0':
            if ch in keyboard_layout.EXTRA_CHARACTERS or ch == '\0':
                if run:
                    super().type(run, delay)
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
        self.spawn(['xclip', '-quiet', '-selection', 'clipboard', '-i', path])
        if not wait_until(lambda: self.run(['xclip', '-selection', 'clipboard', '-o', '-t',
                                            'TARGETS'])):
            raise Failure('xclip did not take the clipboard')


def tools_missing():
    """The programs the session needs that this machine lacks."""
    missing = missing_tools(['xclip', 'dbus-run-session', 'dbus-send']) + screen_reader.missing()
    try:
        import pyatspi  # noqa: F401
    except ImportError:
        missing.append('python3-pyatspi')
    return missing
