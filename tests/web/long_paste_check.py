#!/usr/bin/env python3
"""A paste longer than WebKit keeps in an entry (524,288 characters), as a person does it
in WebKitGTK: one box says why, and the entry keeps its text whole; after OK the entry
takes keys as before. The scenarios' megabyte pastes cover the engines that hold them.

    long_paste_check.py --engine webkit --site DIR --work DIR
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [HERE, os.path.join(HERE, '..', 'support')]
sys.dont_write_bytecode = True

from driver import expect  # noqa: E402
from page_driver import PageDriver  # noqa: E402
from run_scenarios import run_checks  # noqa: E402
from window_layout import ENTRY  # noqa: E402

HELD = 524288


def long_paste(d):
    d.start({})
    read = lambda: (d.text(ENTRY, whole=True), (d.message() or (0, None))[1],
                    d.focused() == ENTRY)

    def wait(condition, what):
        return d.wait_for(lambda: condition(*read()) and read(), lambda: '%s: the entry holds'
                          ' %d characters, the box says %r' % (what, len(read()[0]), read()[1]))
    d.type('1F')
    wait(lambda text, box, focus: text == '1F' and box is None, 'typing 1F')
    d.browser.paste('0123456789ABCDEF' * (2 * HELD // 16))
    _, box, _ = wait(lambda text, box, focus: text == '1F' and box, 'a pasted megabyte')
    expect(str(2 * HELD) in box and str(HELD) in box,
           'the box says %r, not how long the paste was and what the entry holds' % box)
    d.close_message()  # OK
    wait(lambda text, box, focus: text == '1F' and box is None and focus, 'OK')
    d.type('2')
    wait(lambda text, box, focus: text == '1F2' and box is None, 'typing after the refused paste')


if __name__ == '__main__':
    sys.exit(run_checks(PageDriver, {'long_paste': long_paste}))
