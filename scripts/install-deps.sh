#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, and only those missing.
# Package lists live in scripts/packages.d/, one package a line.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

mapfile -t wanted < <(cat "$here"/packages.d/*.txt | sed 's/#.*//' | awk 'NF {print $1}' | sort -u)

# wine32 needs the i386 architecture.
if printf '%s\n' "${wanted[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
    sudo_if_needed dpkg --add-architecture i386
    need_update=1
fi

missing=()
for pkg in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$pkg")
done

if [ ${#missing[@]} -gt 0 ] || [ -n "${need_update:-}" ]; then
    echo "Installing: ${missing[*]}"
    sudo_if_needed apt-get update -qq
    [ ${#missing[@]} -eq 0 ] || sudo_if_needed env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
    echo "All packages present."
fi
