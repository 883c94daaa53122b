#!/usr/bin/env bash
# Renews the reference pictures the picture tests compare the window with, after an
# intended change of what the window shows, or after a font package update changed
# glyphs. Look at every renewed picture (git diff shows which) before committing them.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target pelmora_qt_tests
for scale in 1 2; do
    PELMORA_RENEW_PICTURES=1 QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$scale \
        build-release/tests/qt/pelmora_qt_tests --gtest_filter='*Pictures*' | grep renewed
done
git status --short -- tests/qt/pictures
