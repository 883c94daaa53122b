#!/usr/bin/env bash
# Builds the release files of this source tree into build-release-files/: the .deb
# (dpkg-buildpackage, with its .buildinfo), Pelmora.exe, the Windows ZIP, the web ZIP, and
# SHA256SUMS for the .deb and the two ZIPs. They depend on nothing but the source, so a
# fresh clone of the same commit gives the same bytes on any Debian 12 machine
# (docs/install.md). Needs the packages of scripts/install-deps.sh; builds no tests.
#
# dpkg-buildpackage writes into the folder above the tree; the files are moved from there.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${JOBS:-2}
out=build-release-files

# Every time in the release files is the one of the latest entry in debian/changelog, the
# release date; dpkg-buildpackage would set the same for the .deb.
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -STimestamp)
export SOURCE_DATE_EPOCH
deb_version=$(dpkg-parsechangelog -SVersion)
version=${deb_version%-*}
changes=../pelmora_${deb_version}_$(dpkg --print-architecture)

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs" --target Pelmora
cmake --preset web >/dev/null
cmake --build --preset web -j "$jobs" --target pelmora_site
dpkg-buildpackage -b -us -uc -j"$jobs" --post-clean

rm -rf "$out" && mkdir -p "$out"
mv "$changes.deb" "$changes.buildinfo" "$out"/
rm -f "$changes.changes"
cp build-windows/src/frontends/win32/Pelmora.exe "$out"/
cmake -DEXE=build-windows/src/frontends/win32/Pelmora.exe -DLICENSE=LICENSE -DREADME=README.md \
    -DVERSION="$version" -DSOURCE_DATE_EPOCH="$SOURCE_DATE_EPOCH" \
    -DOUT="$out/Pelmora-$version-win32.zip" -P packaging/make-windows-zip.cmake
cmake -DSITE=build-web/site -DLICENSE=LICENSE -DVERSION="$version" \
    -DSOURCE_DATE_EPOCH="$SOURCE_DATE_EPOCH" \
    -DOUT="$out/Pelmora-$version-web.zip" -P packaging/make-web-zip.cmake
(cd "$out" && sha256sum -- *.deb *.zip >SHA256SUMS)
echo "$out/SHA256SUMS:"
cat "$out/SHA256SUMS"
