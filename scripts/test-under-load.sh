#!/usr/bin/env bash
# Runs the README's test command from a fresh clone of the committed tree while busy loops
# hold every core, as on a loaded CI machine. Prints the result and the time of every
# test; the whole output stays in the log it names.
#   scripts/test-under-load.sh [RUNS]
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
busy=()
trap 'kill "${busy[@]}" 2>/dev/null' EXIT

for run in $(seq "${1:-1}"); do
    clone=$(mktemp -d)/pelmora
    git clone -q "$here" "$clone"
    for _ in $(seq "$(nproc)"); do (while :; do :; done) & busy+=($!); done
    start=$(date +%s)
    (cd "$clone" && CI=true bash scripts/test.sh) >"$clone.log" 2>&1
    status=$?
    kill "${busy[@]}" 2>/dev/null
    busy=()
    echo "== run $run: exit $status after $(( $(date +%s) - start )) s under $(nproc) busy loops; log $clone.log"
    # Each test's result and time: "name result seconds", both ctest runs.
    sed -nE 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) .*[ .*]([A-Za-z]+) +([0-9.]+) sec$/\1 \2 \3/p' "$clone.log"
    [ "$status" = 0 ] || exit "$status"
done
