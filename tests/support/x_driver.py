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
from display import DEADLINE, Failure, wait_until
from driver import Driver


class XDriver(Driver):
    """A Driver over one Display (`self.x`), on which the adapter launches the program and
    calls shown(window) once its window is up."""

    def __init__(self, display, log):
        super().__init__(log)
        self.x, self.window_id, self.app = display, None, None

    @property
    def origin(self):
        return self.x.origin

    def open(self):
        self.x.open()
        keyboard_layout.add_keys(self.x.env['DISPLAY'])

    def close(self):
        self.x.close()

    def attempt(self, work, action):
        self.x.work = work  # the programs' logs go with the scenario's
        return super().attempt(work, action)

    def launch(self, command, env, log, deadline=DEADLINE):
        """Starts the program afresh, its output in `log`; its window once one shows."""
        self.app = self.x.spawn(command, env=env, log=log)
        return self.x.wait_for_window(layout.WINDOW_TITLE, self.app, deadline)

    def shown(self, window):
        """The program's window is up: points count from its client, and the first frame
        is there once its cells are, since a frame comes to the screen whole."""
        self.window_id = window
        self.x.look_at(window)
        if not wait_until(lambda: layout.cell_colour(self, self.shot(), layout.rect(
                layout.cell(layout.VIEW, 0))) == 'light blue'):
            raise Failure('the window showed no first frame (cell 0 light blue)')

    def stop(self, *others):
        """Ends the program, and `others` it brought."""
        self.x.end(*others, self.app)
        self.app = None

    def alive(self):
        return self.app is not None and self.app.poll() is None

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

    def window(self):
        return self.x.look_at(self.window_id), self.x.icon_sizes(self.window_id)

    def on_failure(self):
        if self.x.xvfb and self.work:
            self.x.save_png(os.path.join(self.work, 'failure.png'))
