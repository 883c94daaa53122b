"""Where the window's controls are and what their colours mean, in client pixels.

Positions come from the window's design in twips (15 twips to a pixel at 96 dpi), so a
test clicks where a person sees a control and looks where the design paints it. Nothing
here asks the program where anything is. Shared by the Linux and the Wine checks.
"""

TWIPS_PER_PIXEL = 15

# Colours as RGB, from the design's 0xBBGGRR values.
LIGHT_BLUE = (192, 192, 255)  # 0xFFC0C0, a 0 bit and every cell at start
RED = (255, 0, 0)             # 0x0000FF, a 1 bit
SILVER = (192, 192, 192)      # 0xC0C0C0, a composer cell whose box was unticked


class Rect:
    """A control's rectangle in client pixels, made from its twips in the design. Each
    edge rounds to the nearest pixel, as the window places it; centre and corners are
    where to click and where to look for background colour."""

    def __init__(self, left, top, width, height, name=None):
        self.name = name  # what a screen reader calls it
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


def view_box(i):
    """Box i of the selection row (bit 0 rightmost)."""
    return Rect(9480 - 300 * i, 1680, 255, 255)


def set_box(i):
    """Box i of the composer row: box 0 at 9480, the others 310 and then 300 apart."""
    return Rect(9480 if i == 0 else 9470 - 300 * i, 3720, 195, 195)


def view_cell(i):
    return Rect(9480 - 300 * i, 1320, 255, 255)


def set_cell(i):
    return Rect(9420 if i == 0 else 9410 - 300 * i, 3375, 255, 255)


DATA_IN = Rect(960, 600, 2295, 330, '数据输入')            # txtDataIn
SELECT_RANGE = Rect(4680, 600, 1095, 375, '选择位范围')    # txtSelectRang
SELECT = Rect(5967, 600, 1222, 375)          # "Select"
CLEAR_SELECT = Rect(7371, 585, 1105, 375)    # "Clear Select"
CLEAR_SET = Rect(8658, 585, 1066, 364)       # "Clear Set"
SET_BINARY = Rect(702, 4160, 5161, 416, '比特设置 二进制')  # TxtBitSetBinary
SET_HEX = Rect(6669, 4147, 3055, 429, '比特设置 Hex')      # TxtBitSetHex
CLIENT = (662, 341)
CLOCK = Rect(5805, 4800, 4095, 300)          # Label3: the only part that changes by itself

NAMED = {'txtDataIn': DATA_IN, 'txtSelectRang': SELECT_RANGE, '"Select"': SELECT,
         '"Clear Select"': CLEAR_SELECT, '"Clear Set"': CLEAR_SET, 'TxtBitSetBinary': SET_BINARY,
         'TxtBitSetHex': SET_HEX, 'LblBitSelected': Rect(600, 2040, 5295, 375),
         'lblBitSelectedHex': Rect(6600, 2040, 3135, 375), 'Label2': Rect(0, 4800, 5775, 300),
         'Label3': CLOCK}


def name_at(point):
    """The control the design puts under a client pixel, for failure messages."""
    for i in range(32):
        for name, rect in (('LblBitInfo', view_cell(i)), ('BitCheck', view_box(i)),
                           ('LblBitSetInfo', set_cell(i)), ('BitSetCheck', set_box(i))):
            if point in rect:
                return '%s(%d)' % (name, i)
    return next((name for name, rect in NAMED.items() if point in rect), 'the background')


def close_to(rgb, want, tolerance=8):
    return all(abs(a - b) <= tolerance for a, b in zip(rgb, want))


def colour_name(rgb):
    for name, want in (('light blue', LIGHT_BLUE), ('red', RED), ('silver', SILVER)):
        if close_to(rgb, want):
            return name
    return 'rgb%s' % (tuple(rgb),)


def cell_colour(session, shot, rect):
    """The background colour of a cell when all four corners agree, else 'mixed'."""
    names = {colour_name(session.pixel(shot, x, y)) for x, y in rect.corners()}
    return names.pop() if len(names) == 1 else 'mixed: ' + ', '.join(sorted(names))


def box_ticked(session, shot, rect):
    """A ticked box has a dark check mark in the middle of its indicator; an unticked one
    is light all over inside its frame."""
    cx, cy = rect.centre
    dark = 0
    for dx in range(-3, 4):
        for dy in range(-3, 4):
            r, g, b = session.pixel(shot, cx + dx, cy + dy)
            dark += (r + g + b) < 300
    return dark >= 4


def row_colours(session, shot, cell=view_cell):
    """The colours of cells 31 down to 0, as a person reads the row."""
    return [cell_colour(session, shot, cell(i)) for i in range(31, -1, -1)]


def row_ticks(session, shot, box=view_box):
    """The ticked boxes of a row, as a set of bit numbers."""
    return {i for i in range(32) if box_ticked(session, shot, box(i))}
