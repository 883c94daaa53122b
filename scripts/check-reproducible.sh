#!/usr/bin/env bash
# Builds the release files twice from fresh clones of one commit with
# scripts/build-release-files.sh and compares them byte for byte: the .deb, Pelmora.exe, the
# Windows ZIP, the web ZIP and SHA256SUMS (not the .buildinfo, which records when and where
# it was built). The second build differs in all that must not matter: another folder at
# another depth, a clock 400 days ahead (faketime), umask 077 instead of 022 and, when run
# as root, another user (nobody). Where files differ, diffoscope writes a report on each pair.
#
# usage: scripts/check-reproducible.sh [COMMIT]     (default HEAD; uncommitted changes are
#                                                    not part of a commit, so not built)
# Leaves build-reproducible/a/ and b/ with the files of each build and, on a difference,
# build-reproducible/diffoscope-<file>.txt. Needs the packages of scripts/install-deps.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
commit=$(git -C "$root" rev-parse --verify "${1:-HEAD}^{commit}")
out=$root/build-reproducible
for tool in faketime diffoscope; do
    command -v "$tool" >/dev/null || { echo "$tool is missing (bash scripts/install-deps.sh)" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/pelmora-reproducible.XXXXXX")
trap 'rm -rf "$work"' EXIT
rm -rf "$out" && mkdir -p "$out"
chmod 755 "$work"

# clone DIR UMASK: the commit, checked out with that umask (it sets the files' modes).
clone() {
    (umask "$2" && git clone -q --no-local --no-checkout "$root" "$1" \
        && git -C "$1" checkout -q --detach "$commit")
}

# collect SRC NAME: the release files of the tree SRC into $out/NAME, their sums in NAME.sha256.
collect() {
    local dest=$out/$2
    cp -R "$1/build-release-files" "$dest"
    rm "$dest"/*.buildinfo
    (cd "$dest" && sha256sum -- * >"$out/$2.sha256")
}

echo "== build a: $work/a/pelmora, umask 022, $(id -un), the machine's clock"
clone "$work/a/pelmora" 022
(umask 022 && cd "$work/a/pelmora" && env -u SOURCE_DATE_EPOCH bash scripts/build-release-files.sh) \
    >"$out/a.log" 2>&1 || { tail -n 40 "$out/a.log" >&2; echo "build a failed" >&2; exit 1; }
collect "$work/a/pelmora" a

as_other=()
user_note="$(id -un) (not root, so no other user)"
if [ "$(id -u)" -eq 0 ]; then
    as_other=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$work/home" USER=nobody LOGNAME=nobody)
    user_note=nobody
fi
b=$work/b/elsewhere/deeper/src
echo "== build b: $b, umask 077, $user_note, clock +400 days"
mkdir -p "$work/b" "$work/home"
clone "$b" 077
if [ ${#as_other[@]} -gt 0 ]; then chown -R nobody:nogroup "$work/b" "$work/home"; fi
# Only the clock moves: file times stay real (NO_FAKE_STAT) and so do the timers that
# programs wait on (DONT_FAKE_MONOTONIC).
(cd "$b" && "${as_other[@]}" env -u SOURCE_DATE_EPOCH NO_FAKE_STAT=1 DONT_FAKE_MONOTONIC=1 \
    bash -c 'umask 077 && exec faketime -f +400d bash scripts/build-release-files.sh') \
    >"$out/b.log" 2>&1 || { tail -n 40 "$out/b.log" >&2; echo "build b failed" >&2; exit 1; }
collect "$b" b

echo "== SHA256 of a"; cat "$out/a.sha256"
echo "== SHA256 of b"; cat "$out/b.sha256"
if cmp -s "$out/a.sha256" "$out/b.sha256"; then
    echo "PASS: the release files of $commit are the same from both builds"
    exit 0
fi
for file in "$out"/a/*; do
    name=$(basename "$file")
    cmp -s "$file" "$out/b/$name" && continue
    echo "FAIL: $name differs; diffoscope: $out/diffoscope-$name.txt" >&2
    timeout 1200 diffoscope --text "$out/diffoscope-$name.txt" "$file" "$out/b/$name" >/dev/null 2>&1 || true
done
exit 1
