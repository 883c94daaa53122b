#!/usr/bin/env bash
# Installs the Debian 12 packages of the named groups that are not installed yet:
#
#   scripts/install-deps.sh [GROUP...]     (no GROUP: every group)
#
# A group is a list in scripts/packages.d/GROUP.txt, one package a line. open.sh names the
# groups that build and run the program; the test command takes them all.
#
# A Debian mirror in the middle of a sync serves some package lists late or broken, and
# `apt-get update` then fails as a whole. It is tried a few times; after that apt goes on
# with the lists that did come, and only a wanted package that cannot be installed from
# them stops the script, in one line that names it.
set -euo pipefail
lists=$(cd "$(dirname "$0")" && pwd)/packages.d
tries=${PELMORA_APT_TRIES:-3}
pause=${PELMORA_APT_PAUSE:-10}

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

groups=("$@")
if [ ${#groups[@]} -eq 0 ]; then
    mapfile -t groups < <(cd "$lists" && ls -- *.txt | sed 's/\.txt$//')
fi
files=()
for group in "${groups[@]}"; do
    if [ ! -f "$lists/$group.txt" ]; then
        echo "install-deps: no group '$group'; the groups are: $(cd "$lists" && ls -- *.txt |
            sed 's/\.txt$//' | paste -sd ' ')" >&2
        exit 2
    fi
    files+=("$lists/$group.txt")
done
mapfile -t wanted < <(sed 's/#.*//' "${files[@]}" | awk 'NF {print $1}' | sort -u)

missing=()
for pkg in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$pkg")
done
if [ ${#missing[@]} -eq 0 ]; then
    echo "All packages of ${groups[*]} present."
    exit 0
fi

# wine32 needs the i386 architecture.
if printf '%s\n' "${missing[@]}" | grep -q ':i386$' &&
    ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
fi

echo "Installing the ${#missing[@]} packages of ${groups[*]} not yet installed: ${missing[*]}"
lists_complete=0
for try in $(seq "$tries"); do
    if log=$(as_root apt-get update -qq 2>&1); then
        lists_complete=1
        break
    fi
    echo "apt-get update failed (try $try of $tries): $(grep -m1 '^E:' <<<"$log" || tail -n1 <<<"$log")"
    [ "$try" -eq "$tries" ] || sleep "$pause"
done
[ "$lists_complete" = 1 ] || echo "Going on with the package lists that did come."

# What apt can install from the lists it has. When the whole set cannot go in, halves of it
# are tried in turn, each together with what has been found to fit, down to single
# packages: a few tries tell the ones to blame. Another architecture's packages come last,
# since they are the ones that must match the versions of the rest.
installable=()
refused=()
simulate() { apt-get install -s -qq --no-install-recommends "$@" >/dev/null 2>&1; }
sort_out() {
    if simulate "${installable[@]}" "$@"; then
        installable+=("$@")
    elif [ $# -eq 1 ]; then
        refused+=("$1")
    else
        local half=$(($# / 2))
        sort_out "${@:1:half}"
        sort_out "${@:half+1}"
    fi
}
mapfile -t missing < <(printf '%s\n' "${missing[@]}" | grep -v ':' || true
                       printf '%s\n' "${missing[@]}" | grep ':' || true)
sort_out "${missing[@]}"
if [ ${#installable[@]} -gt 0 ]; then
    as_root env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${installable[@]}"
fi
if [ ${#refused[@]} -gt 0 ]; then
    if [ "$lists_complete" = 1 ]; then
        echo "install-deps: cannot install ${refused[*]}: apt has no installable version" \
            "(apt-get install -s ${refused[0]} says why)" >&2
    else
        echo "install-deps: cannot install ${refused[*]}: the package lists were incomplete" \
            "(apt-get update failed); a later try may work" >&2
    fi
    exit 1
fi
