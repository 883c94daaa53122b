#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus: short action sequences a person would try, in the
fuzzer's input format (see actions_fuzzer.cpp). Run it again after changing the format."""
import pathlib

HEX, TYPE, PASTE, BACK, CLEAR, BOX, RANGE, SELECT, ENTER, CLRSEL, CLRSET, TICK = range(12)
DATA, RANG, SETBIN, SETHEX = (0 << 4, 1 << 4, 2 << 4, 3 << 4)


def typed(text, box=DATA):
    return b''.join(bytes([TYPE | box, ch]) for ch in text.encode('latin-1'))


def paste(data, box=DATA, replace=False, long_kib=None):
    variant = (1 if replace else 0) | (2 if long_kib else 0)
    out = bytes([PASTE | box | variant << 6, len(data)]) + data
    return out + (bytes([long_kib - 1]) if long_kib else b'')


def box(index, composer=False):
    return bytes([BOX, index | (0x20 if composer else 0)])


def rng(form, a, b, enter=False):
    return bytes([RANGE | (0x40 if enter else 0), form, a, b])


def bound(n):  # small bounds, -4 to 43, are stored as n + 4 (see rangeText)
    return n + 4


SEEDS = {f'type-{hex}': typed(hex) for hex in ('1F', 'fff', 'FFFFFFFF', '80000000', '12345')}
SEEDS |= {
    'short-after-long': typed('12345') + bytes([CLEAR]) + typed('FF'),
    'nine-digits': typed('123456789'),
    'nine-then-backspace': typed('123456789') + bytes([BACK]),
    'invalid-G-after-1': typed('1G'),
    'invalid-middle-1G23': typed('1G23'),
    'invalid-low-part': typed('1234G678'),
    'sign-and-prefix': typed('-1') + bytes([CLEAR]) + typed('&H1F'),
    'blank-inside': typed('1 2'),
    'control-chars': typed('1\t\r\n\x00\x1b\x7f'),
    'rtl-marks': typed('A') + bytes([TYPE, 0x81, TYPE, 0x86, TYPE, 0x8C]),
    'cjk-and-fullwidth': typed('1') + bytes([TYPE, 0xA5, TYPE, 0x91]),
    'astral': typed('F') + bytes([TYPE, 0xC3, TYPE, 0xD1]),
    'lone-surrogates': typed('2') + bytes([TYPE, 0xE1, TYPE, 0xF2, TYPE, 0xF1]),
    'pair-from-halves': bytes([TYPE, 0xE0, TYPE, 0xF0, BACK]),
    'paste-valid': paste(b'DEADBEEF'),
    'paste-invalid-8': paste(b'12345678', replace=True) + paste(b'Z', replace=True),
    'paste-long-hex': paste(b'0123456789ABCDEF', long_kib=64),
    'paste-long-junk': paste(b'\x81z\xa0\xe3', long_kib=8) + bytes([BACK, CLEAR]) + typed('7'),
    'paste-long-range': paste(b'1,', box=RANG, long_kib=16) + bytes([SELECT]),
    'paste-composer-boxes': paste(b'xyz', box=SETBIN) + paste(b'\x82', box=SETHEX) + box(4, True),
    'select-0-3': typed('1F') + rng(0, bound(0), bound(3)),
    'select-0-3-enter': typed('1F') + rng(0, bound(0), bound(3), enter=True),
    'select-10-3': typed('1F') + rng(0, bound(10), bound(3)),
    'select-5': typed('1F') + rng(1, bound(5), 0),
    'select-31-0': typed('1F') + rng(0, bound(31), bound(0)),
    'select-30-40': typed('1F') + rng(0, bound(30), bound(40)),
    'select-minus1-3': rng(0, bound(-1), bound(3)),
    'select-empty': bytes([SELECT]) + rng(4, 0, 0),
    'select-missing-parts': rng(2, bound(3), 0) + rng(3, 0, bound(3)) + rng(0x20, 0, 0),
    'select-big-bounds': rng(0x18, 1, 0) + rng(0x08, 2, 3) + rng(0x10, 0, 4),
    'select-blanks-plus-comma': rng(6, bound(3), bound(9)) + rng(7, bound(2), bound(4)) + rng(5, bound(1), bound(2)),
    'select-leading-zeros': rng(0x40, bound(3), bound(5)),
    'select-twice-new-value': typed('1F') + rng(0, bound(0), bound(7)) + bytes([CLEAR]) + typed('F0') + bytes([SELECT]),
    'all-32-of-FFFFFFFF': typed('FFFFFFFF') + rng(0, bound(0), bound(31)),
    'boxes-2-3-5': typed('1F') + box(2) + box(3) + box(5),
    'boxes-0-and-31': typed('1F') + box(0) + box(31),
    'clear-select': typed('1F') + rng(0, bound(3), bound(10)) + bytes([CLRSEL, CLRSEL]),
    'composer-0-and-4': box(0, True) + box(4, True),
    'composer-31': box(31, True),
    'composer-untick': box(7, True) + box(7, True),
    'clear-set': box(3, True) + box(9, True) + bytes([CLRSET, CLRSET]),
    'clock': bytes([TICK, 5, TICK, 6]),
    'everything': typed('1G2') + box(1) + box(2, True) + rng(0, bound(1), bound(2)) + bytes([TICK, 1, CLRSET, CLRSEL, ENTER]),
}

here = pathlib.Path(__file__).resolve().parent / 'corpus'
here.mkdir(exist_ok=True)
for name, data in SEEDS.items():
    (here / name).write_bytes(data)
print(f'{len(SEEDS)} seeds in {here}')
