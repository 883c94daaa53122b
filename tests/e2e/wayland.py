"""The program on a Wayland desktop: Debian's weston, headless, drawing with pixman.

Weston runs its desktop shell (no panel), so a window gets the decorations, title and icon
a Wayland desktop gives it, and its `proto` debug scope logs every request a client sends,
which is where a test reads the title and the app id the window asked for. Screenshots come
from weston-screenshooter, which weston serves only when started with --debug.

Weston offers a client no way to press keys or move the pointer, and the headless back end
has no keyboard: a window there never has the keyboard focus. What a person does must go
through the accessibility bus instead. Standard library only, plus weston,
weston-screenshooter and ImageMagick's convert on PATH.
"""
import glob
import os
import re
import shutil
import subprocess
import time

import pictures
import window_layout as layout
from display import DEADLINE, Failure, Screenshot, stop_newest_first, wait_until
from driver import expect

try:
    import pyatspi
except ImportError:
    pyatspi = None

TOOLS = ['weston', 'weston-screenshooter', 'convert']
PLUGIN = '/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so'

CONFIG = """[core]
shell=desktop-shell.so
idle-time=0

[shell]
panel-position=none
background-color=0xff203040
"""


def missing():
    """What a Wayland run lacks on this machine: weston, its screenshooter, or Qt's
    Wayland plugin (qt6-wayland, which the .deb recommends)."""
    lacking = [tool for tool in TOOLS if shutil.which(tool) is None]
    return lacking + ([] if glob.glob(PLUGIN) else ['qt6-wayland'])


class Weston:
    """One headless weston in `runtime` (the XDG_RUNTIME_DIR of the clients started on it)
    and the programs started there. Used as a context manager; leaving it ends the
    programs and then weston, whose own helper clients end with it."""

    def __init__(self, work, runtime, env, size=(1024, 768)):
        self.work, self.size = work, size
        self.socket = 'pelmora-wayland'
        self.env = {**env, 'XDG_RUNTIME_DIR': runtime, 'WAYLAND_DISPLAY': self.socket}
        # A desktop session names no Qt platform; the program must choose Wayland itself.
        self.env.pop('QT_QPA_PLATFORM', None)
        self.log = os.path.join(work, 'weston.log')
        self.shots = os.path.join(work, 'shots')
        self.procs = []

    def __enter__(self):
        os.makedirs(self.shots, exist_ok=True)
        config = os.path.join(self.work, 'weston.ini')
        with open(config, 'w') as f:
            f.write(CONFIG)
        out = open(os.path.join(self.work, 'weston.out'), 'ab')
        self.weston = subprocess.Popen(
            ['weston', '--backend=headless-backend.so', '--use-pixman', '--debug',
             '--width=%d' % self.size[0], '--height=%d' % self.size[1],
             '--socket=' + self.socket, '--config=' + config, '--log=' + self.log,
             '--logger-scopes=log,proto'], env=self.env, stdout=out, stderr=out)
        # The shell's background is weston's first frame: from then on it takes clients.
        if not wait_until(lambda: self.weston.poll() is not None or self.background_shown()):
            self.close()
            raise Failure('weston showed no desktop within %.0f s; see %s' % (DEADLINE, self.log))
        if self.weston.poll() is not None:
            raise Failure('weston ended (exit %d); see %s' % (self.weston.returncode, self.log))
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        # The clients before the compositor they draw on.
        stop_newest_first([self.weston] + self.procs)
        self.procs = []

    def spawn(self, args, env, log):
        out = open(os.path.join(self.work, log), 'ab')
        proc = subprocess.Popen(args, env={**self.env, **env}, stdout=out, stderr=out)
        self.procs.append(proc)
        return proc

    def screenshot(self):
        """The whole output as weston last painted it."""
        for old in glob.glob(os.path.join(self.shots, '*.png')):
            os.remove(old)
        subprocess.run(['weston-screenshooter'], cwd=self.shots, env=self.env,
                       capture_output=True, timeout=DEADLINE)
        taken = glob.glob(os.path.join(self.shots, '*.png'))
        if not taken:
            return Screenshot(b'')
        return Screenshot(subprocess.run(['convert', taken[0], '-depth', '8', 'ppm:-'],
                                         capture_output=True, timeout=DEADLINE).stdout)

    def background_shown(self):
        shot = self.screenshot()
        return shot.width and shot.pixel(0, 0) == (0x20, 0x30, 0x40)

    def requests(self, request):
        """The arguments of every `request` (e.g. 'xdg_toplevel.set_title') a client has
        sent so far, as logged by weston."""
        interface, name = request.split('.')
        pattern = re.compile(r' rq %s@\d+\.%s\((.*)\)$' % (interface, name))
        with open(self.log, errors='replace') as f:
            return [m.group(1) for m in map(pattern.search, f) if m]


# The clock, and what the keyboard focus draws: the X11 window has it, with a blinking
# caret in the entry and a dotted frame round a clicked box; a window of headless weston
# never has it (its headless back end has no keyboard).
MASKED = (layout.CLOCK, layout.ENTRY)
APP_ID = 'org.pelmora.Pelmora'  # the desktop entry's name, by which a desktop finds the icon


def find_client(shot, want, masked):
    """Where on weston's screen the client area `want` (RGB bytes) is painted, as (x, y),
    or None. The shell places a window where it likes, so its most varied whole row is
    looked for."""
    width, height = layout.CLIENT
    stride = width * 3
    rows = [want[r * stride:(r + 1) * stride] for r in range(height)]
    whole = [r for r in range(height) if not any(m[1] <= r < m[1] + m[3] for m in masked)]
    key = max(whole, key=lambda r: len({rows[r][i:i + 3] for i in range(0, stride, 3)}))
    for y in range(key, shot.height - height + key + 1):
        line = shot.data[y * shot.width * 3:(y + 1) * shot.width * 3]
        at = line.find(rows[key])
        while at >= 0:
            x = at // 3
            if at % 3 == 0 and x + width <= shot.width:
                starts = [((y - key + r) * shot.width + x) * 3 for r in range(height)]
                client = b''.join(shot.data[i:i + stride] for i in starts)
                if not pictures.differing(client, want, width, masked):
                    return x, y - key
            at = line.find(rows[key], at + 1)
    return None


def same_client(d, weston, what, masked=MASKED):
    """Waits until weston's screen shows the X11 window's client area, outside `masked`;
    returns where, and the screenshot."""
    masked = [(lambda r: (r.x, r.y, r.w, r.h))(layout.rect(m)) for m in masked]
    want = d.client_picture()
    shots = []
    found = wait_until(lambda: find_client(shots.append(weston.screenshot()) or shots[-1],
                                           want[2], masked))
    if not found:
        pictures.write_png(os.path.join(d.work, 'x11-client.png'), *want)
        pictures.write_png(os.path.join(d.work, 'weston.png'), shots[-1].width, shots[-1].height,
                           shots[-1].data)
        raise Failure("%s: weston shows no client area like the X11 window's; see "
                      'x11-client.png and weston.png in %s' % (what, d.work))
    return found, shots[-1]


def twin(d):
    """The program started as a Wayland session starts it, beside the X11 window `d`
    drives: it must come up as a native Wayland client of weston, with its title, app id
    and icon, and paint the same client as the X11 window, at start and after composer
    box 5 is ticked (clicked on X11, through the box's accessible action on Wayland)."""
    work = os.path.join(d.work, 'wayland')
    os.makedirs(work)
    with Weston(work, d.runtime, d.x.env) as weston:
        # It says it is Wayland, and X11 (here the Xvfb of the X11 window, as XWayland
        # would be) is there too. Qt must pick Wayland.
        env = dict(XDG_SESSION_TYPE='wayland', QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1',
                   QT_ACCESSIBILITY='1', LANG='C.UTF-8', LC_ALL='C.UTF-8')
        app = weston.spawn([d.program], env, 'wayland-program.log')
        started = time.monotonic()
        origin, shot = same_client(d, weston, 'at start')
        d.log('  first Wayland frame, same as the X11 one %6.3f s' % (time.monotonic() - started))
        expect(app.poll() is None, 'the Wayland program ended (exit %s)' % app.returncode)
        # What a desktop knows the window by: its title, and the app id, which names the
        # desktop entry and so the icon in the dock and the task switcher.
        for request, want in (('xdg_toplevel.set_title', '"%s"' % layout.WINDOW_TITLE),
                              ('xdg_toplevel.set_app_id', '"%s"' % APP_ID)):
            sent = wait_until(lambda: weston.requests(request))
            expect(sent and sent[-1] == want, 'the window sent %s %s, expected %s' % (request, sent, want))
        # Qt draws the title bar itself (weston asks clients to decorate); the icon is in it.
        icon = [(x, y) for x in range(origin[0], origin[0] + 48) for y in range(origin[1] - 32, origin[1])
                if layout.close_to(shot.pixel(x, y), layout.RED, 40)]
        expect(len(icon) >= 4, 'no red of the program icon in the title bar above %s' % (origin,))

        box = layout.box(layout.SET, 5)
        desktop = pyatspi.Registry.getDesktop(0)
        root = next(a for a in (desktop.getChildAtIndex(i) for i in range(desktop.childCount))
                    if a is not None and a.get_process_id() == app.pid)
        node = next(n for n in d.tree(root) if n.name == box and n.getRoleName() == 'check box')
        actions = node.queryAction()
        names = [actions.getName(i).lower() for i in range(actions.nActions)]
        toggle = next((i for i, n in enumerate(names) if n in ('toggle', 'press', 'click')), None)
        expect(toggle is not None, 'the box offers no toggle or press action: %s' % names)
        d.click(box)
        d.wait_for(lambda: d.cells(layout.SET) == layout.bits(0x20), 'composer box 5 on X11')
        actions.doAction(toggle)
        d.wait_for(lambda: node.clear_cache() or node.getState().contains(pyatspi.STATE_CHECKED),
                   'the Wayland box 5 is not ticked after its action')
        same_client(d, weston, 'after composer box 5', MASKED + (box,))
        expect(app.poll() is None, 'the Wayland program ended (exit %s)' % app.returncode)
