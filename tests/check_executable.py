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
  its reader gives it.
"""
import struct
import sys
import zlib

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

    for f in failures:
        print("FAIL:", f)
    print(f"{exe}: imports {', '.join(imports)}; {len(text)} TEXT resources; {len(failures)} failures")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
