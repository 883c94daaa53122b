#!/usr/bin/env bash
# What `cmake --install` puts on a machine: exactly the expected files, a launcher and a
# software-centre entry that the freedesktop and AppStream validators accept and that
# point at each other, icons of the sizes their folders claim, clean manual pages and the
# licence as the copyright file; the metainfo's release and every manual page name the
# project's VERSION and RELEASE_DATE.
#
# usage: check-installed-files.sh CMAKE BUILD_DIR SOURCE_DIR PROGRAMS VERSION RELEASE_DATE
#        (PROGRAMS: the installed programs, space-separated)
set -euo pipefail
cmake=$1 build=$2 src=$3 programs=$4 version=$5 release_date=$6
source "$(dirname "$0")/lib.sh"
need desktop-file-validate appstreamcli file man

make_scratch
prefix=$scratch/usr
install_component "$cmake" "$build" "$prefix"

# Exactly the expected files: a missing one breaks the desktop, a stray one ends up in the .deb.
installed_files "$programs" "" | sort >"$scratch/want"
(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | sort) >"$scratch/have"
diff -u "$scratch/want" "$scratch/have" || fail "installed files differ from the expected list"
for program in $programs; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not executable"
done

desktop=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml

out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate has remarks: $out"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate rejected the metainfo"

# The entries must name each other and the installed files, or menus and software
# centres show a generic icon or a launcher that starts nothing.
[ "$(desktop_key "$desktop" Exec)" = pelmora ] || fail "Exec is not pelmora"
[ "$(desktop_key "$desktop" Icon)" = "$app_id" ] || fail "Icon is not $app_id"
grep -q "^Name\[zh_CN\]=Pelmora 比特查看$" "$desktop" || fail "Name[zh_CN] missing"
grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo id is not $app_id"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
    || fail "metainfo launchable does not name the desktop file"
grep -qF "<release version=\"$version\" date=\"$release_date\">" "$metainfo" \
    || fail "metainfo has no release $version of $release_date"
! grep -q '@[A-Z_]*@' "$metainfo" || fail "metainfo has unfilled @VARIABLES@"

for size in 16 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    desc=$(file -b "$png")
    case $desc in
        "PNG image data, $size x $size,"*) ;;
        *) fail "icon in ${size}x${size} is: $desc" ;;
    esac
done

# Each manual page: a section 1 page of this version and release date, no warnings from man.
for program in $programs; do
    page=$prefix/share/man/man1/$program.1
    grep -qxF ".TH ${program^^} 1 \"$release_date\" \"Pelmora $version\" \"User Commands\"" "$page" \
        || fail "$program.1 is not a section 1 page of Pelmora $version, $release_date"
    ! grep -q '@[A-Z_]*@' "$page" || fail "$program.1 has unfilled @VARIABLES@"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man reports on $program.1: $warnings"
done

cmp -s "$src/LICENSE" "$prefix/share/doc/pelmora/copyright" || fail "copyright is not LICENSE"

echo "PASS: installed files"
