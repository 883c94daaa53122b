#!/usr/bin/env python3
"""Runs the scenario table (scenarios.py) on one front end.

    run_scenarios.py FRONT --list
    run_scenarios.py FRONT [its options] --work DIR [--results DIR] [NAME... | all | quick]
    run_scenarios.py --report DIR NAME

One session runs the scenarios in turn, each on a freshly started program, and reports
each by name: PASS, FAIL and why, or SKIP and the capability the front end lacks. With
--results each report also goes to DIR/NAME.txt, which --report prints, exiting 0, 1 or 77
(CTest's skip) as the scenario passed, failed or was skipped: one CTest test a scenario.
A session exits 77 when a tool is missing (1 under CI), else 1 when a scenario failed and
no --results were asked for. run_checks does the same for a front end's own checks.
"""
import argparse
import importlib
import os
import shutil
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # the source tree stays as committed

from display import SKIP, skip_unless_ci  # noqa: E402
from scenarios import NEEDS, QUICK, SCENARIOS, START, needs, run  # noqa: E402

# FRONT: the folder of its adapter, the module, its Driver
FRONTS = {'qt': ('e2e', 'qt_driver', 'QtDriver'), 'wine': ('win32', 'wine_driver', 'WineDriver'),
          'page': ('web', 'page_driver', 'PageDriver'),
          'terminal': ('terminal', 'terminal_driver', 'TerminalDriver')}


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


def run_one(driver, name, work):
    """Runs one scenario; its verdict ('PASS', 'FAIL', 'SKIP') and what the log says."""
    wanted = needs(SCENARIOS[name]) | START.get(name, {}).get('needs', set())
    why = '; '.join('needs %s: %s' % (NEEDS[c], driver.LACKS[c])
                    for c in sorted(wanted) if c in driver.LACKS)
    if why:
        # A tool this machine lacks fails under CI, which installs everything.
        return 'FAIL' if os.environ.get('CI') and 'missing' in why else 'SKIP', why
    start = time.monotonic()
    failed = driver.attempt(os.path.join(work, name), lambda d: (
        d.start(START.get(name, {})), run(d, SCENARIOS[name]), d.no_message(name)))
    return ('FAIL', failed) if failed else ('PASS', '%.1f s' % (time.monotonic() - start))


def run_checks(front, checks):
    """The main of a front end's own checks, outside the table: `checks` maps a name to a
    function of a Driver of class `front`, opened afresh for each. Prints PASS or FAIL a
    check; exits 77 when a tool is missing (1 under CI), else 1 when a check failed."""
    parser = argparse.ArgumentParser()
    front.add_options(parser)
    parser.add_argument('--work', required=True)
    args = parser.parse_args()
    missing = front.missing(args)
    if missing:
        return skip_unless_ci(', '.join(missing))
    failed = 0
    for name, check in checks.items():
        with front(args, args.work, print) as driver:
            why = driver.attempt(os.path.join(os.path.abspath(args.work), name), check)
        print('FAIL %s: %s' % (name, why) if why else 'PASS ' + name, flush=True)
        failed += bool(why)
    return 1 if failed else 0


def main():
    if sys.argv[1:2] == ['--report']:
        return report(*sys.argv[2:4])
    parser = argparse.ArgumentParser()
    parser.add_argument('front', choices=FRONTS)
    parser.add_argument('--list', action='store_true')
    parser.add_argument('--work', default='scenario-work')
    parser.add_argument('--results')
    parser.add_argument('names', nargs='*')
    folder, module, driver = FRONTS.get(sys.argv[1] if sys.argv[1:] else None, FRONTS['qt'])
    sys.path.insert(0, os.path.join(HERE, '..', folder))
    front = getattr(importlib.import_module(module), driver)
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
    with front(args, work, lambda line: (print(line, flush=True), lines.append(line))) as driver:
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
