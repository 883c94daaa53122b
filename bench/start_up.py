#!/usr/bin/env python3
"""Launch to first painted window, and the memory held once it has settled, for several
X11 programs measured in turn in one run.

Usage: start_up.py [--runs N] [--warm-up N] [--csv FILE]
                   --program LABEL TITLE COMMAND [--program ...]

Each run starts a private Xvfb (tests/support/display.py), launches COMMAND on it and takes
the time from the launch until a top-level window whose title matches the pattern TITLE
(case aside) first shows more than one colour (paint_watch.py). Then it reads the resident
memory of the program and its children until the figure holds still, ends the program and
the display. The programs take turns, one run each per round, starting one later each
round, so whatever else loads the machine falls on all of them alike. One uncounted warm-up
round comes first. Every wait is for a state; the deadline (PELMORA_DEADLINE, seconds) only
bounds a hang. Exit 0 when every counted run succeeded, 1 when one failed, 77 (skip)
when Xvfb is missing and CI is not set.
"""
import argparse
import csv
import os
import shutil
import statistics
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'tests', 'support'))

from display import DEADLINE, Display, Failure, wait_until  # noqa: E402
from paint_watch import FrameWatch  # noqa: E402

SCREEN = (1920, 1080)
SKIP = 77
FIELDS = ['label', 'phase', 'run', 'ok', 'paint_ms', 'rss_mib', 'error']
# Memory has settled when this many reads in a row, this far apart, give the same figure.
STEADY_READS, READ_INTERVAL = 5, 0.02
# A desktop session's variables would send the program to a bus or a display not ours.
SESSION_VARIABLES = ('WAYLAND_DISPLAY', 'DBUS_SESSION_BUS_ADDRESS', 'XAUTHORITY',
                     'DESKTOP_STARTUP_ID', 'SESSION_MANAGER')
TOOLKIT_ON_X = {'QT_QPA_PLATFORM': 'xcb', 'GDK_BACKEND': 'x11'}


def parent_of(pid):
    try:
        with open('/proc/%d/stat' % pid) as stat:
            text = stat.read()
    except OSError:
        return None
    # The command name may hold spaces and brackets; the fields after it do not.
    return int(text[text.rindex(')') + 2:].split()[1])


def process_tree(root):
    """`root` and every process below it."""
    children = {}
    for entry in os.listdir('/proc'):
        if entry.isdigit():
            children.setdefault(parent_of(int(entry)), []).append(int(entry))
    tree, todo = [], [root]
    while todo:
        pid = todo.pop()
        tree.append(pid)
        todo += children.get(pid, [])
    return tree


def resident_kib(pid):
    try:
        with open('/proc/%d/status' % pid) as status:
            for line in status:
                if line.startswith('VmRSS:'):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def settled_rss_kib(program):
    """The resident memory of `program` and its children once it holds still across
    STEADY_READS reads; None when it never does."""
    reads = []

    def steady():
        if program.poll() is not None:
            raise RuntimeError('the program ended (exit %s) after its first frame'
                               % program.returncode)
        reads.append(sum(resident_kib(pid) for pid in process_tree(program.pid)))
        recent = reads[-STEADY_READS:]
        return len(recent) == STEADY_READS and len(set(recent)) == 1

    return reads[-1] if wait_until(steady, interval=READ_INTERVAL) else None


def measure(program, work):
    """One run of one program: its paint time in ms and settled memory in MiB."""
    with Display(work, size=SCREEN) as display:
        for name in SESSION_VARIABLES:
            display.env.pop(name, None)
        display.env.update(TOOLKIT_ON_X, XDG_RUNTIME_DIR=os.path.join(work, 'runtime'))
        os.makedirs(display.env['XDG_RUNTIME_DIR'], mode=0o700, exist_ok=True)
        watch = FrameWatch(display.env['DISPLAY'])
        try:
            started = time.monotonic()
            process = display.spawn(program['command'], log='program.log')
            painted = watch.wait_for_frame(program['title'], process, started + DEADLINE)
            rss = settled_rss_kib(process)
        finally:
            watch.close()
    if rss is None:
        raise RuntimeError('its memory did not settle within %.0f s' % DEADLINE)
    return {'paint_ms': round((painted - started) * 1000, 1), 'rss_mib': round(rss / 1024, 1)}


def schedule(programs, runs, warm_ups):
    """(program, phase, number) in the order measured: warm-up rounds, then counted ones,
    each counted round starting one program later than the one before."""
    order = [(program, 'warmup', n + 1) for n in range(warm_ups) for program in programs]
    for n in range(runs):
        turn = n % len(programs)
        order += [(program, 'run', n + 1) for program in programs[turn:] + programs[:turn]]
    return order


def run_one(program, phase, number, work):
    row = {'label': program['label'], 'phase': phase, 'run': number, 'ok': 1, 'paint_ms': '',
           'rss_mib': '', 'error': ''}
    folder = tempfile.mkdtemp(prefix='%s-' % program['label'], dir=work)
    try:
        row.update(measure(program, folder))
        shutil.rmtree(folder)
    except (RuntimeError, Failure) as failure:
        row.update(ok=0, error='%s (logs in %s)' % (failure, folder))
    return row


def describe(row, runs):
    tag = '%-12s %s' % (row['label'], 'warm-up' if row['phase'] == 'warmup'
                        else 'run %d/%d' % (row['run'], runs))
    if not row['ok']:
        return '%-24s FAILED: %s' % (tag, row['error'])
    return '%-24s paint %7.1f ms  RSS %6.1f MiB' % (tag, row['paint_ms'], row['rss_mib'])


def summary(rows):
    """Medians per program over the counted runs that succeeded."""
    lines = ['%-12s %6s %10s %10s' % ('program', 'ok/n', 'paint ms', 'RSS MiB')]
    for label in dict.fromkeys(row['label'] for row in rows):
        counted = [row for row in rows if row['label'] == label and row['phase'] == 'run']
        done = [row for row in counted if row['ok']]
        median = lambda key: ('%.1f' % statistics.median(row[key] for row in done)
                              if done else '-')
        lines.append('%-12s %3d/%-2d %10s %10s' % (label, len(done), len(counted),
                                                    median('paint_ms'), median('rss_mib')))
    return '\n'.join(lines)


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--runs', type=int, default=15, help='counted runs per program')
    parser.add_argument('--warm-up', type=int, default=1, help='uncounted runs per program')
    parser.add_argument('--csv', help='write every run to this CSV file')
    parser.add_argument('--program', nargs=3, action='append', required=True,
                        metavar=('LABEL', 'TITLE', 'COMMAND'))
    arguments = parser.parse_args()
    arguments.programs = [{'label': label, 'title': title, 'command': [command]}
                          for label, title, command in arguments.program]
    return arguments


def main():
    arguments = parse_arguments()
    if shutil.which('Xvfb') is None:
        print('missing: Xvfb (bash scripts/install-deps.sh)')
        return 1 if os.environ.get('CI') else SKIP
    work = tempfile.mkdtemp(prefix='pelmora-start-up-')
    rows = []
    for program, phase, number in schedule(arguments.programs, arguments.runs,
                                           arguments.warm_up):
        rows.append(run_one(program, phase, number, work))
        print(describe(rows[-1], arguments.runs), flush=True)
    if arguments.csv:
        with open(arguments.csv, 'w', newline='') as out:
            writer = csv.DictWriter(out, fieldnames=FIELDS)
            writer.writeheader()
            writer.writerows(rows)
    print(summary(rows))
    failed = [row for row in rows if row['phase'] == 'run' and not row['ok']]
    if not failed:
        shutil.rmtree(work, ignore_errors=True)
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
