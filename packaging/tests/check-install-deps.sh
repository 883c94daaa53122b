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

cat >"$bin/dpkg-query" <<'EOF'
#!/bin/sh
[ -n "$FAKE_ALL_INSTALLED" ] && printf 'install ok installed' && exit 0
exit 1
EOF
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

# packages GROUP...: the packages the lists name, sorted.
packages() { for g in "$@"; do sed 's/#.*//' "$scripts/packages.d/$g.txt"; done | awk 'NF {print $1}' | sort -u; }
all_groups=$(cd "$scripts/packages.d" && ls -- *.txt | sed 's/\.txt$//' | paste -sd ' ')

# run CASE GROUPS ENV...: install-deps.sh for GROUPS under the fakes; sets status and err.
run() {
    local groups=$2
    case=$1
    shift 2
    echo "== $case"
    : >"$log"
    status=0
    env PATH="$bin:$PATH" FAKE_LOG="$log" PELMORA_APT_PAUSE=0 FAKE_ALL_INSTALLED= FAKE_I386= \
        FAKE_UPDATE_FAILS= FAKE_REFUSED= "$@" bash "$scripts/install-deps.sh" $groups \
        >"$scratch/out" 2>"$scratch/err" || status=$?
    err=$(cat "$scratch/err")
}
expect() { # DESCRIPTION TEST...
    local what=$1
    shift
    "$@" || { echo "--- output:"; cat "$scratch/out" "$scratch/err" "$log"; fail "$case: $what"; }
}
installed() { sed -n 's/^apt-get .*install -y -qq --no-install-recommends //p' "$log" | tr ' ' '\n' | sort; }
updates() { grep -c '^apt-get update' "$log" || true; }
absent() { ! grep -q -- "$1" "$log"; }

# name | groups | environment | exit | update tries | packages installed | last line of stderr
incomplete="the package lists were incomplete (apt-get update failed); a later try may work"
cases=(
    "open.sh, mirror mid-sync|build run|FAKE_UPDATE_FAILS=1|0|3|$(packages build run | paste -sd ' ')|"
    "test command, mirror mid-sync, wine32 refused|$all_groups|FAKE_UPDATE_FAILS=1 FAKE_REFUSED=wine32:i386|1|3|$(packages $all_groups | grep -vx wine32:i386 | paste -sd ' ')|install-deps: cannot install wine32:i386: $incomplete"
    "complete lists, a package refused|tests-win32 tests-win32-host|FAKE_I386=1 FAKE_REFUSED=wine32:i386|1|1|$(packages tests-win32 | paste -sd ' ')|install-deps: cannot install wine32:i386: apt has no installable version (apt-get install -s wine32:i386 says why)"
    "everything installed|$all_groups|FAKE_ALL_INSTALLED=1|0|0||"
    "no such group|build nonsense||2|0||"
)
for row in "${cases[@]}"; do
    IFS='|' read -r name groups environment want_status want_updates want_installed want_line <<<"$row"
    # shellcheck disable=SC2086  # the environment is words by design
    run "$name" "$groups" $environment
    expect "exit $status, want $want_status" [ "$status" = "$want_status" ]
    expect "apt-get update ran $(updates) times, want $want_updates" [ "$(updates)" = "$want_updates" ]
    expect "installed other packages than the groups'" [ "$(installed | paste -sd ' ')" = "$want_installed" ]
    if [ -n "$want_line" ]; then
        expect "stderr's last line is '$(tail -n1 <<<"$err")'" [ "$(tail -n1 <<<"$err")" = "$want_line" ]
    fi
done

# Only the test command's groups want an i386 package, so only they add the architecture.
run "no i386 for open.sh's groups" "build run"
expect "open.sh's groups added i386" absent --add-architecture
run "i386 added for wine32" tests-win32-host
expect "tests-win32-host did not add i386" grep -qx 'dpkg --add-architecture i386' "$log"
echo "PASS: install-deps.sh"
