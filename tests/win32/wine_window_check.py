#!/usr/bin/env python3
"""Runs Pelmora.exe under Wine in a private Xvfb and checks what a person would see.

Usage: wine_window_check.py --exe32 EXE [--exe64 EXE] [--screenshot PNG]

The window must be titled "Pelmoria" with a 662 x 341 client at 96 dpi; all cells start
light blue; typing 1F paints cells 0 to 4 red and the rest light blue; typing G brings a
message box titled "出错" that Enter closes, after which the cells still show 1F; "0,3"
typed into the range box followed by Enter (the default button "Select") ticks boxes 0
to 3; Tab then Space presses "Clear Select"; a click on composer box 5 paints its cell
red, and Space on it turns the cell silver.

The program is 32-bit. Where the kernel cannot execute 32-bit code at all (Linux with
ia32 emulation switched off) wine32 cannot start, so the check runs the same sources
built for x86_64 (--exe64) under wine64 instead, and says so.

Everything runs in a temporary Wine prefix and display that are removed afterwards, and
every step is bounded in time. Exit 0 on success, 1 on failure, 77 (skip) when a tool is
missing and CI is not set.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import wine_session as ws

SKIP = 77
RED = (255, 0, 0)
LIGHT_BLUE = (192, 192, 255)
SILVER = (192, 192, 192)


def fail_or_skip(message):
    print(f"missing: {message}")
    return 1 if os.environ.get("CI") else SKIP


def cell(left, top, size=255):
    """A control's pixel rectangle at 96 dpi from its twips."""
    x, y = round(left / 15), round(top / 15)
    return x, y, round((left + size) / 15) - x, round((top + size) / 15) - y


def analysis_cell(i):
    return cell(9480 - 300 * i, 1320)


def analysis_box(i):
    return cell(9480 - 300 * i, 1680)


def composer_cell(i):
    return cell(9420 if i == 0 else 9410 - 300 * i, 3375)


def composer_box(i):
    return cell(9480 if i == 0 else 9470 - 300 * i, 3720, 195)


def cell_colour(shot, origin, rect):
    """The background of a cell: its inner corners must agree (the digit is centred)."""
    x, y, w, h = rect
    corners = [shot.pixel(origin[0] + x + dx, origin[1] + y + dy)
               for dx, dy in ((2, 2), (w - 3, 2), (2, h - 3), (w - 3, h - 3))]
    return corners[0] if all(ws.near(c, corners[0]) for c in corners) else None


def row_pattern(shot, origin, cells, ones):
    """Which cells do not have the colour they should for the set of 1 bits."""
    wrong = []
    for i in range(32):
        want = RED if i in ones else LIGHT_BLUE
        got = cell_colour(shot, origin, cells(i))
        if got is None or not ws.near(got, want):
            wrong.append(f"{i}: {got}")
    return wrong


def ticked(shot, origin, rect):
    """A tick shows as dark pixels inside the box, well inside its frame."""
    x, y, w, h = rect
    dark = 0
    for yy in range(y + 4, y + h - 4):
        for xx in range(x + 4, x + w - 4):
            r, g, b = shot.pixel(origin[0] + xx, origin[1] + yy)
            dark += (r + g + b) < 300
    return dark >= 3


def run_checks(session, exe, screenshot):
    checks = []

    def check(name, ok, detail=""):
        checks.append(ok)
        print(f"{'ok  ' if ok else 'FAIL'} {name}{': ' + detail if detail and not ok else ''}")

    session.start_program(exe)
    window = session.wait_for_window("^Pelmoria$", 90)
    if not window and session.program.poll() is not None:
        # A freshly booted prefix now and then loses the very first start; once more.
        print(f"the program ended ({session.program.returncode}) before showing a window; "
              f"starting it again\n{session.log_tail()}")
        session.start_program(exe)
        window = session.wait_for_window("^Pelmoria$", 90)
    if not window:
        check("a window titled Pelmoria opens", False, "none within 90 s")
        print(session.log_tail())
        return False
    check("a window titled Pelmoria opens", True)
    geometry = session.geometry(window)
    origin = (geometry["x"], geometry["y"])
    check("client area is 662 x 341 at 96 dpi", (geometry["width"], geometry["height"]) ==
          (662, 341), f"{geometry['width']} x {geometry['height']}")

    shot = session.wait_for_screen(lambda s: not row_pattern(s, origin, analysis_cell, set()), 20)
    check("all analysis cells start light blue",
          not row_pattern(shot, origin, analysis_cell, set()),
          ", ".join(row_pattern(shot, origin, analysis_cell, set())))

    session.focus(window)
    session.type_text("1F")
    ones = {0, 1, 2, 3, 4}
    shot = session.wait_for_screen(lambda s: not row_pattern(s, origin, analysis_cell, ones), 30)
    check("typing 1F paints cells 0-4 red, the rest light blue",
          not row_pattern(shot, origin, analysis_cell, ones),
          ", ".join(row_pattern(shot, origin, analysis_cell, ones)))

    session.type_text("G")
    box = session.wait_for_window("^出错$", 60)
    check('typing G brings a message box titled "出错"', bool(box))
    if box:
        session.focus(box)
        session.key("Return")
        gone = session.wait_until(lambda: not session.find_windows("^出错$"), 30)
        check("Enter closes the message box", gone)
    shot = session.wait_for_screen(lambda s: not row_pattern(s, origin, analysis_cell, ones), 15)
    check("the cells still show 1F afterwards",
          not row_pattern(shot, origin, analysis_cell, ones),
          ", ".join(row_pattern(shot, origin, analysis_cell, ones)))

    # The range box, then Enter: the default button "Select" ticks boxes 0 to 3.
    rx, ry, rw, rh = cell(4680, 600, 1095)
    session.click(window, rx + rw // 2, ry + 10)
    session.type_text("0,3")
    session.key("Return")
    want = [i < 4 for i in range(32)]
    shot = session.wait_for_screen(
        lambda s: [ticked(s, origin, analysis_box(i)) for i in range(32)] == want, 30)
    got = [ticked(shot, origin, analysis_box(i)) for i in range(32)]
    check('"0,3" and Enter tick boxes 0 to 3', got == want,
          "ticked " + str([i for i in range(32) if got[i]]))

    # Tab order: the range box is followed by "Clear Select"; Space presses it.
    session.key("Tab")
    session.key("space")
    none = [False] * 32
    shot = session.wait_for_screen(
        lambda s: [ticked(s, origin, analysis_box(i)) for i in range(32)] == none, 30)
    got = [ticked(shot, origin, analysis_box(i)) for i in range(32)]
    check('Tab from the range box, then Space, presses "Clear Select"', got == none,
          "ticked " + str([i for i in range(32) if got[i]]))

    x, y, w, h = composer_box(5)
    session.click(window, x + w // 2, y + h // 2)
    shot = session.wait_for_screen(lambda s: not row_pattern(s, origin, composer_cell, {5}), 30)
    check("a click on composer box 5 paints its cell red",
          not row_pattern(shot, origin, composer_cell, {5}),
          ", ".join(row_pattern(shot, origin, composer_cell, {5})))

    # Space on the focused box unticks it once: the cell turns silver, not back to red.
    session.key("space")
    shot = session.wait_for_screen(
        lambda s: ws.near(cell_colour(s, origin, composer_cell(5)) or (0, 0, 0), SILVER), 30)
    check("Space on the focused composer box unticks it (cell silver)",
          ws.near(cell_colour(shot, origin, composer_cell(5)) or (0, 0, 0), SILVER),
          str(cell_colour(shot, origin, composer_cell(5))))
    session.click(window, x + w // 2, y + h // 2)

    if screenshot:
        session.save_window_png(window, screenshot)
        print(f"screenshot saved to {screenshot}")
    return all(checks)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--exe32", required=True, type=Path)
    parser.add_argument("--exe64", type=Path)
    parser.add_argument("--screenshot", type=Path)
    args = parser.parse_args()

    tools = ["Xvfb", "xdotool", "xwininfo", "import"]
    absent = [t for t in tools if not shutil.which(t)]
    if absent:
        return fail_or_skip(", ".join(absent))
    if not args.exe32.is_file():
        return fail_or_skip(f"{args.exe32} (build the windows preset first)")

    wine = ws.pick_wine(args.exe32, args.exe64)
    if isinstance(wine, str):
        return fail_or_skip(wine)
    print(wine.describe())

    started = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="pelmora-wine-") as scratch:
        with ws.WineSession(wine, Path(scratch)) as session:
            boot = session.boot()
            print(f"wine prefix ready in {boot:.0f} s")
            ok = run_checks(session, wine.exe, args.screenshot)
    print(f"wine check took {time.monotonic() - started:.0f} s")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
