#!/usr/bin/env bash
# What `cmake --install` puts on a machine: exactly the expected files; a launcher and a
# software-centre entry that their validators accept and that point at each other; icons of
# the sizes their folders claim; clean manual pages and the metainfo, naming VERSION and
# RELEASE_DATE; and the licence as the copyright file.
#
# usage: check-installed-files.sh CMAKE BUILD_DIR SOURCE_DIR PROGRAMS VERSION RELEASE_DATE
#        (PROGRAMS: the installed programs, space-separated)
set -euo pipefail
cmake=$1 build=$2 src=$3 programs=$4 version=$5 release_date=$6
source "$(dirname "$0")/lib.sh"
need desktop-file-validate appstreamcli file man

make_scratch
prefix=$scratch/usr
"$cmake" --install "$build" --prefix "$prefix" --component pelmora >"$scratch/install.log" 2>&1 \
    || { cat "$scratch/install.log" >&2; fail "cmake --install failed"; }

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
entry=$(sed -n '/^\[Desktop Entry\]/,/^\[/p' "$desktop")
for line in Exec=pelmora "Icon=$app_id" "Name[zh_CN]=Pelmora 比特查看"; do
    grep -qxF "$line" <<<"$entry" || fail "the desktop entry lacks $line"
done
for tag in "<id>$app_id</id>" "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" \
    "<release version=\"$version\" date=\"$release_date\">"; do
    grep -qF "$tag" "$metainfo" || fail "the metainfo lacks $tag"
done

for size in $icon_sizes; do
    desc=$(file -b "$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png")
    [[ $desc == "PNG image data, $size x $size,"* ]] || fail "icon in ${size}x${size} is: $desc"
done

# Each manual page: a section 1 page of this version and release date, no warnings from man.
for program in $programs; do
    page=$prefix/share/man/man1/$program.1
    grep -qxF ".TH ${program^^} 1 \"$release_date\" \"Pelmora $version\" \"User Commands\"" \
        "$page" || fail "$program.1 is not a section 1 page of Pelmora $version, $release_date"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 \
        >/dev/null)
    [ -z "$warnings" ] || fail "man reports on $program.1: $warnings"
done
grep -l '@[A-Z_]*@' "$metainfo" "$prefix"/share/man/man1/*.1 && fail "unfilled @VARIABLES@ above"

cmp -s "$src/LICENSE" "$prefix/share/doc/pelmora/copyright" || fail "copyright is not LICENSE"
echo "PASS: installed files"
