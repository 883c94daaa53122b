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

# A private scratch folder, removed on exit.
make_scratch() {
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/pelmora-packaging.XXXXXX")
    trap 'rm -rf "$scratch"' EXIT
}

# listed_in_sums DIR NAME: the SHA256SUMS among the release files in DIR lists NAME, rightly.
listed_in_sums() {
    grep " $2\$" "$1/SHA256SUMS" | (cd "$1" && sha256sum --check --strict) \
        || fail "SHA256SUMS does not list $2 with its sum"
}

# installed_files PROGRAMS MAN_END: the files a complete install holds, relative to the
# prefix, for the programs named (space-separated) and manual pages ending in MAN_END
# ("" as CMake installs them, ".gz" as the .deb holds them).
app_id=org.pelmora.Pelmora
icon_sizes="16 32 48 64 128 256"
installed_files() {
    local program size
    for program in $1; do
        printf '%s\n' "bin/$program" "share/man/man1/$program.1$2"
    done
    printf '%s\n' "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
        share/doc/pelmora/copyright "share/icons/hicolor/scalable/apps/$app_id.svg"
    for size in $icon_sizes; do
        echo "share/icons/hicolor/${size}x${size}/apps/$app_id.png"
    done
}
