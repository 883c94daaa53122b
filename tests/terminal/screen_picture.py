"""A terminal's screen as tmux captures it with its colours (capture-pane -e), read into
cells, and drawn into a PNG with ImageMagick for a person to look at.

Usage: screen_picture.py CAPTURE.ans OUT.png
"""
import re
import subprocess
import sys
import unicodedata

SGR = re.compile(r'\x1b\[([0-9;]*)m')
ANSI = [(0, 0, 0), (205, 0, 0), (0, 205, 0), (205, 205, 0), (0, 0, 238), (205, 0, 205),
        (0, 205, 205), (229, 229, 229), (127, 127, 127), (255, 0, 0), (0, 255, 0),
        (255, 255, 0), (92, 92, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
CELL_W, CELL_H = 10, 20


def xterm(n):
    if n < 16:
        return ANSI[n]
    if n >= 232:
        return (8 + 10 * (n - 232),) * 3
    n -= 16
    return tuple(55 + 40 * v if v else 0 for v in (n // 36, n // 6 % 6, n % 6))


def width(ch):
    return 2 if unicodedata.east_asian_width(ch) in 'WF' else 1


def cells(capture):
    """Rows of (character, style) per column; style is (fore, back, bold, italic, underline,
    reverse) with colours as xterm numbers or None for the terminal's own. The second column
    of a wide character holds ''."""
    rows, style = [], [None, None, 0, 0, 0, 0]  # tmux carries a style on to the next line
    for line in capture.split('\n'):
        row, at = [], 0
        for m in SGR.finditer(line + '\x1b[999m'):
            for ch in line[at:m.start()]:
                row.append((ch, tuple(style)))
                if width(ch) == 2:
                    row.append(('', tuple(style)))
            at = m.end()
            codes = [int(c) if c else 0 for c in m.group(1).split(';')]
            while codes:
                c = codes.pop(0)
                if c in (38, 48) and codes[:1] == [5]:
                    style[0 if c == 38 else 1] = codes[1]
                    codes = codes[2:]
                elif c == 0:
                    style = [None, None, 0, 0, 0, 0]
                elif c in (1, 3, 4, 7):
                    style[{1: 2, 3: 3, 4: 4, 7: 5}[c]] = 1
                elif c in (22, 23, 24, 27):
                    style[{22: 2, 23: 3, 24: 4, 27: 5}[c]] = 0
                elif 30 <= c <= 37 or 90 <= c <= 97:
                    style[0] = c - 30 if c < 90 else c - 82
                elif 40 <= c <= 47 or 100 <= c <= 107:
                    style[1] = c - 40 if c < 100 else c - 92
                elif c in (39, 49):
                    style[0 if c == 39 else 1] = None
        rows.append(row)
    return rows


def draw(capture, png):
    """Writes `capture` as a picture: black on white where the terminal's own colours show."""
    rows = cells(capture)
    mvg = ['font-size 16', 'font WenQuanYi-Zen-Hei-Mono']
    for y, row in enumerate(rows):
        for x, (ch, (fore, back, bold, _, underline, reverse)) in enumerate(row):
            if not ch:
                continue
            fg = xterm(fore) if fore is not None else (0, 0, 0)
            bg = xterm(back) if back is not None else (255, 255, 255)
            if reverse:
                fg, bg = bg, fg
            mvg.append('fill rgb%s rectangle %d,%d %d,%d' % (
                bg, x * CELL_W, y * CELL_H, (x + 1 + (width(ch) == 2)) * CELL_W - 1,
                (y + 1) * CELL_H - 1))
            if ch.strip():
                text = ch.replace('\\', '\\\\').replace("'", "\\'")
                mvg.append("fill rgb%s font-weight %d text %d,%d '%s'" % (
                    fg, 700 if bold else 400, x * CELL_W, y * CELL_H + 15, text))
            if underline:
                mvg.append('fill rgb%s rectangle %d,%d %d,%d' % (
                    fg, x * CELL_W, y * CELL_H + 18, (x + 1) * CELL_W - 1, y * CELL_H + 18))
    size = '%dx%d' % (80 * CELL_W, len(rows) * CELL_H)
    subprocess.run(['convert', '-size', size, 'xc:white', '-draw', '\n'.join(mvg), png], check=True)


if __name__ == '__main__':
    with open(sys.argv[1], encoding='utf-8') as f:
        draw(f.read().rstrip('\n'), sys.argv[2])
