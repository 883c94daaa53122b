#!/usr/bin/env bash
# Photographs the Linux program's window for the documentation: runs the given pelmora
# binary under a private Xvfb display and writes docs/screenshot-linux.png, the window
# alone. Builds nothing.
#
#   scripts/screenshot.sh [path/to/pelmora] [output.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$root/build-release/src/frontends/qt/pelmora}
output=${2:-$root/docs/screenshot-linux.png}

for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "screenshot.sh: $tool is missing" >&2; exit 1; }
done
[ -x "$program" ] || { echo "screenshot.sh: no program at $program" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [ -z "$app_pid" ] || kill "$app_pid" 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "screenshot.sh: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

# A fixed locale and a plain desktop, so the picture does not depend on who takes it.
LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb "$program" >"$work/app.log" 2>&1 &
app_pid=$!

window=$(timeout 10 xdotool search --sync --onlyvisible --name '^Pelmoria$' | head -n1) || true
[ -n "$window" ] || { echo "screenshot.sh: no window appeared" >&2; cat "$work/app.log" >&2; exit 1; }
# Past the first clock tick (500 ms), so the status row shows the time.
sleep 1.5
mkdir -p "$(dirname "$output")"
import -window "$window" "$output"
echo "wrote $output"
