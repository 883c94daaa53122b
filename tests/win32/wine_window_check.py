#!/usr/bin/env python3
"""Runs Pelmora.exe under Wine in a private Xvfb and checks what a person would see.

Usage: wine_window_check.py (--exe32 EXE | --exe64 EXE) [--locale LOCALE] [--no-font-link]
                            [--pictures] [--screenshot PNG]

The window must be titled "Pelmoria" with a 662 x 341 client at 96 dpi; the Chinese
captions in "MS Sans Serif" show their characters, not boxes; all cells start light blue;
typing 1F paints cells 0 to 4 red and the rest light blue; typing G brings a message box
titled "出错" that Enter closes, after which the cells still show 1F; "0,3" typed into the
range box followed by Enter (the default button "Select") ticks boxes 0 to 3; a click on
composer box 5 paints its cell red, and Space on it turns the cell silver; Tab from the
range box, then Space, presses "Clear Select". With --pictures, at start-up and after
composer box 5 the window must look like its pictures in pictures/, the clock aside
(PELMORA_RENEW_PICTURES=1 renews them).

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
import os
import sys
import tempfile
import time
from pathlib import Path

import wine_session as ws
import window_layout as layout
from display import DEADLINE, Failure, match_picture, missing_tools, wait_until

SKIP = 77
PICTURES = Path(__file__).resolve().parent / "pictures"


def fail_or_skip(message):
    print(f"missing: {message}")
    return 1 if os.environ.get("CI") else SKIP


def row_pattern(session, shot, cells, ones):
    """Which cells do not have the colour they should for the set of 1 bits."""
    return [f"{i}: {layout.cell_colour(session, shot, cells(i))}" for i in range(32)
            if layout.cell_colour(session, shot, cells(i)) != ("red" if i in ones else "light blue")]


def ticks(session, shot):
    return sorted(layout.row_ticks(session, shot))


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


def open_window(session, exe):
    session.start_program(exe)
    try:
        return session.wait_for_window("Pelmoria", session.program, 4 * DEADLINE)
    except Failure:
        if session.program.poll() is None:
            raise
    # A freshly booted prefix now and then loses the very first start; once more.
    print(f"the program ended ({session.program.returncode}) before showing a window; "
          f"starting it again\n{session.log_tail()}")
    session.start_program(exe)
    return session.wait_for_window("Pelmoria", session.program, 4 * DEADLINE)


def run_checks(session, exe, screenshot, pictures):
    checks = []

    def check(name, ok, detail=""):
        checks.append(ok)
        print(f"{'ok  ' if ok else 'FAIL'} {name}{': ' + detail if detail and not ok else ''}")
        if not ok and session.program.poll() is not None:
            print(f"the program has ended ({session.program.returncode})\n{session.log_tail()}")
            raise SystemExit(1)

    def cells_show(cells, ones):
        shot = session.wait_for_screen(lambda s: not row_pattern(session, s, cells, ones))
        return ", ".join(row_pattern(session, shot, cells, ones))

    def ticks_show(want):
        return ticks(session, session.wait_for_screen(lambda s: ticks(session, s) == want))

    def looks_like(picture):
        if not pictures:
            return
        clock = (layout.CLOCK.x, layout.CLOCK.y, layout.CLOCK.w, layout.CLOCK.h)
        wrong = match_picture(session, PICTURES / picture, layout.CLIENT, [clock], layout.name_at)
        check(f"the window looks like pictures/{picture} (the clock aside)", not wrong, wrong)

    try:
        window = open_window(session, exe)
    except Failure as failure:
        check("a window titled Pelmoria opens", False, str(failure))
        print(session.log_tail())
        return False
    check("a window titled Pelmoria opens", True)
    icons = session.icon_sizes(window)
    check("the window gives the taskbar its icon, 16 and 32 px among them",
          {(16, 16), (32, 32)} <= set(icons), f"icons {icons}")
    size = session.look_at(window)
    check("client area is 662 x 341 at 96 dpi", size == layout.CLIENT, f"{size[0]} x {size[1]}")

    wrong = cells_show(layout.view_cell, set())
    check("all analysis cells start light blue", not wrong, wrong)
    boxed = boxed_captions(session, session.wait_for_screen(lambda s: not boxed_captions(session, s)))
    check('the Chinese captions in "MS Sans Serif" show characters, not boxes', not boxed,
          "boxes in " + ", ".join(boxed))
    looks_like("start-up.png")

    session.focus(window)
    session.type("1F", delay=150)
    ones = {0, 1, 2, 3, 4}
    wrong = cells_show(layout.view_cell, ones)
    check("typing 1F paints cells 0-4 red, the rest light blue", not wrong, wrong)

    session.type("G", delay=150)
    box = wait_until(lambda: session.windows("出错"))
    check('typing G brings a message box titled "出错"', bool(box))
    if box:
        session.focus(box[0])
        session.key("Return")
        check("Enter closes the message box", bool(wait_until(lambda: not session.windows("出错"))))
    wrong = cells_show(layout.view_cell, ones)
    check("the cells still show 1F afterwards", not wrong, wrong)

    # The range box, then Enter: the default button "Select" ticks boxes 0 to 3.
    session.click(*layout.SELECT_RANGE.centre)
    session.type("0,3", delay=150)
    session.key("Return")
    got = ticks_show([0, 1, 2, 3])
    check('"0,3" and Enter tick boxes 0 to 3', got == [0, 1, 2, 3], f"ticked {got}")
    session.click(*layout.set_box(5).centre)
    wrong = cells_show(layout.set_cell, {5})
    check("a click on composer box 5 paints its cell red", not wrong, wrong)
    looks_like("1F-select-0,3-composer-5.png")

    # Space on the focused box unticks it once: the cell turns silver, not back to red.
    colour = lambda s: layout.cell_colour(session, s, layout.set_cell(5))
    session.key("space")
    shot = session.wait_for_screen(lambda s: colour(s) == "silver")
    check("Space on the focused composer box unticks it (cell silver)", colour(shot) == "silver",
          colour(shot))

    # Tab order: the range box is followed by "Clear Select"; Space presses it.
    session.click(*layout.SELECT_RANGE.centre)
    session.key("Tab", "space")
    got = ticks_show([])
    check('Tab from the range box, then Space, presses "Clear Select"', not got, f"ticked {got}")

    if screenshot:
        session.click(*layout.set_box(5).centre)
        cells_show(layout.set_cell, {5})
        session.save_png(screenshot, window)
        print(f"screenshot saved to {screenshot}")
    return all(checks)


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
        return fail_or_skip(", ".join(absent))
    if not program.is_file():
        return fail_or_skip(f"{program} (build it first)")
    wine = ws.pick_wine(program, 32 if args.exe32 else 64)
    if isinstance(wine, str):
        return fail_or_skip(wine)
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
