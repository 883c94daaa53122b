"""The page in any of three browser engines, from Debian's packages, and the few things a
test does with it: open a file:// address, run a script, click and type as a person,
paste, take a screenshot at a device scale, close.

- Chromium through chromium-driver (WebDriver classic, with Selenium), headless.
- WebKitGTK through webkit2gtk-driver and its MiniBrowser (WebDriver classic, with
  Selenium), on a private Xvfb from display.py, since it has no headless mode.
- Firefox ESR through the WebDriver BiDi it serves itself: Debian has no geckodriver,
  and BiDi is a few JSON commands over one WebSocket (python3-websocket).

It knows nothing of the page; the per-engine differences of driving stay in here.
"""
import base64
import itertools
import json
import os
import re
import shutil
import subprocess
import tempfile

from display import DEADLINE, Display, Failure

ENGINES = ('chromium', 'firefox', 'webkit')
ENTER, TAB, CONTROL = '\ue007', '\ue004', '\ue009'  # WebDriver's key values, both protocols
MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser'
NEEDS = {'chromium': ['/usr/bin/chromium', '/usr/bin/chromedriver'],
         'firefox': ['/usr/bin/firefox-esr'],
         'webkit': ['/usr/bin/WebKitWebDriver', MINIBROWSER, '/usr/bin/Xvfb']}
ROLES = ('textbox', 'note', 'checkbox', 'button')  # the roles the page's controls take
# Writes the text to the clipboard, as a person copies it somewhere else first.
COPY = 'return navigator.clipboard.writeText(arguments[0]).then(() => true)'


def missing(engine):
    """What the engine lacks on this machine: programs, or the Python modules that drive it."""
    lacking = [path for path in NEEDS[engine] if not os.path.exists(path)]
    module = 'websocket' if engine == 'firefox' else 'selenium'
    try:
        __import__(module)
    except ImportError:
        lacking.append('python3-' + module)
    return lacking


def open_browser(engine, work, scale=1, size=(800, 500)):
    """A fresh browser of `engine` with a `size` CSS-pixel viewport at device `scale`,
    its profile and logs under `work`."""
    kind = {'chromium': Chromium, 'firefox': Firefox, 'webkit': WebKit}[engine]
    return kind(os.path.join(work, engine), scale, size)


class Browser:
    """What every engine offers. `script` runs a function body with `arguments` and
    returns what it returns, after a promise settles; coordinates are CSS pixels of the
    viewport; keys are text and WebDriver's key values."""
    engine = version = ''

    def navigate(self, url): raise NotImplementedError
    def script(self, body, *args): raise NotImplementedError
    def click(self, x, y): raise NotImplementedError
    def keys(self, *keys): raise NotImplementedError
    def screenshot(self): raise NotImplementedError  # PNG bytes of the viewport
    def close(self): raise NotImplementedError

    def paste(self, text):
        """Ctrl+V of `text` where the focus is."""
        self.script(COPY, text)
        self.chord(CONTROL, 'v')

    def chord(self, modifier, key): raise NotImplementedError

    def role(self, name, roles=ROLES):
        """The accessible role of the element the engine's accessibility tree names `name`,
        of `roles`, or None."""
        raise NotImplementedError


class Selenium(Browser):
    """Chromium and WebKitGTK: WebDriver classic through Selenium."""

    def start(self, driver):
        self.driver = driver
        self.driver.set_script_timeout(DEADLINE)
        self.version = driver.capabilities.get('browserVersion', '?')

    def navigate(self, url):
        self.driver.get(url)

    def script(self, body, *args):
        # The async form waits for a promise the body may return.
        return self.driver.execute_async_script(
            'const done = arguments[arguments.length - 1];'
            'Promise.resolve((function () {%s}).apply(null, Array.from(arguments).slice(0, -1)))'
            '.then(done, e => done({error: String(e)}));' % body, *args)

    def click(self, x, y):
        from selenium.webdriver.common.action_chains import ActionChains
        actions = ActionChains(self.driver)
        actions.w3c_actions.pointer_action.move_to_location(x, y).click()
        actions.perform()

    def keys(self, *keys):
        from selenium.webdriver.common.action_chains import ActionChains
        ActionChains(self.driver).send_keys(*keys).perform()

    def chord(self, modifier, key):
        from selenium.webdriver.common.action_chains import ActionChains
        ActionChains(self.driver).key_down(modifier).send_keys(key).key_up(modifier).perform()

    def role(self, name, roles=ROLES):
        # WebDriver classic reads the tree element by element: find it by its label first.
        for e in self.driver.find_elements('css selector', '[aria-label="%s"]' % name):
            if e.accessible_name == name and e.aria_role in roles:
                return e.aria_role
        return None

    def screenshot(self):
        return self.driver.get_screenshot_as_png()


class Chromium(Selenium):
    engine = 'chromium'

    def __init__(self, work, scale, size):
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        options = webdriver.ChromeOptions()
        for arg in ('--headless=new', '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage',
                    '--window-size=%d,%d' % size, '--force-device-scale-factor=%d' % scale,
                    '--lang=en-US', '--font-render-hinting=none', '--disable-lcd-text'):
            options.add_argument(arg)
        self.scale = scale
        self.start(webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options))

    def paste(self, text):
        # Headless Chromium has no clipboard to paste from; the text arrives as typed at once.
        self.driver.execute_cdp_cmd('Input.insertText', {'text': text})

    def close(self):
        self.driver.quit()


class WebKit(Selenium):
    engine = 'webkit'

    def __init__(self, work, scale, size):
        from selenium import webdriver
        from selenium.webdriver.webkitgtk.options import Options
        from selenium.webdriver.webkitgtk.service import Service
        self.display = Display(work).__enter__()
        try:
            env = dict(self.display.env, GDK_SCALE=str(scale))
            self.service = Service('/usr/bin/WebKitWebDriver', env=env,
                                   log_path=os.path.join(work, 'webkit.log'))
            self.service.start()
            options = Options()
            options.binary_location = MINIBROWSER
            for arg in ('--automation', '--javascript-can-access-clipboard=true'):
                options.add_argument(arg)
            self.scale = scale
            self.start(webdriver.Remote(command_executor=self.service.service_url,
                                        options=options))
            self.driver.set_window_rect(0, 0, *size)
        except BaseException:
            self.close()
            raise

    def close(self):
        if getattr(self, 'driver', None):
            self.driver.quit()
        if getattr(self, 'service', None):
            self.service.stop()
        self.display.close()


class Firefox(Browser):
    """Firefox ESR over WebDriver BiDi: one WebSocket, one top-level browsing context."""
    engine = 'firefox'
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
            self.scale = scale
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
        result = self.command(
            'script.callFunction', functionDeclaration='function () {%s}' % body,
            arguments=[serialise(a) for a in args], target={'context': self.context},
            awaitPromise=True, userActivation=activate)
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
        self.chord(CONTROL, 'v')

    def role(self, name, roles=ROLES):
        # BiDi finds nodes by accessible name and role, so ask role by role.
        for role in roles:
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
        if self.proc.poll() is None:
            self.proc.terminate()
        try:
            self.proc.wait(timeout=DEADLINE)
        except subprocess.TimeoutExpired:
            self.proc.kill()
        self.log.close()
        shutil.rmtree(self.profile, ignore_errors=True)


def serialise(value):
    """A Python value as a BiDi local value; a node found before passes as itself."""
    if isinstance(value, dict) and 'sharedId' in value:
        return {'sharedId': value['sharedId']}
    if value is None:
        return {'type': 'null'}
    if isinstance(value, bool):
        return {'type': 'boolean', 'value': value}
    if isinstance(value, (int, float)):
        return {'type': 'number', 'value': value}
    if isinstance(value, str):
        return {'type': 'string', 'value': value}
    if isinstance(value, (list, tuple)):
        return {'type': 'array', 'value': [serialise(v) for v in value]}
    raise TypeError('cannot pass %r to a script' % (value,))


def deserialise(remote):
    """A BiDi remote value as Python: primitives, arrays and plain objects."""
    kind, value = remote['type'], remote.get('value')
    if kind in ('undefined', 'null'):
        return None
    if kind == 'array':
        return [deserialise(v) for v in value]
    if kind == 'object':
        return {k if isinstance(k, str) else deserialise(k): deserialise(v) for k, v in value}
    if kind in ('string', 'number', 'boolean'):
        return value
    return remote  # a node or another handle, passed back as it came
