"""The window through a screen reader: every box and cell of both rows is there under the
name the program gives it, where the screen shows it, and a cell's value follows the
entry."""
import window_layout as layout
from accessible_tree import is_checked, text_of
from person import expect

ROWS = (
    # name of bit i, role, where the design puts it
    ('比特查看 第{}位', 'check box', layout.view_box),
    ('比特设置 第{}位', 'check box', layout.set_box),
    ('比特查看 第{}位 数值', 'label', layout.view_cell),
    ('比特设置 第{}位 数值', 'label', layout.set_cell),
)


def on_screen_where_designed(p, node, rect, name):
    """The node's extents lie on the control the design places there."""
    e = node.queryComponent().getExtents(0)  # 0: screen coordinates
    cx, cy = e.x + e.width // 2 - p.s.origin[0], e.y + e.height // 2 - p.s.origin[1]
    expect(rect.x <= cx <= rect.x + rect.w and rect.y <= cy <= rect.y + rect.h,
           '"%s" is at (%d,%d) %dx%d; the design puts it at (%d,%d) %dx%d'
           % (name, e.x, e.y, e.width, e.height, rect.x, rect.y, rect.w, rect.h))


def every_bit_named(p):
    app = p.a11y
    found = 0
    for pattern, role, rect_of in ROWS:
        for i in range(32):
            name = pattern.format(i)
            node = app.require(name, role)
            on_screen_where_designed(p, node, rect_of(i), name)
            if role == 'check box':
                expect(not is_checked(node), '"%s" is ticked at start' % name)
            else:
                value = text_of(node)
                expect(value == '0', '"%s" reads %r at start, expected "0"' % (name, value))
            found += 1
    p.log('  %d boxes and cells found by name' % found)

    # Typing 1F (the focus starts in the entry) changes what the cells say.
    cell = {i: app.require('比特查看 第{}位 数值'.format(i), 'label') for i in range(32)}
    p.press('1', 'F')
    want = {i: '1' if i < 5 else '0' for i in range(32)}
    read = lambda: {i: text_of(node) for i, node in cell.items()}
    p.wait_for(lambda: read() == want, lambda: 'after 1F the cells read %s'
               % ''.join(read()[i] or '?' for i in range(31, -1, -1)))
    entry = app.require('数据输入', 'text')
    expect(text_of(entry) == '1F', 'the entry reads %r' % text_of(entry))

    # A click on a box is heard as a tick.
    for pattern, rect_of in (('比特查看 第{}位', layout.view_box), ('比特设置 第{}位', layout.set_box)):
        box = app.require(pattern.format(3), 'check box')
        p.click(rect_of(3))
        p.wait_for(lambda: is_checked(box), '"%s" is not ticked after a click' % pattern.format(3))
    p.no_message('accessibility tree')


SCENARIOS = {'accessibility_tree': every_bit_named}
