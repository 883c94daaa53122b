"""The scenarios' driver for the Qt program: `pelmora` on a private Xvfb with its own D-Bus
session and accessibility bus, worked through X (x_driver.py) and read through the
accessibility tree as a screen reader reads it.
"""
import os
import shutil
import sys
import tempfile

import screen_reader
import wayland
import window_layout as layout
from display import DEADLINE, Display, Failure, missing_tools, wait_until
from x_driver import XDriver

try:
    import pyatspi
    from gi.repository import GLib
except ImportError:  # listing the scenarios needs no bus; running them checks for it
    pyatspi = None

HERE = os.path.dirname(os.path.abspath(__file__))
BUS_LAUNCHER = '/usr/libexec/at-spi-bus-launcher'
ROLES = {'text': 'text box', 'label': 'label', 'check box': 'check box', 'push button': 'button'}


class QtDriver(XDriver):
    """Starts `pelmora` afresh for each scenario on one display and bus, with Orca beside
    it when a scenario listens, and reads texts, names and message boxes from the tree."""

    LACKS = {'first_frame': 'the program paints its first frame itself'}
    # The pictures tests/qt pins offscreen, where the window is active. With no window
    # manager here it never is, so the entry shows no focus frame and no caret.
    PICTURES = os.path.join(HERE, '..', 'qt', 'pictures')
    UNSTEADY = (layout.focus_frame(layout.ENTRY),)
    # Its accessibility on for the bus to see, its texts in Unicode on X11 and Wayland alike.
    ENV = dict(QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1', QT_ACCESSIBILITY='1', LANG='C.UTF-8',
               LC_ALL='C.UTF-8')

    @staticmethod
    def add_options(parser):
        parser.add_argument('--program', help='the pelmora to run')

    @staticmethod
    def missing(args):
        lacking = missing_tools(['xclip', 'dbus-run-session', 'dbus-send'])
        return lacking + ([] if pyatspi else ['python3-pyatspi'])

    @staticmethod
    def prepare():
        """Runs the session in a private D-Bus session, whose accessibility bus is its own."""
        if not os.environ.get('PELMORA_E2E_BUS'):
            os.environ['PELMORA_E2E_BUS'] = '1'
            os.execvp('dbus-run-session', ['dbus-run-session', '--', sys.executable] + sys.argv)

    def __init__(self, args, work, log):
        super().__init__(Display(work, size=(1400, 720)), log)
        self.program, self.orca = os.path.abspath(args.program), None
        # Short and under /tmp: the accessibility bus puts a socket in it, and socket
        # paths are limited to about a hundred bytes however deep the build folder is.
        self.runtime = tempfile.mkdtemp(prefix='pelmora-e2e-')
        self.x.env['XDG_RUNTIME_DIR'] = self.runtime
        for capability, lacking in (('screen_reader', screen_reader.missing()),
                                    ('wayland', wayland.missing())):
            if lacking:
                self.LACKS = {**self.LACKS, capability: 'missing ' + ', '.join(lacking)}

    def open(self):
        super().open()
        # A program busy with a megabyte answers late; libatspi gives up after 0.8 s.
        pyatspi.setTimeout(int(DEADLINE * 1000), int(DEADLINE * 1000))
        os.environ.update(DISPLAY=self.x.env['DISPLAY'], XDG_RUNTIME_DIR=self.runtime)
        # What the program announces reaches a screen reader as a new description of the
        # focused control (Qt 6.4 has no announcement event).
        self.announced = []
        pyatspi.Registry.registerEventListener(
            lambda e: self.app and e.host_application and e.host_application.get_process_id()
            == self.app.pid and self.announced.append(e.any_data),
            'object:property-change:accessible-description')
        # Started by hand rather than by D-Bus activation so that it is ours to stop.
        if os.path.exists(BUS_LAUNCHER):
            self.x.spawn([BUS_LAUNCHER, '--launch-immediately'])
            ask = ['dbus-send', '--session', '--print-reply', '--dest=org.freedesktop.DBus', '/',
                   'org.freedesktop.DBus.NameHasOwner', 'string:org.a11y.Bus']
            if not wait_until(lambda: 'boolean true' in self.x.run(ask)):
                raise Failure('the accessibility bus did not start')

    def close(self):
        super().close()
        shutil.rmtree(self.runtime, ignore_errors=True)

    def start(self, options):
        self.scale = options.get('scale', 1)
        if options.get('screen_reader'):
            self.orca = screen_reader.Orca(self.x)
        env = dict(self.ENV, QT_QPA_PLATFORM='xcb', QT_SCALE_FACTOR=str(self.scale))
        window = self.launch([self.program] + options.get('args', []), env, 'program.log')
        self.nodes, self.announced[:] = None, []
        self.shown(window)
        # A person rests the mouse on the window; without a window manager the keys then
        # go to it. The spot is empty window background.
        self.x.move(655 * self.scale, 200 * self.scale)

    def stop(self):
        super().stop(self.orca and self.orca.process)
        self.orca = None

    # ----- the accessibility tree -----
    def root(self, pid=None):
        desktop = pyatspi.Registry.getDesktop(0)
        apps = (desktop.getChildAtIndex(i) for i in range(desktop.childCount))
        return next((a for a in apps if a and a.get_process_id() == (pid or self.app.pid)), None)

    def tree(self, node):
        """Every node under `node`, depth first, read afresh."""
        node.clear_cache()
        yield node
        for child in (node.getChildAtIndex(i) for i in range(node.childCount)):
            if child is not None:
                yield from self.tree(child)

    def node(self, name):
        if self.nodes is None:
            root = wait_until(self.root, interval=0.2)
            if root is None:
                raise Failure('the program did not appear on the accessibility bus')
            self.nodes = {}
            for n in self.tree(root):
                if n.getRoleName() in ROLES:
                    self.nodes.setdefault((n.name, ROLES[n.getRoleName()]), n)
        found = self.nodes.get((name, layout.ROLES[name]))
        if found is None:
            raise Failure('no control named "%s" in the accessibility tree' % name)
        found.clear_cache()
        return found

    def text(self, name):
        """What a screen reader reads: the Text interface, up to a NUL."""
        return self.node(name).queryText().getText(0, -1)

    def length(self, name):
        return self.node(name).queryText().characterCount

    def named(self, name):
        try:
            node = self.node(name)
        except Failure:
            return None
        e = node.queryComponent().getExtents(0)  # 0: screen coordinates
        ox, oy = self.x.origin
        where = tuple(v // self.scale for v in (e.x - ox, e.y - oy, e.width, e.height))
        role = ROLES[node.getRoleName()]
        if role == 'check box':
            return role, where, node.getState().contains(pyatspi.STATE_CHECKED)
        try:
            return role, where, node.queryText().getText(0, -1)
        except NotImplementedError:  # a label without text: its description, if any
            return role, where, node.description or None

    def message(self):
        shown = self.x.windows(layout.MESSAGE_TITLE)
        if len(shown) > 1:
            raise Failure('%d message boxes at once' % len(shown))
        root = shown and self.root()
        dialogs = [top for top in (root.getChildAtIndex(i) for i in range(root.childCount))
                   if top is not None and top.getRoleName() in ('dialog', 'alert')] if root else []
        if not shown or len(dialogs) != 1:
            return None  # a box the tree does not show yet is not there for a screen reader
        labels = [n.name for n in self.tree(dialogs[0]) if n.getRoleName() == 'label']
        text = [t for t in labels if t in layout.MESSAGES] or labels
        return dialogs[0].name, text[0] if len(text) == 1 else text, shown[0]

    def live(self):
        while GLib.MainContext.default().iteration(False):
            pass
        return self.announced[-1] if self.announced else ''

    def said(self):
        return self.orca.said()

    twin_on_wayland = wayland.twin
