#!/usr/bin/env python3
"""Measures the page (build-web/site) in headless Chromium and Firefox and writes the web
section of docs/performance.md between its markers:

  - page weight: gzip -9 bytes of every file the page loads;
  - load to first painted frame (first contentful paint) against a bare page of 134 plain
    elements (64 check boxes, 64 coloured cells, 3 entries, 3 buttons, as qtfloor), both
    loaded in turn in the same browser, in each engine;
  - time per keystroke: an edit of the entry until the program waits for the next one,
    with every element it changed updated (painting comes after, once per frame).

usage: web_bench.py --site DIR --doc FILE --out DIR [--runs N] [--engines chromium,firefox]
                    [--smoke]
--smoke loads each page once and writes no doc: the tests' check that the bench still runs.
The preset's own site (the default) is built first, so that it is never measured stale.
"""
import argparse
import datetime
import gzip
import json
import os
import platform
import re
import statistics
import subprocess
import sys

REPO = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..'))
sys.path.insert(0, os.path.join(REPO, 'tests', 'support'))
import browsers  # noqa: E402
import display  # noqa: E402
GOALS = {'weight': 300 * 1024, 'paint': 1.25, 'key': 1.0}  # bytes, ratio, ms
KEYSTROKES = 2000
# Firefox gives paint times in whole milliseconds: over 30 pairs the median ratio of two copies
# of one page differed by 0.1, over 150 by about 0.03. A pair of loads takes a third of a second.
PAIRS = 150
# Resolves once the program, which starts after the first frame, waits for an action.
IDLE = '''const idle = () => window.Module && Module.idle ? Module.idle()
    : new Promise(r => requestAnimationFrame(r)).then(idle);'''


def bare_page(path):
    cells = []
    for i in range(64):
        x, y = 10 + (i % 32) * 20, 60 + (i // 32) * 140
        cells.append('<div style="left:%dpx;top:%dpx;width:17px;height:17px;background:#c0c0ff">0</div>'
                     '<input type="checkbox" style="left:%dpx;top:%dpx">' % (x, y, x, y + 30))
    for i in range(3):
        cells.append('<input style="left:%dpx;top:20px;width:120px">'
                     '<button style="left:%dpx;top:300px">Button %d</button>' % (10 + 200 * i, 10 + 200 * i, i))
    with open(path, 'w') as f:
        f.write('<!DOCTYPE html><meta charset="utf-8"><title>bare</title>'
                '<style>body>*{position:absolute;margin:0}</style>%s' % ''.join(cells))


def browser():
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    options = webdriver.ChromeOptions()
    for arg in ('--headless=new', '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage',
                '--window-size=800,500'):
        options.add_argument(arg)
    options.set_capability('goog:loggingPrefs', {'performance': 'ALL'})  # every request
    return webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)


FIRST_PAINT = '''return new Promise(done => new PerformanceObserver((list, observer) => {
      const paint = list.getEntries().find(e => e.name === 'first-contentful-paint');
      if (paint) { observer.disconnect(); done(paint.startTime); }
    }).observe({type: 'paint', buffered: true}));'''


def first_paint(browser, url):
    browser.navigate('about:blank')
    browser.navigate(url)
    return browser.script(FIRST_PAINT)


def loaded_files(driver, url, site):
    """The files of the site a load of `url` requested, and every other address it asked
    for; data: addresses are the page's own bytes, not requests."""
    driver.get_log('performance')
    driver.get(url)
    driver.execute_async_script(IDLE + 'idle().then(arguments[0])')
    urls = set()
    for entry in driver.get_log('performance'):
        message = json.loads(entry['message'])['message']
        if message['method'] == 'Network.requestWillBeSent':
            urls.add(message['params']['request']['url'])
    urls = {u for u in urls if not u.startswith('data:')}
    own = 'file://' + os.path.abspath(site) + '/'
    return [u[len('file://'):] for u in urls if u.startswith(own)], sorted(u for u in urls if not u.startswith(own))


def keystroke_ms(browser):
    return browser.script(IDLE + '''
        const count = arguments[0];
        const entry = document.querySelector('[aria-label="数据输入"]');
        return (async () => {
          await idle();
          const start = performance.now();
          for (let i = 0; i < count; i++) {
            entry.value = (i & 1) ? '1F' : '1E';
            entry.dispatchEvent(new InputEvent('input', {bubbles: true}));
            await Module.idle();
          }
          return (performance.now() - start) / count;
        })();''', KEYSTROKES)


def measure_engine(engine, page_url, bare_url, runs, work):
    """First paint of the page and of the bare page, loaded in turn, and a keystroke."""
    browser = browsers.open_browser(engine, work)
    try:
        first_paint(browser, page_url)  # warm-up: the files in the page cache for both
        first_paint(browser, bare_url)
        paints = {'page': [], 'bare': []}
        for _ in range(runs):
            paints['page'].append(first_paint(browser, page_url))
            paints['bare'].append(first_paint(browser, bare_url))
        browser.navigate(page_url)
        browser.script(IDLE + 'return idle()')
        key = statistics.median(keystroke_ms(browser) for _ in range(5))
        # The ratio of each pair of loads, which a busy machine slows alike, then their median.
        ratio = statistics.median(p / b for p, b in zip(paints['page'], paints['bare']))
        return {'engine': engine, 'version': browser.version, 'key': key, 'ratio': ratio,
                'page': statistics.median(paints['page']), 'bare': statistics.median(paints['bare'])}
    finally:
        browser.close()


def measure(site, out, runs, engines):
    os.makedirs(out, exist_ok=True)
    bare = os.path.join(out, 'bare.html')
    bare_page(bare)
    page_url, bare_url = 'file://' + os.path.abspath(os.path.join(site, 'index.html')), 'file://' + bare
    load = ['%.2f' % os.getloadavg()[0]]
    driver = browser()  # Chromium's own log of every request
    try:
        driver.set_script_timeout(120)
        files, foreign = loaded_files(driver, page_url, site)
    finally:
        driver.quit()
    results = [measure_engine(e, page_url, bare_url, runs, out) for e in engines]
    load.append('%.2f' % os.getloadavg()[0])
    weight = sum(len(gzip.compress(open(f, 'rb').read(), 9)) for f in set(files))
    return {'load': load, 'weight': weight, 'files': sorted(os.path.basename(f) for f in set(files)),
            'foreign': foreign, 'engines': results, 'runs': runs, 'elements': 134}


def table(r):
    yes = lambda ok: 'yes' if ok else 'no'
    rows = [
        '| What | Page | Compared with | Ratio | Target | Met |',
        '|---|---|---|---|---|---|',
        '| Page weight, gzip -9 of every file loaded | %.0f KiB | | %.2f of target | ≤ 300 KiB | %s |'
        % (r['weight'] / 1024, r['weight'] / GOALS['weight'], yes(r['weight'] <= GOALS['weight'])),
    ]
    for e in r['engines']:
        ratio, name = e['ratio'], e['engine'].capitalize()
        rows += [
            '| %s: load to first contentful paint | %.1f ms | bare page %.1f ms | %.2f× | ≤ %.2f× | %s |'
            % (name, e['page'], e['bare'], ratio, GOALS['paint'], yes(ratio <= GOALS['paint'])),
            '| %s: one keystroke in the entry, edit to every changed element | %.0f µs | | %.2f of target | < 1 ms | %s |'
            % (name, e['key'] * 1000, e['key'] / GOALS['key'], yes(e['key'] < GOALS['key'])),
        ]
    rows.append('| Requests beyond the page\'s own files | %s | | | none | %s |'
                % (', '.join(r['foreign']) or 'none', yes(not r['foreign'])))
    when = datetime.datetime.now().strftime('%Y-%m-%d %H:%M')
    versions = ', '.join('%s %s' % (e['engine'].capitalize(), e['version']) for e in r['engines'])
    return '\n'.join(rows) + (
        '\n\nFiles loaded: %s. %s, headless; first paint medians of %d interleaved loads '
        'of each page after one warm-up, the ratio the median of each pair\'s; keystroke median of 5 rounds of %d edits. Measured %s on '
        '%s (%d CPUs), load average %s before, %s after.\n'
        % (', '.join(r['files']), versions, r['runs'], KEYSTROKES, when, platform.node(),
           os.cpu_count(), *r['load']))


def write_doc(doc, text):
    with open(doc, encoding='utf-8') as f:
        old = f.read()
    new, count = re.subn(r'(<!-- web-bench:begin -->\n).*?(<!-- web-bench:end -->)',
                         lambda m: m.group(1) + text + m.group(2), old, flags=re.S)
    if not count:
        sys.exit('%s has no web-bench markers' % doc)
    with open(doc, 'w', encoding='utf-8') as f:
        f.write(new)


def main():
    parser = argparse.ArgumentParser()
    site = os.path.join(REPO, 'build-web', 'site')
    parser.add_argument('--site', default=site)
    parser.add_argument('--doc', default=os.path.join(REPO, 'docs', 'performance.md'))
    parser.add_argument('--out', default=os.path.join(REPO, 'build-web', 'bench-results'))
    parser.add_argument('--runs', type=int, default=int(os.environ.get('RUNS', '15')))
    parser.add_argument('--engines', default='chromium,firefox')
    parser.add_argument('--smoke', action='store_true')
    args = parser.parse_args()
    engines = args.engines.split(',')
    # Chromium lists the files the page loads, whichever engines are timed.
    lacking = sorted({need for e in {'chromium', *engines} for need in browsers.missing(e)})
    if lacking:
        sys.exit(display.skip_unless_ci(', '.join(lacking)))
    if args.site == site:
        subprocess.run(['cmake', '--preset', 'web'], cwd=REPO, check=True, stdout=subprocess.DEVNULL)
        subprocess.run(['cmake', '--build', '--preset', 'web', '-j2'], cwd=REPO, check=True)
    runs = 1 if args.smoke else max(args.runs, PAIRS)
    text = table(measure(args.site, args.out, runs, engines))
    print(text)
    if not args.smoke:
        write_doc(args.doc, text)


if __name__ == '__main__':
    main()
