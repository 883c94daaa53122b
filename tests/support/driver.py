"""The one protocol every front end is driven through, and what it shares among them.

A scenario (scenarios.py) only ever calls the verbs of Driver; each front end has an
adapter that implements them as a person would act and read there: the Qt program on
Xvfb (tests/e2e/qt_driver.py), Pelmora.exe under Wine (tests/win32/wine_driver.py), the
page in a browser (tests/web/page_driver.py), the terminal program in tmux
(tests/terminal/terminal_driver.py).
"""
import os
import shutil
import time
import traceback

import pictures
import window_layout as layout
from display import Failure, Resource, wait_until


def expect(condition, what):
    if not condition:
        raise Failure(what)


class Driver(Resource):
    """One front end, worked by a person. Controls are named as a screen reader calls them
    (window_layout.CONTROLS); points are client pixels at 96 dpi. The verbs:

    start(scenario)       a fresh program in its first frame, the keyboard focus in its
                          window; scenario.args on its command line
    stop()                ends it; alive() says whether it still runs
    click(name)           a click in the middle of the control
    type(text)            characters typed into the focused control, any script
    key(*keys)            keys pressed one after another: 'Tab', 'shift+Tab', 'space',
                          'Return', 'Home', 'Right', 'ctrl+a'
    paste(name, text)     the text copied elsewhere, then click, ctrl+a and ctrl+v there
    shot()                a picture of the screen; pixel(shot, x, y) reads one of the client
    text(name)            the whole text of a text box or label; length(name) its length
    message()             (title, text, which) of the one message box open, None when none
                          is, a failure when several are; `which` tells one showing of a box
                          from the next; close_message() presses Enter in it
    live()                the latest words the program gave its live region
    named(name)           (role, rect, value) of the control a screen reader knows by
                          `name`: role one of 'text box', 'label', 'check box'; rect where it
                          is shown; value its text, or for a box whether it is ticked
    window()              (client size, [(w, h) of each taskbar icon])
    client_picture()      the client as (width, height, RGB bytes) at the driver's scale
    said()                everything a screen reader has spoken so far
    twin_on_wayland(work) see tests/e2e/wayland.py
    first_frame()         the page as it stands before its program runs

    A verb an adapter cannot do is a capability it lacks: LACKS maps each such capability
    (a key of scenarios.NEEDS) to why, and the runner skips the scenarios that need it.
    An adapter takes the runner's options (add_options) and says which tools this
    machine lacks for it (missing); it is opened for a session and closed after it.
    """

    LACKS = {}
    PICTURES = None  # the folder of the reference pictures, NAME[VARIANT]@SCALEx.png
    VARIANT = ''
    UNSTEADY = ()  # parts of the client a picture leaves out on this front end
    scale = 1
    origin = (0, 0)  # where in a shot the client starts
    work = None  # the current scenario's folder, for what a failure leaves behind

    def __init__(self, log):
        self.log = log

    def open(self):
        pass

    def attempt(self, work, action):
        """Runs action(self) in a fresh folder `work` and stops the program: None, or why it
        failed, with what the person saw left in `work`."""
        shutil.rmtree(work, ignore_errors=True)  # nothing an earlier run left is read as new
        os.makedirs(work)
        self.work = work
        try:
            action(self)
        except Exception:  # a failed check, or a tool that broke: report it
            self.on_failure()
            return '%s(screenshots and logs in %s)' % (traceback.format_exc(), work)
        finally:
            self.stop()
        return None

    def on_failure(self):
        """Leaves what the person saw behind for the failure report."""

    def close_message(self):
        self.key('Return')

    # ----- shared readings on top of the verbs -----
    def wait_for(self, condition, failure, step=None):
        """Waits for `condition` to hold and returns its value; fails with `failure` (a
        text, or a function giving one) when it never does. `step` names the wait in
        the log of answer times."""
        start = time.monotonic()
        got = wait_until(condition)
        if not got:
            self.on_failure()
            raise Failure(failure() if callable(failure) else failure)
        if step:
            self.log('  %-50s %6.3f s' % (step, time.monotonic() - start))
        return got

    def pixel(self, shot, x, y):
        return shot.pixel(self.origin[0] + x * self.scale, self.origin[1] + y * self.scale)

    def client_picture(self):
        shot, (ox, oy) = self.shot(), self.origin
        width, height = (n * self.scale for n in layout.CLIENT)
        start = lambda y: ((oy + y) * shot.width + ox) * 3
        return width, height, b''.join(shot.data[start(y):start(y) + width * 3]
                                       for y in range(height))

    def picture(self, name, masked):
        reference = '%s%s@%dx.png' % (name, self.VARIANT, self.scale)
        return pictures.compare(self, os.path.join(self.PICTURES, reference),
                                tuple(masked) + self.UNSTEADY)

    def cells(self, row, shot=None):
        """A row's cells as a person reads them, bit 31 first: 1 red, 0 light blue, S
        silver, ? anything else."""
        shot = shot or self.shot()
        code = {'red': '1', 'light blue': '0', 'silver': 'S'}
        return ''.join(code.get(layout.cell_colour(self, shot, layout.rect(layout.cell(row, i))),
                                '?') for i in range(31, -1, -1))

    def ticks(self, row, shot=None):
        """The ticked boxes of a row, as a set of bit numbers."""
        shot = shot or self.shot()
        return {i for i in range(32)
                if layout.box_ticked(self, shot, layout.rect(layout.box(row, i)))}

    def close_messages(self, count, says, what):
        """Closes `count` message boxes that come one after another, each of which must be
        titled "出错" and say `says`; then no other may be open."""
        for n in range(count):
            where = '%s, message %d of %d' % (what, n + 1, count)
            title, text, which = self.wait_for(self.message, '%s never came' % where, step=where)
            expect((title, text) == (layout.MESSAGE_TITLE, says),
                   '%s: "%s" says %r, expected %r' % (where, title, text, says))
            self.close_message()
            self.wait_for(lambda: (self.message() or [0, 0, None])[2] != which,
                          '%s: Enter left it open' % where)

    def no_message(self, what):
        """No message box is open and the program runs. Called once the outcome of an
        action has been seen: a handler shows its messages before the window can paint
        what it did, so by then any message it brings is there."""
        expect(self.message() is None, '%s: an unexpected message box %s' % (what, self.message()))
        expect(self.alive(), '%s: the program ended' % what)
