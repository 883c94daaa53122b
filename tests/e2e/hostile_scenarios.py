"""Large and hostile input, as a person might paste or type it: the program must answer
each, show only its own messages and go on working."""
import time

import window_layout as layout
from person import DESIGN_MESSAGES, bits, expect

MEGABYTE = 1 << 20
OVER_LENGTH, NOT_HEX, BAD_RANGE = '不处理超过32bit的数据', '请正确输入16进制数', '输入查看位范围有错'


def read_back(p, rect, want_length, what):
    start = time.monotonic()
    got = p.text_of(rect)
    p.timed('%s: read the text back' % what, start)
    expect(len(got) == want_length, '%s: the box holds %d characters, expected %d'
           % (what, len(got), want_length))
    return got


def megabyte_data_in(p):
    p.enter()
    pasted = p.paste_into(layout.DATA_IN, b'0123456789ABCDEF' * (MEGABYTE // 16))
    p.close_messages(1, OVER_LENGTH, 'a megabyte of hex digits', since=pasted)
    read_back(p, layout.DATA_IN, MEGABYTE, 'a megabyte in the entry')
    p.wait_for_cells(bits(0x1F), 'the megabyte keeps the earlier value')
    p.press('ctrl+a')
    p.s.type('7')
    p.wait_for_cells(bits(7), 'typing over the megabyte')
    p.no_message('typing over the megabyte')


def megabyte_select_range(p):
    data = b'1234567890' * (MEGABYTE // 10) + b',3'
    p.paste_into(layout.SELECT_RANGE, data)
    p.wait_for(lambda: len(p.text_of(layout.SELECT_RANGE)) == len(data),
               'a megabyte in the range box')
    p.no_message('a megabyte in the range box')
    start = time.monotonic()
    p.click(layout.SELECT)
    p.close_messages(1, BAD_RANGE, 'Select with a megabyte range', since=start)
    expect(not p.ticks(), 'a megabyte range ticked boxes')
    p.click(layout.SELECT_RANGE)
    p.press('ctrl+a')
    p.s.type('0,3')
    p.click(layout.SELECT)
    p.wait_for_ticks({0, 1, 2, 3}, 'Select 0,3 after the megabyte')
    p.no_message('Select 0,3 after the megabyte')


def megabyte_composer(rect, pattern, box, want):
    def scenario(p):
        data = pattern * (MEGABYTE // len(pattern))
        p.paste_into(rect, data)
        p.wait_for(lambda: len(p.text_of(rect)) == len(data), 'a megabyte in a composer box')
        p.no_message('a megabyte in a composer box')
        expect(p.cells(cell=layout.set_cell) == '0' * 32, 'the paste changed composer cells')
        p.click(layout.set_box(box))
        p.wait_for_text(rect, want, 'ticking box %d after the megabyte' % box)
    return scenario


def invalid_flood(p):
    p.enter()
    junk = ('G中!' * 3334)[:10000]
    pasted = p.paste_into(layout.DATA_IN, junk.encode())
    p.close_messages(1, OVER_LENGTH, 'ten thousand invalid characters', since=pasted)
    # Eight invalid characters: one message for each as the entry gives them back, the
    # deepest the program ever nests.
    pasted = p.paste_into(layout.DATA_IN, b'GGGGGGGG')
    p.close_messages(8, NOT_HEX, 'eight invalid characters', since=pasted)
    expect(p.text_of(layout.DATA_IN) == '', 'eight invalid characters leave text behind')
    p.wait_for_cells(bits(0x1F), 'an emptied entry keeps the earlier value')
    p.no_message('eight invalid characters')


def control_characters(p):
    controls = '\x01\x02\x1b\x7f\x00\x08'
    # Eight characters, six of them control characters: one message for each as the entry
    # gives them back, down to 1F.
    pasted = p.paste_into(layout.DATA_IN, ('1F' + controls).encode())
    p.close_messages(6, NOT_HEX, 'control characters after 1F', since=pasted)
    expect(p.text_of(layout.DATA_IN) == '1F', 'control characters are not all taken back')
    p.wait_for_cells(bits(0x1F), 'the entry after control characters')
    # Nine characters are refused whole and stay as pasted.
    pasted = p.paste_into(layout.DATA_IN, ('A1F' + controls).encode())
    p.close_messages(1, OVER_LENGTH, 'nine characters with control characters', since=pasted)
    # A screen reader's text stops at the NUL; the length still counts every character.
    got, length = p.text_of(layout.DATA_IN), p.text_length(layout.DATA_IN)
    expect(got == 'A1F' + controls[:controls.index('\x00')] and length == 9,
           'the refused entry shows %r, %d characters' % (got, length))
    p.wait_for_cells(bits(0x1F), 'a refused entry keeps the value')
    # Line breaks in a one-line box: whatever the box keeps, only the design's messages.
    p.paste_into(layout.DATA_IN, b'7\r\n8\t')
    texts = close_until_settled(p, 'line breaks and a tab', 4)
    expect(set(texts) <= DESIGN_MESSAGES, 'line breaks and a tab: %s' % texts)


def close_until_settled(p, what, limit):
    """Closes message windows until the entry settles, at most `limit` of them. The entry
    has settled when it holds hex digits only (each refusal gives one back, the last one
    after its message), or more than eight characters after the one message that brings.
    Before the paste the entry must hold text that has not settled, as a refused one."""
    texts = []

    def settled():
        left = p.text_of(layout.DATA_IN)
        return not p.s.messages() and (
            all(c in '0123456789ABCDEFabcdef' for c in left) if len(left) <= 8 else texts)

    while not settled():
        expect(len(texts) < limit, '%s: more than %d messages' % (what, limit))
        texts.append(p.close_message(what))
    p.no_message(what)
    return texts


def marks_and_scripts(p):
    p.enter()
    for ch, name in (('\u200f', 'a right-to-left mark'), ('\u202e', 'a right-to-left override'),
                     ('中', 'a CJK character'), ('\U0001F600', 'an astral character')):
        typed = time.monotonic()
        p.s.type(ch)
        p.close_messages(1, NOT_HEX, name, since=typed)
        got = p.text_of(layout.DATA_IN)
        expect(got == '1F', '%s leaves %r in the entry' % (name, got))
    # A mark in front: the whole entry goes, one character a message.
    pasted = p.paste_into(layout.DATA_IN, '\u200f1F'.encode())
    p.close_messages(3, NOT_HEX, 'a mark in front of 1F', since=pasted)
    expect(p.text_of(layout.DATA_IN) == '', 'a mark in front of 1F leaves text')
    p.wait_for_cells(bits(0x1F), 'the row after the mark')
    p.no_message('a mark in front of 1F')


SCENARIOS = {
    'megabyte_data_in': megabyte_data_in,
    'megabyte_select_range': megabyte_select_range,
    'megabyte_set_binary': megabyte_composer(layout.SET_BINARY, b'10', 1, '10'),
    'megabyte_set_hex': megabyte_composer(layout.SET_HEX, b'F', 2, '4'),
    'invalid_flood': invalid_flood,
    'control_characters': control_characters,
    'marks_and_scripts': marks_and_scripts,
}
