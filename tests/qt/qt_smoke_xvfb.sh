#!/usr/bin/env bash
# The real program on a real X server: starts its own Xvfb, runs pelmora with the xcb
# platform plugin, waits for a window titled "Pelmoria" and checks in a screenshot of
# the screen that bit cell 0 is drawn light blue (0xFFC0C0 as 0xBBGGRR, RGB 192,192,255)
# where the design puts it. Skips (77) when the X tools are missing, unless CI is set.
#
#   qt_smoke_xvfb.sh <pelmora>
set -euo pipefail
program=$1

for tool in Xvfb xdotool xwininfo import convert; do
    if ! command -v "$tool" >/dev/null; then
        echo "smoke: $tool is missing"
        [ -n "${CI:-}" ] && exit 1
        exit 77
    fi
done

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [ -z "$app_pid" ] || kill "$app_pid" 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "smoke: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"

start=$(date +%s%N)
# An option the program does not know must change nothing: it takes no command line.
QT_QPA_PLATFORM=xcb "$program" --no-such-option -style windows >"$work/app.log" 2>&1 &
app_pid=$!
window=$(timeout 5 xdotool search --sync --onlyvisible --name '^Pelmoria$' | head -n1) || true
if [ -z "$window" ]; then
    echo "smoke: no window titled Pelmoria within 5 s"
    cat "$work/app.log"
    exit 1
fi
echo "smoke: window $window mapped after $(( ($(date +%s%N) - start) / 1000000 )) ms"

geometry=$(xwininfo -id "$window")
x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$geometry")
y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$geometry")
width=$(awk '/Width:/ {print $2}' <<<"$geometry")
height=$(awk '/Height:/ {print $2}' <<<"$geometry")
if [ "$width" != 662 ] || [ "$height" != 341 ]; then
    echo "smoke: client is ${width}x${height}, expected 662x341"
    exit 1
fi

# Cell 0 of the analysis row is the 17-pixel square at (632, 88) of the client; its
# corners and centre are background (the digit "0" is hollow).
status=1
for _ in $(seq 20); do
    import -window root "$work/screen.png"
    colours=$(for p in "1,1" "15,1" "1,15" "15,15" "8,8"; do
        px=$((x + 632 + ${p%,*})); py=$((y + 88 + ${p#*,}))
        convert "$work/screen.png" -format "%[pixel:p{$px,$py}] " info:
    done)
    if [ "$(tr ' ' '\n' <<<"$colours" | grep -c 'srgb(192,192,255)')" = 5 ]; then
        status=0
        break
    fi
    sleep 0.2
done
if [ "$status" != 0 ]; then
    echo "smoke: cell 0 is not light blue: $colours"
    exit 1
fi
kill -0 "$app_pid" || { echo "smoke: the program ended early"; cat "$work/app.log"; exit 1; }
echo "smoke: cell 0 light blue at ($((x + 632)), $((y + 88)))"
