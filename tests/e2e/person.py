"""A person at the window: what they do and what they read off the screen.

Person wraps one XSession with the readings a test needs: the colours of the cells, the
ticks of the boxes, the text of a box or label as a screen reader reads it, and the
message windows (read, then closed with Enter). Every wait is for what the person would
see next; the deadline only bounds a hang. How long each answer took is logged.
"""
import time

import window_layout as layout
from accessible_tree import AccessibleApp, label_text
from x_session import Failure, wait_until

DESIGN_MESSAGES = {'不处理超过32bit的数据', '请正确输入16进制数', '输入查看位范围有错'}


def expect(condition, what):
    if not condition:
        raise Failure(what)


class Person:
    """Acts and reads through one XSession the way a person at the window would, and
    fails a scenario when an answer is wrong or never comes. It holds no expectations of
    its own; the scenarios say what should be seen."""

    def __init__(self, session, log):
        self.s = session
        self.log = log
        self._a11y = None

    @property
    def a11y(self):
        if self._a11y is None:
            self._a11y = AccessibleApp(self.s.app.pid)
        return self._a11y

    def timed(self, what, since):
        self.log('  %-50s %6.3f s' % (what, time.monotonic() - since))

    def wait_for(self, condition, failure, since=None, step=None):
        """Waits for `condition` to hold and returns its value; fails with `failure` (a
        text, or a function giving one) when it never does, leaving a screenshot behind.
        `step` names the wait in the log of answer times."""
        start = since or time.monotonic()
        got = wait_until(condition)
        if not got:
            self.s.save_png(self.s.work + '/failure.png')
            raise Failure(failure() if callable(failure) else failure)
        if step:
            self.timed(step, start)
        return got

    # ----- doing -----
    def click(self, rect):
        self.s.click(*rect.centre)

    def type_into(self, rect, text):
        self.click(rect)
        self.s.type(text)

    def enter(self, value='1F'):
        """Types the hex `value` into the entry and waits for the cells to show it."""
        self.type_into(layout.DATA_IN, value)
        self.wait_for_cells(bits(int(value, 16)), value)

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
    def text_of(self, rect):
        """The whole text of a text box, as a screen reader reads it."""
        return label_text(self.a11y, rect.name, 'text')

    def text_length(self, rect):
        node = self.a11y.require(rect.name, 'text')
        node.clear_cache()
        return node.queryText().characterCount

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

    def wait_for_cells(self, want, what, cell=layout.view_cell):
        self.wait_for(lambda: self.cells(cell=cell) == want,
                      lambda: '%s: cells read %s, expected %s' % (what, self.cells(cell=cell), want),
                      step=what)

    def wait_for_ticks(self, want, what, box=layout.view_box):
        self.wait_for(lambda: self.ticks(box=box) == want,
                      lambda: '%s: boxes ticked %s, expected %s'
                      % (what, sorted(self.ticks(box=box)), sorted(want)))

    def wait_for_text(self, rect_or_name, want, what):
        read = (lambda: self.label(rect_or_name)) if isinstance(rect_or_name, str) \
            else (lambda: self.text_of(rect_or_name))
        self.wait_for(lambda: read() == want,
                      lambda: '%s: reads %r, expected %r' % (what, read()[:60], want[:60]))

    # ----- message windows -----
    def close_message(self, what, since=None):
        """Waits for one message window, reads it, closes it with Enter; returns its text.
        The time is counted from `since` (when the person acted), else from now."""
        shown = self.wait_for(self.s.messages, '%s: no message came' % what, since,
                              step='%s: message' % what)
        expect(len(shown) == 1, '%s: %d message windows at once' % (what, len(shown)))
        dialogs = self.a11y.dialogs()
        expect(len(dialogs) == 1, '%s: the tree shows %d dialogs' % (what, len(dialogs)))
        title, labels = dialogs[0]
        text = [t for t in labels if t in DESIGN_MESSAGES]
        expect(title == '出错' and len(text) == 1, '%s: message "%s" says %s' % (what, title, labels))
        self.press('Return')
        self.wait_for(lambda: shown[0] not in self.s.messages(),
                      '%s: Enter did not close the message' % what)
        return text[0]

    def close_messages(self, count, says, what, since=None):
        """Closes `count` messages that come one after another, each of which `says` the
        same text."""
        texts = [self.close_message('%s, %d of %d' % (what, n + 1, count), since if n == 0 else None)
                 for n in range(count)]
        expect(texts == [says] * count, '%s: messages %s' % (what, texts))

    def no_message(self, what):
        """No message window is open. Call it once the action's outcome has been seen:
        a handler shows its messages before the window can paint what it did, so by then
        any message the action brings is on the screen."""
        expect(not self.s.messages(), '%s: an unexpected message window' % what)
        expect(self.s.alive(), '%s: the program ended' % what)


def bits(value):
    """The analysis row a person should see for `value`, bit 31 first."""
    return format(value, '032b')
