"""The scenarios' driver for the page: build-web/site/index.html in a browser engine
(browsers.py: Chromium, Firefox ESR or WebKitGTK), worked with the keys, clicks and pastes
of a person where the design puts the controls, and read from the screen, the accessible
names, the message box and the live region. What differs between the engines stays in
browsers.py and in LACKS below, never in the scenarios.
"""
import os

import browsers
import window_layout as layout
from display import Screenshot
from driver import Driver, expect

HERE = os.path.dirname(os.path.abspath(__file__))
ROLES = {'textbox': 'text box', 'note': 'label', 'checkbox': 'check box', 'button': 'button'}
# The control a person knows by `name`: its accessible name, or a button's caption.
FIND = '''const find = name => document.querySelector('[aria-label="' + CSS.escape(name) + '"]')
    || Array.from(document.querySelectorAll('#client button')).find(b => b.textContent.trim() === name);'''


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
    PICTURES = os.path.join(HERE, 'pictures')

    @staticmethod
    def add_options(parser):
        parser.add_argument('--site', help='the folder of the built page')
        parser.add_argument('--engine', choices=browsers.ENGINES, default='chromium')

    @staticmethod
    def missing(args):
        return browsers.missing(args.engine)

    def __init__(self, args, work, log):
        super().__init__(log)
        self.engine, self.where = args.engine, work
        self.url = 'file://' + os.path.abspath(os.path.join(args.site, 'index.html'))
        self.browser, self.scale = None, None
        self.LACKS = dict(self.LACKS, **self.ENGINE_LACKS[self.engine])
        self.VARIANT = '' if self.engine == 'chromium' else '.' + self.engine

    def close(self):
        if self.browser:
            self.browser.close()
        self.browser = None

    def start(self, options):
        if options.get('scale', 1) != self.scale:
            self.close()
            self.scale = options.get('scale', 1)
            self.browser = browsers.open_browser(self.engine, self.where, self.scale)
        self.browser.navigate(self.url)
        # The form stands in the first frame; it takes actions once the program has it,
        # and a person types once the entry shows its caret.
        self.wait_for(lambda: not self.script('return document.getElementById("client").inert')
                      and self.focused() == layout.ENTRY,
                      'the page shows no form with the focus in the entry')

    def focused(self):
        """The name of the control that has the keyboard focus."""
        return self.script('const e = document.activeElement;'
                           'return e && e.getAttribute("aria-label")')

    def stop(self):
        pass

    def alive(self):
        return self.browser is not None

    def on_failure(self):
        if self.browser and self.work:
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
            self.browser.press(key)

    def paste(self, name, text):
        self.click(name)
        self.key('ctrl+a')
        self.browser.paste(text)

    # ----- eyes -----
    def shot(self):
        return Screenshot.of_png(self.browser.screenshot())

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
