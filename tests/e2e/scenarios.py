"""What a person does with the window, and what they must see: one function a scenario.

Each scenario gets a freshly started program on its own X display (see run_scenario.py)
and a Person to drive it. Nothing here asks the program's core; every check reads the
screen, the clipboard or the accessibility tree.
"""
import re
import time

import window_layout as layout
from person import bits, expect


def start_up(p):
    """Started with options it does not know: the program takes no command line."""
    expect(p.s.size_shown == (662, 341), 'the client is %dx%d' % p.s.size_shown)
    icons = p.s.icon_sizes(p.s.window)
    expect((16, 16) in icons and (48, 48) in icons,
           'the taskbar icons are %s, not 16 and 48 px among them' % icons)
    shot = p.shot()
    expect(p.cells(shot) == '0' * 32, 'analysis cells at start: ' + p.cells(shot))
    expect(p.cells(shot, layout.set_cell) == '0' * 32,
           'composer cells at start: ' + p.cells(shot, layout.set_cell))
    expect(not p.ticks(shot) and not p.ticks(shot, layout.set_box), 'a box is ticked at start')
    expect(p.label('比特查看 二进制') == '0B' and p.label('比特查看 Hex') == '0H',
           'field readouts at start: %s %s' % (p.label('比特查看 二进制'), p.label('比特查看 Hex')))
    # The focus starts in the entry: keys typed straight away land there.
    p.press('1', 'F')
    p.wait_for_cells(bits(0x1F), 'typing 1F without clicking')
    for rect, want in ((layout.SELECT_RANGE, ''), (layout.SET_BINARY, '0'), (layout.SET_HEX, '0'),
                       (layout.DATA_IN, '1F')):
        got = p.text_of(rect)
        expect(got == want, 'text box at (%d,%d) shows %r, expected %r' % (rect.x, rect.y, got, want))
    p.no_message('start-up')


def type_1F(p):
    p.enter()
    shot = p.shot()
    expect(layout.cell_colour(p.s, shot, layout.view_cell(4)) == 'red', 'cell 4 is not red')
    expect(layout.cell_colour(p.s, shot, layout.view_cell(5)) == 'light blue', 'cell 5 not light blue')
    p.no_message('1F')


def invalid_in_the_middle(p):
    """123, then G typed after the 1: the entry 1G23 loses its last character three times."""
    p.enter('123')
    p.press('Home', 'Right')
    typed = time.monotonic()
    p.s.type('G')
    p.close_messages(3, '请正确输入16进制数', '1G23', since=typed)
    p.wait_for_cells(bits(1), '1G23 shrinks to 1')
    got = p.text_of(layout.DATA_IN)
    expect(got == '1', '1G23 leaves %r in the entry' % got)
    p.no_message('1G23')


def nine_characters(p):
    p.enter('12345678')
    typed = time.monotonic()
    p.s.type('9')
    p.close_messages(1, '不处理超过32bit的数据', 'ninth character', since=typed)
    got = p.text_of(layout.DATA_IN)
    expect(got == '123456789', 'the entry keeps %r, expected all nine characters' % got)
    p.wait_for_cells(bits(0x12345678), 'nine characters keep the earlier value')
    p.no_message('nine characters')


def field(p):
    return p.label('比特查看 二进制'), p.label('比特查看 Hex')


def expect_field(p, want, what):
    p.wait_for(lambda: field(p) == want,
               lambda: '%s: readouts %s, expected %s' % (what, field(p), want))


def selection(range_text, how, ticked, readouts, message=None):
    """With 1F entered, `range_text` typed into the range box and "Select" pressed by
    `how` ('button' or 'enter'): the boxes `ticked`, the field `readouts`, the message if
    one comes, and the range box left as typed."""
    def scenario(p):
        p.enter()
        what = 'Select %s by %s' % (range_text, how)
        p.type_into(layout.SELECT_RANGE, range_text)
        pressed = time.monotonic()
        if how == 'enter':
            p.press('Return')
        else:
            p.click(layout.SELECT)
        if message:
            p.close_messages(1, message, what, since=pressed)
        p.wait_for_ticks(ticked, what)
        expect_field(p, readouts, what)
        got = p.text_of(layout.SELECT_RANGE)
        expect(got == range_text, '%s: the range box now shows %r' % (what, got))
        p.no_message(what)
    return scenario


def clear_select(p):
    selection('3,10', 'button', set(range(3, 11)), ('00000011B', '03H'))(p)
    p.click(layout.CLEAR_SELECT)
    p.wait_for_ticks(set(), 'Clear Select')
    expect_field(p, ('0B', '00H'), 'Clear Select')
    p.wait_for_cells(bits(0x1F), 'Clear Select keeps the value')
    p.no_message('Clear Select')


def composer_boxes(p):
    p.click(layout.set_box(0))
    p.click(layout.set_box(4))
    p.wait_for_ticks({0, 4}, 'composer boxes 0 and 4', box=layout.set_box)
    p.wait_for_cells('0' * 27 + '10001', 'composer cells', cell=layout.set_cell)
    got = (p.text_of(layout.SET_BINARY), p.text_of(layout.SET_HEX))
    expect(got == ('10001', '11'), 'composer boxes 0 and 4 show %s' % (got,))
    p.no_message('composer')


def clear_set(p):
    for i in (3, 9):
        p.click(layout.set_box(i))
    p.wait_for_ticks({3, 9}, 'composer boxes 3 and 9', box=layout.set_box)
    expect(p.text_of(layout.SET_HEX) == '208', 'boxes 3 and 9 do not show 208')
    p.click(layout.CLEAR_SET)
    p.wait_for_ticks(set(), 'Clear Set', box=layout.set_box)
    # The cells of the unticked boxes turn silver; the others keep their light blue.
    want = ''.join('S' if i in (3, 9) else '0' for i in range(31, -1, -1))
    p.wait_for_cells(want, 'Clear Set', cell=layout.set_cell)
    got = (p.text_of(layout.SET_BINARY), p.text_of(layout.SET_HEX))
    expect(got == ('0', '0'), 'after Clear Set the composer shows %s' % (got,))
    p.no_message('Clear Set')


def keyboard_only(p):
    """Tab from the entry reaches "Select", then selection box 0; space presses each."""
    p.press('1', 'F')
    p.wait_for_cells(bits(0x1F), '1F')
    pressed = time.monotonic()
    p.press('Tab', 'space')
    p.close_messages(1, '输入查看位范围有错', 'Select by keyboard with no range', since=pressed)
    p.press('Tab', 'space')
    p.wait_for_ticks({0}, 'box 0 by keyboard')
    expect_field(p, ('1B', '01H'), 'box 0 by keyboard')
    p.no_message('keyboard only')


TIME_OF_DAY = re.compile(r'\d{1,2}:\d\d:\d\d')


def clock(p):
    """The clock shows the time of day, no date, and goes on. (How often it ticks is read
    off the timer in the Qt tests; here only what a person sees.)"""
    first = p.label('时间')
    expect(first == 'Label3' or TIME_OF_DAY.search(first), 'the clock first shows %r' % first)
    shown = p.wait_for(lambda: TIME_OF_DAY.search(p.label('时间')) and p.label('时间'),
                       lambda: 'the clock shows no time of day: %r' % p.label('时间'))
    expect(not re.search(r'\d{4}|/|\d-\d', shown), 'the clock shows a date: %r' % shown)
    p.wait_for(lambda: p.label('时间') != shown, 'the clock stays at %r' % shown)


start_up.args = ['--no-such-option', '-style', 'windows']

SCENARIOS = {
    'start_up': start_up,
    'type_1F': type_1F,
    'invalid_1G23': invalid_in_the_middle,
    'nine_characters': nine_characters,
    'select_0_3_button': selection('0,3', 'button', {0, 1, 2, 3}, ('1111B', '0FH')),
    'select_0_3_enter': selection('0,3', 'enter', {0, 1, 2, 3}, ('1111B', '0FH')),
    'select_31_0': selection('31,0', 'button', set(range(32)), ('0' * 27 + '1' * 5 + 'B', '01FH')),
    'select_30_40': selection('30,40', 'button', {30, 31}, ('00B', '00H'), '输入查看位范围有错'),
    'clear_select': clear_select,
    'composer_0_and_4': composer_boxes,
    'clear_set': clear_set,
    'clock': clock,
    'keyboard_only': keyboard_only,
}
