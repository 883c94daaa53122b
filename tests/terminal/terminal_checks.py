#!/usr/bin/env python3
"""What only a terminal asks of pelmora-term, through tmux: a terminal too small and then
large enough again, the terminal's settings as the program found them however it ends, and
the design's colours in 256 colours, in 8 and in none.

Usage: terminal_checks.py PELMORA_TERM WORK
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [HERE, os.path.join(HERE, '..', 'support')]
sys.dont_write_bytecode = True

import window_layout as layout  # noqa: E402
from display import SKIP, skip_unless_ci  # noqa: E402
from driver import expect  # noqa: E402
from terminal_driver import TerminalDriver, missing  # noqa: E402


def resized(d):
    d.type('1F')
    d.wait_for(lambda: d.text(layout.ENTRY) == '1F', 'typing 1F')
    d.tmux('resize-window', '-t', 'p', '-x', '60', '-y', '20')
    d.wait_for(lambda: 'needs a terminal of at least 80x24' in d.capture(), 'no line saying the size')
    d.tmux('resize-window', '-t', 'p', '-x', '80', '-y', '24')
    d.wait_for(lambda: d.text(layout.ENTRY) == '1F' and d.cells(layout.VIEW) == layout.bits(0x1F),
               'after the resize the entry reads %r' % d.text(layout.ENTRY))


def settings_kept(leave, code):
    """Leaving by `leave` restores every setting `stty -a` shows, with exit code `code`."""
    def check(d):
        files = os.path.join(d.work, 'stty')
        d.start({}, command="sh -c 'stty -a > %s.before; %s; echo $? > %s.code; stty -a > %s.after'"
                % (files, d.program, files, files))
        d.wait_for(lambda: d.text(layout.CLOCK), 'no first frame')
        if leave == 'TERM':
            pane = d.tmux('display-message', '-p', '-t', 'p', '#{pane_pid}').strip()
            with open('/proc/%s/task/%s/children' % (pane, pane)) as f:
                os.kill(int(f.read().split()[0]), 15)
        else:
            d.key(leave)
        d.wait_for(lambda: os.path.exists(files + '.after') and os.path.getsize(files + '.after'),
                   'the program did not end on %s' % leave)
        read = lambda what: open('%s.%s' % (files, what)).read()
        expect(read('before') == read('after'), 'after %s stty -a differs' % leave)
        expect(code is None or read('code').strip() == str(code), 'exit code %s' % read('code'))
    check.own_start = True
    return check


def colours(term, one, zero):
    """The cells of 1 and 0 in the colours, or the reverse video, of a terminal `term`."""
    def check(d):
        d.type('1')
        d.wait_for(lambda: d.text(layout.ENTRY) == '1', 'typing 1')
        line = d.shot()[8]
        got = [line[71 - 2 * i][1] for i in (0, 1)]
        expect([(s[1], 7 in s[2]) for s in got] == [one, zero], '%s: cells 1 and 0 are %s' % (term, got))
    check.term = term
    return check


CHECKS = {'resized': resized,
          'ctrl_c': settings_kept('C-c', 0), 'ctrl_q': settings_kept('C-q', 0),
          'killed': settings_kept('TERM', None),
          'colours_256': colours('tmux-256color', (196, False), (147, False)),
          'colours_8': colours('screen', (1, False), (7, False)),
          'colours_none': colours('vt100', (None, True), (None, False))}


def main():
    if missing(None):
        return skip_unless_ci('tmux')
    failed = 0
    for name, check in CHECKS.items():
        d = TerminalDriver(os.path.abspath(sys.argv[1]), print, getattr(check, 'term', 'tmux-256color'))
        d.work = os.path.join(os.path.abspath(sys.argv[2]), name)
        os.makedirs(d.work, exist_ok=True)
        try:
            if not getattr(check, 'own_start', False):
                d.start({})
            check(d)
            print('PASS', name)
        except Exception as error:  # a failed check or a tool that broke: report it
            d.on_failure()
            failed += 1
            print('FAIL %s: %s (screen in %s)' % (name, error, d.work))
        finally:
            d.tmux('kill-server', check=False)
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
