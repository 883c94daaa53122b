#!/usr/bin/env python3
"""Static checks of Pelmora.exe, without running it.

Usage: check_exe.py headers EXE OBJDUMP
       check_exe.py resources EXE WRESTOOL VERSION

Exit 0 when every check holds, 1 with a list of what failed, 77 (skip) when a tool or
the program is missing and CI is not set.
"""

import re
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "support"))
from display import skip_unless_ci  # noqa: E402

MAX_SIZE = 2 * 1024 * 1024
# The DLLs that come with Windows itself (bench/report.py reads this list too); anything
# else would have to ship beside the program.
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "comdlg32.dll", "advapi32.dll",
    "shell32.dll", "shlwapi.dll", "ole32.dll", "oleaut32.dll", "uxtheme.dll", "msvcrt.dll",
    "imm32.dll", "winmm.dll", "version.dll", "oleacc.dll", "uiautomationcore.dll",
    "dwmapi.dll", "ntdll.dll", "ucrtbase.dll",
}
ICON_IMAGES = sorted((size, size, bits) for size in (48, 32, 16) for bits in (4, 8, 32))


def check_headers(exe, objdump):
    text = subprocess.run([objdump, "-p", str(exe)], capture_output=True, text=True,
                          check=True).stdout
    problems = []
    for field, want, meaning in (("Magic", 0x10B, "PE32"), ("Subsystem", 2, "GUI")):
        found = re.search(rf"^{field}\s+(\w+)", text, re.M)
        got = found.group(1) if found else "?"
        if not found or int(got, 16) != want:
            problems.append(f"{field} {got}, want {want:04x} ({meaning})")
    # Address space randomisation and no-execute data.
    for flag in ("DYNAMIC_BASE", "NX_COMPAT"):
        if not re.search(rf"^\s+{flag}$", text, re.M):
            problems.append(f"DllCharacteristics lack {flag}")
    # libssp's failure message comes along only with the stack protector's check.
    if b"stack smashing detected" not in exe.read_bytes():
        problems.append("no stack protector: libssp's __stack_chk_fail is not linked in")
    dlls = sorted({name.lower() for name in re.findall(r"DLL Name:\s*(\S+)", text)})
    if not dlls:
        problems.append("no imports found")
    foreign = [d for d in dlls if d not in SYSTEM_DLLS]
    if foreign:
        problems.append(f"imports DLLs that Windows does not ship: {', '.join(foreign)}")
    size = exe.stat().st_size
    if size >= MAX_SIZE:
        problems.append(f"size {size} bytes, want under {MAX_SIZE}")
    print(f"{exe.name}: {size} bytes, imports {', '.join(dlls)}")
    return problems


def extract(wrestool, exe, rtype, name):
    return subprocess.run([wrestool, "-x", "--raw", f"--type={rtype}", f"--name={name}",
                           str(exe)], capture_output=True, check=True).stdout


def version_nodes(data, offset, end):
    """Yields (key, value bytes, value type, children range) of VS_VERSIONINFO nodes."""
    while offset + 6 <= end:
        length, value_length, value_type = struct.unpack_from("<HHH", data, offset)
        if length == 0:
            break
        key_end = offset + 6
        while data[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = data[offset + 6:key_end].decode("utf-16-le")
        value_start = (key_end + 2 + 3) & ~3
        value_bytes = value_length * 2 if value_type == 1 else value_length
        value = data[value_start:value_start + value_bytes]
        children = ((value_start + value_bytes + 3) & ~3, offset + length)
        yield key, value, value_type, children
        offset = (offset + length + 3) & ~3


def shown_version(version):
    """The version as the window and the version record show it: major, two-digit minor."""
    major, minor, _ = version
    return f"{major}.{minor:02d}"


def check_version(data, version):
    problems = []
    root = next(version_nodes(data, 0, len(data)), None)
    if not root or root[0] != "VS_VERSION_INFO":
        return ["no VS_VERSION_INFO record"]
    fixed = root[1]
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", fixed)
    if signature != 0xFEEF04BD:
        problems.append("bad VS_FIXEDFILEINFO signature")
    major, minor, patch = version
    numeric = ((major << 16) | minor, patch << 16)
    if (file_ms, file_ls) != numeric or (product_ms, product_ls) != numeric:
        problems.append(f"numeric file or product version is not {major}.{minor}.{patch}.0")
    strings, translations = {}, []
    for key, _, _, (start, end) in version_nodes(data, *root[3]):
        if key == "StringFileInfo":
            for table, _, _, (t_start, t_end) in version_nodes(data, start, end):
                for name, value, _, _ in version_nodes(data, t_start, t_end):
                    strings[(table.upper(), name)] = value.decode("utf-16-le").rstrip("\0")
        elif key == "VarFileInfo":
            for name, value, _, _ in version_nodes(data, start, end):
                if name == "Translation":
                    translations += [struct.unpack_from("<HH", value, i)
                                     for i in range(0, len(value) - 3, 4)]
    wanted = dict(ProductName="Pelmora", InternalName="Pelmora", OriginalFilename="Pelmora.exe",
                  FileVersion=shown_version(version), ProductVersion=shown_version(version))
    for name, want in wanted.items():
        got = strings.get(("040904B0", name))
        if got != want:
            problems.append(f'{name} in block 040904B0 is {got!r}, want "{want}"')
    if (0x0409, 1200) not in translations:
        problems.append(f"translation {translations}, want 0x0409 with code page 1200")
    return problems


def check_manifest_and_credit(manifest, exe, version):
    problems = []
    quad = ".".join(map(str, version)) + ".0"
    identity = re.search(rb'<assemblyIdentity[^>]*name="Pelmora"[^>]*>', manifest)
    if not identity or f'version="{quad}"'.encode() not in identity.group(0):
        problems.append(f"manifest's assembly identity is not version {quad}")
    credit = f"Pelmora {shown_version(version)}  ".encode("utf-16-le")
    if credit not in exe.read_bytes():
        problems.append(f'no credit line "Pelmora {shown_version(version)}" in the program')
    return problems


def check_icon_group(wrestool, exe):
    # Without --raw wrestool rebuilds the group as an .ico file from the images it names.
    with tempfile.NamedTemporaryFile(suffix=".ico") as ico:
        subprocess.run([wrestool, "-x", "--type=14", "--name=1", str(exe)], stdout=ico,
                       check=True)
        listing = subprocess.run([Path(wrestool).with_name("icotool"), "-l", ico.name],
                                 capture_output=True, text=True, check=True).stdout
    images = sorted(tuple(map(int, image)) for image in re.findall(
        r"--width=(\d+) --height=(\d+) --bit-depth=(\d+)", listing))
    if images != ICON_IMAGES:
        return [f"icon group 1 holds {images}, want 48/32/16 px at 4/8/32 bits"]
    return []


def main():
    mode = sys.argv[1] if len(sys.argv) > 1 else ""
    if (mode, len(sys.argv)) not in (("headers", 4), ("resources", 5)):
        print(__doc__)
        return 2
    exe, tool = Path(sys.argv[2]), sys.argv[3]
    if not exe.is_file():
        return skip_unless_ci(f"{exe} (build the windows preset first)")
    if not tool or tool.endswith("NOTFOUND") or not Path(tool).exists():
        return skip_unless_ci("objdump for i686-w64-mingw32" if mode == "headers"
                       else "wrestool (icoutils)")
    if mode == "headers":
        problems = check_headers(exe, tool)
    else:
        version = tuple(int(part) for part in sys.argv[4].split("."))
        problems = check_version(extract(tool, exe, 16, 1), version)
        problems += check_manifest_and_credit(extract(tool, exe, 24, 1), exe, version)
        problems += check_icon_group(tool, exe)
    for problem in problems:
        print(f"FAIL: {problem}")
    if not problems:
        print("all checks passed")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
