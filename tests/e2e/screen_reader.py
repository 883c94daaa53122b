"""The screen reader Orca, started beside the program, and what it says.

Orca runs with no speech engine: its settings name no speech server, and it still logs
every utterance as a "SPEECH OUTPUT: '…'" line in its debug file, which is what a person
would hear. Everything it keeps (home, settings, caches) lives in the work folder. Orca
will not start while another process of the same name runs for the user, so where the
machine allows it runs in a process namespace of its own; it never gets --replace, which
would end every other Orca on the machine.
"""
import json
import os
import re
import shutil
import subprocess

from display import DEADLINE, Failure, missing_tools, wait_until

SETTINGS = {
    'general': {'speechServerFactory': '', 'enableBraille': False, 'enableBrailleMonitor': False,
                'enableSound': False, 'startingProfile': ['Default', 'default']},
    'profiles': {'default': {'profile': ['Default', 'default']}},
    'pronunciations': {}, 'keybindings': {},
}
# Orca opens its debug file block-buffered; line buffering lets a test see each line.
CUSTOMIZATIONS = ('import orca.debug\nif orca.debug.debugFile:\n'
                  '    orca.debug.debugFile.reconfigure(line_buffering=True)\n')
SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*)'\s?(?:voice=\S+)?\s?\{[^{]*\}$")


class Orca:
    def __init__(self, session):
        self.session = session
        root = os.path.join(session.work, 'orca')
        self.log = os.path.join(root, 'debug.log')
        prefs = os.path.join(root, 'prefs')
        os.makedirs(prefs, exist_ok=True)
        with open(os.path.join(prefs, 'user-settings.conf'), 'w') as f:
            json.dump(SETTINGS, f)
        with open(os.path.join(prefs, 'orca-customizations.py'), 'w') as f:
            f.write(CUSTOMIZATIONS)
        home = os.path.join(root, 'home')
        env = {'HOME': home, 'XDG_DATA_HOME': home + '/.local/share', 'XDG_CONFIG_HOME': home + '/.config',
               'XDG_CACHE_HOME': home + '/.cache', 'GSETTINGS_BACKEND': 'memory'}
        command = ['orca', '-u', prefs, '--debug-file', self.log]
        own = ['unshare', '--pid', '--fork', '--mount-proc', '--kill-child']
        if shutil.which('unshare') and subprocess.run(own + ['true'], capture_output=True).returncode == 0:
            command = own + command
        self.process = session.spawn(command, env=env, log='orca.log')
        for ready in ("SPEECH OUTPUT: 'Screen reader on.'", 'ORCA: Starting registry'):
            # A cold start of Orca on a loaded machine takes a while: a longer bound.
            if not wait_until(lambda: ready in self._text(), 4 * DEADLINE, interval=0.1):
                raise Failure('Orca did not start (no "%s" in its log)' % ready)

    def _text(self):
        try:
            with open(self.log, encoding='utf-8', errors='replace') as f:
                return f.read()
        except FileNotFoundError:
            return ''

    def said(self):
        """Everything Orca has said so far, one utterance an item."""
        return [m.group(1) for m in map(SPOKEN.search, self._text().splitlines()) if m]


def missing():
    return missing_tools(['orca'], base=())
