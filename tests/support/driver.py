"""The one protocol every front end is driven through, and what it shares among them.

A scenario (scenarios.py) only ever calls the verbs of Driver; each front end has an
adapter that implements them as a person would act and read there: the Qt program on
Xvfb (tests/e2e/qt_driver.py), Pelmora.exe under Wine (tests/win32/wine_driver.py), the
page in a browser (tests/web/page_driver.py).
"""
import time

import window_layout as layout
from display import Failure, wait_until


def expect(condition, what):
    if not condition:
        raise Failure(what)


class Driver:
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
    client_picture(scale) the client as (width, height, RGB bytes) at `scale`, for
                          pictures.py
    said()                everything a screen reader has spoken so far
    twin_on_wayland(work) see tests/e2e/wayland.py
    first_frame()         the page as it stands before its program runs

    A verb an adapter cannot do is a capability it lacks: LACKS maps each such capability
    (a key of scenarios.NEEDS) to why, and the runner skips the scenarios that need it.
    """

    LACKS = {}
    scale = 1

    def __init__(self, log):
        self.log = log
        self.scenario = None

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

    def on_failure(self):
        """Leaves what the person saw behind for the failure report."""

    def cells(self, row, shot=None):
        """A row's cells as a person reads them, bit 31 first: 1 red, 0 light blue, S
        silver, ? anything else."""
        shot = shot or self.shot()
        code = {'red': '1', 'light blue': '0', 'silver': 'S'}
        return ''.join(code.get(layout.cell_colour(self, shot, layout.rect(layout.cell(row, i))), '?')
                       for i in range(31, -1, -1))

    def ticks(self, row, shot=None):
        """The ticked boxes of a row, as a set of bit numbers."""
        shot = shot or self.shot()
        return {i for i in range(32) if layout.box_ticked(self, shot, layout.rect(layout.box(row, i)))}

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
