#!/usr/bin/env bash
# scripts/install-deps.sh on a simulated fresh machine: fakes of dpkg-query (nothing
# installed), dpkg and apt-get come first on PATH, and apt-get update fails on one index as
# a mirror in the middle of a sync does. The script must retry, go on with the lists it
# has, install exactly the named groups, and fail only for a package apt cannot install,
# in one line that names it.
#
# usage: check-install-deps.sh SCRIPTS_DIR
set -euo pipefail
scripts=$1
source "$(dirname "$0")/lib.sh"
make_scratch
bin=$scratch/bin log=$scratch/calls
mkdir -p "$bin"

printf '#!/bin/sh\n[ -n "$FAKE_ALL_INSTALLED" ] && printf "install ok installed"\n' \
    >"$bin/dpkg-query"
cat >"$bin/dpkg" <<'EOF'
#!/bin/sh
echo "dpkg $*" >>"$FAKE_LOG"
[ "$1" = --print-foreign-architectures ] && [ -n "$FAKE_I386" ] && echo i386
exit 0
EOF
cat >"$bin/apt-get" <<'EOF'
#!/bin/bash
echo "apt-get $*" >>"$FAKE_LOG"
case " $* " in
*" update "*)
    [ -z "$FAKE_UPDATE_FAILS" ] && exit 0
    echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100 ;;
*" -s "*)
    for pkg in "$@"; do [ "$pkg" = "$FAKE_REFUSED" ] && exit 100; done
    exit 0 ;;
esac
EOF
printf '#!/bin/sh\nexec "$@"\n' >"$bin/sudo"
chmod +x "$bin"/*

# packages GROUP...: the packages the lists name, sorted, on one line.
packages() {
    for g in "$@"; do sed 's/#.*//' "$scripts/packages.d/$g.txt"; done | awk 'NF {print $1}' |
        sort -u | paste -sd ' '
}
installed() {
    sed -n 's/^apt-get .*install -y -qq --no-install-recommends //p' "$log" | tr ' ' '\n' |
        sort | paste -sd ' '
}
updates() { grep -c '^apt-get update' "$log" || true; }
added() { sed -n 's/^dpkg --add-architecture //p' "$log" | paste -sd ' '; }

# check NAME GROUPS ENVIRONMENT WANT: install-deps.sh for GROUPS under the fakes, with
# ENVIRONMENT; WANT is "exit|apt-get update tries|architectures added|packages installed|
# stderr's last line".
check() {
    local have status=0
    echo "== $1"
    : >"$log"
    # shellcheck disable=SC2086  # the groups and the environment are words by design
    env PATH="$bin:$PATH" FAKE_LOG="$log" PELMORA_APT_PAUSE=0 FAKE_ALL_INSTALLED= FAKE_I386= \
        FAKE_UPDATE_FAILS= FAKE_REFUSED= $3 bash "$scripts/install-deps.sh" $2 \
        >"$scratch/out" 2>"$scratch/err" || status=$?
    have="$status|$(updates)|$(added)|$(installed)|$(tail -n1 "$scratch/err")"
    [ "$have" = "$4" ] || {
        printf -- '--- output:\n'
        cat "$scratch/out" "$scratch/err" "$log"
        fail "$1: got \"$have\", want \"$4\""
    }
}

all_groups=$(cd "$scripts/packages.d" && ls -- *.txt | sed 's/\.txt$//' | paste -sd ' ')
refused=FAKE_REFUSED=wine32:i386
cannot="install-deps: cannot install wine32:i386"
incomplete="the package lists were incomplete (apt-get update failed); a later try may work"
no_version="apt has no installable version (apt-get install -s wine32:i386 says why)"
# Only the test command's groups want an i386 package, so only they add the architecture.
check "open.sh, mirror mid-sync" "build run" FAKE_UPDATE_FAILS=1 "0|3||$(packages build run)|"
check "test command, mirror mid-sync, wine32 refused" "$all_groups" \
    "FAKE_UPDATE_FAILS=1 $refused" \
    "1|3|i386|$(packages $all_groups | sed 's/ wine32:i386//')|$cannot: $incomplete"
check "complete lists, a package refused" "tests-win32 tests-win32-host" "FAKE_I386=1 $refused" \
    "1|1||$(packages tests-win32)|$cannot: $no_version"
check "everything installed" "$all_groups" FAKE_ALL_INSTALLED=1 "0|0|||"
check "no such group" "build nonsense" "" \
    "2|0|||install-deps: no group 'nonsense'; the groups are: $all_groups"
echo "PASS: install-deps.sh"
