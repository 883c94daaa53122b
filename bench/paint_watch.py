"""The moment a program's window first shows a painted frame, as the X server sees it.

Standard library only: Xlib and the DAMAGE extension through ctypes (libX11, libXdamage).
"""
import ctypes
import ctypes.util
import re
import select
import time

MAP_NOTIFY, PROPERTY_NOTIFY = 19, 28
SUBSTRUCTURE_NOTIFY_MASK, PROPERTY_CHANGE_MASK = 1 << 19, 1 << 22
Z_PIXMAP, ALL_PLANES = 2, 0xFFFFFFFF
DAMAGE_REPORT_NON_EMPTY, DAMAGE_NOTIFY = 3, 0


class AnyEvent(ctypes.Structure):
    # The head that map, property and damage events share: the window is `first`.
    _fields_ = [('type', ctypes.c_int), ('serial', ctypes.c_ulong), ('send_event', ctypes.c_int),
                ('display', ctypes.c_void_p), ('first', ctypes.c_ulong),
                ('second', ctypes.c_ulong)]


class Event(ctypes.Union):
    _fields_ = [('any', AnyEvent), ('pad', ctypes.c_long * 24)]


class Image(ctypes.Structure):
    # The leading fields of XImage, as far as the pixel layout.
    _fields_ = [('width', ctypes.c_int), ('height', ctypes.c_int), ('xoffset', ctypes.c_int),
                ('format', ctypes.c_int), ('data', ctypes.c_void_p), ('byte_order', ctypes.c_int),
                ('bitmap_unit', ctypes.c_int), ('bitmap_bit_order', ctypes.c_int),
                ('bitmap_pad', ctypes.c_int), ('depth', ctypes.c_int),
                ('bytes_per_line', ctypes.c_int), ('bits_per_pixel', ctypes.c_int)]


def load_xlib():
    """libX11 and libXdamage with the signatures this file calls."""
    x = ctypes.CDLL(ctypes.util.find_library('X11') or 'libX11.so.6')
    damage = ctypes.CDLL(ctypes.util.find_library('Xdamage') or 'libXdamage.so.1')
    ptr, xid, num = ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int
    out_xid, out_int = ctypes.POINTER(xid), ctypes.POINTER(num)
    out_uint = ctypes.POINTER(ctypes.c_uint)
    signatures = [
        (x.XOpenDisplay, ptr, [ctypes.c_char_p]), (x.XCloseDisplay, num, [ptr]),
        (x.XDefaultRootWindow, xid, [ptr]), (x.XConnectionNumber, num, [ptr]),
        (x.XSelectInput, num, [ptr, xid, ctypes.c_long]), (x.XPending, num, [ptr]),
        (x.XNextEvent, num, [ptr, ctypes.POINTER(Event)]), (x.XSync, num, [ptr, num]),
        (x.XSetWindowBackground, num, [ptr, xid, xid]), (x.XClearWindow, num, [ptr, xid]),
        (x.XInternAtom, xid, [ptr, ctypes.c_char_p, num]), (x.XFree, num, [ptr]),
        (x.XGetWindowProperty, num, [ptr, xid, xid, ctypes.c_long, ctypes.c_long, num, xid,
                                     out_xid, out_int, out_xid, out_xid,
                                     ctypes.POINTER(ptr)]),
        (x.XGetGeometry, num, [ptr, xid, out_xid, out_int, out_int, out_uint, out_uint,
                               out_uint, out_uint]),
        (x.XGetImage, ctypes.POINTER(Image), [ptr, xid, num, num, ctypes.c_uint,
                                              ctypes.c_uint, xid, num]),
        (x.XDestroyImage, num, [ctypes.POINTER(Image)]),
        (damage.XDamageQueryExtension, num, [ptr, out_int, out_int]),
        (damage.XDamageCreate, xid, [ptr, xid, num]),
        (damage.XDamageSubtract, None, [ptr, xid, xid, xid]),
    ]
    for function, result, arguments in signatures:
        function.restype, function.argtypes = result, arguments
    return x, damage


def one_colour(image):
    """Whether every pixel of a 24- or 32-bit ZPixmap image has the same colour."""
    head = image.contents
    step = head.bits_per_pixel // 8
    line, row = head.bytes_per_line, head.width * step
    pixels = ctypes.string_at(head.data, line * head.height)
    if line != row:  # leave out the padding at the end of each line
        pixels = b''.join(pixels[y * line:y * line + row] for y in range(head.height))
    # A 32-bit pixel of a 24-bit visual carries one byte of padding, which says nothing.
    for channel in range(min(step, 3)):
        plane = pixels[channel::step]
        if plane != plane[:1] * len(plane):
            return False
    return True


class FrameWatch:
    """Watches one X display for a top-level window whose title matches a pattern, and tells
    when its pixels first stop being a single colour: the program's first painted frame. It
    waits on the server's map, property and damage events rather than polling, and blackens
    the root so an unpainted window cannot pass for a painted one. It starts and ends nothing."""

    def __init__(self, display_name):
        self.x, self.damage = load_xlib()
        # Windows come and go while the watch looks at them; their errors mean nothing here.
        self._ignore = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(
            lambda _display, _error: 0)
        self.x.XSetErrorHandler(self._ignore)
        self.dpy = self.x.XOpenDisplay(display_name.encode())
        if not self.dpy:
            raise RuntimeError('cannot open display %s' % display_name)
        event_base, error_base = ctypes.c_int(), ctypes.c_int()
        if not self.damage.XDamageQueryExtension(self.dpy, ctypes.byref(event_base),
                                                 ctypes.byref(error_base)):
            raise RuntimeError('the X server has no DAMAGE extension')
        self.damage_event = event_base.value + DAMAGE_NOTIFY
        self.root = self.x.XDefaultRootWindow(self.dpy)
        self.screen = self._geometry(self.root)[2:]
        self.name_atoms = [self.x.XInternAtom(self.dpy, name, 0)
                           for name in (b'WM_NAME', b'_NET_WM_NAME')]
        self.x.XSetWindowBackground(self.dpy, self.root, 0)
        self.x.XClearWindow(self.dpy, self.root)
        self.x.XSelectInput(self.dpy, self.root, SUBSTRUCTURE_NOTIFY_MASK)
        self.x.XSync(self.dpy, 0)
        self.watched = {}  # window -> its damage object, once its title matched

    def close(self):
        if self.dpy:
            self.x.XCloseDisplay(self.dpy)
            self.dpy = None

    def wait_for_frame(self, title, program, deadline):
        """time.monotonic() at the first painted frame of a window whose title matches the
        pattern `title`; raises RuntimeError when `program` ends first or `deadline` passes."""
        pattern = re.compile(title, re.IGNORECASE)
        while True:
            while self.x.XPending(self.dpy):
                painted_at = self._handle(self._next_event(), pattern)
                if painted_at:
                    return painted_at
            if program.poll() is not None:
                raise RuntimeError('the program ended (exit %s) before a painted window "%s"'
                                   % (program.returncode, title))
            left = deadline - time.monotonic()
            if left <= 0:
                raise RuntimeError('no painted window "%s" in time' % title)
            # The program's end comes as no event, so look again now and then.
            select.select([self.x.XConnectionNumber(self.dpy)], [], [], min(left, 0.05))

    def _next_event(self):
        event = Event()
        self.x.XNextEvent(self.dpy, ctypes.byref(event))
        return event.any

    def _handle(self, event, pattern):
        now = time.monotonic()
        if event.type == self.damage_event and event.first in self.watched:
            self.damage.XDamageSubtract(self.dpy, self.watched[event.first], 0, 0)
            return now if self._painted(event.first) else None
        if event.type == MAP_NOTIFY:
            # A program may map its window first and name it after: hear of renames too.
            self.x.XSelectInput(self.dpy, event.second, PROPERTY_CHANGE_MASK)
            return self._consider(event.second, pattern, now)
        if event.type == PROPERTY_NOTIFY and event.second in self.name_atoms:
            return self._consider(event.first, pattern, now)
        return None

    def _consider(self, window, pattern, now):
        if window in self.watched or not any(pattern.search(t) for t in self._titles(window)):
            return None
        self.watched[window] = self.damage.XDamageCreate(self.dpy, window,
                                                         DAMAGE_REPORT_NON_EMPTY)
        # It may have drawn before the damage object existed.
        return now if self._painted(window) else None

    def _titles(self, window):
        texts = (self._text(window, atom) for atom in self.name_atoms)
        return [text for text in texts if text is not None]

    def _text(self, window, atom):
        """A window's 8-bit text property (a title: STRING or UTF8_STRING), else None."""
        kind, count, rest = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_ulong()
        size, value = ctypes.c_int(), ctypes.c_void_p()
        if self.x.XGetWindowProperty(self.dpy, window, atom, 0, 1024, 0, 0, ctypes.byref(kind),
                                     ctypes.byref(size), ctypes.byref(count),
                                     ctypes.byref(rest), ctypes.byref(value)) or not value.value:
            return None
        try:
            if size.value != 8:
                return None
            return ctypes.string_at(value.value, count.value).decode('utf-8', 'replace')
        finally:
            self.x.XFree(value)

    def _geometry(self, window):
        """(x, y, width, height) of a window within its parent, or None once it is gone."""
        root, x, y = ctypes.c_ulong(), ctypes.c_int(), ctypes.c_int()
        width, height, border, depth = (ctypes.c_uint() for _ in range(4))
        if not self.x.XGetGeometry(self.dpy, window, ctypes.byref(root), ctypes.byref(x),
                                   ctypes.byref(y), ctypes.byref(width), ctypes.byref(height),
                                   ctypes.byref(border), ctypes.byref(depth)):
            return None
        return x.value, y.value, width.value, height.value

    def _painted(self, window):
        """Whether the window's part on the screen shows more than one colour."""
        shape = self._geometry(window)
        if shape is None:
            return False
        x, y, width, height = shape
        # Only what lies on the screen can be read back.
        screen_width, screen_height = self.screen
        left, top = max(0, -x), max(0, -y)
        right, bottom = min(width, screen_width - x), min(height, screen_height - y)
        if right <= left or bottom <= top:
            return False
        image = self.x.XGetImage(self.dpy, window, left, top, right - left, bottom - top,
                                 ALL_PLANES, Z_PIXMAP)
        if not image:
            return False
        try:
            return not one_colour(image)
        finally:
            self.x.XDestroyImage(image)
