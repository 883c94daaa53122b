#!/usr/bin/env python3
"""A paste longer than WebKit keeps in an entry (524,288 characters), as a person does it
in WebKitGTK: one box says why, and the entry keeps its text whole; after OK the entry
takes keys as before. The scenarios' megabyte pastes cover the engines that hold them.

    long_paste_check.py --site DIR --work DIR

Exits 77 (skipped) where WebKitGTK or its driver is missing, except under CI.
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'support'))
sys.dont_write_bytecode = True

import browsers  # noqa: E402
from display import Failure, skip_unless_ci, wait_until  # noqa: E402

HELD = 524288
READ = '''const e = document.querySelector('[aria-label="数据输入"]'), box = document.getElementById("box");
return [e.value, box.open ? document.getElementById("box-text").textContent : null,
        document.activeElement === e]'''


def check(page):
    def wait(condition, what):
        state = []
        if not wait_until(lambda: condition(*(state.append(page.script(READ)) or state[-1]))):
            raise Failure('%s: the entry holds %d characters, the box says %r'
                          % (what, len(state[-1][0]), state[-1][1]))
        return state[-1]
    page.keys('1F')
    wait(lambda text, box, focus: text == '1F' and box is None, 'typing 1F')
    page.paste('0123456789ABCDEF' * (2 * HELD // 16))
    _, box, _ = wait(lambda text, box, focus: text == '1F' and box, 'a pasted megabyte')
    if str(2 * HELD) not in box or str(HELD) not in box:
        raise Failure('the box says %r, not how long the paste was and what the entry holds' % box)
    page.keys(browsers.ENTER)  # OK
    wait(lambda text, box, focus: text == '1F' and box is None and focus, 'OK')
    page.keys('2')
    wait(lambda text, box, focus: text == '1F2' and box is None, 'typing after the refused paste')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--site', required=True)
    parser.add_argument('--work', required=True)
    args = parser.parse_args()
    lacking = browsers.missing('webkit')
    if lacking:
        return skip_unless_ci(', '.join(lacking))
    page = browsers.open_browser('webkit', args.work)
    try:
        page.navigate('file://' + os.path.abspath(os.path.join(args.site, 'index.html')))
        if not wait_until(lambda: page.script('return document.activeElement.getAttribute("aria-label")'
                                              ' === "数据输入"')):
            raise Failure('the page never gave the entry the focus')
        check(page)
    finally:
        page.close()
    print('PASS long_paste_check')
    return 0


if __name__ == '__main__':
    sys.exit(main())
