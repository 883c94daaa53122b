#!/usr/bin/env bash
# Installs what the Linux program needs to build and run (the groups build and run of
# scripts/packages.d), builds it with the release preset and opens its window. The tests'
# packages are not needed, so their part of the build is left out here; the test command
# configures the same tree with them.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
    echo "open.sh: no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)" >&2
    exit 1
fi
bash scripts/install-deps.sh build run
cmake --preset release -DPELMORA_TESTS=OFF -DPELMORA_TERMINAL=OFF >/dev/null
cmake --build --preset release --target pelmora
exec ./build-release/src/frontends/qt/pelmora
