#!/usr/bin/env python3
"""Photographs the Linux program's window for the documentation: runs pelmora on a private
Xvfb and writes docs/screenshot-linux.png, the window alone, once its clock shows the
time. Builds nothing.

    scripts/screenshot.py [path/to/pelmora] [output.png]
"""
import os
import sys
import tempfile

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(root, 'tests', 'support'))

import window_layout as layout  # noqa: E402
from display import Display, Failure, missing_tools, wait_until  # noqa: E402


def main():
    program = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        root, 'build-release', 'src', 'frontends', 'qt', 'pelmora')
    output = sys.argv[2] if len(sys.argv) > 2 else os.path.join(root, 'docs', 'screenshot-linux.png')
    if missing_tools():
        sys.exit('screenshot.py: missing ' + ', '.join(missing_tools()))
    with tempfile.TemporaryDirectory() as work, Display(work) as display:
        # A fixed locale, so the picture does not depend on who takes it.
        app = display.spawn([program], env={'LC_ALL': 'C.UTF-8', 'QT_QPA_PLATFORM': 'xcb'},
                            log='app.log')
        window = display.wait_for_window(layout.WINDOW_TITLE, app)
        display.look_at(window)
        c = layout.rect(layout.CLOCK)
        clock = lambda shot: [display.pixel(shot, x, y) for x in range(c.x, c.x + c.w)
                              for y in range(c.y, c.y + c.h)]
        cell = layout.rect(layout.cell(layout.VIEW, 0))
        first = display.wait_for_screen(
            lambda shot: layout.cell_colour(display, shot, cell) == 'light blue')
        # Past the first tick: the status row shows the time instead of "Label3".
        if not wait_until(lambda: clock(display.screenshot()) != clock(first)):
            raise Failure('the clock never showed the time')
        display.save_png(output, window)
    print('wrote', output)


if __name__ == '__main__':
    main()
