"""Keys for characters a US keyboard lacks, put on the private display's keyboard.

xdotool can type any character by binding it to a spare key for the moment of the key
press, but a busy program may read the keyboard map after the binding is gone and see no
character at all. So before the program starts, the characters the tests type get keys
of their own, as on a keyboard that has them; xdotool then just presses those keys.
Uses libX11 through ctypes; nothing here is sent to the program.
"""
import ctypes
import ctypes.util

# Characters the scenarios type that the default keyboard map has no key for.
EXTRA_CHARACTERS = '中\u200f\u202e\U0001F600'


def keysym(ch):
    """X keysym of a character: Latin-1 as itself, the rest 0x01000000 + code point."""
    cp = ord(ch)
    return cp if 0x20 <= cp <= 0xFF else 0x01000000 | cp


def add_keys(display_name, characters=EXTRA_CHARACTERS):
    """Binds each character to a keycode that has no symbols yet."""
    x11 = ctypes.CDLL(ctypes.util.find_library('X11') or 'libX11.so.6')
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
    x11.XGetKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int,
                                        ctypes.POINTER(ctypes.c_int)]
    x11.XChangeKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                           ctypes.POINTER(ctypes.c_ulong), ctypes.c_int]
    x11.XDisplayKeycodes.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                     ctypes.POINTER(ctypes.c_int)]
    for name in ('XSync', 'XFree', 'XCloseDisplay'):
        getattr(x11, name).argtypes = [ctypes.c_void_p] + ([ctypes.c_int] if name == 'XSync' else [])

    display = x11.XOpenDisplay(display_name.encode())
    if not display:
        raise RuntimeError('cannot open display %s' % display_name)
    try:
        low, high = ctypes.c_int(), ctypes.c_int()
        x11.XDisplayKeycodes(display, ctypes.byref(low), ctypes.byref(high))
        count = high.value - low.value + 1
        per_code = ctypes.c_int()
        table = x11.XGetKeyboardMapping(display, low.value, count, ctypes.byref(per_code))
        width = per_code.value
        free = [low.value + k for k in range(count)
                if all(table[k * width + j] == 0 for j in range(width))]
        x11.XFree(table)
        # Highest keycodes first: far from anything a real keyboard sends.
        free.reverse()
        if len(free) < len(characters):
            raise RuntimeError('only %d free keycodes' % len(free))
        for code, ch in zip(free, characters):
            syms = (ctypes.c_ulong * 2)(keysym(ch), keysym(ch))
            x11.XChangeKeyboardMapping(display, code, 2, syms, 1)
        x11.XSync(display, 0)
    finally:
        x11.XCloseDisplay(display)
