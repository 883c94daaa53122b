#!/usr/bin/env bash
# Installs what is missing, builds the release program and opens its window.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]; then
    echo "open.sh: no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)" >&2
    exit 1
fi
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target pelmora
exec ./build-release/src/frontends/qt/pelmora
