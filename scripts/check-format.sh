#!/usr/bin/env bash
# Fails, naming the files, when any tracked C++ file differs from what clang-format-14
# makes of it under the checked-in .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if ! clang-format-14 --dry-run -Werror "${files[@]}" 2>/tmp/pelmora-format.$$; then
    grep -o '^[^:]*\.\(cpp\|h\):' /tmp/pelmora-format.$$ | sort -u | sed 's/:$/: not formatted/'
    rm -f /tmp/pelmora-format.$$
    echo "Run: git ls-files '*.cpp' '*.h' | xargs clang-format-14 -i"
    exit 1
fi
rm -f /tmp/pelmora-format.$$
echo "All ${#files[@]} C++ files formatted."
