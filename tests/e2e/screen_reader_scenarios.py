"""What a blind person hears: Orca itself, beside the program, says each result once
without the focus moving: the analysed value after typing, the field after a box or
"Select", the composed value after a composer box. The person goes on only once Orca
has said what their last key or click brought, as one listening would."""
import window_layout as layout
from person import expect


def heard_results(p):
    orca = p.s.orca

    def then(act, heard, what):
        start = len(orca.said())
        act()
        p.wait_for(lambda: heard in orca.said()[start:],
                   lambda: '%s: Orca said %s, not %r' % (what, orca.said()[start:], heard),
                   step='%s: %s' % (what, heard))

    # Without a window manager the window gets the X input focus by hand.
    then(lambda: p.s.focus(p.s.window), '数据输入 text.', 'the window')
    results = [('typing 1F', [(lambda: p.press('1'), '1 '), (lambda: p.press('F'), '二进制 11111')]),
               ('Tab to box 0, Space', [(lambda: p.press('Tab'), 'Select push button.'),
                                        (lambda: p.press('Tab'), '比特查看 第0位 check box not checked.'),
                                        (lambda: p.press('space'), '1B, 01H')]),
               ('composer box 5', [(lambda: p.click(layout.set_box(5)), '二进制 100000, Hex 20')]),
               # Orca says nothing of a click into a text box; the keys typed are heard.
               ('"Select" with 0,3', [(lambda: p.type_into(layout.SELECT_RANGE, '0,3'), '3 '),
                                      (lambda: p.press('Return'), '1111B, 0FH')]),
               # Not a result: the speech of its focus change closes the last stretch.
               ('Tab to "Clear Select"', [(lambda: p.press('Tab'), 'Clear Select push button.')])]
    starts = []
    for what, steps in results:
        starts.append(len(orca.said()))
        for act, heard in steps:
            then(act, heard, what)
    said = orca.said()
    for (what, steps), start, end in zip(results, starts, starts[1:]):
        p.log('  %-30s %s' % (what, said[start:end]))
        result = steps[-1][1]
        expect(said[start:end].count(result) == 1,
               '%s: %r said %d times' % (what, result, said[start:end].count(result)))
    p.no_message('screen reader')


heard_results.screen_reader = True

SCENARIOS = {'screen_reader': heard_results}
