"""A person at the window: what they do and what they read off the screen.

Person wraps one XSession with the readings a test needs: the colours of the cells, the
ticks of the boxes, the text of a text box (copied out through the clipboard), a label
as a screen reader speaks it, and the message windows (read, then closed with Enter).
Every wait is bounded: the program must answer within RESPONSE seconds or the test fails.
"""
import time

import window_layout as layout
from accessible_tree import AccessibleApp, label_text
from x_session import Failure, wait_until

RESPONSE = 2.0  # seconds a person may wait for any answer
TRANSFER = 5.0  # seconds for a megabyte to cross the clipboard, both programs' work
DESIGN_MESSAGES = {'不处理超过32bit的数据', '请正确输入16进制数', '输入查看位范围有错'}
SENTINEL = b'\x01pelmora-e2e-empty\x01'


def expect(condition, what):
    if not condition:
        raise Failure(what)


class Person:
    """Acts and reads through one XSession the way a person at the window would, and
    fails a scenario when an answer is wrong or slow. It holds no expectations of its
    own; the scenarios say what should be seen."""

    def __init__(self, session, log):
        self.s = session
        self.log = log
        self._a11y = None
        self.timings = []

    @property
    def a11y(self):
        if self._a11y is None:
            self._a11y = AccessibleApp(self.s.app.pid)
        return self._a11y

    def timed(self, what, seconds, limit=RESPONSE):
        self.timings.append((what, seconds))
        self.log('  %-50s %6.3f s' % (what, seconds))
        expect(seconds <= limit, '%s took %.2f s (limit %.1f s)' % (what, seconds, limit))

    # ----- doing -----
    def click(self, rect):
        self.s.click(rect.centre)

    def type_into(self, rect, text):
        self.click(rect)
        self.s.type(text)

    def press(self, *keys):
        self.s.key(*keys)

    def paste_into(self, rect, data, replace=True):
        """Copies `data` elsewhere, then clicks the box and presses ctrl+v."""
        self.s.set_clipboard(data)
        self.click(rect)
        if replace:
            self.press('ctrl+a')
        start = time.monotonic()
        self.press('ctrl+v')
        return start

    # ----- reading -----
    def text_of(self, rect, patience=RESPONSE):
        """The whole text of a text box: click it, ctrl+a, ctrl+c, read the clipboard. An
        empty box copies nothing, so a clipboard unchanged after `patience` means empty."""
        self.s.set_clipboard(SENTINEL)
        self.click(rect)
        self.press('ctrl+a', 'ctrl+c')
        text = wait_until(lambda: self._copied(), patience)
        self.press('End')
        return '' if text is None or text.encode() == SENTINEL else text

    def _copied(self):
        text = self.s.clipboard()
        return text if text.encode() != SENTINEL else None

    def label(self, name):
        return label_text(self.a11y, name)

    def shot(self):
        return self.s.screenshot()

    def cells(self, shot=None, cell=layout.view_cell):
        """The analysis row as a person reads it, bit 31 first: 1 for red, 0 for light blue,
        S for silver, ? for anything else."""
        shot = shot or self.shot()
        code = {'red': '1', 'light blue': '0', 'silver': 'S'}
        return ''.join(code.get(c, '?') for c in layout.row_colours(self.s, shot, cell))

    def ticks(self, shot=None, box=layout.view_box):
        return layout.row_ticks(self.s, shot or self.shot(), box)

    def wait_for_cells(self, want, what, cell=layout.view_cell, limit=RESPONSE):
        start = time.monotonic()
        got = wait_until(lambda: self.cells(cell=cell) == want, limit)
        if not got:
            self.s.screenshot('failure.png')
            late = wait_until(lambda: self.cells(cell=cell) == want, 10)
            raise Failure('%s: cells read %s, expected %s%s' % (
                what, self.cells(cell=cell), want,
                ' (they came only after %.1f s)' % (time.monotonic() - start) if late else ''))
        self.timed(what, time.monotonic() - start, limit)

    def wait_for_ticks(self, want, what, box=layout.view_box):
        got = wait_until(lambda: self.ticks(box=box) == want, RESPONSE)
        if not got:
            self.s.screenshot('failure.png')
            raise Failure('%s: boxes ticked %s, expected %s'
                          % (what, sorted(self.ticks(box=box)), sorted(want)))

    # ----- message windows -----
    def close_message(self, what, since=None):
        """Waits for one message window, reads it, closes it with Enter; returns its text.
        The wait counts from `since` (when the person acted), else from now."""
        start = since or time.monotonic()
        shown = wait_until(self.s.messages, RESPONSE)
        expect(shown, '%s: no message came' % what)
        self.timed('%s: message' % what, time.monotonic() - start)
        expect(len(shown) == 1, '%s: %d message windows at once' % (what, len(shown)))
        dialogs = self.a11y.dialogs()
        expect(len(dialogs) == 1, '%s: the tree shows %d dialogs' % (what, len(dialogs)))
        title, labels = dialogs[0]
        text = [t for t in labels if t in DESIGN_MESSAGES]
        expect(title == '出错' and len(text) == 1, '%s: message "%s" says %s' % (what, title, labels))
        self.press('Return')
        expect(wait_until(lambda: shown[0] not in self.s.messages(), RESPONSE),
               '%s: Enter did not close the message' % what)
        return text[0]

    def close_messages(self, count, what, since=None):
        """Closes `count` messages that come one after another, then checks that no
        further one follows. Returns their texts."""
        texts = [self.close_message('%s, %d of %d' % (what, n + 1, count), since if n == 0 else None)
                 for n in range(count)]
        self.no_message(what)
        return texts

    def no_message(self, what, settle=0.4):
        time.sleep(settle)
        expect(not self.s.messages(), '%s: an unexpected message window' % what)
        expect(self.s.alive(), '%s: the program ended' % what)


def bits(value):
    """The analysis row a person should see for `value`, bit 31 first."""
    return format(value, '032b')
