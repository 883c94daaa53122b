"""The page in any of three browser engines, from Debian's packages, and the few things a
test does with it: open a file:// address, run a script, click and type as a person,
paste, take a screenshot at a device scale, close.

- Chromium through chromium-driver (WebDriver classic, with Selenium), headless.
- WebKitGTK through webkit2gtk-driver and its MiniBrowser (WebDriver classic, with
  Selenium), on a private Xvfb from display.py, since it has no headless mode.
- Firefox ESR through the WebDriver BiDi it serves itself (firefox_bidi.py).

It knows nothing of the page; the per-engine differences of driving stay in here.
"""
import os

from display import DEADLINE, Display

ENGINES = ('chromium', 'firefox', 'webkit')
# WebDriver's key values, both protocols, by the names the scenarios give keys.
KEYS = {'Tab': '\ue004', 'space': ' ', 'Return': '\ue007', 'Home': '\ue011', 'Right': '\ue014',
        'shift': '\ue008', 'ctrl': '\ue009', 'alt': '\ue00a'}
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
    if engine == 'firefox':
        from firefox_bidi import Firefox
        return Firefox(os.path.join(work, engine), scale, size)
    kind = {'chromium': Chromium, 'webkit': WebKit}[engine]
    return kind(os.path.join(work, engine), scale, size)


class Browser:
    """What every engine offers: navigate(url); script(body, *args), which runs a function
    body with `arguments` and returns what it returns, after a promise settles; click(x, y)
    in CSS pixels of the viewport; keys(*keys) and chord(modifier, key), keys being text
    and WebDriver's key values; paste(text) where the focus is; role(name), the accessible
    role of the element the engine's accessibility tree names `name`, of ROLES, or None;
    screenshot(), PNG bytes of the viewport; close()."""

    def press(self, key):
        """A key by its name, alone or held with one modifier: 'Tab', 'ctrl+a'."""
        *held, last = key.split('+')
        if held:
            self.chord(KEYS[held[0]], KEYS.get(last, last))
        else:
            self.keys(KEYS.get(last, last))

    def paste(self, text):
        self.script(COPY, text)
        self.press('ctrl+v')


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

    def role(self, name):
        # WebDriver classic reads the tree element by element: find it by its label or
        # caption first.
        for e in self.driver.find_elements(
                'xpath', '//*[@aria-label="%s"] | //button[normalize-space()="%s"]' % (name, name)):
            if e.accessible_name == name and e.aria_role in ROLES:
                return e.aria_role
        return None

    def screenshot(self):
        return self.driver.get_screenshot_as_png()


class Chromium(Selenium):
    """Headless Chromium with Debian's chromedriver, drawn without hinting or subpixel text
    so that its pictures stay the same from machine to machine."""

    def __init__(self, work, scale, size):
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        options = webdriver.ChromeOptions()
        for arg in ('--headless=new', '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage',
                    '--window-size=%d,%d' % size, '--force-device-scale-factor=%d' % scale,
                    '--lang=en-US', '--font-render-hinting=none', '--disable-lcd-text'):
            options.add_argument(arg)
        self.start(webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options))

    def paste(self, text):
        # Headless Chromium has no clipboard to paste from; the text arrives as typed at once.
        self.driver.execute_cdp_cmd('Input.insertText', {'text': text})

    def close(self):
        self.driver.quit()


class WebKit(Selenium):
    """WebKitGTK's MiniBrowser, started by webkit2gtk-driver on its own Xvfb, which it
    closes with the browser. Scripts may write the clipboard, so a paste is a real Ctrl+V."""

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
