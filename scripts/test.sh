#!/usr/bin/env bash
# Installs what is missing of every group in scripts/packages.d, builds every configuration
# and runs every test headless: the unit and Qt tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the page built with emscripten and driven in Chromium,
# Firefox and WebKitGTK, then the release program's tests (real windows under Xvfb, Pelmora.exe under
# Wine, fuzzing, benchmarks smoke, packaging). Before those it builds the release files of
# the commit twice and compares them; the packaging tests check the first build's.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t groups < <(cd scripts/packages.d && ls -- *.txt | sed 's/\.txt$//' |
    grep -vx tests-win32-host)
bash scripts/install-deps.sh "${groups[@]}"
bash scripts/install-deps.sh tests-win32-host ||
    echo "The Wine check will run the real Pelmora.exe in the check VM instead."
jobs=$(nproc)

echo "== format"
bash scripts/check-format.sh

echo "== dev (sanitizers)"
cmake --preset dev >/dev/null
cmake --build --preset dev -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 ctest --preset dev -j "$jobs" -L unit
# ctest runs each test alone; each program once whole, in a shuffled order, shows that no
# test leans on another (gtest prints the seed to repeat the order with).
echo "== unit and Qt tests, each program whole and shuffled"
export ASAN_OPTIONS=detect_leaks=1
build-dev/tests/pelmora_core_tests --gtest_shuffle --gtest_brief=1
QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=1 build-dev/tests/qt/pelmora_qt_tests --gtest_shuffle \
    --gtest_brief=1
unset ASAN_OPTIONS

echo "== windows"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"

echo "== web (the page, in Chromium, Firefox and WebKitGTK)"
cmake --preset web >/dev/null
cmake --build --preset web -j "$jobs"
ctest --preset web -j "$jobs"

echo "== release"
cmake --preset release -DPELMORA_RELEASE_FILES="$PWD/build-reproducible/a" >/dev/null
cmake --build --preset release -j "$jobs"

echo "== reproducible release files (two builds of $(git rev-parse --short HEAD))"
bash scripts/check-reproducible.sh

echo "== release tests"
ctest --preset release -j 1
