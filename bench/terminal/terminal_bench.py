#!/usr/bin/env python3
"""How fast pelmora-term answers, and the table in docs/performance.md between its markers.

Usage: terminal_bench.py PELMORA_TERM [--runs N] [--keys N] [--doc FILE]

- Start to first full frame, through tmux: a pane starts the program (the moment of exec
  noted by the pane's own launcher), and tmux pipes what the program writes back here; the
  frame is full when its last row (the clock's "Label3") has come and the writing stops.
  The floor, in turn with it, is /bin/echo writing "Label3" through the same path.
- A keystroke to the screen in the program itself: the program on a pseudo-terminal of its
  own, 80x24; from a key written to it until the last byte of the frame it writes back,
  hex digits and Backspace in turn, so every key changes the entry and its cells.
Every wait is for bytes; the deadline (PELMORA_DEADLINE, seconds) only bounds a hang.
"""
import argparse
import fcntl
import os
import pty
import re
import select
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import termios
import time

DEADLINE = float(os.environ.get('PELMORA_DEADLINE', '30'))
QUIET = 0.03  # no more bytes for this long: the frame is written
ENV = dict(os.environ, LANG='C.UTF-8', TERM='tmux-256color')
GOALS = {'start': 20.0, 'key': 1.0}  # milliseconds


def read_frame(fd, until=b'', clock=time.monotonic):
    """Reads from `fd` until `until` has come and the bytes stop; when the last came."""
    seen, last, end = b'', None, time.monotonic() + DEADLINE
    while time.monotonic() < end:
        wait = QUIET if until in seen and last else end - time.monotonic()
        if not select.select([fd], [], [], wait)[0]:
            if until in seen and last:
                return last
            continue
        chunk = os.read(fd, 65536)
        if not chunk:  # the writer is gone
            if until in seen and last:
                return last
            break
        seen, last = seen + chunk, clock()
    raise SystemExit('no frame from the program (%r...)' % seen[-80:])


def start_through_tmux(program, work):
    socket, fifo, mark = (os.path.join(work, n) for n in ('s', 'pipe', 'exec'))
    os.mkfifo(fifo)
    launcher = ('import os, sys, time; sys.stdin.readline(); open(%r, "w").write(repr(time.time())); '
                'os.execv(%r, [%r, "Label3"])' % (mark, program, program))
    tmux = ['tmux', '-S', socket, '-f', '/dev/null']
    subprocess.run(tmux + ['new-session', '-d', '-x', '80', '-y', '24', '-e', 'LANG=C.UTF-8',
                           sys.executable, '-c', launcher], check=True)
    try:
        subprocess.run(tmux + ['pipe-pane', 'cat > ' + fifo], check=True)
        fd = os.open(fifo, os.O_RDONLY | os.O_NONBLOCK)
        subprocess.run(tmux + ['send-keys', 'Enter'], check=True)
        last = read_frame(fd, b'Label3', time.time)
        os.close(fd)
        with open(mark) as f:
            return (last - float(f.read())) * 1000
    finally:
        subprocess.run(tmux + ['kill-server'], check=False, capture_output=True)


def cpu_ms(pid):
    """The time `pid` has spent on a CPU so far (the scheduler's count, in nanoseconds)."""
    with open('/proc/%d/schedstat' % pid) as f:
        return int(f.read().split()[0]) / 1e6


def keystrokes(program, count):
    """The program's CPU time to its first full frame, and per keystroke: its CPU time, and
    the times from each key written to the last byte of the frame it writes back."""
    pid, fd = pty.fork()
    if pid == 0:
        fcntl.ioctl(0, termios.TIOCSWINSZ, struct.pack('HHHH', 24, 80, 0, 0))
        os.execve(program, [program], ENV)
    try:
        read_frame(fd, b'Label3')
        start_cpu, times = cpu_ms(pid), []
        for n in range(count):
            key = b'\x7f' if n % 16 >= 8 else b'%X' % (n % 16 + 1)
            sent = time.monotonic()
            os.write(fd, key)
            times.append((read_frame(fd) - sent) * 1000)
        return start_cpu, (cpu_ms(pid) - start_cpu) / count, times
    finally:
        os.write(fd, b'\x11')
        os.waitpid(pid, 0)


def write_table(doc, rows, note):
    table = ['| What | pelmora-term | Target | Met |', '|---|---|---|---|']
    table += ['| %s | %.2f ms | %s | %s |' % (what, got, goal and '< %g ms' % goal,
                                              goal and ('yes' if got < goal else 'no'))
              for what, got, goal in rows]
    with open(doc, encoding='utf-8') as f:
        text = f.read()
    block = ('<!-- terminal-bench:begin -->\n%s\n\n%s\n<!-- terminal-bench:end -->'
             % ('\n'.join(table), note))
    text, found = re.subn(r'<!-- terminal-bench:begin -->.*<!-- terminal-bench:end -->', block, text,
                          flags=re.S)
    if found:
        with open(doc, 'w', encoding='utf-8') as f:
            f.write(text)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('program')
    parser.add_argument('--runs', type=int, default=20)
    parser.add_argument('--keys', type=int, default=400)
    parser.add_argument('--doc')
    parser.add_argument('--smoke', action='store_true', help='that it runs; no goal is checked')
    args = parser.parse_args()
    if not shutil.which('tmux'):
        print('missing: tmux')
        return 1 if os.environ.get('CI') else 77
    program = os.path.abspath(args.program)
    starts, floors = [], []
    for _ in range(args.runs + 1):  # the first, uncounted, warms the disk cache
        for times, command in ((starts, program), (floors, '/bin/echo')):
            with tempfile.TemporaryDirectory(prefix='pelmora-bench-') as work:
                times.append(start_through_tmux(command, work))
    start_cpu, key, keys = keystrokes(program, args.keys)
    start, floor = (statistics.median(t[1:] or t) for t in (starts, floors))
    print('start to first full frame, through tmux: median %.2f ms of %d (the floor %.2f ms); the '
          'program\'s CPU time to it %.2f ms' % (start, len(starts) - 1, floor, start_cpu))
    print('keystroke to screen, in the program: %.3f ms of CPU a key; key in to frame out, '
          'median %.3f ms, p90 %.3f ms of %d' % (key, statistics.median(keys),
                                                 sorted(keys)[len(keys) * 9 // 10], len(keys)))
    if args.doc:
        note = ('Medians of %d starts and %d keystrokes, measured %s on %s (%d CPUs), load average %s.'
                % (len(starts) - 1, len(keys), time.strftime('%Y-%m-%d %H:%M'), os.uname().nodename,
                   os.cpu_count(), '%.1f' % os.getloadavg()[0]))
        write_table(args.doc, [('Start to first full frame, through tmux', start, GOALS['start']),
                               ('The floor: /bin/echo through the same path', floor, ''),
                               ("The program's own CPU time to it", start_cpu, GOALS['start']),
                               ('A keystroke to the screen, CPU time in the program', key, GOALS['key']),
                               ('A keystroke in to its frame out, on its own terminal',
                                statistics.median(keys), GOALS['key'])], note)
    return 0 if args.smoke or (start < GOALS['start'] and key < GOALS['key']) else 1


if __name__ == '__main__':
    sys.exit(main())
