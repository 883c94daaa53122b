#!/usr/bin/env bash
# Renews the reference pictures the picture tests compare the window with, after an
# intended change of what the window shows, or after a font package update changed
# glyphs: the Qt window at 1x and 2x, the page in each engine, the terminal's screens and
# Pelmora.exe under Wine. The Wine
# pictures come from the 32-bit program that ships, in the run of its scenarios that
# compares them (under the host's wine32, or in the check VM where this kernel cannot run
# 32-bit code). Look at every renewed picture (git status shows which) before committing
# them.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release -j 2 --target pelmora_qt_tests pelmora_window_reader pelmora-term
cmake --preset windows >/dev/null
cmake --build --preset windows -j 2 --target Pelmora
for scale in 1 2; do
    # A scale with no picture renewed is no failure; a failing test still is.
    PELMORA_RENEW_PICTURES=1 QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$scale \
        build-release/tests/qt/pelmora_qt_tests --gtest_filter='*Pictures*' |
        { grep renewed || true; }
done
cmake --preset web >/dev/null
cmake --build --preset web -j 2
pictures=(picture_start_up picture_2x picture_1F_select_composer)
for engine in chromium firefox webkit; do
    PELMORA_RENEW_PICTURES=1 /usr/bin/python3 tests/support/run_scenarios.py page --engine "$engine" \
        --site build-web/site --work "build-web/renew-pictures-$engine" "${pictures[@]}"
done
PELMORA_RENEW_PICTURES=1 /usr/bin/python3 tests/support/run_scenarios.py terminal \
    --program build-release/src/frontends/terminal/pelmora-term \
    --work build-release/renew-pictures-terminal "${pictures[@]}"
wine_run=build-release/renew-pictures-wine
PELMORA_RENEW_PICTURES=1 bash tests/win32/vm/wine_window_real.sh \
    build-windows/src/frontends/win32/Pelmora.exe "$wine_run" \
    build-release/tests/win32/window_reader-i686.exe
cp "$wine_run"/win32/pictures/*.png tests/win32/pictures/
git status --short -- tests/*/pictures
