"""Reading a PE file as the Windows loader sees it: its header, sections,
imports and resources. Used by the build's size report and by the test of the
shipped executable."""
import struct


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
        self.section_bytes = {}
        sec = opt + opt_size
        for i in range(nsections):
            name, vsize, va, rawsize, rawptr = struct.unpack_from("<8sIIII", data, sec + 40 * i)
            self.sections.append((va, max(vsize, rawsize), rawptr))
            self.section_bytes[name.rstrip(b"\0").decode("ascii", "replace")] = data[rawptr:rawptr + rawsize]

    def offset(self, rva):
        for va, size, raw in self.sections:
            if va <= rva < va + size:
                return raw + rva - va
        raise ValueError(f"RVA {rva:#x} outside every section")

    def cstring(self, rva):
        o = self.offset(rva)
        return self.data[o:self.data.index(b"\0", o)].decode("ascii")

    def imports(self):
        """The imported DLL names, in table order."""
        return [dll for dll, _ in self.imported_functions()]

    def imported_functions(self):
        """[(DLL name, [function names; "#n" for an import by ordinal])]."""
        rva, size = self.dirs[1]
        found = []
        o = self.offset(rva)
        wide = self.magic == 0x20B
        ordinal_flag = 1 << 63 if wide else 1 << 31
        while True:
            desc = struct.unpack_from("<IIIII", self.data, o)
            if desc == (0, 0, 0, 0, 0):
                return found
            lookup = desc[0] or desc[4]
            names = []
            t = self.offset(lookup)
            while True:
                entry = struct.unpack_from("<Q" if wide else "<I", self.data, t)[0]
                if entry == 0:
                    break
                if entry & ordinal_flag:
                    names.append(f"#{entry & 0xFFFF}")
                else:
                    names.append(self.cstring((entry & 0x7FFFFFFF) + 2))
                t += 8 if wide else 4
            found.append((self.cstring(desc[3]), names))
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

    def payload_store(self):
        """(store, [(identifier, stored size, Adler-32, installed size, stream)])
        of the program's payload store, the streams cut from it as the program
        finds them: in the order of the records, each where the ones before
        it end. Raises ValueError when the records do not cover the store
        exactly."""
        data = self.resources_of_type(RT_RCDATA)
        store, records = data.get(STORE_NAME), data.get(RECORDS_NAME)
        if store is None or records is None:
            raise ValueError(f"no {STORE_NAME} or {RECORDS_NAME} resource")
        if len(records) % RECORD_BYTES:
            raise ValueError(f"{RECORDS_NAME} is {len(records)} bytes, not whole records")
        rows, offset = [], 0
        for at in range(0, len(records), RECORD_BYTES):
            ident, size, adler, installed = struct.unpack_from(RECORD_FORMAT, records, at)
            if offset + size > len(store):
                raise ValueError(f"payload {ident}: its stream runs past the end of the store")
            rows.append((ident, size, adler, installed, store[offset:offset + size]))
            offset += size
        if offset != len(store):
            raise ValueError(f"the store has {len(store) - offset} bytes after the last stream")
        return store, rows

    def payloads(self):
        """{identifier: stored zlib stream} of the program's payloads."""
        return {row[0]: row[4] for row in self.payload_store()[1]}


# The payload store (cmake/Payloads.cmake, tools/payload_records.py).
RT_RCDATA = 10
STORE_NAME = "PAYLOADS"
RECORDS_NAME = "PAYLOADRECORDS"
RECORD_FORMAT = "<HxxIII"
RECORD_BYTES = struct.calcsize(RECORD_FORMAT)
