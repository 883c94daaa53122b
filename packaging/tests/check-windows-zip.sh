#!/usr/bin/env bash
# The Windows ZIP script, on a placeholder exe: the exe, LICENSE.txt and README.txt (Windows
# line ends) under one folder, all dated SOURCE_DATE_EPOCH; the same bytes twice over; nothing
# without an exe. The release files' ZIP, where built: the same against their Pelmora.exe,
# dated as debian/changelog, and listed in SHA256SUMS.
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
    local x=$scratch/x/$top want=(LICENSE.txt Pelmora.exe) have stamp
    [ -f "$src/README.md" ] && want+=(README.txt)
    rm -rf "$scratch/x"
    python3 -m zipfile -e "$2" "$scratch/x" || fail "$2 is not a readable ZIP"
    have=$(find "$scratch/x" -type f -printf '%P\n' | sort | paste -sd ' ')
    [ "$have" = "${want[*]/#/$top/}" ] \
        || fail "ZIP holds '$have', expected ${want[*]} in $top"
    cmp -s "$1" "$x/Pelmora.exe" || fail "Pelmora.exe in the ZIP differs"
    sed 's/$/\r/' "$src/LICENSE" | cmp -s - "$x/LICENSE.txt" \
        || fail "LICENSE.txt is not LICENSE with Windows line ends"
    # ZIP times are in two-second steps.
    stamp=$(date -u -d "@$((($3 + 1) & ~1))" '+%F %T')
    ! python3 -m zipfile -l "$2" | tail -n +2 | grep -vF " $stamp " \
        || fail "ZIP members above are not dated SOURCE_DATE_EPOCH ($stamp)"
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
    check_zip "$release/Pelmora.exe" "$real_zip" \
        "$(dpkg-parsechangelog -l "$src/debian/changelog" -STimestamp)"
    listed_in_sums "$release" "$top.zip"
    echo "PASS: ZIP script, and $real_zip"
else
    echo "PASS: ZIP script (no release files in $release: bash scripts/build-release-files.sh)"
fi
