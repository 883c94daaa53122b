"""Writes the page's @font-face rules, which index.html carries inline: the faces the Linux
program draws with, cut down to the characters the program can show, as WOFF data URLs (a
page opened from a file may load fonts no other way). The characters are printable ASCII
(captions, typed hex, the clock), every other character in the u"..." literals of the SOURCE
files (captions, messages, names) and the day periods a Chinese clock shows. Each subset names
itself as changed in its description, as the faces' licences ask.

usage: subset_fonts.py OUT.css SOURCE...
"""
import base64
import io
import logging
import re
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

FACES = [  # family, weight, file (the first font of a collection)
    ('pelmora-sans', 'normal', '/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf'),
    ('pelmora-sans', 'bold', '/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf'),
    ('pelmora-kai', 'normal', '/usr/share/fonts/truetype/arphic-gkai00mp/gkai00mp.ttf'),
    ('pelmora-hei', 'normal', '/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc'),
]
NOTICE = ('Changed by the Pelmora page build, each time it builds: subset to the characters '
          'the page shows. Outlines and metrics unchanged.')


def characters(sources):
    text = ''.join(chr(c) for c in range(0x20, 0x7F)) + '上午下午'
    for path in sources:
        with open(path, encoding='utf-8') as f:
            text += ''.join(re.findall(r'u"([^"]*)"', f.read()))
    return sorted(set(text))


def woff(path, text):
    font = TTFont(path, fontNumber=0, recalcTimestamp=False)
    subsetter = subset.Subsetter(subset.Options(flavor='woff', hinting=False, desubroutinize=True))
    subsetter.populate(text=''.join(text))
    subsetter.subset(font)
    font['name'].setName(NOTICE, 10, 3, 1, 0x409)
    font.flavor, out = 'woff', io.BytesIO()
    font.save(out, reorderTables=True)
    return out.getvalue()


def main(out, *sources):
    logging.disable(logging.WARNING)  # tables it cannot cut are dropped, as it says
    text = characters(sources)
    with open(out, 'w', encoding='ascii') as f:
        for family, weight, path in FACES:
            data = base64.b64encode(woff(path, text)).decode('ascii')
            f.write('@font-face { font-family: %s; font-weight: %s; src: url(data:font/woff;'
                    'base64,%s) format("woff"); }\n' % (family, weight, data))


if __name__ == '__main__':
    main(*sys.argv[1:])
