"""The scenarios' driver for the page: build-web/site/index.html in headless Chromium under
Selenium, worked with the keys, clicks and pastes of a person where the design puts the
controls, and read from the screen, the accessible names, the message box and the live
region.
"""
import os
import subprocess
from contextlib import contextmanager

import pictures
import window_layout as layout
from display import Screenshot
from driver import Driver, expect

HERE = os.path.dirname(os.path.abspath(__file__))
KEYS = {'Tab': '\ue004', 'space': ' ', 'Return': '\ue007', 'Home': '\ue011', 'Right': '\ue014'}
MODIFIERS = {'shift': '\ue008', 'ctrl': '\ue009'}
ROLES = {'textbox': 'text box', 'note': 'label', 'checkbox': 'check box', 'button': 'button'}


def add_options(parser):
    parser.add_argument('--site', help='the folder of the built page')


def missing(args):
    try:
        import selenium  # noqa: F401
    except ImportError:
        return ['python3-selenium']
    return [] if os.path.exists('/usr/bin/chromedriver') else ['chromium-driver']


@contextmanager
def session(args, work, log):
    page = PageDriver(os.path.abspath(os.path.join(args.site, 'index.html')), log)
    try:
        yield page
    finally:
        page.quit()


class PageDriver(Driver):
    """One headless Chromium, started again only for another scale; each scenario loads
    the page afresh. Keys go to the focused element as a person's would."""

    LACKS = {'window': 'a page has no window or taskbar icon of its own',
             'command_line': 'a page takes no command line',
             'screen_reader': 'no screen reader runs beside headless Chromium',
             'wayland': 'the page is the browser\'s window'}

    def __init__(self, url, log):
        super().__init__(log)
        self.url, self.browser, self.scale = url, None, None

    def quit(self):
        if self.browser:
            self.browser.quit()
        self.browser = None

    def start(self, options):
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        if options.get('scale', 1) != self.scale:
            self.quit()
            self.scale = options.get('scale', 1)
            chrome = webdriver.ChromeOptions()
            for arg in ('--headless=new', '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage',
                        '--window-size=800,500', '--force-device-scale-factor=%d' % self.scale,
                        '--lang=en-US', '--font-render-hinting=none', '--disable-lcd-text'):
                chrome.add_argument(arg)
            self.browser = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=chrome)
        self.browser.get('file://' + self.url)
        # The form stands in the first frame; it takes actions once the program has it.
        self.wait_for(lambda: self.find(layout.CLOCK) and self.script(
            'return !document.getElementById("client").inert'), 'the page shows no form')

    def stop(self):
        pass

    def alive(self):
        return self.browser is not None

    def on_failure(self):
        if self.browser and getattr(self, 'work', None):
            self.browser.save_screenshot(os.path.join(self.work, 'failure.png'))

    def script(self, code, *args):
        return self.browser.execute_script(code, *args)

    def actions(self):
        from selenium.webdriver.common.action_chains import ActionChains
        return ActionChains(self.browser)

    # ----- hands -----
    def click(self, name):
        chain = self.actions()
        chain.w3c_actions.pointer_action.move_to_location(*layout.rect(name).centre).click()
        chain.perform()

    def type(self, text):
        self.actions().send_keys(text).perform()

    def key(self, *keys):
        for key in keys:
            *held, last = key.split('+')
            chain = self.actions()
            for m in held:
                chain.key_down(MODIFIERS[m])
            chain.send_keys(KEYS.get(last, last))
            for m in reversed(held):
                chain.key_up(MODIFIERS[m])
            chain.perform()

    def paste(self, name, text):
        self.click(name)
        self.key('ctrl+a')
        self.browser.execute_cdp_cmd('Input.insertText', {'text': text})

    # ----- eyes -----
    def shot(self):
        png = self.browser.get_screenshot_as_png()
        return Screenshot(subprocess.run(['convert', 'png:-', '-depth', '8', 'ppm:-'], input=png,
                                         capture_output=True, check=True).stdout)

    def pixel(self, shot, x, y):
        return shot.pixel(x * self.scale, y * self.scale)

    def client_picture(self):
        width, height = (n * self.scale for n in layout.CLIENT)
        rgb = subprocess.run(['convert', 'png:-', '-crop', '%dx%d+0+0' % (width, height), '+repage',
                              '-depth', '8', 'rgb:-'], input=self.browser.get_screenshot_as_png(),
                             capture_output=True, check=True).stdout
        return width, height, rgb

    def picture(self, name, masked):
        reference = os.path.join(HERE, 'pictures', '%s@%dx.png' % (name, self.scale))
        return pictures.compare(self, reference, masked)

    def find(self, name):
        found = self.browser.find_elements(
            'xpath', '//*[@aria-label="%s"] | //button[normalize-space()="%s"]' % (name, name))
        return found[0] if found else None

    def text(self, name, whole=False):
        value = self.script('return arguments[0].value ?? arguments[0].textContent', self.find(name))
        return value if whole else value.split('\0')[0]  # a screen reader's text ends at a NUL

    def length(self, name):
        return self.script('return arguments[0].value.length', self.find(name))

    def named(self, name):
        element = self.find(name)
        if element is None:
            return None
        role = ROLES.get(element.aria_role, element.aria_role)
        expect(element.accessible_name == name, '"%s" is called "%s"' % (name, element.accessible_name))
        *where, value = self.script('const e = arguments[0], r = e.getBoundingClientRect();'
                                    'return [r.x, r.y, r.width, r.height, e.type === "checkbox" ?'
                                    ' e.checked : (e.value ?? e.textContent)]', element)
        return role, tuple(round(n) for n in where), value

    def message(self):
        if not self.script('return document.getElementById("box").open'):
            return None
        title, text = (self.browser.find_element('id', i).text for i in ('box-title', 'box-text'))
        return title, text, self.text(layout.ENTRY, True)  # each refusal gives a character back

    def close_message(self):
        self.key('Return')  # presses its one button, OK

    def live(self):
        return self.browser.find_element('id', 'live').get_attribute('textContent')

    def first_frame(self):
        """index.html before its script runs: the form, taking no actions it would lose."""
        self.browser.execute_cdp_cmd('Emulation.setScriptExecutionDisabled', {'value': True})
        self.browser.refresh()
        expect(self.browser.find_element('id', 'client').get_dom_attribute('inert') is not None,
               'the first frame takes actions it would lose')
        self.browser.execute_cdp_cmd('Emulation.setScriptExecutionDisabled', {'value': False})
