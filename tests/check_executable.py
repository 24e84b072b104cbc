#!/usr/bin/env python3
"""Checks the built setup program from outside, as a Windows loader would see it.

- a 32-bit (i386) PE for the GUI subsystem, subsystem version 4.0, so that
  Windows 95 and NT 4.0 load it;
- it imports only Windows system libraries: no C++ runtime, libgcc,
  winpthread or zlib DLL has to travel with it;
- each of them is one the NT loader takes from its known-DLL list, never
  from the program's own folder: a setup program runs from a downloads
  folder, where a planted DLL of an imported name would otherwise be loaded.
  comctl32 is not such a DLL, so the program loads it by full path instead;
- every payload of the payload table is a resource of the string type "TEXT"
  holding one zlib stream (header 0x78 0xDA) that inflates within the buffer
  its reader gives it;
- an application manifest (resource 1 of type 24) that runs the program as
  the user who starts it (asInvoker, so Windows from Vista on does not take
  it for an installer that needs an administrator), names Vista to 10/11 as
  supported, and asks for no common-controls version (the look stays the
  classic one);
- version information (type 16) whose fixed part and strings say what the
  file is: product name, description and version.
"""
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

SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "comdlg32.dll", "comctl32.dll",
    "shell32.dll", "ole32.dll", "oleaut32.dll", "advapi32.dll", "msvcrt.dll",
    "version.dll", "shlwapi.dll",
}

# Imported DLLs that Windows XP and later load only from the system folder,
# whatever lies beside the program.
KNOWN_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "comdlg32.dll", "shell32.dll",
    "ole32.dll", "oleaut32.dll", "advapi32.dll", "msvcrt.dll", "shlwapi.dll",
}

# Buffer sizes of the readers of special payloads; every other payload is a
# manifest file inflated into the install buffer. The agreement texts need one
# byte of their buffer free.
CAPACITY = {110: 307200, 124: 65535, 161: 65535, 1029: 12 * 1024 * 1024}
INSTALL_CAPACITY = 9 * 1024 * 1024


class PE:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        self.machine, nsections, _, _, _, opt_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", data, opt)[0]
        self.subsystem_version = struct.unpack_from("<HH", data, opt + 48)
        self.subsystem = struct.unpack_from("<H", data, opt + 68)[0]
        # The 64-bit header (magic 0x20B) has wider fields before its data
        # directories; the test builds of 64-bit machines are read too.
        dirs_at = opt + (112 if self.magic == 0x20B else 96)
        ndirs = struct.unpack_from("<I", data, dirs_at - 4)[0]
        self.dirs = [struct.unpack_from("<II", data, dirs_at + 8 * i) for i in range(ndirs)]
        self.sections = []
        sec = opt + opt_size
        for i in range(nsections):
            _, vsize, va, rawsize, rawptr = struct.unpack_from("<8sIIII", data, sec + 40 * i)
            self.sections.append((va, max(vsize, rawsize), rawptr))

    def offset(self, rva):
        for va, size, raw in self.sections:
            if va <= rva < va + size:
                return raw + rva - va
        raise ValueError(f"RVA {rva:#x} outside every section")

    def cstring(self, rva):
        o = self.offset(rva)
        return self.data[o:self.data.index(b"\0", o)].decode("ascii")

    def imports(self):
        rva, size = self.dirs[1]
        names = []
        o = self.offset(rva)
        while True:
            desc = struct.unpack_from("<IIIII", self.data, o)
            if desc == (0, 0, 0, 0, 0):
                return names
            names.append(self.cstring(desc[3]))
            o += 20

    def resources_of_type(self, type_name):
        """{identifier: bytes} of the resources whose type is the string type_name."""
        base_rva = self.dirs[2][0]
        base = self.offset(base_rva)

        def entries(dir_off):
            named, ided = struct.unpack_from("<HH", self.data, base + dir_off + 12)
            for i in range(named + ided):
                name, target = struct.unpack_from("<II", self.data, base + dir_off + 16 + 8 * i)
                yield name, target

        def name_of(name):
            if not name & 0x80000000:
                return name
            o = base + (name & 0x7FFFFFFF)
            n = struct.unpack_from("<H", self.data, o)[0]
            return self.data[o + 2:o + 2 + 2 * n].decode("utf-16-le")

        found = {}
        for tname, tdir in entries(0):
            if name_of(tname) != type_name or not tdir & 0x80000000:
                continue
            for ident, idir in entries(tdir & 0x7FFFFFFF):
                for _, leaf in entries(idir & 0x7FFFFFFF):
                    rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    o = self.offset(rva)
                    found[name_of(ident)] = self.data[o:o + size]
        return found


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
    exe, table = sys.argv[1:3]
    pe = PE(open(exe, "rb").read())
    failures = []

    def check(ok, message):
        if not ok:
            failures.append(message)

    check(pe.machine == 0x14C and pe.magic == 0x10B, f"not a 32-bit i386 PE (machine {pe.machine:#x}, magic {pe.magic:#x})")
    check(pe.subsystem == 2, f"subsystem {pe.subsystem}, expected 2 (Windows GUI)")
    check(pe.subsystem_version == (4, 0), f"subsystem version {pe.subsystem_version}, expected (4, 0)")

    imports = pe.imports()
    foreign = [d for d in imports if d.lower() not in SYSTEM_DLLS]
    check(not foreign, f"imports libraries that are not part of Windows: {foreign}")
    check("kernel32.dll" in (d.lower() for d in imports), f"no kernel32 import in {imports}")
    plantable = [d for d in imports if d.lower() not in KNOWN_DLLS]
    check(not plantable, f"imports DLLs that would be looked for in the program's folder: {plantable}")

    text = pe.resources_of_type("TEXT")
    for ident in payload_ids(table):
        blob = text.get(ident)
        if blob is None:
            failures.append(f"payload {ident}: no resource of type \"TEXT\"")
            continue
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
    print(f"{exe}: imports {', '.join(imports)}; {len(text)} TEXT resources; {len(failures)} failures")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
