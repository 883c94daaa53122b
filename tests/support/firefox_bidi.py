"""Firefox ESR for browsers.py, over the WebDriver BiDi it serves itself: Debian has no
geckodriver, and BiDi is a few JSON commands over one WebSocket (python3-websocket).
"""
import base64
import itertools
import json
import os
import re
import shutil
import subprocess
import tempfile

from browsers import COPY, ROLES, Browser
from display import DEADLINE, Failure, stop_newest_first


class Firefox(Browser):
    """Firefox ESR over WebDriver BiDi: one WebSocket, one top-level browsing context."""
    PREFS = {  # no first-run pages, no requests of its own, no prompts
        'browser.shell.checkDefaultBrowser': False,
        'browser.startup.homepage_override.mstone': 'ignore',
        'datareporting.policy.dataSubmissionEnabled': False,
        'toolkit.telemetry.reportingpolicy.firstRun': False,
        'app.normandy.enabled': False,
        'services.settings.server': 'data:,',
        'messaging-system.rsexperimentloader.enabled': False,
        'browser.newtabpage.enabled': False,
        'network.connectivity-service.enabled': False,
        'network.captive-portal-service.enabled': False,
        'browser.safebrowsing.update.enabled': False,
        'extensions.update.enabled': False,
        'app.update.disabledForTesting': True,
        'intl.accept_languages': 'en-US',
        'focusmanager.testmode': True,  # headless, no window is active but this one
    }

    def __init__(self, work, scale, size):
        import websocket
        os.makedirs(work, exist_ok=True)
        self.profile = tempfile.mkdtemp(prefix='firefox-', dir=work)
        with open(os.path.join(self.profile, 'user.js'), 'w') as f:
            f.writelines('user_pref(%s, %s);\n' % (json.dumps(k), json.dumps(v))
                         for k, v in self.PREFS.items())
        self.log = open(os.path.join(work, 'firefox.log'), 'wb')
        self.proc = subprocess.Popen(
            ['/usr/bin/firefox-esr', '--headless', '--no-remote', '--profile', self.profile,
             '--remote-debugging-port=0', 'about:blank'],
            stdout=self.log, stderr=subprocess.PIPE, env=dict(os.environ, MOZ_CRASHREPORTER_DISABLE='1'))
        self.ids = itertools.count(1)
        self.socket = None
        try:
            url = self._listening()
            # Firefox refuses a WebSocket that names an Origin, as a page would.
            self.socket = websocket.create_connection(url + '/session', timeout=DEADLINE,
                                                      suppress_origin=True)
            self.version = self.command('session.new', capabilities={})['capabilities']['browserVersion']
            # The window Firefox opens at start never has the focus here: keys reach its
            # page but press no button. One opened now does.
            self.context = self.command('browsingContext.create', type='window')['context']
            self.command('browsingContext.setViewport', context=self.context,
                         viewport={'width': size[0], 'height': size[1]}, devicePixelRatio=scale)
        except BaseException:
            self.close()
            raise

    def _listening(self):
        # Firefox tells where it listens on its standard error; the rest goes to the log.
        for line in iter(self.proc.stderr.readline, b''):
            self.log.write(line)
            found = re.search(rb'WebDriver BiDi listening on (ws://\S+)', line)
            if found:
                # Keep draining its standard error, or Firefox blocks once the pipe is full.
                self.drain = subprocess.Popen(['cat'], stdin=self.proc.stderr, stdout=self.log)
                return found.group(1).decode()
        raise Failure('Firefox ended before it listened; see %s' % self.log.name)

    def command(self, method, **params):
        number = next(self.ids)
        self.socket.send(json.dumps({'id': number, 'method': method, 'params': params}))
        while True:  # events come in between; none is subscribed to, but skip any
            answer = json.loads(self.socket.recv())
            if answer.get('id') == number:
                if answer.get('type') == 'error':
                    raise Failure('%s: %s: %s' % (method, answer['error'], answer.get('message')))
                return answer['result']

    def navigate(self, url):
        self.command('browsingContext.navigate', context=self.context, url=url, wait='complete')

    def script(self, body, *args, activate=False):
        # The scripts here take texts and counts (the bench's keystrokes).
        kinds = {str: 'string', int: 'number', float: 'number'}
        result = self.command(
            'script.callFunction', functionDeclaration='function () {%s}' % body,
            arguments=[{'type': kinds[type(a)], 'value': a} for a in args],
            target={'context': self.context}, awaitPromise=True, userActivation=activate)
        if result['type'] == 'exception':
            return {'error': result['exceptionDetails']['text']}
        return deserialise(result['result'])

    def actions(self, source, *actions):
        self.command('input.performActions', context=self.context, actions=[dict(source, actions=list(actions))])

    def click(self, x, y):
        self.actions({'type': 'pointer', 'id': 'mouse', 'parameters': {'pointerType': 'mouse'}},
                     {'type': 'pointerMove', 'x': int(x), 'y': int(y)},
                     {'type': 'pointerDown', 'button': 0}, {'type': 'pointerUp', 'button': 0})

    def keys(self, *keys):
        strokes = []
        for key in ''.join(keys):
            strokes += [{'type': 'keyDown', 'value': key}, {'type': 'keyUp', 'value': key}]
        self.actions({'type': 'key', 'id': 'keyboard'}, *strokes)

    def chord(self, modifier, key):
        self.actions({'type': 'key', 'id': 'keyboard'},
                     {'type': 'keyDown', 'value': modifier}, {'type': 'keyDown', 'value': key},
                     {'type': 'keyUp', 'value': key}, {'type': 'keyUp', 'value': modifier})

    def paste(self, text):
        # Writing the clipboard needs a person's activation, which BiDi grants a script.
        self.script(COPY, text, activate=True)
        self.press('ctrl+v')

    def role(self, name):
        # BiDi finds nodes by accessible name and role, so ask role by role.
        for role in ROLES:
            found = self.command('browsingContext.locateNodes', context=self.context, maxNodeCount=1,
                                 locator={'type': 'accessibility', 'value': {'name': name, 'role': role}})
            if found['nodes']:
                return role
        return None

    def screenshot(self):
        data = self.command('browsingContext.captureScreenshot', context=self.context)['data']
        return base64.b64decode(data)

    def close(self):
        if self.socket:
            try:
                self.command('browser.close')
            except Exception:  # noqa: BLE001 - it may have gone already
                pass
            self.socket.close()
        stop_newest_first([self.proc])
        self.log.close()
        shutil.rmtree(self.profile, ignore_errors=True)


def deserialise(remote):
    """A BiDi remote value as Python: primitives, arrays and plain objects."""
    kind, value = remote['type'], remote.get('value')
    if kind in ('undefined', 'null'):
        return None
    if kind == 'array':
        return [deserialise(v) for v in value]
    if kind == 'object':  # a script's {error}
        return {k: deserialise(v) for k, v in value}
    return value
