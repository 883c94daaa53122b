#!/usr/bin/env bash
# Builds the check VM's system from Debian 12 packages with the host's own apt sources,
# once per package list, and prints the folder that holds it: vmlinuz, initrd.img and
# root.ext2. The folder is named after a hash of what goes into the image, in
# ${PELMORA_VM_CACHE:-${XDG_CACHE_HOME:-~/.cache}/pelmora-vm}; later runs only print it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${PELMORA_VM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pelmora-vm}
key=$(cat "$here/guest-packages.txt" "$here/guest-init" "$here/image.sh" | sha256sum | cut -c1-16)
image=$cache/$key
if [ -d "$image" ]; then echo "$image"; exit 0; fi

mkdir -p "$cache"
exec 9>"$cache/lock"
if ! flock -n 9; then
    echo "waiting for another build of the VM image" >&2
    flock 9
fi
if [ -d "$image" ]; then echo "$image"; exit 0; fi
# Holding the lock, anything still half-built was left by a build that died.
rm -rf "$cache"/*.building.*
tmp=$(mktemp -d "$cache/$key.building.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
chmod 755 "$tmp"

# The guest takes the host's Debian 12 suites, but only those whose package lists the host
# holds whole for both architectures: while a mirror syncs one suite's i386 list, that
# suite's amd64 packages would ask for i386 versions nobody can install. The guest has no
# network, so it needs no updates of its own.
apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT) $(ARCHITECTURE)' \
    'Identifier: Packages' |
    awk '$2 ~ /^bookworm(-updates|-security)?$/ && ($4 == "amd64" || $4 == "i386") {
             lists[$1 " " $2 " " $3]++ }
         END { for (k in lists) if (lists[k] == 2) { split(k, f, " "); print "deb " f[1] " " f[2] " " f[3] } }' |
    sort > "$tmp/sources.list"
if [ ! -s "$tmp/sources.list" ]; then
    echo "the host's apt sources name no Debian 12 (bookworm) suite" >&2
    exit 1
fi
packages=$(sed 's/#.*//' "$here/guest-packages.txt" | awk 'NF {print $1}' | paste -sd, -)

echo "building the VM image in $image (Debian 12: $packages)" >&2
started=$SECONDS
# Documentation is left out; the zh_CN.UTF-8 locale is generated for the second check run.
# A cold build takes minutes; the deadline only ends a hang (a stalled download, say).
TMPDIR=$tmp timeout 1800 mmdebstrap --quiet --variant=apt --architectures=amd64,i386 \
    --include="$packages" \
    --aptopt='Acquire::Languages "none"' \
    --dpkgopt='path-exclude=/usr/share/doc/*' \
    --dpkgopt='path-exclude=/usr/share/man/*' \
    --dpkgopt='path-exclude=/usr/share/info/*' \
    --customize-hook='echo "zh_CN.UTF-8 UTF-8" > "$1/etc/locale.gen" && chroot "$1" locale-gen' \
    --customize-hook="install -m 755 '$here/guest-init' \"\$1/usr/local/sbin/pelmora-vm-init\"" \
    --customize-hook="cp \"\$1\"/boot/vmlinuz-* '$tmp/vmlinuz'" \
    --customize-hook="cp \"\$1\"/boot/initrd.img-* '$tmp/initrd.img'" \
    bookworm "$tmp/root.ext2" "$tmp/sources.list" >&2 ||
    { echo "mmdebstrap failed or took over 1800 s" >&2; exit 1; }
rm "$tmp/sources.list"
mv "$tmp" "$image"
echo "VM image built in $((SECONDS - started)) s, $(du -sh "$image" | cut -f1) on disk" >&2
echo "$image"
