#!/usr/bin/env bash
# Installs what is missing, builds the release program and opens its window.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target pelmora
exec ./build-release/src/frontends/qt/pelmora
