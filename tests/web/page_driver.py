"""The scenarios' driver for the page: build-web/site/index.html in a browser engine
(browsers.py: Chromium, Firefox ESR or WebKitGTK), worked with the keys, clicks and pastes
of a person where the design puts the controls, and read from the screen, the accessible
names, the message box and the live region. What differs between the engines stays in
browsers.py and in LACKS below, never in the scenarios.
"""
import os
import subprocess
from contextlib import contextmanager

import browsers
import pictures
import window_layout as layout
from display import Screenshot
from driver import Driver, expect

HERE = os.path.dirname(os.path.abspath(__file__))
KEYS = {'Tab': '\ue004', 'space': ' ', 'Return': '\ue007', 'Home': '\ue011', 'Right': '\ue014'}
MODIFIERS = {'shift': '\ue008', 'ctrl': '\ue009', 'alt': '\ue00a'}
ROLES = {'textbox': 'text box', 'note': 'label', 'checkbox': 'check box', 'button': 'button'}
# The control a person knows by `name`: its accessible name, or a button's caption.
FIND = '''const find = name => document.querySelector('[aria-label="' + CSS.escape(name) + '"]')
    || Array.from(document.querySelectorAll('#client button')).find(b => b.textContent.trim() === name);'''


def add_options(parser):
    parser.add_argument('--site', help='the folder of the built page')
    parser.add_argument('--engine', choices=browsers.ENGINES, default='chromium')


def missing(args):
    return browsers.missing(args.engine)


@contextmanager
def session(args, work, log):
    page = PageDriver(args.engine, os.path.abspath(os.path.join(args.site, 'index.html')), work, log)
    try:
        yield page
    finally:
        page.quit()


class PageDriver(Driver):
    """One browser, started again only for another scale; each scenario loads the page
    afresh. Keys go to the focused element as a person's would."""

    LACKS = {'window': 'a page has no window or taskbar icon of its own',
             'command_line': 'a page takes no command line',
             'screen_reader': 'no screen reader runs beside a headless browser',
             'wayland': 'the page is the browser\'s window'}
    OTHER = {'scale2': 'pictures at twice the density are taken in Chromium',
             'first_frame': 'only Chromium runs a page with its scripts held back (DevTools)'}
    # What a person cannot do in the other engines (docs/web.md): a pasted NUL never
    # arrives, and WebKit keeps at most 524,288 characters in an entry (the page refuses a
    # longer paste with one box and keeps the entry's text).
    ENGINE_LACKS = {
        'chromium': {},
        'firefox': dict(OTHER, nul='Firefox drops a NUL from a pasted text'),
        'webkit': dict(OTHER, nul='the GTK clipboard ends a text at its first NUL',
                       megabyte='WebKit keeps at most 524,288 characters in an entry')}

    def __init__(self, engine, url, work, log):
        super().__init__(log)
        self.engine, self.url, self.where = engine, url, work
        self.browser, self.scale = None, None
        self.LACKS = dict(self.LACKS, **self.ENGINE_LACKS[engine])

    def quit(self):
        if self.browser:
            self.browser.close()
        self.browser = None

    def start(self, options):
        if options.get('scale', 1) != self.scale:
            self.quit()
            self.scale = options.get('scale', 1)
            self.browser = browsers.open_browser(self.engine, self.where, self.scale)
        self.browser.navigate('file://' + self.url)
        # The form stands in the first frame; it takes actions once the program has it,
        # and a person types once the entry shows its caret.
        self.wait_for(lambda: self.script(
            'return !document.getElementById("client").inert && document.activeElement'
            ' && document.activeElement.getAttribute("aria-label") === arguments[0]', layout.ENTRY),
            'the page shows no form with the focus in the entry')

    def stop(self):
        pass

    def alive(self):
        return self.browser is not None

    def on_failure(self):
        if self.browser and getattr(self, 'work', None):
            with open(os.path.join(self.work, 'failure.png'), 'wb') as f:
                f.write(self.browser.screenshot())

    def script(self, code, *args):
        return self.browser.script(code, *args)

    # ----- hands -----
    def click(self, name):
        self.browser.click(*layout.rect(name).centre)

    def type(self, text):
        self.browser.keys(text)

    def key(self, *keys):
        for key in keys:
            *held, last = key.split('+')
            if held:
                self.browser.chord(MODIFIERS[held[0]], KEYS.get(last, last))
            else:
                self.browser.keys(KEYS.get(last, last))

    def paste(self, name, text):
        self.click(name)
        self.key('ctrl+a')
        self.browser.paste(text)

    # ----- eyes -----
    def shot(self):
        return Screenshot(subprocess.run(['convert', 'png:-', '-depth', '8', 'ppm:-'],
                                         input=self.browser.screenshot(), capture_output=True,
                                         check=True).stdout)

    def pixel(self, shot, x, y):
        return shot.pixel(x * self.scale, y * self.scale)

    def client_picture(self):
        width, height = (n * self.scale for n in layout.CLIENT)
        rgb = subprocess.run(['convert', 'png:-', '-crop', '%dx%d+0+0' % (width, height), '+repage',
                              '-depth', '8', 'rgb:-'], input=self.browser.screenshot(),
                             capture_output=True, check=True).stdout
        return width, height, rgb

    def picture(self, name, masked):
        engine = '' if self.engine == 'chromium' else '.' + self.engine
        reference = os.path.join(HERE, 'pictures', '%s%s@%dx.png' % (name, engine, self.scale))
        return pictures.compare(self, reference, masked)

    def text(self, name, whole=False):
        value = self.script(FIND + 'const e = find(arguments[0]); return e.value ?? e.textContent', name)
        return value if whole else value.split('\0')[0]  # a screen reader's text ends at a NUL

    def length(self, name):
        return self.script(FIND + 'return find(arguments[0]).value.length', name)

    def named(self, name):
        role = self.browser.role(name)
        if role is None:
            return None
        *where, value = self.script(FIND + 'const e = find(arguments[0]), r = e.getBoundingClientRect();'
                                    'return [r.x, r.y, r.width, r.height, e.type === "checkbox" ?'
                                    ' e.checked : (e.value ?? e.textContent)]', name)
        return ROLES.get(role, role), tuple(round(n) for n in where), value

    def message(self):
        shown = self.script('const box = document.getElementById("box"); return box.open ? ['
                            'document.getElementById("box-title").textContent,'
                            'document.getElementById("box-text").textContent] : null')
        if not shown:
            return None
        return shown[0], shown[1], self.text(layout.ENTRY, True)  # each refusal gives a character back

    def close_message(self):
        self.key('Return')  # presses its one button, OK

    def live(self):
        return self.script('return document.getElementById("live").textContent')

    def first_frame(self):
        """index.html before its script runs: the form, taking no actions it would lose."""
        driver = self.browser.driver
        driver.execute_cdp_cmd('Emulation.setScriptExecutionDisabled', {'value': True})
        driver.refresh()
        expect(driver.find_element('id', 'client').get_dom_attribute('inert') is not None,
               'the first frame takes actions it would lose')
        driver.execute_cdp_cmd('Emulation.setScriptExecutionDisabled', {'value': False})
