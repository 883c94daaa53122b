# Helpers shared by the packaging checks and the Wine check of the real program (sourced, not
# run).
# Exit codes: 0 pass, 1 fail, 77 skip (CTest's SKIP_RETURN_CODE). With CI set a missing
# tool is a failure, because CI installs everything scripts/packages.d names.

fail() { echo "FAIL: $*" >&2; exit 1; }

skip_or_fail() {
    if [ -n "${CI:-}" ]; then fail "$* (CI is set, so this is an error)"; fi
    echo "SKIP: $*"
    exit 77
}

need() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 || skip_or_fail "$tool is not installed"
    done
}

# A private scratch folder, removed on exit; extra clean-up goes in cleanup_hooks.
cleanup_hooks=()
make_scratch() {
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/pelmora-packaging.XXXXXX")
    trap 'for h in "${cleanup_hooks[@]}"; do eval "$h"; done; rm -rf "$scratch"' EXIT
}

# install_component CMAKE BUILD PREFIX: what `cmake --install` puts on a machine.
install_component() {
    "$1" --install "$2" --prefix "$3" --component pelmora >"$scratch/install.log" 2>&1 \
        || { cat "$scratch/install.log" >&2; fail "cmake --install failed"; }
}

# installed_files PROGRAMS MAN_END: the files a complete install holds, relative to the
# prefix, for the programs named (space-separated) and manual pages ending in MAN_END
# ("" as CMake installs them, ".gz" as the .deb holds them).
app_id=org.pelmora.Pelmora
installed_files() {
    local program size
    for program in $1; do
        echo "bin/$program"
        echo "share/man/man1/$program.1$2"
    done
    echo "share/applications/$app_id.desktop"
    echo "share/metainfo/$app_id.metainfo.xml"
    echo "share/doc/pelmora/copyright"
    echo "share/icons/hicolor/scalable/apps/$app_id.svg"
    for size in 16 32 48 64 128 256; do
        echo "share/icons/hicolor/${size}x${size}/apps/$app_id.png"
    done
}

# find_deb DIR VERSION: sets deb to the one .deb of VERSION in DIR, where
# build-release-files.sh leaves the release files; skips (fails under CI) without one.
find_deb() {
    local debs
    shopt -s nullglob
    debs=("$1"/pelmora_"$2"-*_*.deb)
    shopt -u nullglob
    [ ${#debs[@]} -gt 0 ] || skip_or_fail "no pelmora_$2-*.deb in $1 (bash scripts/build-release-files.sh)"
    [ ${#debs[@]} -eq 1 ] || fail "more than one .deb of $2 in $1: ${debs[*]}"
    deb=${debs[0]}
}

# desktop_key FILE KEY: the value of an unlocalised key of the [Desktop Entry] group.
desktop_key() {
    sed -n '/^\[Desktop Entry\]/,/^\[/p' "$1" | sed -n "s/^$2=//p" | head -n 1
}
