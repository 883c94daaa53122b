#!/usr/bin/env python3
"""Runs the scenario table (scenarios.py) on one front end.

    run_scenarios.py FRONT --list
    run_scenarios.py FRONT [its options] --work DIR [--results DIR] [NAME... | all | quick]
    run_scenarios.py --report DIR NAME

FRONT is qt (the program on Xvfb, tests/e2e), wine (Pelmora.exe, tests/win32) or page (the
page in Chromium, tests/web). One session runs the scenarios in turn, each on a freshly
started program, and reports each by name: PASS, FAIL and why, or SKIP and the capability
the front end lacks. With --results each report also goes to DIR/NAME.txt, which
--report prints, exiting 0, 1 or 77 (CTest's skip) as the scenario passed, failed or was
skipped: one CTest test a scenario. A session exits 77 when a tool is missing (1 under CI),
else 1 when a scenario failed and no --results were asked for.
"""
import argparse
import importlib
import os
import shutil
import sys
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # the source tree stays as committed

from display import SKIP, skip_unless_ci  # noqa: E402
from scenarios import NEEDS, QUICK, SCENARIOS, START, needs, run  # noqa: E402

FRONTS = {'qt': ('e2e', 'qt_driver'), 'wine': ('win32', 'wine_driver'), 'page': ('web', 'page_driver'),
          'terminal': ('terminal', 'terminal_driver')}


def report(results, name):
    """Prints a scenario's report from an earlier session; its exit code."""
    try:
        with open(os.path.join(results, name + '.txt'), encoding='utf-8') as f:
            text = f.read()
    except FileNotFoundError:  # under CI a session that skips fails instead
        print('no report of %s: its session was skipped or broke off (see the session test)' % name)
        return SKIP
    print(text, end='')
    return {'PASS': 0, 'SKIP': SKIP}.get(text.split(None, 1)[0], 1)


def write(results, name, verdict, text):
    with open(os.path.join(results, name + '.txt'), 'w', encoding='utf-8') as f:
        f.write('%s %s\n' % (verdict, text.rstrip('\n')))


def lacking(driver, name):
    """Why `driver` cannot run scenario `name`, or None when it can."""
    wanted = needs(SCENARIOS[name]) | START.get(name, {}).get('needs', set())
    missing = sorted(c for c in wanted if c in driver.LACKS)
    return '; '.join('needs %s: %s' % (NEEDS[c], driver.LACKS[c]) for c in missing) or None


def run_one(driver, name, work):
    """Runs one scenario; its verdict ('PASS', 'FAIL', 'SKIP') and what the log says."""
    why = lacking(driver, name)
    if why:
        # A tool this machine lacks fails under CI, which installs everything.
        return 'FAIL' if os.environ.get('CI') and 'missing' in why else 'SKIP', why
    driver.work = os.path.join(work, name)
    shutil.rmtree(driver.work, ignore_errors=True)
    os.makedirs(driver.work)
    start = time.monotonic()
    try:
        driver.start(START.get(name, {}))
        run(driver, SCENARIOS[name])
        driver.no_message(name)
    except Exception:  # a failed check, or a tool that broke: report it
        driver.on_failure()
        return 'FAIL', '%s(screenshots and logs in %s)' % (traceback.format_exc(), driver.work)
    finally:
        driver.stop()
    return 'PASS', '%.1f s' % (time.monotonic() - start)


def main():
    if sys.argv[1:2] == ['--report']:
        return report(*sys.argv[2:4])
    parser = argparse.ArgumentParser()
    parser.add_argument('front', choices=FRONTS)
    parser.add_argument('--list', action='store_true')
    parser.add_argument('--work', default='scenario-work')
    parser.add_argument('--results')
    parser.add_argument('names', nargs='*')
    folder, module = FRONTS[sys.argv[1] if len(sys.argv) > 1 and sys.argv[1] in FRONTS else 'qt']
    sys.path.insert(0, os.path.join(HERE, '..', folder))
    front = importlib.import_module(module)
    front.add_options(parser)
    args = parser.parse_intermixed_args()
    if args.list:
        print('\n'.join(SCENARIOS))
        return 0
    names = {(): list(SCENARIOS), ('all',): list(SCENARIOS), ('quick',): QUICK}.get(
        tuple(args.names), args.names)
    unknown = [n for n in names if n not in SCENARIOS]
    if unknown:
        parser.error('no scenario ' + ', '.join(unknown))
    if args.results:
        shutil.rmtree(args.results, ignore_errors=True)
        os.makedirs(args.results)
    missing = front.missing(args)
    if missing:
        for name in names if args.results else ():
            write(args.results, name, 'SKIP' if not os.environ.get('CI') else 'FAIL',
                  '%s on %s: missing %s' % (name, args.front, ', '.join(missing)))
        return skip_unless_ci(', '.join(missing))
    getattr(front, 'prepare', lambda: None)()
    work = os.path.abspath(args.work)
    failed = 0
    lines = []
    with front.session(args, work, lambda line: (print(line, flush=True), lines.append(line))) as driver:
        for name in names:
            print('== %s on %s' % (name, args.front), flush=True)
            lines.clear()
            verdict, why = run_one(driver, name, work)
            failed += verdict == 'FAIL'
            print('%s %s: %s' % (verdict, name, why), flush=True)
            if args.results:
                write(args.results, name, verdict, '%s on %s: %s\n%s' % (
                    name, args.front, why, ''.join(line + '\n' for line in lines)))
    for name in SCENARIOS if args.results else ():
        if name not in names:
            write(args.results, name, 'SKIP', '%s on %s: left to the other runs of this front end'
                  % (name, args.front))
    print('%d scenarios, %d failed' % (len(names), failed))
    return 1 if failed and not args.results else 0


if __name__ == '__main__':
    sys.exit(main())
