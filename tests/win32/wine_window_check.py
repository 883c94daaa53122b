#!/usr/bin/env python3
"""Runs Pelmora.exe under Wine in a private Xvfb and checks what a person would see.

Usage: wine_window_check.py (--exe32 EXE | --exe64 EXE) [--locale LOCALE] [--no-font-link]
                            [--pictures] [--screenshot PNG]

What a person does and must then see is the table STEPS below, in order; with --pictures
the window must also look like its pictures in pictures/, the clock aside
(PELMORA_RENEW_PICTURES=1 renews them). The first step that finds the program ended, or
without a window, ends the check as failed.

--exe32 is the program that ships, run under wine32; a kernel without 32-bit execution
(Linux with ia32 emulation off) cannot run that, and tests/win32/vm/ runs this check in a
virtual machine instead. --exe64 is the same sources built for x86_64, under wine64.
--locale is the one Wine and the program run in (the check's own must be a UTF-8 one).
The prefix links "MS Sans Serif" and "Tahoma" to a Chinese face, as Windows does;
--no-font-link leaves that out, so the program must find Chinese glyphs by itself.

Everything runs in a temporary Wine prefix and display that are removed afterwards, and
every step is bounded in time. Exit 0 on success, 1 on failure, 77 (skip) when a tool is
missing and CI is not set.
"""

import argparse
import sys
import tempfile
import time
from pathlib import Path

import wine_session as ws
import window_layout as layout
from display import DEADLINE, Failure, match_picture, missing_tools, skip_unless_ci, wait_until

PICTURES = Path(__file__).resolve().parent / "pictures"
# The Chinese captions in "MS Sans Serif".
SANS_CAPTIONS = {"数据输入": layout.Rect(117, 598, 858, 234), "选择位范围": layout.Rect(3510, 585, 975, 260),
                 "二进制": layout.Rect(0, 2040, 615, 375)}


def boxed_captions(session, shot):
    """Captions drawn as boxes: characters vary from row to row, a row of missing-glyph
    boxes repeats itself."""
    boxed = []
    for text, r in SANS_CAPTIONS.items():
        rows = {tuple(sum(session.pixel(shot, x, y)) < 384 for x in range(r.x, r.x + r.w))
                for y in range(r.y, r.y + r.h)}
        if sum(any(row) for row in rows) < 5:
            boxed.append(text)
    return boxed


def unless(ok, seen):
    return None if ok else seen


class Run:
    """What the steps share: the session, the window once open and the last message box.
    Each check waits for what it wants to see and returns None when it came,
    else what was seen instead."""

    def __init__(self, session, exe):
        self.s, self.exe = session, exe
        self.window, self.box = None, []

    def cells(self, cell, ones):
        """Cells that do not show their bit of `ones` (red for 1, light blue for 0)."""
        wrong = lambda shot: [f"{i}: {c}" for i in range(32) for c in
                              [layout.cell_colour(self.s, shot, cell(i))]
                              if c != ("red" if i in ones else "light blue")]
        return ", ".join(wrong(self.s.wait_for_screen(lambda shot: not wrong(shot)))) or None

    def ticks(self, want):
        read = lambda shot: sorted(layout.row_ticks(self.s, shot))
        got = read(self.s.wait_for_screen(lambda shot: read(shot) == want))
        return unless(got == want, f"ticked {got}")

    def looks_like(self, picture):
        clock = (layout.CLOCK.x, layout.CLOCK.y, layout.CLOCK.w, layout.CLOCK.h)
        return match_picture(self.s, PICTURES / picture, layout.CLIENT, [clock], layout.name_at)

    def opens(self):
        self.s.start_program(self.exe)
        try:
            self.window = self.s.wait_for_window("Pelmoria", self.s.program, 4 * DEADLINE)
        except Failure as failure:
            return str(failure)

    def captions(self):
        shot = self.s.wait_for_screen(lambda shot: not boxed_captions(self.s, shot))
        return unless(not boxed_captions(self.s, shot), "boxes in " + ", ".join(boxed_captions(self.s, shot)))

    def message(self):
        self.s.type("G", delay=150)
        self.box = wait_until(lambda: self.s.windows("出错"))
        return unless(self.box, "no message box")

    def enter_closes(self):
        self.s.focus(self.box[0])
        self.s.key("Return")
        return unless(wait_until(lambda: not self.s.windows("出错")), "the box stays")

    def silver(self):
        colour = lambda shot: layout.cell_colour(self.s, shot, layout.set_cell(5))
        got = colour(self.s.wait_for_screen(lambda shot: colour(shot) == "silver"))
        return unless(got == "silver", got)

    def act(self, *actions):
        """Does what a person does: ("type", text), ("keys", key...), ("click", rect)."""
        for kind, *args in actions:
            {"type": lambda text: self.s.type(text, delay=150), "keys": self.s.key,
             "click": lambda rect: self.s.click(*rect.centre),
             "focus": lambda: self.s.focus(self.window)}[kind](*args)
        return self


def picture(name):
    """A step that compares the window with pictures/`name`, run with --pictures only."""
    check = lambda r: r.looks_like(name)
    check.picture = True
    return f"the window looks like pictures/{name} (the clock aside)", check


ONES_1F = {0, 1, 2, 3, 4}
# What a person does and sees, in order: (what must hold, the check).
STEPS = [
    ("a window titled Pelmoria opens", Run.opens),
    ("the window gives the taskbar its icon, 16 and 32 px among them",
     lambda r: unless({(16, 16), (32, 32)} <= set(icons := r.s.icon_sizes(r.window)), f"icons {icons}")),
    ("client area is 662 x 341 at 96 dpi",
     lambda r: unless((size := r.s.look_at(r.window)) == layout.CLIENT, f"{size[0]} x {size[1]}")),
    ("all analysis cells start light blue", lambda r: r.cells(layout.view_cell, set())),
    ('the Chinese captions in "MS Sans Serif" show characters, not boxes', Run.captions),
    picture("start-up.png"),
    ("typing 1F paints cells 0-4 red, the rest light blue",
     lambda r: r.act(("focus",), ("type", "1F")).cells(layout.view_cell, ONES_1F)),
    ('typing G brings a message box titled "出错"', Run.message),
    ("Enter closes the message box", Run.enter_closes),
    ("the cells still show 1F afterwards", lambda r: r.cells(layout.view_cell, ONES_1F)),
    ('"0,3" and Enter (the default button "Select") tick boxes 0 to 3',
     lambda r: r.act(("click", layout.SELECT_RANGE), ("type", "0,3"), ("keys", "Return")).ticks([0, 1, 2, 3])),
    ("a click on composer box 5 paints its cell red",
     lambda r: r.act(("click", layout.set_box(5))).cells(layout.set_cell, {5})),
    picture("1F-select-0,3-composer-5.png"),
    ("Space on the focused composer box unticks it once (cell silver)",
     lambda r: r.act(("keys", "space")).silver()),
    ('Tab from the range box, then Space, presses "Clear Select"',
     lambda r: r.act(("click", layout.SELECT_RANGE), ("keys", "Tab", "space")).ticks([])),
]


def run_checks(session, exe, screenshot, pictures):
    """Runs every step and reports each; stops at once when the program has ended or
    never showed its window, with Wine's log."""
    run, ok = Run(session, exe), True
    for what, check in STEPS:
        if getattr(check, "picture", False) and not pictures:
            continue
        problem = check(run)
        ok = ok and problem is None
        print(f"{'ok  ' if problem is None else 'FAIL'} {what}{': ' + problem if problem else ''}")
        if session.program.poll() is not None or run.window is None:
            print(f"the program has ended ({session.program.returncode})"
                  if session.program.poll() is not None else "no window to look at")
            print(session.log_tail())
            return False
    if screenshot:
        run.act(("click", layout.set_box(5))).cells(layout.set_cell, {5})
        session.save_png(screenshot, run.window)
        print(f"screenshot saved to {screenshot}")
    return ok


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    exe = parser.add_mutually_exclusive_group(required=True)
    exe.add_argument("--exe32", type=Path)
    exe.add_argument("--exe64", type=Path)
    parser.add_argument("--locale")
    parser.add_argument("--no-font-link", action="store_true")
    parser.add_argument("--pictures", action="store_true")
    parser.add_argument("--screenshot", type=Path)
    args = parser.parse_args()
    program = args.exe32 or args.exe64

    absent = missing_tools(["xprop"])
    if absent:
        return skip_unless_ci(", ".join(absent))
    if not program.is_file():
        return skip_unless_ci(f"{program} (build it first)")
    wine = ws.pick_wine(program, 32 if args.exe32 else 64)
    if isinstance(wine, str):
        return skip_unless_ci(wine)
    print(wine.describe())

    started = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="pelmora-wine-") as scratch:
        with ws.WineSession(wine, Path(scratch), args.locale) as session:
            boot = session.boot(font_link=not args.no_font_link)
            links = "no font links" if args.no_font_link else "Chinese font links"
            print(f"wine prefix ready in {boot:.0f} s ({args.locale or 'own'} locale, {links})")
            ok = run_checks(session, wine.exe, args.screenshot, args.pictures)
    print(f"wine check took {time.monotonic() - started:.0f} s")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
