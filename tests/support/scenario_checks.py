"""The scenarios that are more than a list of steps: the clock, a paste that settles,
accessible names, what a screen reader says, the captions' glyphs, a first frame and the
Wayland twin. Each is a function of a Driver, marked with the capabilities it needs
beyond acting and looking; scenarios.py puts them in the table.
"""
import re
import time

import window_layout as layout
from driver import expect
from window_layout import (CLOCK, ENTRY, MESSAGES, NOT_HEX, RANGE, SET, TIME_OF_DAY, VIEW, bits,
                           box)


def with_needs(*capabilities):
    def mark(function):
        function.needs = capabilities
        return function
    return mark


@with_needs('window')
def window(d):
    size, icons = d.window()
    expect(size == layout.CLIENT, 'the client is %dx%d' % size)
    expect((16, 16) in icons and any(w >= 32 for w, _ in icons),
           'the taskbar icons are %s: no 16 px and larger one among them' % icons)


@with_needs('text', 'messages')
def clock(d):
    """The time of day, no date, going on; it stands still under a message box and goes on
    after it."""
    first = d.text(CLOCK)
    expect(first == 'Label3' or TIME_OF_DAY.search(first), 'the clock first shows %r' % first)
    shown = d.wait_for(lambda: TIME_OF_DAY.search(d.text(CLOCK)) and d.text(CLOCK),
                       lambda: 'the clock shows no time of day: %r' % d.text(CLOCK))
    expect(not re.search(r'\d{4}|/|\d-\d', shown), 'the clock shows a date: %r' % shown)
    d.wait_for(lambda: d.text(CLOCK) != shown, 'the clock stays at %r' % shown)
    d.click(ENTRY)
    d.type('G')
    d.wait_for(d.message, 'no message box for G')
    frozen, seen = d.text(CLOCK), set()
    d.wait_for(lambda: seen.add(time.strftime('%H:%M:%S')) or len(seen) >= 3,
               'the time of day stands still')  # the wall clock goes on twice meanwhile
    expect(d.text(CLOCK) == frozen, 'the clock ticked to %r under the message box' % d.text(CLOCK))
    d.close_messages(1, NOT_HEX, 'G')
    d.wait_for(lambda: d.text(CLOCK) != frozen, 'the clock does not go on after the message')


@with_needs('paste', 'text', 'messages')
def line_breaks(d):
    """Line breaks and a tab pasted into a one-line box: whatever the box keeps, only the
    design's messages, each refusal giving one character back until the entry settles on
    hex digits (or on more than eight characters, after the one message that brings)."""
    d.paste(ENTRY, '7\r\n8\t')
    texts = []
    while not (d.message() is None and d.length(ENTRY) is not None and (
            all(c in '0123456789ABCDEFabcdef' for c in d.text(ENTRY)) if d.length(ENTRY) <= 8 else texts)):
        expect(len(texts) < 4, 'line breaks and a tab: more than 4 messages')
        title, text, _ = d.wait_for(d.message, 'line breaks and a tab: the entry never settles')
        expect(text in MESSAGES, 'line breaks and a tab bring %r' % text)
        texts.append(text)
        d.close_messages(1, text, 'line breaks and a tab')


@with_needs('names')
def accessible_names(d):
    """Every control is there under its name and role, where the screen shows it; boxes
    start unticked, cells at 0, and a cell's value follows the entry."""
    for name, role, twips in layout.CONTROLS:
        found = d.named(name)
        expect(found and found[0] == role, '"%s" is %s, expected a %s' % (name, found, role))
        if twips and found[1]:
            x, y, w, h = found[1]
            expect((x + w // 2, y + h // 2) in layout.rect(name),
                   '"%s" is at %s, not where the design puts it' % (name, found[1]))
        if role == 'check box' or name.endswith('数值'):
            expect(found[2] in (False, '0'), '"%s" reads %r at start' % (name, found[2]))
    d.type('1F')
    read = lambda: ''.join(d.text(layout.cell(VIEW, i)) or '?' for i in range(31, -1, -1))
    d.wait_for(lambda: read() == bits(0x1F), lambda: 'after 1F the cells read %s' % read())
    for r in (VIEW, SET):
        d.click(box(r, 3))
        d.wait_for(lambda: d.named(box(r, 3))[2] is True, '"%s" is not ticked after a click' % box(r, 3))


@with_needs('screen_reader')
def heard(d):
    """A blind person hears each result once, without the focus moving, and goes on only
    once the screen reader has said what their last key or click brought."""
    def then(act, heard, what):
        start = len(d.said())
        act()
        d.wait_for(lambda: heard in d.said()[start:], lambda: '%s: the screen reader said %s, not %r'
                   % (what, d.said()[start:], heard), step='%s: %s' % (what, heard))

    then(d.focus_window, '数据输入 text.', 'the window')
    key = lambda k: lambda: d.key(k)
    results = [('typing 1F', [(lambda: d.type('1'), '1 '), (lambda: d.type('F'), '二进制 11111')]),
               ('Tab to box 0, Space', [(key('Tab'), 'Select push button.'),
                                        (key('Tab'), '比特查看 第0位 check box not checked.'),
                                        (key('space'), '1B, 01H')]),
               ('composer box 5', [(lambda: d.click(box(SET, 5)), '二进制 100000, Hex 20')]),
               # Nothing is said of a click into a text box; the keys typed are heard.
               ('"Select" with 0,3', [(lambda: (d.click(RANGE), d.type('0,3')), '3 '),
                                      (key('Return'), '1111B, 0FH')]),
               # Not a result: the speech of its focus change closes the last stretch.
               ('Tab to "Clear Select"', [(key('Tab'), 'Clear Select push button.')])]
    starts = []
    for what, steps in results:
        starts.append(len(d.said()))
        for act, words in steps:
            then(act, words, what)
    said = d.said()
    for (what, steps), start, end in zip(results, starts, starts[1:]):
        d.log('  %-30s %s' % (what, said[start:end]))
        expect(said[start:end].count(steps[-1][1]) == 1, '%s: %r said %d times'
               % (what, steps[-1][1], said[start:end].count(steps[-1][1])))


# The Chinese captions in "MS Sans Serif", in twips.
SANS_CAPTIONS = {ENTRY: layout.Rect(117, 598, 858, 234), RANGE: layout.Rect(3510, 585, 975, 260),
                 '二进制': layout.Rect(0, 2040, 615, 375)}


def boxed_captions(d, shot):
    """Captions drawn as missing-glyph boxes: characters vary from row to row, a row of
    boxes repeats itself."""
    rows = lambda r: {tuple(sum(d.pixel(shot, x, y)) < 384 for x in range(r.x, r.x + r.w))
                      for y in range(r.y, r.y + r.h)}
    return [text for text, r in SANS_CAPTIONS.items() if sum(any(row) for row in rows(r)) < 5]


@with_needs('glyphs')
def captions(d):
    d.wait_for(lambda: not boxed_captions(d, d.shot()),
               lambda: 'captions drawn as boxes: %s' % ', '.join(boxed_captions(d, d.shot())))


@with_needs('first_frame', 'pictures')
def first_frame(d):
    """The first frame, before the program runs: the start-up picture but for the entry's
    focus, which comes with the program."""
    d.first_frame()
    problem = d.picture('start-up', (CLOCK, layout.focus_frame(ENTRY)))
    expect(not problem, 'the first frame: %s' % problem)


@with_needs('wayland')
def wayland(d):
    d.twin_on_wayland()


