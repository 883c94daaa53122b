"""The hands and eyes a person has on an X display, shared by the drivers of the programs
that show their window there: the Qt program on Xvfb and Pelmora.exe under Wine.

XDriver clicks where the design puts a control, types with xdotool (characters a US
keyboard lacks on keys of their own), pastes through xclip, and reads colours off `import`
screenshots. What it cannot know, the text of a control or a message box, each adapter
reads its own way.
"""
import os

import keyboard_layout
import window_layout as layout
from display import Failure, wait_until
from driver import Driver


class XDriver(Driver):
    """A Driver over one Display (`self.x`), on which the adapter starts the program and
    calls shown(window) once its window is up."""

    PICTURES = None  # the folder of the reference pictures, NAME@SCALEx.png
    UNSTEADY = ()  # parts of the client a picture leaves out on this front end

    def __init__(self, display, log):
        super().__init__(log)
        self.x, self.window_id = display, None

    def open(self):
        self.x.start()
        keyboard_layout.add_keys(self.x.env['DISPLAY'])

    def shown(self, window):
        """The program's window is up: points count from its client, and the first frame
        is there once its cells are, since a frame comes to the screen whole."""
        self.window_id = window
        self.x.look_at(window)
        if not wait_until(lambda: layout.cell_colour(self, self.shot(), layout.rect(
                layout.cell(layout.VIEW, 0))) == 'light blue'):
            raise Failure('the window showed no first frame (cell 0 light blue)')

    def click(self, name):
        self.x.click(*(c * self.scale for c in layout.rect(name).centre))

    def type(self, text):
        self.x.type(text)

    def key(self, *keys):
        self.x.key(*keys)

    def paste(self, name, text):
        self.x.set_clipboard(text.encode())
        self.click(name)
        self.key('ctrl+a', 'ctrl+v')

    def focus_window(self):
        self.x.focus(self.window_id)

    def shot(self):
        return self.x.screenshot()

    def pixel(self, shot, x, y):
        return self.x.pixel(shot, x * self.scale, y * self.scale)

    def window(self):
        return self.x.look_at(self.window_id), self.x.icon_sizes(self.window_id)

    def client_picture(self):
        shot, (ox, oy) = self.shot(), self.x.origin
        width, height = (n * self.scale for n in layout.CLIENT)
        start = lambda y: ((oy + y) * shot.width + ox) * 3
        rows = [shot.data[start(y):start(y) + width * 3] for y in range(height)]
        return width, height, b''.join(rows)

    def picture(self, name, masked):
        import pictures
        return pictures.compare(self, os.path.join(self.PICTURES, '%s@%dx.png' % (name, self.scale)),
                                tuple(masked) + self.UNSTEADY)

    def on_failure(self):
        if self.x.xvfb and getattr(self, 'work', None):
            self.x.save_png(os.path.join(self.work, 'failure.png'))
