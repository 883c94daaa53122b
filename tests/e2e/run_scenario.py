#!/usr/bin/env python3
"""Runs scenarios against the real program on a private X display.

    run_scenario.py --program PATH --work DIR NAME...   (NAME: a scenario, or "all")
    run_scenario.py --list

Exits 0 when every scenario passed, 1 when one failed, and 77 (skipped) when a tool is
missing on a developer's machine; under CI a missing tool is a failure. Runs itself
inside a private D-Bus session so the accessibility bus is its own.
"""
import argparse
import os
import shutil
import subprocess
import sys
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
sys.dont_write_bytecode = True  # the source tree stays as committed

from x_session import XSession, tools_missing  # noqa: E402
from display import SKIP, skip_unless_ci  # noqa: E402


def all_scenarios():
    import a11y_scenarios
    import hostile_scenarios
    import scenarios
    import screen_reader_scenarios
    import wayland_scenarios
    table = {}
    for module in (scenarios, hostile_scenarios, a11y_scenarios, screen_reader_scenarios,
                   wayland_scenarios):
        table.update(module.SCENARIOS)
    return table


def log(line):
    print(line, flush=True)


def run_one(name, scenario, program, work):
    from person import Person
    os.makedirs(work, exist_ok=True)
    start = time.monotonic()
    with XSession(program, work, getattr(scenario, 'args', ()),
                  getattr(scenario, 'screen_reader', False)) as session:
        person = Person(session, log)
        scenario(person)
        if not session.alive():
            raise AssertionError('the program ended during the scenario')
    log('PASS %s (%.1f s)' % (name, time.monotonic() - start))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--program')
    parser.add_argument('--work', default='e2e-work')
    parser.add_argument('--list', action='store_true')
    parser.add_argument('names', nargs='*')
    args = parser.parse_args()
    table = all_scenarios()
    if args.list:
        print('\n'.join(table))
        return 0

    names = list(table) if args.names in ([], ['all']) else args.names
    unknown = [n for n in names if n not in table]
    if unknown:
        parser.error('no scenario ' + ', '.join(unknown))
    if len(names) > 1:
        # One process each: a process keeps its first accessibility bus for good.
        failed = [n for n in names if subprocess.call(
            [sys.executable, os.path.abspath(__file__), '--program', args.program,
             '--work', args.work, n]) not in (0, SKIP)]
        log('%d passed, %d failed' % (len(names) - len(failed), len(failed)))
        return 1 if failed else 0

    name = names[0]
    missing = tools_missing() + getattr(table[name], 'missing', list)()
    if missing:
        return skip_unless_ci(', '.join(missing))
    if not os.environ.get('PELMORA_E2E_BUS'):
        os.environ['PELMORA_E2E_BUS'] = '1'
        os.execvp('dbus-run-session', ['dbus-run-session', '--', sys.executable] + sys.argv)

    work = os.path.join(os.path.abspath(args.work), name)
    shutil.rmtree(work, ignore_errors=True)
    log('== %s' % name)
    try:
        run_one(name, table[name], args.program, work)
    except Exception:  # a failed check, or a tool that broke: report it
        traceback.print_exc(file=sys.stdout)
        log('FAIL %s (screenshots and logs in %s)' % (name, work))
        return 1
    return 0


if __name__ == '__main__':
    sys.exit(main())
