#!/usr/bin/env bash
# Renews the reference pictures the picture tests compare the window with, after an
# intended change of what the window shows, or after a font package update changed
# glyphs: the Qt window at 1x and 2x, and Pelmora.exe under Wine. Look at every renewed
# picture (git status shows which) before committing them.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target pelmora_qt_tests pelmora_win32_x86_64
for scale in 1 2; do
    PELMORA_RENEW_PICTURES=1 QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$scale \
        build-release/tests/qt/pelmora_qt_tests --gtest_filter='*Pictures*' | grep renewed
done
PELMORA_RENEW_PICTURES=1 python3 tests/win32/wine_window_check.py --pictures \
    --exe64 build-release/tests/win32/pelmora-x86_64/src/frontends/win32/Pelmora.exe
git status --short -- tests/qt/pictures tests/win32/pictures
