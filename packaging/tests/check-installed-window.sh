#!/usr/bin/env bash
# The installed program starts: install into a scratch prefix, run prefix/bin/pelmora on a
# private Xvfb and wait for the window "Pelmoria". Its X11 class must be the desktop
# entry's StartupWMClass, or docks and task bars cannot tie the window to its launcher.
#
# usage: check-installed-window.sh CMAKE BUILD_DIR SOURCE_DIR
set -euo pipefail
cmake=$1 build=$2 src=$3
source "$(dirname "$0")/lib.sh"
need Xvfb xdotool xprop

make_scratch
prefix=$scratch/usr
install_component "$cmake" "$build" "$prefix"

# -displayfd picks a free display number and reports it once the server is ready.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb_pid=$!
cleanup_hooks+=('kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null || true')
for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$scratch/xvfb.log" >&2; fail "Xvfb did not start"; }
    sleep 0.1
done
[ -s "$scratch/display" ] || fail "Xvfb gave no display number"
export DISPLAY=:$(head -n 1 "$scratch/display")
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

"$prefix/bin/pelmora" >"$scratch/app.log" 2>&1 &
app_pid=$!
# Runs before the Xvfb hook: the program goes first, then its display.
cleanup_hooks=('kill "$app_pid" 2>/dev/null; wait "$app_pid" 2>/dev/null || true' "${cleanup_hooks[@]}")

wid=
for _ in $(seq 150); do
    wid=$(xdotool search --onlyvisible --name '^Pelmoria$' 2>/dev/null | head -n 1 || true)
    [ -n "$wid" ] && break
    kill -0 "$app_pid" 2>/dev/null || { cat "$scratch/app.log" >&2; fail "pelmora exited early"; }
    sleep 0.2
done
[ -n "$wid" ] || { cat "$scratch/app.log" >&2; fail "no window titled Pelmoria within 30 s"; }
echo "window $wid: $(xdotool getwindowname "$wid")"

wm_class=$(xprop -id "$wid" WM_CLASS)
echo "$wm_class"
wanted=$(desktop_key "$prefix/share/applications/$app_id.desktop" StartupWMClass)
grep -q "\"$wanted\"" <<<"$wm_class" || fail "WM_CLASS does not contain StartupWMClass $wanted"

echo "PASS: installed program opened its window"
