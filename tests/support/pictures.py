"""The one picture comparer: a front end's client area against a reference PNG, pixel for
pixel, leaving out masked rectangles (the clock, a caret). Used by every front end's
picture scenarios and by the Wayland twin. ImageMagick reads and writes the files.
"""
import os
import subprocess

import window_layout as layout
from display import last_until


def read_png(path):
    """A PNG's pixels as 8-bit RGB bytes."""
    return subprocess.run(['convert', str(path), '-depth', '8', 'rgb:-'], capture_output=True,
                          check=True).stdout


def write_png(path, width, height, rgb):
    subprocess.run(['convert', '-size', '%dx%d' % (width, height), '-depth', '8', 'rgb:-',
                    str(path)], input=rgb, check=True)


def differing(rgb, want, width, masked=()):
    """The pixels (x, y) where two pictures `width` pixels wide differ, outside the
    `masked` (x, y, w, h) rectangles."""
    stride, wrong = width * 3, []
    for y in range(len(want) // stride):
        row, wanted = rgb[y * stride:(y + 1) * stride], want[y * stride:(y + 1) * stride]
        if row != wanted:
            wrong += [(x, y) for x in range(width)
                      if row[x * 3:x * 3 + 3] != wanted[x * 3:x * 3 + 3]
                      and not any(mx <= x < mx + mw and my <= y < my + mh
                                  for mx, my, mw, mh in masked)]
    return wrong


def compare(driver, reference, masked=()):
    """Waits for `driver`'s client, at its scale, to look like `reference` outside the
    `masked` control names. Returns None when it does, else where it differs, with the
    rendering and a diff left beside the reference. PELMORA_RENEW_PICTURES=1 writes the
    rendering as the new reference instead, where it differs. A mask is a control's name or
    (x, y, w, h)."""
    s = driver.scale
    rects = [m if isinstance(m, tuple) else (lambda r: (r.x, r.y, r.w, r.h))(layout.rect(m))
             for m in masked]
    boxes = [tuple(n * s for n in r) for r in rects]
    renew = os.environ.get('PELMORA_RENEW_PICTURES') == '1'
    want = read_png(reference) if os.path.exists(reference) or not renew else b''
    if renew:  # a reference that still matches stays, its masked clock with it
        width, height, rgb = driver.client_picture()
        if len(rgb) != len(want) or differing(rgb, want, width, boxes):
            write_png(reference, width, height, rgb)
        return None
    width, height, rgb = last_until(driver.client_picture,
                                    lambda got: not differing(got[2], want, got[0], boxes))
    wrong = differing(rgb, want, width, boxes)
    if len(rgb) != len(want):
        return 'the client is %dx%d, the reference is not' % (width, height)
    if not wrong:
        return None
    base = str(reference)[:-len('.png')]
    write_png(base + '.actual.png', width, height, rgb)
    subprocess.run(['compare', str(reference), base + '.actual.png', base + '.diff.png'],
                   capture_output=True)
    xs, ys = [p[0] for p in wrong], [p[1] for p in wrong]
    return ('%d pixels differ within (%d,%d) %dx%d, the first at %s on %s; see %s.actual.png '
            'and .diff.png' % (len(wrong), min(xs), min(ys), max(xs) - min(xs) + 1,
                               max(ys) - min(ys) + 1, wrong[0],
                               layout.name_at((wrong[0][0] // s, wrong[0][1] // s)), base))
