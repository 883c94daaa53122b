#!/usr/bin/env bash
# The Debian package: cpack builds it from the build tree into a scratch folder; it is
# version DEB_VERSION and holds the expected files with root ownership and standard modes,
# a stripped program, no maintainer scripts (so removing it leaves nothing behind),
# library dependencies from dpkg-shlibdeps plus the two CJK fonts, and lintian finds no
# error in it.
#
# usage: check-deb.sh CPACK BUILD_DIR SOURCE_DIR DEB_VERSION
set -euo pipefail
cpack=$1 build=$2 src=$3 deb_version=$4
source "$(dirname "$0")/lib.sh"
need dpkg-deb dpkg-shlibdeps lintian file

make_scratch
(cd "$scratch" && "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out") \
    >"$scratch/cpack.log" 2>&1 || { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
shopt -s nullglob
debs=("$scratch"/out/pelmora_*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one pelmora_*.deb, found: ${debs[*]:-none}"
deb=${debs[0]}
echo "built $(basename "$deb")"

# Contents: every expected file, nothing outside /usr, root-owned, standard modes.
dpkg-deb -c "$deb" >"$scratch/contents"
{ expected_data_files; echo bin/pelmora; } | while read -r f; do
    grep -q " \./usr/$f\$" "$scratch/contents" || fail "package lacks /usr/$f"
done
awk '{print $6}' "$scratch/contents" | grep -v '^\./$' | grep -v '^\./usr/' \
    && fail "package installs outside /usr"
awk '$2 != "root/root"' "$scratch/contents" | grep . && fail "files not owned by root"
awk '$1 ~ /^d/ && $1 != "drwxr-xr-x"' "$scratch/contents" | grep . && fail "odd directory modes"
awk '$1 ~ /^-/ && $6 != "./usr/bin/pelmora" && $1 != "-rw-r--r--"' "$scratch/contents" \
    | grep . && fail "odd file modes"
grep -q '^-rwxr-xr-x .* \./usr/bin/pelmora$' "$scratch/contents" || fail "program not 0755"

# Control data.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = pelmora ] || fail "package name is $(field Package)"
[ "$(field Version)" = "$deb_version" ] || fail "version is $(field Version), want $deb_version"
depends=$(field Depends)
echo "Depends: $depends"
# Package names alone, one a line ("libc6 (>= 2.34)" -> "libc6").
sed 's/, */\n/g' <<<"$depends" | sed 's/ .*//' >"$scratch/depends"
for dep in fonts-arphic-gkai00mp fonts-wqy-zenhei libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6; do
    grep -qxF "$dep" "$scratch/depends" || fail "Depends lacks $dep"
done
for f in Maintainer Section Description Version Architecture; do
    [ -n "$(field "$f")" ] || fail "control field $f is empty"
done
dpkg-deb -e "$deb" "$scratch/control"
extra=$(ls "$scratch/control" | grep -vx -e control -e md5sums || true)
[ -z "$extra" ] || fail "unexpected control members (maintainer scripts?): $extra"

dpkg-deb -x "$deb" "$scratch/root"
file -b "$scratch/root/usr/bin/pelmora" | grep -q ', stripped' || fail "program is not stripped"

# lintian: errors fail the test, warnings and notes are shown for the record.
lintian --display-info "$deb" >"$scratch/lintian.log" 2>&1 || true
cat "$scratch/lintian.log"
grep -q '^E: ' "$scratch/lintian.log" && fail "lintian reports errors"

echo "PASS: $(basename "$deb")"
