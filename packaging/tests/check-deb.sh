#!/usr/bin/env bash
# The .deb among the release files (scripts/build-release-files.sh): listed in SHA256SUMS;
# versioned and dated as the project, through debian/changelog; the expected files, root's,
# with standard modes and the changelog's time; stripped, hardened programs; no maintainer
# scripts, so removing it leaves nothing behind; dpkg-shlibdeps' libraries, the X11 plugin
# and the two CJK fonts as dependencies, qt6-wayland recommended; installable by apt; and
# nothing from lintian --pedantic.
#
# usage: check-deb.sh RELEASE_DIR SOURCE_DIR PROGRAMS VERSION RELEASE_DATE
set -euo pipefail
dir=$1 src=$2 programs=$3 version=$4 release_date=$5
source "$(dirname "$0")/lib.sh"
need dpkg-deb dpkg-parsechangelog lintian file hardening-check sha256sum apt-get

debs=("$dir"/pelmora_"$version"-*_*.deb)
[ -f "${debs[0]}" ] \
    || skip_or_fail "no pelmora_$version-*.deb in $dir (bash scripts/build-release-files.sh)"
[ ${#debs[@]} -eq 1 ] || fail "more than one .deb of $version in $dir: ${debs[*]}"
deb=${debs[0]}
echo "checking $deb"
listed_in_sums "$dir" "$(basename "$deb")"

# debian/changelog, where the package takes its version and time from, agrees with
# project(VERSION) and PELMORA_RELEASE_DATE in CMakeLists.txt.
changelog() { dpkg-parsechangelog -l "$src/debian/changelog" -S "$1"; }
epoch=$(changelog Timestamp)
[ "$(date -u -d "@$epoch" +%F)" = "$release_date" ] \
    || fail "debian/changelog is dated $(changelog Date), the release date is $release_date"
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Version)" = "$(changelog Version)" ] && [[ "$(field Version)" == "$version"-* ]] \
    || fail "the .deb is $(field Version), the changelog $(changelog Version), the project $version"
[ "$(field Package)" = pelmora ] || fail "package name is $(field Package)"

# Contents: exactly the expected files, root-owned, standard modes, all of the changelog's time.
make_scratch
dpkg-deb --fsys-tarfile "$deb" | tar -tv --full-time --utc >"$scratch/contents"
# debhelper adds the Debian changelog and lintian's note on it (debian/pelmora.lintian-overrides).
{ installed_files "$programs" .gz; echo share/doc/pelmora/changelog.Debian.gz
  echo share/lintian/overrides/pelmora; } | sort >"$scratch/want"
awk '$1 !~ /^d/ {sub(/^\.\/usr\//, "", $6); print $6}' "$scratch/contents" | sort >"$scratch/have"
diff -u "$scratch/want" "$scratch/have" || fail "the .deb's files differ from the expected list"
stamp=$(date -u -d "@$epoch" '+%F %T')
awk -v t="$stamp" '{ mode = ($1 ~ /^d/ || $6 ~ /^\.\/usr\/bin\/./) ? "rwxr-xr-x" : "rw-r--r--" }
    $2 != "root/root" || substr($1, 2) != mode || $4 " " $5 != t' "$scratch/contents" | grep . \
    && fail "above: not root's, or not 0755 (folders, programs) and 0644, or not of $stamp"

# Control data.
depends=$(field Depends)
echo "Depends: $depends"
sed 's/, */\n/g' <<<"$depends" | sed 's/ .*//' >"$scratch/depends"
for dep in qt6-qpa-plugins fonts-arphic-gkai00mp fonts-wqy-zenhei libqt6widgets6 libqt6gui6 \
    libqt6core6 libc6 libstdc++6; do
    grep -qxF "$dep" "$scratch/depends" || fail "Depends lacks $dep"
done
# Qt's Wayland plugin, for a native window on a Wayland desktop; apt installs it by default.
[ "$(field Recommends)" = qt6-wayland ] \
    || fail "Recommends is '$(field Recommends)', want qt6-wayland"
dpkg-deb -e "$deb" "$scratch/control"
ls "$scratch/control" | grep -vx -e control -e md5sums \
    && fail "unexpected control members (maintainer scripts?), above"
# What `apt install ./pelmora_….deb` would do, against this machine's package lists.
apt-get install -s --reinstall "$deb" >"$scratch/apt.log" 2>&1 \
    && grep -q '^Inst pelmora ' "$scratch/apt.log" \
    || { cat "$scratch/apt.log"; fail "apt would not install pelmora"; }

dpkg-deb -x "$deb" "$scratch/root"
for program in $programs; do
    file -b "$scratch/root/usr/bin/$program" | grep -q ', stripped' \
        || fail "$program is not stripped"
    # PIE, stack protector, RELRO and BIND_NOW must hold. Two findings are beyond the
    # program: Debian 12's C library start files carry no CET marks, so nothing linked here
    # shows control flow protection (apt's own binaries fail that check too); and its only
    # calls that _FORTIFY_SOURCE could guard are memcpy, memmove and memset on sizes known at
    # run time alone. lintian, below, counts those three as false alarms and checks the
    # other fortifiable functions.
    hardening-check --nocfprotection --nofortify "$scratch/root/usr/bin/$program" \
        || fail "hardening-check $program"
done

lintian --pedantic --display-info "$deb" >"$scratch/lintian.log" 2>&1 || true
cat "$scratch/lintian.log"
grep '^[A-Z]: ' "$scratch/lintian.log" && fail "lintian has remarks"

echo "PASS: $(basename "$deb")"
