"""The program on a Wayland desktop: started the way a Wayland session starts it, it must
come up as a native Wayland client of a headless weston, not through X11, with its title,
app id and icon, and paint the same client area as the X11 window beside it.

The scenario has the X11 window of run_scenario.py; the Wayland one runs on its own
weston (weston_session.py). Weston has no way to send keys or clicks, so the Wayland
window is worked through the accessibility bus, and the X11 one by a click, as before.
"""
import os
import subprocess
import time

import weston_session
import window_layout as layout
from accessible_tree import AccessibleApp, is_checked
from person import expect
from x_session import DEADLINE, Failure, wait_until

APP_ID = 'org.pelmora.Pelmora'  # the desktop entry's name, by which a desktop finds the icon
WIDTH, HEIGHT = layout.CLIENT
# The clock, and what the keyboard focus draws: the X11 window has it, with a blinking
# caret in the entry and a dotted frame round a clicked box; a window of headless weston
# never has it (its headless back end has no keyboard).
MASKED = (layout.CLOCK, layout.DATA_IN)


def client_rows(shot, x, y):
    """The client area at (x, y) of a screenshot, one bytes object per row."""
    return [shot.data[((y + r) * shot.width + x) * 3:((y + r) * shot.width + x + WIDTH) * 3]
            for r in range(HEIGHT)]


def differing(rows, want, masked=MASKED):
    """The client pixels where two pictures differ, outside `masked`."""
    wrong = []
    for y, (row, wanted) in enumerate(zip(rows, want)):
        if row == wanted:
            continue
        wrong += [(x, y) for x in range(WIDTH)
                  if row[x * 3:x * 3 + 3] != wanted[x * 3:x * 3 + 3]
                  and not any((x, y) in rect for rect in masked)]
    return wrong


def find_client(shot, want, masked):
    """Where on weston's screen the client area `want` is painted, as (x, y), or None.
    The shell places a window where it likes, so its most varied whole row is looked for."""
    whole = [r for r in range(HEIGHT) if not any(m.y <= r < m.y + m.h for m in masked)]
    key = max(whole, key=lambda r: len({want[r][i:i + 3] for i in range(0, WIDTH * 3, 3)}))
    stride = shot.width * 3
    for y in range(key, shot.height - HEIGHT + key + 1):
        line = shot.data[y * stride:(y + 1) * stride]
        at = line.find(want[key])
        while at >= 0:
            if at % 3 == 0 and at // 3 + WIDTH <= shot.width:
                origin = (at // 3, y - key)
                if not differing(client_rows(shot, *origin), want, masked):
                    return origin
            at = line.find(want[key], at + 1)
    return None


def save(path, shot, origin=None):
    """Writes a screenshot (or its client area at `origin`) as PNG, for a failure report."""
    ppm = b'P6 %d %d 255\n' % (shot.width, shot.height) + shot.data
    crop = ['-crop', '%dx%d+%d+%d' % (WIDTH, HEIGHT, *origin), '+repage'] if origin else []
    subprocess.run(['convert', 'ppm:-'] + crop + [path], input=ppm, check=True)


def wait_for_same_client(p, weston, what, masked=MASKED):
    """Waits until weston's screen shows the X11 window's client area, outside `masked`;
    returns where, and the screenshot."""
    x11 = p.s.screenshot()
    want = client_rows(x11, *p.s.origin)
    shots = []
    found = wait_until(lambda: find_client(shots.append(weston.screenshot()) or shots[-1], want,
                                           masked))
    if not found:
        save(os.path.join(p.s.work, 'x11-client.png'), x11, p.s.origin)
        save(os.path.join(p.s.work, 'weston.png'), shots[-1])
        raise Failure('%s: weston shows no client area like the X11 window\'s within %.0f s; see '
                      'x11-client.png and weston.png in %s' % (what, DEADLINE, p.s.work))
    return found, shots[-1]


def native_on_wayland(p):
    work = os.path.join(p.s.work, 'wayland')
    os.makedirs(work, exist_ok=True)
    with weston_session.Weston(work, p.s.runtime, p.s.env) as weston:
        # As a Wayland session starts a program: it says it is Wayland, and X11 (here the
        # Xvfb of the X11 window, as XWayland would be) is there too. Qt must pick Wayland.
        env = dict(XDG_SESSION_TYPE='wayland', QT_LINUX_ACCESSIBILITY_ALWAYS_ON='1',
                   QT_ACCESSIBILITY='1', LANG='C.UTF-8', LC_ALL='C.UTF-8')
        app = weston.spawn([p.s.program], env, 'wayland-program.log')
        started = time.monotonic()
        origin, shot = wait_for_same_client(p, weston, 'at start')
        p.timed('first Wayland frame, same as the X11 one', started)
        expect(app.poll() is None, 'the Wayland program ended (exit %s)' % app.returncode)

        # What a desktop knows the window by: its title, and the app id, which names the
        # desktop entry and so the icon in the dock and the task switcher.
        for request, want in (('xdg_toplevel.set_title', '"Pelmoria"'),
                              ('xdg_toplevel.set_app_id', '"%s"' % APP_ID)):
            sent = wait_until(lambda: weston.requests(request))
            expect(sent and sent[-1] == want, 'the window sent %s %s, expected %s'
                   % (request, sent, want))
        # Qt draws the title bar itself (weston asks clients to decorate); the icon is in it.
        icon = [(x, y) for x in range(origin[0], origin[0] + 48)
                for y in range(origin[1] - 32, origin[1])
                if layout.close_to(shot.pixel(x, y), layout.RED, 40)]
        expect(len(icon) >= 4, 'no red of the program icon in the title bar above %s' % (origin,))

        # Composer box 5: clicked on X11, toggled through the accessibility bus on Wayland.
        box = AccessibleApp(app.pid).require('比特设置 第5位', 'check box')
        actions = box.queryAction()
        names = [actions.getName(i).lower() for i in range(actions.nActions)]
        toggle = next((i for i, n in enumerate(names) if n in ('toggle', 'press', 'click')), None)
        expect(toggle is not None, 'the box offers no toggle or press action: %s' % names)
        p.click(layout.set_box(5))
        p.wait_for_cells('0' * 26 + '100000', 'composer box 5 on X11', cell=layout.set_cell)
        actions.doAction(toggle)
        p.wait_for(lambda: is_checked(box), 'the Wayland box 5 is not ticked after its action')
        wait_for_same_client(p, weston, 'after composer box 5', MASKED + (layout.set_box(5),))
        expect(app.poll() is None, 'the Wayland program ended (exit %s)' % app.returncode)


native_on_wayland.missing = weston_session.missing

SCENARIOS = {'wayland': native_on_wayland}
