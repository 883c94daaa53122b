#!/usr/bin/env bash
# Started with no display at all, the command says so in one line and fails.
#   no_display_test.sh COMMAND...
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" 2>&1) && { echo "exit 0: $out"; exit 1; }
[ "$(printf '%s\n' "$out" | wc -l)" = 1 ] && grep -q 'no display' <<<"$out" || { echo "said: $out"; exit 1; }
echo "said: $out"
