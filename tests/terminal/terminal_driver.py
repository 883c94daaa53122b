"""The scenarios' driver for `pelmora-term`: the program in a private tmux server, worked with
the keys, pastes and mouse clicks a terminal sends, and read off tmux's screen, characters
and colours (capture-pane -e), where view::CellGeometry puts each control. A failure leaves
the screen in screen.ans: `cat` it in a terminal to see it.
"""
import os
import re
import shutil
import subprocess
import tempfile
import unicodedata

import window_layout as layout
from display import Failure
from driver import Driver

HERE = os.path.dirname(os.path.abspath(__file__))
ROWS = 24
KEYS = {'Tab': 'Tab', 'shift+Tab': 'BTab', 'space': 'Space', 'Return': 'Enter', 'ctrl+a': 'C-a'}
# (row, column, width) of each control on the screen; bit i is in column 71 - 2i.
PLACES = {layout.ENTRY: (4, 10, 11), layout.RANGE: (4, 34, 7), 'Select': (4, 42, 10),
          'Clear Select': (4, 53, 14), 'Clear Set': (4, 68, 11), layout.VIEW_BINARY: (11, 8, 36),
          layout.VIEW_HEX: (11, 50, 29), layout.SET_BINARY: (20, 8, 36),
          layout.SET_HEX: (20, 50, 29), layout.CLOCK: (23, 52, 28)}
PLACES.update({f(r, i): (y + (f == layout.box), 71 - 2 * i, 1) for i in range(32)
               for r, y in ((layout.VIEW, 8), (layout.SET, 17)) for f in (layout.cell, layout.box)})
CONTROLS = {0x2400 + c: c for c in range(32)} | {0x2421: 0x7F}  # their pictures: \u2401 is \x01
CELL_CODES = {'1': 196, '0': 147, 'S': 250}  # red, light blue, silver among xterm's 256
SGR = re.compile(r'\x1b\[([0-9;]*)m')


def cells(capture):
    """capture-pane -e's text as rows of (character, (fore, back, attributes)) a column,
    colours as xterm numbers; '' in the second column of a wide character."""
    rows, style = [], (None, None, frozenset())  # a style goes on from line to line
    for line in capture.split('\n'):
        row, at = [], 0
        for m in SGR.finditer(line + '\x1b[m'):
            for ch in line[at:m.start()]:
                row += [(ch, style)] + [('', style)] * (unicodedata.east_asian_width(ch) in 'WF')
            at, codes = m.end(), iter([int(c or 0) for c in m.group(1).split(';')])
            fore, back, attributes = style
            for c in codes:  # tmux resets with 0 rather than ending one attribute
                if c == 0:
                    fore, back, attributes = None, None, frozenset()
                elif 30 <= c <= 49:  # a colour: 3x/4x of 8, 38/48;5;n of 256, 39/49 the terminal's
                    colour = ((next(codes), next(codes))[1] if c % 10 == 8
                              else c % 10 if c % 10 < 8 else None)
                    fore, back = (colour, back) if c < 40 else (fore, colour)
                else:
                    attributes = attributes | {c}
            style = (fore, back, attributes)
        rows.append(row)
    return rows


class TerminalDriver(Driver):
    """One tmux server; each scenario starts the program in a fresh 80x24 session of it."""

    LACKS = dict.fromkeys(('window', 'scale2', 'glyphs', 'first_frame', 'wayland'),
                          'a terminal has no pixels and no window')
    LACKS.update(live='nor a live region', names='nor an accessibility tree',
                 screen_reader='nor a screen reader here',
                 megabyte='a long text shows in part: its length cannot be read',
                 chords='a terminal sends Ctrl+Enter and Shift+Enter as Enter',
                 nul="a terminal shows a NUL and what follows, not a screen reader's part")

    @staticmethod
    def add_options(parser):
        parser.add_argument('--program', help='the pelmora-term to run')

    @staticmethod
    def missing(args):
        return [] if shutil.which('tmux') else ['tmux']

    def __init__(self, args, work, log):
        super().__init__(log)
        self.program = os.path.abspath(args.program)
        # The socket's path stays short wherever the build folder is.
        self.socket = os.path.join(tempfile.mkdtemp(prefix='pelmora-tmux-'), 's')

    def open(self):
        # exit-empty off: the server outlives each scenario's session.
        self.tmux('start-server', ';', 'set-option', '-g', 'exit-empty', 'off', ';',
                  'set-option', '-g', 'default-terminal', 'tmux-256color')

    def close(self):
        self.tmux('kill-server', check=False)
        shutil.rmtree(os.path.dirname(self.socket), ignore_errors=True)

    def tmux(self, *args, check=True, input=None):
        done = subprocess.run(['tmux', '-S', self.socket, '-f', '/dev/null'] + list(args), input=input,
                              capture_output=True, text=True)
        if check and done.returncode:
            raise Failure('tmux %s: %s' % (args[0], done.stderr.strip()))
        return done.stdout

    def start(self, options, command=None):
        self.output = os.path.join(self.work, 'output')
        self.tmux('new-session', '-d', '-s', 'p', '-x', '80', '-y', str(ROWS), '-e', 'LANG=C.UTF-8',
                  command or self.program)
        self.tmux('set-option', '-t', 'p', 'remain-on-exit', 'on')
        # All the program writes, counted: a box just like the last one is more output.
        self.tmux('pipe-pane', '-t', 'p', 'cat >> ' + self.output)
        if not command:
            self.wait_for(lambda: self.text(layout.CLOCK), 'no first frame', step='first frame')

    def stop(self):
        self.tmux('kill-session', '-t', 'p', check=False)

    def alive(self):
        return self.tmux('display-message', '-p', '-t', 'p', '#{pane_dead}', check=False).strip() == '0'

    def on_failure(self):
        with open(os.path.join(self.work, 'screen.ans'), 'w', encoding='utf-8') as f:
            f.write(self.capture())

    def click(self, name):
        row, column, width = PLACES[name]
        at = '%d;%d' % (1 + column + width // 2, 1 + row)  # a terminal's report: press, release
        self.tmux('send-keys', '-t', 'p', '-l', '\x1b[<0;%sM\x1b[<0;%sm' % (at, at))

    def type(self, text):
        self.tmux('send-keys', '-t', 'p', '-l', '--', text)

    def key(self, *keys):
        self.tmux('send-keys', '-t', 'p', *(KEYS.get(k, k) for k in keys))

    def paste(self, name, text):
        self.click(name)
        self.key('ctrl+a')
        self.tmux('load-buffer', '-b', 'b', '-', input=text)
        self.tmux('paste-buffer', '-p', '-d', '-b', 'b', '-t', 'p')  # bracketed, as asked

    def capture(self):
        return self.tmux('capture-pane', '-p', '-e', '-N', '-t', 'p')[:-1]  # a row a line

    def shot(self):
        return cells(self.capture())

    def text(self, name):
        row, column, width = PLACES[name]
        shown = ''.join(ch for ch, _ in self.shot()[row][column:column + width])
        return shown.strip().strip('│').strip().translate(CONTROLS)

    def length(self, name):
        return len(self.text(name))  # only what shows: see LACKS

    def cells(self, row, shot=None):
        line = (shot or self.shot())[PLACES[layout.cell(row, 0)][0]]
        code = {n: c for c, n in CELL_CODES.items()}
        return ''.join(code.get(line[71 - 2 * i][1][1], '?') for i in range(31, -1, -1))

    def ticks(self, row, shot=None):
        line = (shot or self.shot())[PLACES[layout.box(row, 0)][0]]
        return {i for i in range(32) if line[71 - 2 * i][0] == 'x'}

    def message(self):
        rows = [[ch for ch, _ in line] for line in self.shot()]
        ok = next((y for y, line in enumerate(rows) if '[ OK ]' in ''.join(line)), None)
        if ok is None:
            return None
        left, right = rows[ok + 1].index('└'), rows[ok + 1].index('┘')
        text = lambda y, start: ''.join(rows[y][start:right]).strip()
        return text(ok - 3, left + 1), text(ok - 1, left + 6), os.path.getsize(self.output)

    def picture(self, name, masked):
        """The screen, characters and colours, against pictures/NAME.ans (written afresh where
        PELMORA_RENEW_PICTURES is set), the masked controls left out."""
        reference = os.path.join(HERE, 'pictures', name + '.ans')
        if os.environ.get('PELMORA_RENEW_PICTURES'):
            with open(reference, 'w', encoding='utf-8') as f:
                f.write(self.capture() + '\n')
        with open(reference, encoding='utf-8') as f:
            want, got = cells(f.read().rstrip('\n')), self.shot()
        skip = {(PLACES[m][0], PLACES[m][1] + c) for m in masked for c in range(PLACES[m][2])}
        differ = [(y, x) for y in range(ROWS) for x in range(80)
                  if (y, x) not in skip and want[y][x] != got[y][x]]
        return differ and 'differs from %s at (row, column) %s' % (reference, differ[:5])
