"""What a person does with the window and what they must then see, written once for every
front end. A scenario is a list of steps; a step is a tuple (verb, arguments...) of STEPS
below, or a function of the driver for the few that are more than a sequence. Each
scenario starts from a freshly started program and ends with no message box open.

A scenario needs the capabilities (NEEDS) of its steps; a front end whose driver lacks
one skips it, saying why.
"""
from driver import expect
from scenario_checks import (accessible_names, captions, clock, first_frame, heard, line_breaks,
                             wayland, window)
from window_layout import (BAD_RANGE, CLOCK, ENTRY, NOT_HEX, OVER_LENGTH, RANGE, SET, SET_BINARY,
                           SET_HEX, VIEW, VIEW_BINARY, VIEW_HEX, bits, box)

NEEDS = {'text': 'reading text boxes and labels', 'messages': "reading a message box's text",
         'paste': 'pasting', 'nul': 'pasting a NUL', 'scripts': 'typing what a US keyboard lacks',
         'megabyte': 'pasting a megabyte',
         'live': 'reading the live region', 'names': 'accessible names',
         'window': "the window's size and taskbar icons", 'command_line': 'a command line',
         'pictures': 'reference pictures', 'scale2': 'drawing at twice the density',
         'screen_reader': 'a screen reader', 'wayland': 'a Wayland desktop',
         'first_frame': 'a first frame before the program runs',
         'chords': 'Enter with Alt, Ctrl or Shift',
         'glyphs': "the captions' glyphs in pixels"}
MEGABYTE = 1 << 20


def row(value):
    return bits(value) if isinstance(value, int) else value


def wait_text(d, name, want):
    d.wait_for(lambda: d.text(name) == want,
               lambda: '%s reads %r, expected %r' % (name, (d.text(name) or '')[:60], want[:60]))


# verb: (what it needs, what it does)
STEPS = {
    'click': ((), lambda d, name: d.click(name)),
    'type': ((), lambda d, name, text: (name and d.click(name), d.type(text))),
    'keys': ((), lambda d, *keys: d.key(*keys)),
    'paste': (('paste',), lambda d, name, text: d.paste(name, text)),
    'cells': ((), lambda d, r, want: d.wait_for(
        lambda: d.cells(r) == row(want),
        lambda: '%s cells read %s, expected %s' % (r, d.cells(r), row(want)), step='cells')),
    'ticks': ((), lambda d, r, want: d.wait_for(
        lambda: d.ticks(r) == want,
        lambda: '%s boxes ticked %s, expected %s' % (r, sorted(d.ticks(r)), sorted(want)))),
    'text': (('text',), wait_text),
    'length': (('text',), lambda d, name, want: d.wait_for(
        lambda: d.length(name) == want, lambda: '%s holds %s characters, expected %d'
        % (name, d.length(name), want), step='%s: %d characters' % (name, want))),
    'messages': (('messages',), lambda d, count, says: d.close_messages(count, says, 'messages')),
    'live': (('live',), lambda d, want: d.wait_for(
        lambda: d.live() == want, lambda: 'the live region says %r, expected %r' % (d.live(), want))),
    'picture': (('pictures',), lambda d, name, *masked: expect(
        not (problem := d.picture(name, masked)), '%s: %s' % (name, problem))),
}


def needs(steps):
    """What `steps` need beyond acting and looking, from their verbs and what they type:
    characters a US keyboard lacks, a NUL, a megabyte, Enter with a modifier."""
    found = set()
    for step in steps:
        if callable(step):
            found |= set(step.needs)
            continue
        found |= set(STEPS[step[0]][0])
        text = step[2] if step[0] in ('type', 'paste') else ''
        found |= {need for need, there in (('scripts', step[0] == 'type' and not text.isascii()),
                                           ('nul', '\0' in text), ('megabyte', len(text) > 100000),
                                           ('chords', step[0] == 'keys'
                                            and any(k.endswith('+Return') for k in step[1:])))
                  if there}
    return found


def run(d, steps):
    for step in steps:
        if callable(step):
            step(d)
        else:
            STEPS[step[0]][1](d, *step[1:])


def field(binary, hex_):
    return [('text', VIEW_BINARY, binary), ('text', VIEW_HEX, hex_)]


TYPE_1F = [('type', ENTRY, '1F'), ('cells', VIEW, 0x1F)]


def selection(text, how, ticked, readouts, message=None):
    """With 1F entered, `text` in the range box and "Select" pressed by `how`."""
    press = ('click', 'Select') if how == 'button' else ('keys', 'Return')
    return (TYPE_1F + [('type', RANGE, text), press]
            + ([('messages', 1, message)] if message else [])
            + [('ticks', VIEW, ticked)] + field(*readouts) + [('text', RANGE, text)])


MARKS = [('\u200f', 'a right-to-left mark'), ('\u202e', 'a right-to-left override'),
         ('中', 'a CJK character'), ('\U0001F600', 'an astral character')]
CONTROL_CHARACTERS, NUL_AMONG = '\x01\x02\x1b\x7f\x08\x1f', '\x01\x02\x1b\x7f\x00\x08'
SCENARIOS = {
    'start_up': [('cells', VIEW, 0), ('cells', SET, 0), ('ticks', VIEW, set()), ('ticks', SET, set())]
    + field('0B', '0H') + [('text', RANGE, ''), ('text', SET_BINARY, '0'), ('text', SET_HEX, '0'),
                           # The focus starts in the entry: keys typed straight away land there.
                           ('type', None, '1F'), ('cells', VIEW, 0x1F), ('text', ENTRY, '1F')],
    'window': [window],
    'type_1F': TYPE_1F,
    'not_hex_G': TYPE_1F + [('type', None, 'G'), ('messages', 1, NOT_HEX), ('text', ENTRY, '1F'),
                            ('cells', VIEW, 0x1F)],
    # 123, then G typed after the 1: the entry 1G23 loses its last character three times.
    'invalid_1G23': [('type', ENTRY, '123'), ('cells', VIEW, 0x123), ('keys', 'Home', 'Right'),
                     ('type', None, 'G'), ('messages', 3, NOT_HEX), ('cells', VIEW, 1),
                     ('text', ENTRY, '1')],
    'paste_1G23': [('paste', ENTRY, '1G23'), ('messages', 3, NOT_HEX), ('text', ENTRY, '1'),
                   ('cells', VIEW, 1)],
    'nine_characters': [('type', ENTRY, '12345678'), ('cells', VIEW, 0x12345678), ('type', None, '9'),
                        ('messages', 1, OVER_LENGTH), ('text', ENTRY, '123456789'),
                        ('cells', VIEW, 0x12345678)],
    'select_0_3_button': selection('0,3', 'button', {0, 1, 2, 3}, ('1111B', '0FH')),
    'select_0_3_enter': selection('0,3', 'enter', {0, 1, 2, 3}, ('1111B', '0FH')),
    'select_31_0': selection('31,0', 'button', set(range(32)), ('0' * 27 + '1' * 5 + 'B', '01FH')),
    'select_30_40': selection('30,40', 'button', {30, 31}, ('00B', '00H'), BAD_RANGE),
    'clear_select': selection('3,10', 'button', set(range(3, 11)), ('00000011B', '03H'))
    + [('click', 'Clear Select'), ('ticks', VIEW, set())] + field('0B', '00H') + [('cells', VIEW, 0x1F)],
    'composer_0_and_4': [('click', box(SET, 0)), ('click', box(SET, 4)), ('ticks', SET, {0, 4}),
                         ('cells', SET, 0b10001), ('text', SET_BINARY, '10001'), ('text', SET_HEX, '11')],
    # The cells of the unticked boxes turn silver; the others keep their light blue.
    'clear_set': [('click', box(SET, 3)), ('click', box(SET, 9)), ('ticks', SET, {3, 9}),
                  ('text', SET_HEX, '208'), ('click', 'Clear Set'), ('ticks', SET, set()),
                  ('cells', SET, '0' * 22 + 'S00000S000'), ('text', SET_BINARY, '0'), ('text', SET_HEX, '0')],
    # Tab from the entry reaches "Select", then selection box 0; Space presses each.
    'keyboard_only': [('type', None, '1F'), ('cells', VIEW, 0x1F), ('keys', 'Tab', 'space'),
                      ('messages', 1, BAD_RANGE), ('keys', 'Tab', 'space'), ('ticks', VIEW, {0})]
    + field('1B', '01H'),
    # Enter presses the default button; Space a clicked box; Tab leads from the range box
    # to "Clear Select".
    'tab_and_space': TYPE_1F + [('type', RANGE, '0,3'), ('keys', 'Return'), ('ticks', VIEW, {0, 1, 2, 3}),
                                ('click', box(SET, 5)), ('cells', SET, 0x20), ('keys', 'space'),
                                ('cells', SET, '0' * 26 + 'S' + '0' * 5), ('click', RANGE),
                                ('keys', 'Tab', 'space'), ('ticks', VIEW, set())],
    # A press on a label leaves the focus where it was, so Enter still presses Select.
    'label_keeps_focus': [('type', RANGE, '0,3'), ('click', VIEW_BINARY), ('keys', 'Return'),
                          ('ticks', VIEW, {0, 1, 2, 3})],
    # Enter with a modifier presses nothing; the box clicked after shows the keys were taken.
    'enter_chords': [('type', RANGE, '0,3'), ('keys', 'alt+Return', 'ctrl+Return', 'shift+Return'),
                     ('click', box(SET, 5)), ('cells', SET, 0x20), ('ticks', VIEW, set())],
    'clock': [clock],
    'live_region': TYPE_1F + [('live', '二进制 11111'), ('type', None, 'G'), ('messages', 1, NOT_HEX),
                              ('live', '二进制 11111'), ('type', RANGE, '0,3'), ('keys', 'Return'),
                              ('live', '1111B, 0FH'), ('click', 'Clear Select'), ('live', '0B, 00H'),
                              ('click', box(SET, 5)), ('live', '二进制 100000, Hex 20'),
                              ('click', 'Clear Set'), ('live', '二进制 0, Hex 0')],
    'accessible_names': [accessible_names],
    'screen_reader': [heard],
    'captions': [captions],
    'megabyte_data_in': TYPE_1F + [('paste', ENTRY, '0123456789ABCDEF' * (MEGABYTE // 16)),
                                   ('messages', 1, OVER_LENGTH), ('length', ENTRY, MEGABYTE),
                                   ('cells', VIEW, 0x1F), ('keys', 'ctrl+a'), ('type', None, '7'),
                                   ('cells', VIEW, 7)],
    'megabyte_select_range': [('paste', RANGE, '1234567890' * (MEGABYTE // 10) + ',3'),
                              ('length', RANGE, MEGABYTE // 10 * 10 + 2), ('click', 'Select'),
                              ('messages', 1, BAD_RANGE), ('ticks', VIEW, set()), ('click', RANGE),
                              ('keys', 'ctrl+a'), ('type', None, '0,3'), ('text', RANGE, '0,3'),
                              ('click', 'Select'),
                              ('ticks', VIEW, {0, 1, 2, 3})],
    'megabyte_set_binary': [('paste', SET_BINARY, '10' * (MEGABYTE // 2)), ('length', SET_BINARY, MEGABYTE),
                            ('cells', SET, 0), ('click', box(SET, 1)), ('text', SET_BINARY, '10')],
    'megabyte_set_hex': [('paste', SET_HEX, 'F' * MEGABYTE), ('length', SET_HEX, MEGABYTE),
                         ('cells', SET, 0), ('click', box(SET, 2)), ('text', SET_HEX, '4')],
    # Eight invalid characters: one message each as the entry gives them back, the deepest
    # the program ever nests.
    'invalid_flood': TYPE_1F + [('paste', ENTRY, ('G中!' * 3334)[:10000]), ('messages', 1, OVER_LENGTH),
                                ('paste', ENTRY, 'G' * 8), ('messages', 8, NOT_HEX), ('text', ENTRY, ''),
                                ('cells', VIEW, 0x1F)],
    # Six control characters after 1F go back one a message; nine characters are refused
    # whole and stay.
    'control_characters': [('paste', ENTRY, '1F' + CONTROL_CHARACTERS), ('messages', 6, NOT_HEX),
                           ('text', ENTRY, '1F'), ('cells', VIEW, 0x1F),
                           ('paste', ENTRY, 'A1F' + CONTROL_CHARACTERS), ('messages', 1, OVER_LENGTH),
                           ('text', ENTRY, 'A1F' + CONTROL_CHARACTERS), ('length', ENTRY, 9),
                           ('cells', VIEW, 0x1F), line_breaks],
    # The same with a NUL among them: a screen reader's text stops at it; the length
    # counts every character.
    'nul_character': [('paste', ENTRY, '1F' + NUL_AMONG), ('messages', 6, NOT_HEX),
                      ('text', ENTRY, '1F'), ('paste', ENTRY, 'A1F' + NUL_AMONG),
                      ('messages', 1, OVER_LENGTH), ('text', ENTRY, 'A1F' + NUL_AMONG[:4]),
                      ('length', ENTRY, 9), ('cells', VIEW, 0x1F)],
    # Each refused alone; a mark in front of 1F takes the whole entry, one character a message.
    'marks_and_scripts': TYPE_1F + [step for ch, _ in MARKS for step in (
        ('type', None, ch), ('messages', 1, NOT_HEX), ('text', ENTRY, '1F'))]
    + [('paste', ENTRY, '\u200f1F'), ('messages', 3, NOT_HEX), ('text', ENTRY, ''), ('cells', VIEW, 0x1F)],
    'wayland': [wayland],
    'first_frame': [first_frame],
    'picture_start_up': [('picture', 'start-up', CLOCK)],
    'picture_2x': [('picture', 'start-up', CLOCK)],
    # Bit 7 ticked and unticked again: its cell turns silver, which must stand apart from the
    # form's ground in every front end. The last click, on a label, takes the pointer off the
    # boxes, whose look under it depends on how it got there.
    'picture_1F_select_composer': TYPE_1F + [('type', RANGE, '0,3'), ('keys', 'Return'),
                                             ('ticks', VIEW, {0, 1, 2, 3}),
                                             *[('click', box(SET, bit)) for bit in (7, 5, 7)],
                                             ('click', VIEW_BINARY),
                                             ('cells', SET, '0' * 24 + 'S01' + '0' * 5),
                                             ('picture', '1F-select-0,3-composer-5-unticked-7', CLOCK)],
}
# The road a person takes first: what a run that cannot take long, such as one in an
# emulated machine, runs ("quick" on the command line).
QUICK = ['start_up', 'window', 'type_1F', 'not_hex_G', 'select_0_3_enter', 'tab_and_space',
         'captions', 'picture_start_up', 'picture_1F_select_composer']
# How a scenario's program is started, where it is not just started.
START = {'window': {'args': ['--no-such-option', '-style', 'windows'], 'needs': {'command_line'}},
         'picture_2x': {'scale': 2, 'needs': {'scale2'}},
         'screen_reader': {'screen_reader': True}}
