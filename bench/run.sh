#!/usr/bin/env bash
# Measures Pelmora against its targets and writes the table in docs/performance.md:
#   - per-action times of the core and of the Qt front end (Google Benchmark),
#   - which widgets an action repaints (the touch check),
#   - launch to first painted window and memory, interleaved with the Qt and Xlib floors
#     and with whichever desktop calculators are installed (galculator, kcalc),
#   - Pelmora.exe's size and imports, when the Windows build exists.
# Environment: RUNS (start-up runs per program, default 15), PELMORA_BENCH_BUILD (build
# tree, default build-bench), PELMORA_EXE (default build-windows/.../Pelmora.exe),
# PELMORA_BENCH_DOC (default docs/performance.md).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${PELMORA_BENCH_BUILD:-$repo/build-bench}
runs=${RUNS:-15}
exe=${PELMORA_EXE:-$repo/build-windows/src/frontends/win32/Pelmora.exe}
doc=${PELMORA_BENCH_DOC:-$repo/docs/performance.md}
out=$build/bench-results
floor=$repo/bench/floor

for tool in Xvfb python3 pkg-config cc g++; do
  command -v "$tool" >/dev/null || { echo "bench: $tool is missing (bash scripts/install-deps.sh)" >&2; exit 1; }
done

echo "== build ($build)"
cmake --preset release -B "$build" >/dev/null
cmake --build "$build" -j 2 --target pelmora pelmora_core_bench pelmora_qt_bench pelmora_qt_touch_test
# A Windows build measured is one of this tree, not whatever was last built there.
if [ -z "${PELMORA_EXE:-}" ] && [ -f "$repo/build-windows/build.ninja" ]; then
  cmake --build "$repo/build-windows" -j 2 >/dev/null
fi
rm -rf "$out" && mkdir -p "$out"
cc -O2 "$floor/floor.c" -o "$out/floor" -lX11
# shellcheck disable=SC2046 # pkg-config prints several words on purpose
g++ -O2 -fPIC "$floor/qtfloor.cpp" -o "$out/qtfloor" $(pkg-config --cflags --libs Qt6Widgets)

load_before=$(cut -d' ' -f1-3 /proc/loadavg)

echo "== per action: core"
"$build/bench/pelmora_core_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_out="$out/core.json" --benchmark_out_format=json
echo "== per action: Qt front end (offscreen)"
QT_QPA_PLATFORM=offscreen "$build/bench/pelmora_qt_bench" --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true --benchmark_out="$out/qt.json" --benchmark_out_format=json
echo "== repaints only changed widgets"
touch_result=pass
QT_QPA_PLATFORM=offscreen "$build/bench/pelmora_qt_touch_test" --gtest_brief=1 || touch_result=fail

# Other processes on a shared machine skew start-up times far more than they skew one
# program against another; a raised priority (where allowed) keeps the measured programs
# and their X server ahead of them, all alike.
prio=()
if nice -n -10 true 2>/dev/null; then prio=(nice -n -10); fi

echo "== launch to first painted window, $runs runs each, interleaved"
programs=(--program pelmora '^Pelmoria$' "$build/src/frontends/qt/pelmora"
          --program qtfloor '^qtfloor$' "$out/qtfloor"
          --program floor '^floor$' "$out/floor")
for calc in galculator kcalc; do
  if path=$(command -v "$calc"); then programs+=(--program "$calc" "$calc" "$path"); fi
done
"${prio[@]}" python3 "$repo/bench/start_up.py" --runs "$runs" --csv "$out/start.csv" "${programs[@]}" |
  tee "$out/start.txt"

load_after=$(cut -d' ' -f1-3 /proc/loadavg)

echo "== table -> $doc"
python3 "$repo/bench/report.py" --doc "$doc" --start "$out/start.csv" --core "$out/core.json" \
  --qt "$out/qt.json" --touch "$touch_result" --exe "$exe" --runs "$runs" \
  --load "$load_before" --load "$load_after" --priority "${prio[*]:-normal}"
/usr/bin/python3 "$repo/bench/web/web_bench.py" --doc "$doc" --out "$out/web" --runs "$runs"
