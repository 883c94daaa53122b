#!/usr/bin/env python3
"""The page in headless Chromium, driven as a person would: keys, clicks and pastes where
the design puts the controls, checked by what the screen, the accessibility names and the
live region show. One case a run:

    web_test.py --site DIR NAME     (NAME: a case of CASES or SPECIAL)
    web_test.py --list

Exits 77 (skipped) where Chromium, its driver or Selenium is missing, except under CI.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'support'))
sys.dont_write_bytecode = True

import display  # noqa: E402
import window_layout as layout  # noqa: E402
from display import Failure, wait_until  # noqa: E402

ERROR_TITLE = '出错'
ENTER, TAB, SPACE = '\ue007', '\ue004', ' '
NOT_HEX, TOO_LONG, BAD_RANGE = '请正确输入16进制数', '不处理超过32bit的数据', '输入查看位范围有错'


def expect(condition, what):
    if not condition:
        raise Failure(what)


class Page:
    """One Chromium showing the site at `scale`; a Display stand-in for match_picture, with
    the client at the origin."""

    def __init__(self, site, scale=1):
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        options = webdriver.ChromeOptions()
        for arg in ('--headless=new', '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage',
                    '--window-size=800,500',
                    '--force-device-scale-factor=%d' % scale, '--lang=en-US',
                    '--font-render-hinting=none', '--disable-lcd-text'):
            options.add_argument(arg)
        self.driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
        self.scale, self.origin = scale, (0, 0)
        self.driver.get('file://' + os.path.abspath(os.path.join(site, 'index.html')))
        # The form stands in the first frame; it takes actions once the program has it.
        self.wait_for(lambda: self.named('时间') and self.driver.execute_script(
            'return !document.getElementById("client").inert'), 'the page shows no form')

    def close(self):
        self.driver.quit()

    def wait_for(self, condition, failure):
        value = wait_until(condition)
        expect(value, failure() if callable(failure) else failure)
        return value

    # What a person reads.
    def named(self, name):
        found = self.driver.find_elements('css selector', '[aria-label="%s"]' % name)
        return found[0] if found else None

    def text(self, name):
        element = self.named(name)
        return element.get_attribute('value') if element.tag_name == 'input' else element.text

    def live(self):
        return self.driver.find_element('id', 'live').get_attribute('textContent')

    def dialog(self):
        """The message box's title and text while one is open, else None."""
        if not self.driver.execute_script('return document.getElementById("box").open'):
            return None
        return tuple(self.driver.find_element('id', i).text for i in ('box-title', 'box-text'))

    def screenshot(self):
        png = self.driver.get_screenshot_as_png()
        ppm = subprocess.run(['convert', 'png:-', '-depth', '8', 'ppm:-'], input=png,
                             capture_output=True, check=True).stdout
        return display.Screenshot(ppm)

    def pixel(self, shot, x, y):
        return shot.pixel(x * self.scale, y * self.scale)

    def wait_for_screen(self, condition):
        shots = []
        wait_until(lambda: shots.append(self.screenshot()) or condition(shots[-1]))
        return shots[-1]

    def save_png(self, path, crop=None):
        geometry = ['-crop', '%dx%d+0+0' % crop[2:]] if crop else []
        subprocess.run(['convert', 'png:-'] + geometry + ['+repage', path],
                       input=self.driver.get_screenshot_as_png(), check=True)

    def cells(self, cell=layout.view_cell):
        shot = self.screenshot()
        code = {'red': '1', 'light blue': '0', 'silver': 'S'}
        return ''.join(code.get(layout.cell_colour(self, shot, cell(i)), '?')
                       for i in range(31, -1, -1))

    def ticks(self, row='比特查看'):
        return {i for i in range(32) if self.named('%s 第%d位' % (row, i)).is_selected()}

    # What a person does.
    def click(self, rect):
        from selenium.webdriver.common.action_chains import ActionChains
        actions = ActionChains(self.driver)
        actions.w3c_actions.pointer_action.move_to_location(*rect.centre).click()
        actions.perform()

    def keys(self, *keys):
        from selenium.webdriver.common.action_chains import ActionChains
        ActionChains(self.driver).send_keys(*keys).perform()

    def type_into(self, rect, text):
        self.click(rect)
        self.keys(text)

    def paste(self, text):
        self.driver.execute_cdp_cmd('Input.insertText', {'text': text})

    def close_messages(self, count, what):
        """Closes `count` message boxes one after another with OK, each seen apart from the
        last by the entry it leaves; their texts."""
        texts = []
        for n in range(count):
            state = lambda: (self.dialog(), self.text('数据输入'))
            shown = self.wait_for(lambda: state()[0] and state(),
                                  '%s: message %d of %d never came' % (what, n + 1, count))
            expect(shown[0][0] == ERROR_TITLE, '%s: a message box titled %r' % (what, shown[0][0]))
            texts.append(shown[0][1])
            self.keys(ENTER)  # presses its one button, OK
            self.wait_for(lambda: state() != shown, '%s: OK left the box open' % what)
        expect(self.dialog() is None, '%s: a message box too many: %s' % (what, self.dialog()))
        return texts


def bits(value):
    return format(value, '032b')


def wait_cells(page, want, what, cell=layout.view_cell):
    page.wait_for(lambda: page.cells(cell) == want,
                  lambda: '%s: cells %s, expected %s' % (what, page.cells(cell), want))


def wait_field(page, want, what):
    field = lambda: (page.text('比特查看 二进制'), page.text('比特查看 Hex'))
    page.wait_for(lambda: field() == want, lambda: '%s: readouts %s, expected %s' % (what, field(), want))


# Each step: what a person does or must see, with its arguments.
STEPS = {
    'type': lambda p, rect, text: p.type_into(rect, text),
    'keys': lambda p, *keys: p.keys(*keys),
    'click': lambda p, rect: p.click(rect),
    'paste': lambda p, text: p.paste(text),
    'cells': lambda p, want, cell=layout.view_cell: wait_cells(p, want, 'cells', cell),
    'ticks': lambda p, want, row='比特查看': p.wait_for(
        lambda: p.ticks(row) == want, lambda: 'ticked %s, expected %s' % (p.ticks(row), want)),
    'field': lambda p, want: wait_field(p, want, 'field'),
    'shows': lambda p, name, want: p.wait_for(
        lambda: p.text(name) == want, lambda: '%s shows %r, expected %r' % (name, p.text(name), want)),
    'messages': lambda p, want: expect(p.close_messages(len(want), 'messages') == want, 'messages'),
    'live': lambda p, want: p.wait_for(
        lambda: p.live() == want, lambda: 'the live region says %r, expected %r' % (p.live(), want)),
}

TYPE_1F = [('type', layout.DATA_IN, '1F'), ('cells', bits(0x1F))]
SET = '比特设置'
CASES = {
    'type_1F': TYPE_1F + [('live', '二进制 11111')],
    'not_hex_G': TYPE_1F + [('keys', 'G'), ('messages', [NOT_HEX]), ('shows', '数据输入', '1F'),
                            ('cells', bits(0x1F)), ('live', '二进制 11111')],
    'ninth_character': [('type', layout.DATA_IN, '12345678'), ('cells', bits(0x12345678)),
                        ('keys', '9'), ('messages', [TOO_LONG]), ('shows', '数据输入', '123456789'),
                        ('cells', bits(0x12345678))],
    'paste_1G23': [('click', layout.DATA_IN), ('paste', '1G23'), ('messages', [NOT_HEX] * 3),
                   ('shows', '数据输入', '1'), ('cells', bits(1))],
    'select_0_3_enter': TYPE_1F + [('type', layout.SELECT_RANGE, '0,3'), ('keys', ENTER),
                                   ('ticks', {0, 1, 2, 3}), ('field', ('1111B', '0FH')),
                                   ('live', '1111B, 0FH')],
    'composer_box_5': [('click', layout.set_box(5)), ('ticks', {5}, SET),
                       ('shows', '比特设置 二进制', '100000'), ('shows', '比特设置 Hex', '20'),
                       ('cells', bits(0x20), layout.set_cell), ('live', '二进制 100000, Hex 20')],
    'clear_select': TYPE_1F + [('type', layout.SELECT_RANGE, '3,10'), ('click', layout.SELECT),
                               ('ticks', set(range(3, 11))), ('field', ('00000011B', '03H')),
                               ('click', layout.CLEAR_SELECT), ('ticks', set()),
                               ('field', ('0B', '00H')), ('cells', bits(0x1F)), ('live', '0B, 00H')],
    'clear_set': [('click', layout.set_box(3)), ('click', layout.set_box(9)), ('ticks', {3, 9}, SET),
                  ('shows', '比特设置 Hex', '208'), ('click', layout.CLEAR_SET), ('ticks', set(), SET),
                  ('shows', '比特设置 二进制', '0'), ('shows', '比特设置 Hex', '0'),
                  ('cells', '0' * 22 + 'S00000S000', layout.set_cell), ('live', '二进制 0, Hex 0')],
    # Tab from the entry reaches "Select" and then box 0; Space presses each.
    'keyboard': [('keys', '1F'), ('cells', bits(0x1F)), ('keys', TAB, SPACE),
                 ('messages', [BAD_RANGE]), ('keys', TAB, SPACE), ('ticks', {0}),
                 ('field', ('1B', '01H'))],
}


def run(page, steps):
    for step, *args in steps:
        STEPS[step](page, *args)


def clock(page):
    """The clock ticks; while a message box is open it stands still, and it goes on after."""
    shown = page.wait_for(lambda: re.search(r'\d:\d\d:\d\d', page.text('时间')) and page.text('时间'),
                          lambda: 'the clock shows %r' % page.text('时间'))
    page.wait_for(lambda: page.text('时间') != shown, 'the clock stays at %r' % shown)
    page.type_into(layout.DATA_IN, 'G')
    page.wait_for(page.dialog, 'no message box for G')
    frozen = page.text('时间')
    now = lambda: page.driver.execute_script('return new Date().toLocaleTimeString()')
    seen = {frozen}  # the browser's own time of day goes on twice meanwhile
    page.wait_for(lambda: seen.add(now()) or len(seen) >= 3, 'the time of day stands still')
    expect(page.text('时间') == frozen, 'the clock ticked to %r under the message box' % page.text('时间'))
    page.close_messages(1, 'G')
    page.wait_for(lambda: page.text('时间') != frozen, 'the clock does not go on after OK')


def names(page):
    """Every box, cell, entry and readout has the name the desktop programs give it."""
    want = [('数据输入', 'textbox'), ('选择位范围', 'textbox'), ('比特设置 二进制', 'textbox'),
            ('比特设置 Hex', 'textbox'), ('比特查看 二进制', 'note'), ('比特查看 Hex', 'note'),
            ('时间', 'note')]
    for row in ('比特查看', '比特设置'):
        for i in range(32):
            want += [('%s 第%d位' % (row, i), 'checkbox'), ('%s 第%d位 数值' % (row, i), 'note'),
                     ('%s 第%d位 位号' % (row, i), 'note')]
    for name, role in want:
        element = page.named(name)
        got = element and (element.accessible_name, element.aria_role)
        expect(got == (name, role), '%s: named and role %s' % (name, got))


def picture(scale, first_frame=False):
    """The page against its reference. The first frame is index.html before its script
    runs: the same picture but for the entry's focus, which comes with the program, and
    a page that takes no actions until then."""
    def case(page):
        masks = [layout.CLOCK]
        if first_frame:
            page.driver.execute_cdp_cmd('Emulation.setScriptExecutionDisabled', {'value': True})
            page.driver.refresh()
            expect(page.driver.find_element('id', 'client').get_dom_attribute('inert') is not None,
                   'the first frame takes actions it would lose')
            entry = layout.DATA_IN
            masks.append(layout.Rect((entry.x - 1) * 15, (entry.y - 1) * 15,
                                     (entry.w + 2) * 15, (entry.h + 2) * 15))
        reference = os.path.join(HERE, 'pictures', 'page-%dx.png' % scale)
        size = tuple(n * scale for n in layout.CLIENT)
        masked = [tuple(n * scale for n in (m.x, m.y, m.w, m.h)) for m in masks]
        name_at = lambda point: layout.name_at((point[0] // scale, point[1] // scale))
        wrong = display.match_picture(page, reference, size, masked, name_at)
        expect(wrong is None, 'the page at %dx: %s' % (scale, wrong))
    case.scale = scale
    return case


SPECIAL = {'clock': clock, 'names': names, 'picture_1x': picture(1), 'picture_2x': picture(2),
           'first_frame': picture(1, first_frame=True)}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--site')
    parser.add_argument('--list', action='store_true')
    parser.add_argument('name', nargs='?')
    args = parser.parse_args()
    if args.list:
        print('\n'.join(list(CASES) + list(SPECIAL)))
        return 0
    try:
        import selenium  # noqa: F401
        missing = [] if os.path.exists('/usr/bin/chromedriver') else ['chromedriver']
    except ImportError:
        missing = ['python3-selenium']
    missing += [] if shutil.which('convert') else ['convert (imagemagick)']
    if missing:
        print('missing: %s' % ' '.join(missing))
        return 1 if os.environ.get('CI') == 'true' else 77
    case = SPECIAL.get(args.name) or (lambda p: run(p, CASES[args.name]))
    page = Page(args.site, getattr(case, 'scale', 1))
    start = time.monotonic()
    try:
        case(page)
    finally:
        page.close()
    print('PASS %s (%.1f s)' % (args.name, time.monotonic() - start))
    return 0


if __name__ == '__main__':
    sys.exit(main())
