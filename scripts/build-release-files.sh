#!/usr/bin/env bash
# Builds the release files of this source tree: Pelmora.exe (build-windows/), the page
# (build-web/site/), and in build-release/ the Linux program, the .deb, the Windows ZIP, the
# web ZIP and SHA256SUMS for the last three. They depend on nothing but the source, so a fresh clone of the same commit gives the
# same bytes on any Debian 12 machine (docs/install.md). Needs the packages that
# scripts/install-deps.sh installs; builds the program and the package, not the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-2}

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs" --target Pelmora
cmake --preset web >/dev/null
cmake --build --preset web -j "$jobs" --target pelmora_site
cmake --preset release >/dev/null
cmake --build --preset release -j "$jobs" --target pelmora_component
(cd build-release && cpack >/dev/null)
cmake --build --preset release --target package_windows_zip >/dev/null
cmake --build --preset release --target package_web_zip >/dev/null
echo "build-release/SHA256SUMS:"
cat build-release/SHA256SUMS
