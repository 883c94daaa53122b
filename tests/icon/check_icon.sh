#!/usr/bin/env bash
# The icon files as the build makes them: pelmora.ico holds 48, 32 and 16 px at 32, 8 and 4
# bits per pixel as classic DIBs, each palette image still looks like the full-colour one of
# its size, and each desktop PNG has its size, an alpha channel and no time stamp.
#
# usage: check_icon.sh ICON_DIR
set -euo pipefail
dir=$1 ico=$1/pelmora.ico
status=0
fail() { echo "FAIL: $*" >&2; status=1; }

want=(48x48x32 32x32x32 16x16x32 48x48x8 32x32x8 16x16x8 48x48x4 32x32x4 16x16x4)
mapfile -t have < <(icotool -l "$ico" |
    sed -E 's/.*--width=([0-9]+) --height=([0-9]+) --bit-depth=([0-9]+).*/\1x\2x\3/')
[ "${have[*]}" = "${want[*]}" ] || fail "pelmora.ico holds ${have[*]}, want ${want[*]}"
# Only Vista and later read PNG-compressed images, and every PNG has an IHDR chunk.
! LC_ALL=C grep -qa IHDR "$ico" || fail "pelmora.ico holds PNG-compressed images"

# ImageMagick draws each palette image and the 32-bit one of its size over grey, so the
# mask counts too. Measured 0.009 to 0.015; a mirrored, grey or negated image, or one
# without its mask, is 0.06 and more.
max_rmse=0.03
for i in "${!want[@]}"; do
    size=${want[i]%x*} bits=${want[i]##*x}
    [ "$bits" != 32 ] || continue
    for j in "${!want[@]}"; do [ "${want[j]}" = "${size}x32" ] && ref=$j; done
    rmse=$(convert \( "$ico[$ref]" -background gray50 -flatten \) \
                   \( "$ico[$i]" -background gray50 -flatten \) \
                   -metric RMSE -compare -format '%[distortion]' info:)
    echo "${want[i]} against ${size}x32: RMSE $rmse"
    awk -v e="$rmse" -v m="$max_rmse" 'BEGIN { exit !(e <= m) }' ||
        fail "${want[i]} differs from the 32-bit image by RMSE $rmse (limit $max_rmse)"
done

for size in 16 32 48 64 128 256; do
    png=$dir/pelmora-$size.png
    got=$(identify -format '%wx%h %[channels]' "$png")
    [ "$got" = "${size}x$size srgba" ] || fail "pelmora-$size.png is $got, want ${size}x$size srgba"
    # Time stamps would make each build's files differ.
    ! LC_ALL=C grep -qa -e tIME -e 'date:' "$png" || fail "pelmora-$size.png carries a time stamp"
done

[ $status = 0 ] && echo "PASS: pelmora.ico and the PNGs"
exit $status
