"""The program on a Wayland desktop: Debian's weston, headless, drawing with pixman, with
its desktop shell (no panel), so a window gets what a Wayland desktop gives it.

Weston's `proto` debug scope logs every request a client sends, which is where the title
and app id the window asked for are read; weston-screenshooter, served under --debug,
takes the pictures. Weston offers no way to press keys or move the pointer, and its
headless back end has no keyboard, so its window never has the focus: what a person does
goes through the accessibility bus instead.
"""
import glob
import os
import re
import subprocess
import time

import pictures
import window_layout as layout
from display import Display, Failure, Screenshot, last_until, missing_tools, wait_until
from driver import expect

try:
    import pyatspi
except ImportError:
    pyatspi = None

CONFIG = '[core]\nshell=desktop-shell.so\nidle-time=0\n\n[shell]\npanel-position=none\nbackground-color=0xff203040\n'
APP_ID = 'org.pelmora.Pelmora'  # the desktop entry's name, by which a desktop finds the icon
# The clock, and what the keyboard focus draws on X11 (the caret, the frame round a clicked
# box), which a window of headless weston never has.
MASKED = (layout.CLOCK, layout.ENTRY)


def missing():
    """weston, its screenshooter, or Qt's Wayland plugin (qt6-wayland, which the .deb
    recommends), where this machine lacks them."""
    lacking = missing_tools(['weston', 'weston-screenshooter', 'convert'], base=())
    return lacking + ([] if glob.glob('/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so')
                      else ['qt6-wayland'])


class Weston(Display):
    """One headless weston for clients whose XDG_RUNTIME_DIR is `runtime`, in place of an X
    server, and the programs started on it; closing it ends them, then weston."""

    def __init__(self, work, runtime, env):
        super().__init__(work)
        self.env = {**env, 'XDG_RUNTIME_DIR': runtime, 'WAYLAND_DISPLAY': 'pelmora-wayland'}
        # A desktop session names no Qt platform; the program must choose Wayland itself.
        self.env.pop('QT_QPA_PLATFORM', None)
        self.log, self.shots = os.path.join(work, 'weston.log'), os.path.join(work, 'shots')

    def open(self):
        os.makedirs(self.shots)
        with open(os.path.join(self.work, 'weston.ini'), 'w') as f:
            f.write(CONFIG)
        weston = self.spawn(['weston', '--backend=headless-backend.so', '--use-pixman', '--debug',
                             '--width=1024', '--height=768', '--socket=pelmora-wayland',
                             '--config=' + f.name, '--log=' + self.log,
                             '--logger-scopes=log,proto'], log='weston.out')
        # The shell's background is weston's first frame: from then on it takes clients.
        if not wait_until(lambda: weston.poll() is not None or self.screenshot().pixel(0, 0)
                          == (0x20, 0x30, 0x40)) or weston.poll() is not None:
            raise Failure('weston showed no desktop; see %s' % self.log)

    def screenshot(self):
        """The whole output as weston last painted it."""
        for old in glob.glob(os.path.join(self.shots, '*.png')):
            os.remove(old)
        subprocess.run(['weston-screenshooter'], cwd=self.shots, env=self.env, capture_output=True)
        taken = glob.glob(os.path.join(self.shots, '*.png'))
        return Screenshot.of_png(open(taken[0], 'rb').read()) if taken else Screenshot(b'')

    def requests(self, request):
        """The arguments of every `request` (such as 'xdg_toplevel.set_title') so far."""
        pattern = re.compile(r' rq %s@\d+\.%s\((.*)\)$' % tuple(request.split('.')))
        with open(self.log, errors='replace') as f:
            return [m.group(1) for m in map(pattern.search, f) if m]


def find_client(shot, want, masked):
    """Where on weston's screen the client `want` (RGB bytes) is painted, as (x, y), or
    None. The shell places a window where it likes, so its most varied whole row is
    looked for."""
    (width, height), stride = layout.CLIENT, layout.CLIENT[0] * 3
    rows = [want[r * stride:(r + 1) * stride] for r in range(height)]
    key = max((r for r in range(height) if not any(m[1] <= r < m[1] + m[3] for m in masked)),
              key=lambda r: len({rows[r][i:i + 3] for i in range(0, stride, 3)}))
    for y in range(key, shot.height - height + key + 1):
        line = shot.data[y * shot.width * 3:(y + 1) * shot.width * 3]
        at = line.find(rows[key])
        while at >= 0:
            x, starts = at // 3, [((y - key + r) * shot.width + at // 3) * 3 for r in range(height)]
            if at % 3 == 0 and x + width <= shot.width and not pictures.differing(
                    b''.join(shot.data[i:i + stride] for i in starts), want, width, masked):
                return x, y - key
            at = line.find(rows[key], at + 1)
    return None


def same_client(d, weston, what, masked=MASKED):
    """Waits until weston shows the X11 window's client outside `masked`; returns where,
    and the screenshot."""
    masked = [(r.x, r.y, r.w, r.h) for r in map(layout.rect, masked)]
    want = d.client_picture()
    shot = last_until(weston.screenshot, lambda shot: find_client(shot, want[2], masked))
    found = find_client(shot, want[2], masked)
    if not found:
        pictures.write_png(os.path.join(d.work, 'x11-client.png'), *want)
        pictures.write_png(os.path.join(d.work, 'weston.png'), shot.width, shot.height, shot.data)
        raise Failure("%s: weston shows no client like the X11 window's; see x11-client.png and "
                      'weston.png in %s' % (what, d.work))
    return found, shot


def twin(d):
    """The program started as a Wayland session starts it, beside the X11 window `d`
    drives, must come up as a native Wayland client with its title, app id and icon, and
    paint the X11 window's client, at start and after composer box 5 is ticked (clicked on
    X11, through the box's accessible action on Wayland)."""
    with Weston(os.path.join(d.work, 'wayland'), d.runtime, d.x.env) as weston:
        # It says it is Wayland, and X11 (the Xvfb here, as XWayland would be) is there
        # too: Qt must pick Wayland.
        app = weston.spawn([d.program], dict(d.ENV, XDG_SESSION_TYPE='wayland'),
                           'wayland-program.log')
        started = time.monotonic()
        origin, shot = same_client(d, weston, 'at start')
        d.log('  first Wayland frame, same as the X11 one %6.3f s' % (time.monotonic() - started))
        # Its title, and the app id, which names the desktop entry and so the icon in the
        # dock and the task switcher.
        for request, want in (('xdg_toplevel.set_title', '"%s"' % layout.WINDOW_TITLE),
                              ('xdg_toplevel.set_app_id', '"%s"' % APP_ID)):
            sent = wait_until(lambda: weston.requests(request))
            expect(sent and sent[-1] == want, 'the window sent %s %s, not %s' % (request, sent, want))
        # Qt draws the title bar itself (weston asks clients to decorate); the icon is in it.
        icon = [(x, y) for x in range(origin[0], origin[0] + 48) for y in range(origin[1] - 32, origin[1])
                if layout.close_to(shot.pixel(x, y), layout.RED, 40)]
        expect(len(icon) >= 4, 'no red of the program icon in the title bar above %s' % (origin,))

        box = layout.box(layout.SET, 5)
        root = wait_until(lambda: d.root(app.pid))
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
