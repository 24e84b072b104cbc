#!/usr/bin/env python3
"""Checks the built setup program from outside, as a Windows loader would see it.

- a 32-bit (i386) PE for the GUI subsystem, subsystem version 4.0, so that
  Windows 95 and NT 4.0 load it;
- it imports only from KERNEL32, USER32, GDI32, ADVAPI32, COMDLG32, SHELL32
  and OLE32, and only functions that both Windows 95 and Windows NT 3.51
  export by name (the lists in tests/platform): their loaders refuse a program
  whose import names a function the DLL lacks, before any of its code runs,
  and Wine exports everything, so no run under Wine would show it. No C
  runtime DLL either: neither Windows 95 nor NT 3.51 has MSVCRT.DLL; and no
  trace of the toolchain's C, C++ or thread libraries in its code or data;
- each DLL is one the NT loader takes from its known-DLL list, never
  from the program's own folder: a setup program runs from a downloads
  folder, where a planted DLL of an imported name would otherwise be loaded.
  comctl32 is not such a DLL, so the program loads it by full path instead;
- the payload store and its records: the records name every payload of the
  payload table once, their streams fill the store exactly, one after the
  other, and each is one zlib stream (header 0x78 0xDA) with the Adler-32 of
  its record that inflates within the buffer its reader gives it; and no
  payload is a resource of type "TEXT" of its own beside the store;
- an application manifest (resource 1 of type 24) that runs the program as
  the user who starts it (asInvoker, so Windows from Vista on does not take
  it for an installer that needs an administrator), names Vista to 10/11 as
  supported, asks for no common-controls version (the look stays the
  classic one), and declares system DPI awareness (the program scales its own
  glyphs; a stretched bitmap would blur them);
- version information (type 16) whose fixed part and strings say what the
  file is: product name, description and version.
"""
import os
import struct
import sys
import xml.etree.ElementTree as ET
import zlib

RT_VERSION, RT_MANIFEST = 16, 24
SUPPORTED_OS = {
    "{e2011457-1546-43c5-a5fe-008deee3d3f0}": "Vista",
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "10 and 11",
}
VERSION_STRINGS = ("ProductName", "FileDescription", "FileVersion", "ProductVersion")

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tools"))
from pe_file import PE  # noqa: E402

# The DLLs the program may import from, and the export lists of the oldest
# Windows it must start on: Windows 95 and Windows NT 3.51 (3.5x where only
# such a list exists). An import must be in both.
PLATFORM_DIR = os.path.join(HERE, "platform")
EXPORT_LISTS = {
    "kernel32.dll": ("win95-kernel32.txt", "nt351-kernel32.txt"),
    "user32.dll": ("win95-user32.txt", "nt35x-user32.txt"),
    "gdi32.dll": ("win95-gdi32.txt", "nt35x-gdi32.txt"),
    "advapi32.dll": ("win95-advapi32.txt", "nt351-advapi32.txt"),
    "comdlg32.dll": ("win95-comdlg32.txt", "nt35x-comdlg32.txt"),
    "shell32.dll": ("win95-shell32.txt", "nt351-shell32.txt"),
    "ole32.dll": ("win95-ole32.txt", "nt35x-ole32.txt"),
}
# Names that only a linked-in C runtime, C++ runtime or thread library brings.
TOOLCHAIN_TRACES = [b"msvcrt", b"winpthread", b"libstdc++", b"libgcc_s", b"mingw_"]
# DLLs that are part of every Windows the product runs on; the small programs
# among the payloads (checked by tests/payloads) may import from these.
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "comdlg32.dll", "comctl32.dll",
    "shell32.dll", "ole32.dll", "oleaut32.dll", "advapi32.dll", "msvcrt.dll",
    "version.dll", "shlwapi.dll",
}
SYSTEM_NAMES = {"win95": "Windows 95", "nt351": "NT 3.51", "nt35x": "NT 3.51"}

# Imported DLLs that Windows XP and later load only from the system folder,
# whatever lies beside the program.
KNOWN_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "comdlg32.dll", "shell32.dll",
    "ole32.dll", "oleaut32.dll", "advapi32.dll", "msvcrt.dll", "shlwapi.dll",
}

# Buffer sizes of the readers of special payloads; every other payload is a
# manifest file inflated into the install buffer. The agreement texts need one
# byte of their buffer free.
CAPACITY = {110: 307200, 254: 65536, 124: 65535, 161: 65535, 1029: 12 * 1024 * 1024}
INSTALL_CAPACITY = 9 * 1024 * 1024


def exported_names(list_file):
    with open(os.path.join(PLATFORM_DIR, list_file), encoding="ascii") as f:
        return {line.strip() for line in f if line.strip()}


def import_failures(imported):
    """Messages for every DLL outside the seven and every function that
    Windows 95 or NT 3.51 does not export from its DLL."""
    failures = []
    for dll, functions in imported:
        lists = EXPORT_LISTS.get(dll.lower())
        if lists is None:
            failures.append(f"imports {dll}, which is not one of {', '.join(sorted(EXPORT_LISTS))}")
            continue
        exports = [(SYSTEM_NAMES[name.split("-")[0]], exported_names(name)) for name in lists]
        for function in functions:
            missing = [system for system, names in exports if function not in names]
            if missing:
                failures.append(f"imports {dll}!{function}, which {' and '.join(missing)} do(es) not export")
    return failures


def manifest_problems(pe):
    """What is wrong with the application manifest, as a list of texts."""
    manifests = pe.resources_of_type(RT_MANIFEST)
    if list(manifests) != [1]:
        return [f"application manifests {sorted(manifests)}, expected exactly resource 1"]
    try:
        root = ET.fromstring(manifests[1])
    except ET.ParseError as e:
        return [f"manifest is not XML: {e}"]
    problems = []
    levels = [(e.get("level"), e.get("uiAccess")) for e in root.iter()
              if e.tag.endswith("}requestedExecutionLevel")]
    if levels != [("asInvoker", "false")]:
        problems.append(f"requested execution levels {levels}, expected asInvoker without uiAccess")
    ids = {e.get("Id", "").lower() for e in root.iter() if e.tag.endswith("}supportedOS")}
    missing = [name for guid, name in SUPPORTED_OS.items() if guid not in ids]
    if missing:
        problems.append(f"manifest does not name Windows {', '.join(missing)} as supported")
    aware = [(e.tag, (e.text or "").strip()) for e in root.iter() if e.tag.endswith("}dpiAware")]
    if aware != [("{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware", "true")]:
        problems.append(f"dpiAware elements {aware}, expected one saying true")
    if any(e.tag.endswith("}dependency") for e in root.iter()):
        problems.append("manifest has a dependency (a common-controls version would change the look)")
    return problems


def version_info(blob):
    """(file version, product version, {string name: value}) of a VS_VERSIONINFO."""
    strings = {}

    def walk(o, end, depth):
        while o + 6 <= end:
            length, value_length, is_text = struct.unpack_from("<HHH", blob, o)
            if length == 0:
                break
            key_end = o + 6
            while blob[key_end:key_end + 2] != b"\0\0":
                key_end += 2
            key = blob[o + 6:key_end].decode("utf-16-le")
            value_at = (key_end + 2 + 3) & ~3
            value_size = value_length * 2 if is_text else value_length
            if depth == 3 and is_text:
                strings[key] = blob[value_at:value_at + value_size].decode("utf-16-le").rstrip("\0")
            children = (value_at + value_size + 3) & ~3
            walk(children, o + length, depth + 1)
            o = (o + length + 3) & ~3

    length, value_length, _ = struct.unpack_from("<HHH", blob, 0)
    if blob[6:6 + 32].decode("utf-16-le", "replace") != "VS_VERSION_INFO\0" or value_length != 52:
        raise ValueError("not a VS_VERSION_INFO with a fixed part")
    fixed = struct.unpack_from("<13I", blob, 40)
    if fixed[0] != 0xFEEF04BD:
        raise ValueError(f"fixed part signature {fixed[0]:#x}")

    def dotted(ms, ls):
        return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"

    walk(40 + 52, length, 1)
    return dotted(fixed[2], fixed[3]), dotted(fixed[4], fixed[5]), strings


def version_problems(pe):
    versions = pe.resources_of_type(RT_VERSION)
    if list(versions) != [1]:
        return [f"version resources {sorted(versions)}, expected exactly resource 1"]
    try:
        file_version, product_version, strings = version_info(versions[1])
    except (ValueError, struct.error) as e:
        return [f"version resource unreadable: {e}"]
    problems = [f"version string {name} missing or empty" for name in VERSION_STRINGS if not strings.get(name)]
    if strings.get("FileVersion") and strings["FileVersion"] != file_version:
        problems.append(f"FileVersion {strings['FileVersion']!r} differs from the fixed {file_version}")
    if strings.get("ProductVersion") and strings["ProductVersion"] != product_version:
        problems.append(f"ProductVersion {strings['ProductVersion']!r} differs from the fixed {product_version}")
    if "Scrivora" not in strings.get("ProductName", ""):
        problems.append(f"ProductName {strings.get('ProductName')!r} does not name the product")
    return problems


def payload_ids(table):
    ids = []
    for line in open(table, encoding="utf-8"):
        line = line.split("#", 1)[0].strip()
        if line:
            ids.append(int(line.split(",")[0]))
    return ids


def main():
    # Without a payload table the program is one that carries no payloads
    # (the uninstaller); everything else is checked the same way.
    exe = sys.argv[1]
    table = sys.argv[2] if len(sys.argv) > 2 else None
    pe = PE(open(exe, "rb").read())
    failures = []

    def check(ok, message):
        if not ok:
            failures.append(message)

    check(pe.machine == 0x14C and pe.magic == 0x10B, f"not a 32-bit i386 PE (machine {pe.machine:#x}, magic {pe.magic:#x})")
    check(pe.subsystem == 2, f"subsystem {pe.subsystem}, expected 2 (Windows GUI)")
    check(pe.subsystem_version == (4, 0), f"subsystem version {pe.subsystem_version}, expected (4, 0)")

    imported = pe.imported_functions()
    imports = [dll for dll, _ in imported]
    failures.extend(import_failures(imported))
    check("kernel32.dll" in (d.lower() for d in imports), f"no kernel32 import in {imports}")
    plantable = [d for d in imports if d.lower() not in KNOWN_DLLS]
    check(not plantable, f"imports DLLs that would be looked for in the program's folder: {plantable}")

    # Both programs narrow the DLL search as they start: the uninstaller's
    # copy runs from the temporary folder, where any user may put a DLL. The
    # calls are looked up by name at run time (no Windows 95 or NT 3.51 has
    # them), so their names must be in the program. (Under Wine a planted
    # system DLL is never loaded from a program's folder, so the loading
    # itself cannot be watched here for the names these programs load.)
    data = b"".join(c for n, c in pe.section_bytes.items() if n != ".rsrc")
    for call in (b"SetDefaultDllDirectories\0", b"SetDllDirectoryA\0"):
        check(call in data, f"does not look up {call[:-1].decode()}: the DLL search is not narrowed")

    for name, contents in pe.section_bytes.items():
        if name == ".rsrc":
            continue
        for trace in TOOLCHAIN_TRACES:
            check(trace not in contents.lower(), f"section {name} holds \"{trace.decode()}\"")

    streams = {}
    if table:
        try:
            _, rows = pe.payload_store()
        except ValueError as e:
            failures.append(f"payload store: {e}")
            rows = []
        idents = [row[0] for row in rows]
        check(sorted(idents) == sorted(payload_ids(table)) and len(set(idents)) == len(idents),
              f"the records name payloads {idents}, not each of the payload table once")
        check(not pe.resources_of_type("TEXT"), "payloads are resources of type \"TEXT\" beside the store")
        for ident, size, adler, _installed, blob in rows:
            streams[ident] = blob
            check(zlib.adler32(blob) == adler, f"payload {ident}: Adler-32 {zlib.adler32(blob):#x}, the record says {adler:#x}")
            if blob[:2] != b"\x78\xda":
                failures.append(f"payload {ident}: starts with {blob[:2].hex()}, expected 78da")
                continue
            try:
                d = zlib.decompressobj()
                inflated = d.decompress(blob)
                complete = d.eof and not d.unused_data
            except zlib.error as e:
                failures.append(f"payload {ident}: does not inflate ({e})")
                continue
            check(complete, f"payload {ident}: not exactly one complete zlib stream")
            capacity = CAPACITY.get(ident, INSTALL_CAPACITY)
            check(len(inflated) <= capacity, f"payload {ident}: inflates to {len(inflated)} bytes, more than its buffer of {capacity}")

    failures += manifest_problems(pe)
    failures += version_problems(pe)

    for f in failures:
        print("FAIL:", f)
    functions = sum(len(names) for _, names in imported)
    print(f"{exe}: {functions} imports from {', '.join(imports)}; {len(streams)} payload streams; "
          f"{len(failures)} failures")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
