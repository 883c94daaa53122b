"""The window as a person meets it: its title, its messages, where each control is and
what its colours mean, in client pixels at 96 dpi. Defined here once for every Python
test.

Positions come from the window's design in twips (15 twips to a pixel), so a test clicks
where a person sees a control and looks where the design paints it. Nothing here asks the
program where anything is. Controls are named as a screen reader calls them.
"""
import re

WINDOW_TITLE = 'Pelmoria'
MESSAGE_TITLE = '出错'
OVER_LENGTH, NOT_HEX, BAD_RANGE = '不处理超过32bit的数据', '请正确输入16进制数', '输入查看位范围有错'
MESSAGES = {OVER_LENGTH, NOT_HEX, BAD_RANGE}
TWIPS_PER_PIXEL = 15

# Colours as RGB, from the design's 0xBBGGRR values.
LIGHT_BLUE = (192, 192, 255)  # 0xFFC0C0, a 0 bit and every cell at start
RED = (255, 0, 0)             # 0x0000FF, a 1 bit
SILVER = (192, 192, 192)      # 0xC0C0C0, a composer cell whose box was unticked


class Rect:
    """A control's rectangle in client pixels, made from its twips in the design. Each
    edge rounds to the nearest pixel, as the window places it; centre and corners are
    where to click and where to look for background colour."""

    def __init__(self, left, top, width, height):
        px = lambda twips: int(twips / TWIPS_PER_PIXEL + 0.5)
        self.x, self.y = px(left), px(top)
        self.w, self.h = px(left + width) - self.x, px(top + height) - self.y

    @property
    def centre(self):
        return (self.x + self.w // 2, self.y + self.h // 2)

    def __contains__(self, point):
        return self.x <= point[0] < self.x + self.w and self.y <= point[1] < self.y + self.h

    def corners(self, inset=1):
        """Points just inside the corners: background, never the glyph in the middle."""
        x0, y0 = self.x + inset, self.y + inset
        x1, y1 = self.x + self.w - 1 - inset, self.y + self.h - 1 - inset
        return [(x0, y0), (x1, y0), (x0, y1), (x1, y1)]


VIEW, SET = '比特查看', '比特设置'  # the two rows, by the words their names start with
ENTRY, RANGE = '数据输入', '选择位范围'
SET_BINARY, SET_HEX, VIEW_BINARY, VIEW_HEX = SET + ' 二进制', SET + ' Hex', VIEW + ' 二进制', VIEW + ' Hex'
CLOCK = '时间'


def box(row, i):
    return '%s 第%d位' % (row, i)


def cell(row, i):
    return box(row, i) + ' 数值'


def bits(value):
    """A row as a person should read it for `value`, bit 31 first."""
    return format(value, '032b')


# (name, role, rectangle in twips or None) of every control a screen reader names.
CONTROLS = [(ENTRY, 'text box', (960, 600, 2295, 330)),
            (RANGE, 'text box', (4680, 600, 1095, 375)),
            ('Select', 'button', (5967, 600, 1222, 375)),
            ('Clear Select', 'button', (7371, 585, 1105, 375)),
            ('Clear Set', 'button', (8658, 585, 1066, 364)),
            (SET_BINARY, 'text box', (702, 4160, 5161, 416)),
            (SET_HEX, 'text box', (6669, 4147, 3055, 429)),
            (VIEW_BINARY, 'label', (600, 2040, 5295, 375)),
            (VIEW_HEX, 'label', (6600, 2040, 3135, 375)),
            (CLOCK, 'label', (5805, 4800, 4095, 300))]
for _i in range(32):
    # Box 0 of the composer at 9480, the others 310 and then 300 apart.
    _set_x = 9480 if _i == 0 else 9470 - 300 * _i
    CONTROLS += [(box(VIEW, _i), 'check box', (9480 - 300 * _i, 1680, 255, 255)),
                 (box(SET, _i), 'check box', (_set_x, 3720, 195, 195)),
                 (cell(VIEW, _i), 'label', (9480 - 300 * _i, 1320, 255, 255)),
                 (cell(SET, _i), 'label', (_set_x - 60, 3375, 255, 255)),
                 (box(VIEW, _i) + ' 位号', 'label', None), (box(SET, _i) + ' 位号', 'label', None)]
RECTS = {name: Rect(*twips) for name, _, twips in CONTROLS if twips}
ROLES = {name: role for name, role, _ in CONTROLS}
CLIENT = (662, 341)
CREDIT = Rect(0, 4800, 5775, 300)  # Label2, which has no name of its own


def rect(name):
    return RECTS[name]


def focus_frame(name):
    """A control with the frame the keyboard focus draws round it, as (x, y, w, h)."""
    r = RECTS[name]
    return (r.x - 1, r.y - 1, r.w + 2, r.h + 2)


def name_at(point):
    """The control the design puts under a client pixel, for failure messages."""
    return next((name for name, r in RECTS.items() if point in r),
                'the credit line' if point in CREDIT else 'the background')


def close_to(rgb, want, tolerance=8):
    return all(abs(a - b) <= tolerance for a, b in zip(rgb, want))


def colour_name(rgb):
    for name, want in (('light blue', LIGHT_BLUE), ('red', RED), ('silver', SILVER)):
        if close_to(rgb, want):
            return name
    return 'rgb%s' % (tuple(rgb),)


def cell_colour(eyes, shot, r):
    """The background colour of a cell when all four corners agree, else 'mixed'."""
    names = {colour_name(eyes.pixel(shot, x, y)) for x, y in r.corners()}
    return names.pop() if len(names) == 1 else 'mixed: ' + ', '.join(sorted(names))


def box_ticked(eyes, shot, r):
    """A ticked box has a mark in the middle of its indicator, dark or coloured (a black
    check, a blue one while the mouse is over it, a white one on a blue box); an unticked
    one is white or grey there."""
    cx, cy = r.centre
    marked = sum(sum(rgb) < 450 or max(rgb) - min(rgb) > 60
                 for rgb in (eyes.pixel(shot, cx + dx, cy + dy)
                             for dx in range(-3, 4) for dy in range(-3, 4)))
    return marked >= 4


TIME_OF_DAY = re.compile(r'\d{1,2}:\d\d:\d\d')
