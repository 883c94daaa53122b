#!/usr/bin/env bash
# The scenarios on the real 32-bit Pelmora.exe:  wine_window_real.sh EXE OUTDIR READER
#
# They run twice: in the C locale with no font links in the prefix, where only the program
# itself can find a face for its Chinese captions, and in zh_CN.UTF-8 with them, where the
# window must also look like its pictures. Under the host's wine32 where this kernel can
# run 32-bit code; otherwise in the check VM. OUTDIR receives the program, the scenarios,
# window_reader.exe (READER), each run's reports (results/C, results/zh_CN) and a
# screenshot of each (C.png, zh_CN.png). Exit 77 (skip) when a tool is missing and CI is
# not set.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -eq 3 ] || { echo "usage: $0 EXE OUTDIR READER" >&2; exit 2; }
exe=$1 out=$2 reader=$3
source "$here/../../../packaging/tests/lib.sh"
[ -f "$exe" ] || skip_or_fail "$exe (build the windows preset first)"
[ -f "$reader" ] || skip_or_fail "$reader (build the release preset first)"

rm -rf "$out"
mkdir -p "$out/win32" "$out/support"
cp "$exe" "$out/Pelmora.exe"
cp "$reader" "$out/window_reader.exe"
cp "$here"/../*.py "$out/win32/"
cp -R "$here/../pictures" "$out/win32/"
cp "$here"/../../support/*.py "$out/support/"
# The session itself needs a UTF-8 locale to find the "出错" box by its title.
cat > "$out/checks.sh" <<'EOF'
export LC_ALL=C.UTF-8
run="python3 support/run_scenarios.py wine --exe32 Pelmora.exe --reader window_reader.exe"
status=0
echo "== C locale, no font links"
$run --locale C --no-font-link --screenshot C.png --work work-C --results results/C quick ||
    status=$?
echo "== zh_CN.UTF-8"
$run --locale zh_CN.UTF-8 --pictures --screenshot zh_CN.png --work work-zh_CN \
    --results results/zh_CN quick || status=$?
exit $status
EOF

# Why the host cannot run the check, or nothing where it can. Whether this kernel runs
# 32-bit code at all shows by running some: a 96-byte i386 program that exits with 32.
host_lacks() {
    [ -z "${PELMORA_WINE_VM:-}" ] || { echo "PELMORA_WINE_VM is set"; return; }
    local elf='\x7fELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\x54\x80\x04\x08\x34\0\0\0\0\0\0\0'
    elf+='\0\0\0\0\x34\0\x20\0\1\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0\x80\x04\x08\0\x80\x04\x08'
    elf+='\x60\0\0\0\x60\0\0\0\5\0\0\0\0\x10\0\0\xb8\1\0\0\0\xbb\x20\0\0\0\xcd\x80'
    printf "$elf" >"$out/exit32"
    chmod +x "$out/exit32"
    local status=0
    "$out/exit32" 2>/dev/null || status=$?
    if [ "$status" != 32 ]; then
        echo "this kernel cannot run 32-bit programs (ia32 emulation is off)"
    elif [ ! -x /usr/lib/wine/wine ]; then
        echo "wine32 is not installed (apt-get install wine32:i386)"
    elif ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
        echo "wine32 does not start (/usr/lib/wine/wine --version fails)"
    fi
}
reason=$(host_lacks)
if [ -z "$reason" ]; then
    echo "this kernel runs 32-bit programs: checking under the host's wine32"
    # Without a system-wide zh_CN.UTF-8, one is compiled for this run alone.
    if ! locale -a | grep -qiEx 'zh_CN\.utf-?8'; then
        mkdir -p "$out/locale"
        localedef -i zh_CN -f UTF-8 "$out/locale/zh_CN.UTF-8" 2>/dev/null ||
            [ -f "$out/locale/zh_CN.UTF-8/LC_CTYPE" ] ||
            skip_or_fail "the zh_CN.UTF-8 locale (the locales package)"
        export LOCPATH=$out/locale:/usr/lib/locale
    fi
    cd "$out" && exec bash checks.sh
fi

echo "$reason: checking in a VM"
need qemu-system-x86_64 mmdebstrap genext2fs
bash "$here/image.sh" >/dev/null || skip_or_fail "the check VM's image: building it failed (see above)"
# Inside the VM every tool is there, so the check must not skip; under emulation every
# answer comes slower, so its deadline is longer. A renewal of the pictures goes in too
# (scripts/renew-pictures.sh); the renewed ones come back in OUTDIR/win32/pictures.
guest_env="CI=1 PELMORA_DEADLINE=150 PELMORA_RENEW_PICTURES=${PELMORA_RENEW_PICTURES:-0}"
exec bash "$here/run.sh" "$out" "$guest_env sh checks.sh"
