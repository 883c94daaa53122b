#!/usr/bin/env bash
# Runs a shell command inside the check VM:  run.sh DIR 'COMMAND'
#
# DIR is handed into the guest and COMMAND runs there with DIR as its working folder; what
# it leaves in the folder is copied back into DIR. The guest's console (the command's
# output) goes to standard output. Every run boots the cached image (image.sh builds it
# the first time) on a throw-away overlay, so each starts from the same system.
#
# Exit status: the command's; 124 when the guest did not finish within
# PELMORA_VM_DEADLINE seconds (default 1800); 125 when there were no results.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 2 ] && [ -d "$1" ] || { echo "usage: $0 DIR 'COMMAND'" >&2; exit 2; }
dir=$(cd "$1" && pwd)
deadline=${PELMORA_VM_DEADLINE:-1800}

image=$(bash "$here/image.sh")
scratch=$(mktemp -d "${TMPDIR:-/tmp}/pelmora-vm.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# In: a tar of the command and the folder (as work/). Out: a sparse disk the guest
# writes its tar of the results to.
printf '%s\n' "$2" > "$scratch/command"
tar -cf "$scratch/in.tar" -C "$scratch" command -C "$dir" --transform 's,^\.,work,' .
truncate -s 1G "$scratch/out.tar"

# KVM where it runs a guest (PELMORA_VM_ACCEL=tcg declines it); otherwise qemu's software
# emulation. Without SMAP: under emulation the guest kernel faults on wine32's first
# 32-bit iret when it is on.
kvm_runs_guests() {
    [ "${PELMORA_VM_ACCEL:-}" != tcg ] && [ -r /dev/kvm ] && [ -w /dev/kvm ] || return 1
    # Some nested set-ups open /dev/kvm but never run a guest. The probe boots the kernel
    # with no root, so it panics and qemu ends: seconds under KVM; the deadline only ends
    # a guest that never starts.
    timeout --kill-after=5 20 qemu-system-x86_64 -accel kvm -cpu max -m 256 -nodefaults \
        -display none -no-reboot -serial null -kernel "$image/vmlinuz" \
        -append "panic=-1 quiet" < /dev/null >/dev/null 2>&1
}
accel=(-accel tcg)
if kvm_runs_guests; then
    accel=(-accel kvm "${accel[@]}")
elif [ -e /dev/kvm ]; then
    echo "KVM is here but runs no guest: software emulation"
fi

# A read-write root on the overlay; no fsck; our own init; power off on a panic.
kernel_args="console=ttyS0 root=/dev/vda rw fsck.mode=skip quiet panic=-1"
kernel_args+=" init=/usr/local/sbin/pelmora-vm-init"
echo "booting the check VM ($image, deadline ${deadline} s)"
started=$SECONDS
set +e
TMPDIR=$scratch timeout --kill-after=30 "$deadline" qemu-system-x86_64 \
    "${accel[@]}" -cpu max,-smap -smp 2 -m 2048 \
    -nodefaults -display none -no-reboot -serial stdio \
    -kernel "$image/vmlinuz" -initrd "$image/initrd.img" -append "$kernel_args" \
    -drive "file=$image/root.ext2,format=raw,if=virtio,snapshot=on" \
    -drive "file=$scratch/in.tar,format=raw,if=virtio,readonly=on" \
    -drive "file=$scratch/out.tar,format=raw,if=virtio" \
    < /dev/null | stdbuf -oL tr -d '\r'
qemu=${PIPESTATUS[0]}
set -e
echo "the check VM ran for $((SECONDS - started)) s"

if [ "$qemu" -eq 124 ] || [ "$qemu" -eq 137 ]; then
    echo "FAIL: the guest did not finish within ${deadline} s (hung?); its console is above"
    exit 124
fi
mkdir "$scratch/out"
if ! tar -xf "$scratch/out.tar" -C "$scratch/out" --no-same-owner 2>/dev/null ||
   [ ! -f "$scratch/out/status" ]; then
    echo "FAIL: the guest brought back no results (qemu exit status $qemu); its console is above"
    exit 125
fi
cp -R "$scratch/out/work/." "$dir/"
echo "the guest's folder /tmp/io/work is $dir here"
exit "$(cat "$scratch/out/status")"
