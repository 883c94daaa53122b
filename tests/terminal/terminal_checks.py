#!/usr/bin/env python3
"""What only a terminal asks of pelmora-term, through tmux: a terminal too small and then
large enough again, the terminal's settings as the program found them however it leaves,
and the design's colours in 256 colours, in 8 and in none.

Usage: terminal_checks.py --program PELMORA_TERM --work WORK
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [HERE, os.path.join(HERE, '..', 'support')]
sys.dont_write_bytecode = True

import window_layout as layout  # noqa: E402
from driver import expect  # noqa: E402
from run_scenarios import run_checks  # noqa: E402
from terminal_driver import TerminalDriver  # noqa: E402


def resized(d):
    d.start({})
    d.type('1F')
    small = lambda: 'needs a terminal of at least 80x24' in d.capture()
    kept = lambda: d.text(layout.ENTRY) == '1F' and d.cells(layout.VIEW) == layout.bits(0x1F)
    for size, shows in ((60, small), (80, kept)):
        d.tmux('resize-window', '-t', 'p', '-x', str(size), '-y', str(size * 3 // 10))
        d.wait_for(shows, '%d columns: %r' % (size, d.capture()[:80]))


def leaves(how, code):
    """Leaving by `how` (keys, or a signal) gives back every setting `stty -a` shows."""
    def check(d):
        f = os.path.join(d.work, 'stty')
        d.start({}, "sh -c 'stty -a > %s.0; %s; echo $? > %s.code; stty -a > %s.1'"
                % (f, d.program, f, f))
        d.wait_for(lambda: d.text(layout.CLOCK), 'no first frame')
        if how == 'SIGTERM':
            shell = d.tmux('display-message', '-p', '-t', 'p', '#{pane_pid}').strip()
            with open('/proc/%s/task/%s/children' % (shell, shell)) as children:
                os.kill(int(children.read().split()[0]), 15)
        else:
            d.key(how)
        d.wait_for(lambda: os.path.exists(f + '.1') and os.path.getsize(f + '.1'),
                   'still running after ' + how)
        read = lambda what: open('%s.%s' % (f, what)).read().strip()
        expect(read('0') == read('1'), 'after %s stty -a shows other settings' % how)
        expect(code is None or read('code') == code,
               'after %s the exit code is %s' % (how, read('code')))
    return check


def colours(term, one, zero):
    """The cells of 1 and 0 in a terminal `term`: (back colour, reversed)."""
    def check(d):
        d.tmux('set-option', '-g', 'default-terminal', term)
        d.start({})
        d.type('1')
        d.wait_for(lambda: d.text(layout.ENTRY) == '1', 'typing 1')
        cells = [d.shot()[8][71 - 2 * i][1] for i in (0, 1)]
        expect([(back, 7 in attributes) for _, back, attributes in cells] == [one, zero],
               '%s: the cells of 1 and 0 are %s' % (term, cells))
    return check


CHECKS = {'resized': resized, 'ctrl_c': leaves('C-c', '0'), 'ctrl_q': leaves('C-q', '0'),
          'killed': leaves('SIGTERM', None),
          'colours_256': colours('tmux-256color', (196, False), (147, False)),
          'colours_8': colours('screen', (1, False), (7, False)),
          'colours_none': colours('vt100', (None, True), (None, False))}


if __name__ == '__main__':
    sys.exit(run_checks(TerminalDriver, CHECKS))
