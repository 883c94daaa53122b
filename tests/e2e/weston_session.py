"""A private Wayland desktop for the program: Debian's weston, headless, drawing with pixman.

Weston runs its desktop shell (no panel), so a window gets the decorations, title and icon
a Wayland desktop gives it, and its `proto` debug scope logs every request a client sends,
which is where a test reads the title and the app id the window asked for. Screenshots come
from weston-screenshooter, which weston serves only when started with --debug.

Weston offers a client no way to press keys or move the pointer, and the headless back end
has no keyboard: a window there never has the keyboard focus. What a person does must go
through the accessibility bus instead. Standard library only, plus weston,
weston-screenshooter and ImageMagick's convert on PATH.
"""
import glob
import os
import re
import shutil
import subprocess

from display import DEADLINE, Failure, Screenshot, stop_newest_first, wait_until

TOOLS = ['weston', 'weston-screenshooter', 'convert']
PLUGIN = '/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so'

CONFIG = """[core]
shell=desktop-shell.so
idle-time=0

[shell]
panel-position=none
background-color=0xff203040
"""


def missing():
    """What a Wayland run lacks on this machine: weston, its screenshooter, or Qt's
    Wayland plugin (qt6-wayland, which the .deb recommends)."""
    lacking = [tool for tool in TOOLS if shutil.which(tool) is None]
    return lacking + ([] if glob.glob(PLUGIN) else ['qt6-wayland'])


class Weston:
    """One headless weston in `runtime` (the XDG_RUNTIME_DIR of the clients started on it)
    and the programs started there. Used as a context manager; leaving it ends the
    programs and then weston, whose own helper clients end with it."""

    def __init__(self, work, runtime, env, size=(1024, 768)):
        self.work, self.size = work, size
        self.socket = 'pelmora-wayland'
        self.env = {**env, 'XDG_RUNTIME_DIR': runtime, 'WAYLAND_DISPLAY': self.socket}
        # A desktop session names no Qt platform; the program must choose Wayland itself.
        self.env.pop('QT_QPA_PLATFORM', None)
        self.log = os.path.join(work, 'weston.log')
        self.shots = os.path.join(work, 'shots')
        self.procs = []

    def __enter__(self):
        os.makedirs(self.shots, exist_ok=True)
        config = os.path.join(self.work, 'weston.ini')
        with open(config, 'w') as f:
            f.write(CONFIG)
        out = open(os.path.join(self.work, 'weston.out'), 'ab')
        self.weston = subprocess.Popen(
            ['weston', '--backend=headless-backend.so', '--use-pixman', '--debug',
             '--width=%d' % self.size[0], '--height=%d' % self.size[1],
             '--socket=' + self.socket, '--config=' + config, '--log=' + self.log,
             '--logger-scopes=log,proto'], env=self.env, stdout=out, stderr=out)
        # The shell's background is weston's first frame: from then on it takes clients.
        if not wait_until(lambda: self.weston.poll() is not None or self.background_shown()):
            self.close()
            raise Failure('weston showed no desktop within %.0f s; see %s' % (DEADLINE, self.log))
        if self.weston.poll() is not None:
            raise Failure('weston ended (exit %d); see %s' % (self.weston.returncode, self.log))
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        # The clients before the compositor they draw on.
        stop_newest_first([self.weston] + self.procs)
        self.procs = []

    def spawn(self, args, env, log):
        out = open(os.path.join(self.work, log), 'ab')
        proc = subprocess.Popen(args, env={**self.env, **env}, stdout=out, stderr=out)
        self.procs.append(proc)
        return proc

    def screenshot(self):
        """The whole output as weston last painted it."""
        for old in glob.glob(os.path.join(self.shots, '*.png')):
            os.remove(old)
        subprocess.run(['weston-screenshooter'], cwd=self.shots, env=self.env,
                       capture_output=True, timeout=DEADLINE)
        taken = glob.glob(os.path.join(self.shots, '*.png'))
        if not taken:
            return Screenshot(b'')
        return Screenshot(subprocess.run(['convert', taken[0], '-depth', '8', 'ppm:-'],
                                         capture_output=True, timeout=DEADLINE).stdout)

    def background_shown(self):
        shot = self.screenshot()
        return shot.width and shot.pixel(0, 0) == (0x20, 0x30, 0x40)

    def requests(self, request):
        """The arguments of every `request` (e.g. 'xdg_toplevel.set_title') a client has
        sent so far, as logged by weston."""
        interface, name = request.split('.')
        pattern = re.compile(r' rq %s@\d+\.%s\((.*)\)$' % (interface, name))
        with open(self.log, errors='replace') as f:
            return [m.group(1) for m in map(pattern.search, f) if m]
