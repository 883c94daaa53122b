#!/usr/bin/env bash
# The Windows ZIP script: it packs the exe, LICENSE.txt and README.txt (Windows line ends)
# under one folder, every member dated SOURCE_DATE_EPOCH, gives the same bytes when run
# twice, and makes nothing when the exe is missing. A placeholder exe exercises the script
# on every machine; where the release files have been built, their ZIP is checked the same
# way against their Pelmora.exe, dated as debian/changelog, and listed in SHA256SUMS.
#
# usage: check-windows-zip.sh CMAKE PACKAGING_DIR RELEASE_DIR SOURCE_DIR VERSION SOURCE_DATE_EPOCH
set -euo pipefail
cmake=$1 pkgdir=$2 release=$3 src=$4 version=$5 epoch=$6
source "$(dirname "$0")/lib.sh"
need python3 zip sha256sum dpkg-parsechangelog

make_scratch
top=Pelmora-$version-win32

zip_it() { # EXE OUT
    "$cmake" -DEXE="$1" -DLICENSE="$src/LICENSE" -DREADME="$src/README.md" \
             -DVERSION="$version" -DSOURCE_DATE_EPOCH="$epoch" -DOUT="$2" \
             -P "$pkgdir/make-windows-zip.cmake" >/dev/null
}

check_zip() { # EXE ZIP EPOCH
    local exe=$1 zip=$2 epoch=$3 want
    rm -rf "$scratch/x" && mkdir "$scratch/x"
    python3 -m zipfile -e "$zip" "$scratch/x" || fail "$zip is not a readable ZIP"
    want="$top/LICENSE.txt $top/Pelmora.exe"
    [ -f "$src/README.md" ] && want="$top/LICENSE.txt $top/Pelmora.exe $top/README.txt"
    have=$(cd "$scratch/x" && find . -type f | sed 's|^\./||' | sort | tr '\n' ' ' | sed 's/ $//')
    [ "$have" = "$want" ] || fail "ZIP holds '$have', expected '$want'"
    cmp -s "$exe" "$scratch/x/$top/Pelmora.exe" || fail "Pelmora.exe in the ZIP differs"
    tr -d '\r' <"$scratch/x/$top/LICENSE.txt" | cmp -s - "$src/LICENSE" || fail "LICENSE.txt differs"
    python3 - "$scratch/x/$top/LICENSE.txt" <<'PY' || fail "LICENSE.txt lacks Windows line ends"
import sys
data = open(sys.argv[1], 'rb').read()
sys.exit(0 if data.count(b'\n') == data.count(b'\r\n') > 0 else 1)
PY
    # ZIP times are in two-second steps.
    python3 - "$zip" "$epoch" <<'PY' || fail "ZIP members are not dated SOURCE_DATE_EPOCH"
import sys, time, zipfile
want = time.gmtime(int(sys.argv[2]) + 1 & ~1)[:6]
sys.exit(0 if {i.date_time for i in zipfile.ZipFile(sys.argv[1]).infolist()} == {want} else 1)
PY
}

# A placeholder exe: the script never looks inside it.
printf 'MZ placeholder for the zip check\n' >"$scratch/Pelmora.exe"
zip_it "$scratch/Pelmora.exe" "$scratch/a.zip"
check_zip "$scratch/Pelmora.exe" "$scratch/a.zip" "$epoch"
# Neither the exe's own time nor the umask may reach the ZIP.
touch -d @0 "$scratch/Pelmora.exe"
(umask 077 && zip_it "$scratch/Pelmora.exe" "$scratch/b.zip")
cmp -s "$scratch/a.zip" "$scratch/b.zip" || fail "two runs gave different ZIPs"

# A missing exe is no error and writes nothing.
zip_it "$scratch/none/Pelmora.exe" "$scratch/none.zip"
[ ! -e "$scratch/none.zip" ] || fail "a ZIP was made without an exe"

real_zip=$release/$top.zip
if [ -f "$real_zip" ]; then
    check_zip "$release/Pelmora.exe" "$real_zip" "$(dpkg-parsechangelog -l "$src/debian/changelog" -STimestamp)"
    grep " $top.zip\$" "$release/SHA256SUMS" | (cd "$release" && sha256sum --check --strict) \
        || fail "SHA256SUMS does not list $top.zip with its sum"
    echo "PASS: ZIP script, and $real_zip"
else
    echo "PASS: ZIP script (no release files in $release: bash scripts/build-release-files.sh)"
fi
