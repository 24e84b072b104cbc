#!/usr/bin/env python3
"""Checks every payload of the built setup program, as the program and the installed product will read it.

Reads the payload streams out of the executable's payload store (the PE reader of
tests/check_executable.py), inflates each one and checks:

- all 99 identifiers are there: the 95 files of the manifest (the list below
  is written out here on purpose, not read from the payload table),
  and 124, 161, 254, 1029 (110 is both the glyph font and the manifest's
  ChnBmp.bin); each is one zlib stream with the header 0x78 0xDA that inflates
  within its reader's buffer;
- the glyph font (110): its size, its layout, and the cells that matter to
  the program, with cell positions computed from the plain row formula;
- the 24-pixel caption glyphs (254): their layout, ascending codes, ink in
  every glyph, and a glyph for every character of the Chinese agreement but
  the ideographic space (blank in either font);
- the agreements (124, 161), the configuration file (120) and the word base
  (128) as their readers expect them;
- the speech module (1029): a compound file that msiinfo reads as an MSI;
- every other manifest file is a real file of its kind: bitmaps, PNG pictures,
  HTML pages, texts, Win32 programs and data files.

Usage: check_payloads.py <ScrivoraSetup.exe> <payloads.csv>
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from check_executable import PE, SYSTEM_DLLS  # noqa: E402

MANIFEST = [
    (106, "pykeys.dic"), (131, "gbkflat.dic"), (143, "py_1key.dic"), (111, "sort.dic"),
    (153, "chdicres.bin"), (123, "ChnDic2.bin"), (118, "duplicat.dic"), (137, "ch2key.bin"),
    (114, "readme2.igb"), (115, "readme3.igb"), (120, "zerezizu.ini"), (203, "tips.txt"),
    (204, "tips_en.txt"), (164, "cikuguide.txt"), (110, "ChnBmp.bin"), (116, "keymap.bmp"),
    (136, "keymapPY.bmp"), (138, "keymapPYStd.bmp"), (140, "keymapSP.bmp"), (141, "keymapSPStd.bmp"),
    (149, "keymapSP1.bmp"), (151, "keymapSPStd1.bmp"), (150, "keymapSP2.bmp"), (152, "keymapSPStd2.bmp"),
    (127, "CiZuFlat.igb"), (130, "ch2py.bin"), (191, "ch2pypz1.bin"), (192, "ch2pypz2.bin"),
    (132, "bihuaku.bin"), (144, "vmodewords.dic"), (162, "gbk2b5.bin"), (189, "b5gbk.bin"),
    (173, "fccdic.bin"), (241, "depend1.map"), (240, "depend2.map"),
    (248, "mi_bihua1_dups_prefered_codes.bin"), (249, "mi_bihua1.bin"),
    (250, "mi_bihua1_danjianzuhe.bin"), (251, "ZiPartsBase.dat"), (252, "ZiParts.dat"),
    (253, "Pelta9Show.exe"), (175, "zelkoguide.htm"), (176, "ZEKGUIDE.HTM"), (177, "ZEKEditGuide.htm"),
    (178, "morvalenguide.htm"), (179, "input_samples.htm"), (174, "input_assist.htm"),
    (180, "fast_steps.htm"), (181, "pinyin_pinxing.htm"), (182, "xingmaguide.htm"),
    (183, "xingmajiyi.htm"), (184, "kuai_jian.htm"), (194, "zelkoguide_en.htm"),
    (195, "ZEKGUIDE_en.HTM"), (196, "ZEKEditGuide_en.htm"), (197, "morvalenguide_en.htm"),
    (198, "input_samples_en.htm"), (193, "input_assist_en.htm"), (199, "fast_steps_en.htm"),
    (200, "pinyin_pinxing_en.htm"), (201, "kuai_jian_en.htm"), (185, "Zek_pane.png"),
    (186, "zek_prompt.png"), (119, "Welcome_zekedit.bmp"), (171, "ZEKEditUnInstall.exe"),
    (190, "Welcome_morvalen.bmp"), (210, "pysampci_manual3.PNG"), (211, "pysampcaret.PNG"),
    (212, "pysampci_manual.PNG"), (213, "pysampci_manual1.PNG"), (214, "pysampci_manual2.PNG"),
    (215, "PYSAMP1.PNG"), (216, "pysampci_manual4.PNG"), (217, "pysampci_manual5.PNG"),
    (218, "pysampci1.PNG"), (219, "pysampci2.PNG"), (220, "pysampci3.PNG"), (221, "pysampci4.PNG"),
    (222, "pysampci5.PNG"), (223, "pysampci6.PNG"), (224, "pysampci7.PNG"), (225, "pysampci8.PNG"),
    (226, "pysampforecast.PNG"), (227, "pysampshengdiao3.PNG"), (139, "VarneloDemo.exe"),
    (126, "pxcizudic.idx"), (128, "pycizudic.idx"), (129, "py2_3ZiCi1stZuMu.idx"), (109, "Morvalen.exe"),
    (1021, "ZEKEdit.exe"), (1022, "readme2he.igb"), (1023, "Mswd6_32.wpc"), (187, "b52Gbs.tab"),
    (188, "Gb2b5s.tab"), (145, "ZiDef.dic"),
]
INSTALL_CAPACITY = 9_437_184
CAPACITY = {110: 307_200, 254: 65_536, 124: 65_535, 161: 65_535, 1029: 12_582_912}

FONT_BYTES, STRIP_BYTES, ROW_BYTES = 241_664, 60_416, 64
WORD_BASE_SIZE = 8_488_789
CHINESE_TEXTS = {"tips.txt", "cikuguide.txt"}


class Checks:
    def __init__(self):
        self.failures = []
        self.count = 0

    def check(self, ok, message):
        self.count += 1
        if not ok:
            self.failures.append(message)
        return ok


# ---------------------------------------------------------------- glyph font

def symbol_or_hanzi_cell(code):
    """The plain row formula for a well-formed GB2312 code of the font's contents."""
    lead, trail = code >> 8, code & 0xFF
    if lead >= 0xB0:
        return 658 + (lead - 0xB0) * 94 + (trail - 0xA1)
    row = {0xA1: 1, 0xA2: 2, 0xA3: 3, 0xA4: 4, 0xA5: 5, 0xA9: 6, 0xA7: 7}[lead]
    return (row - 1) * 94 + (trail - 0xA1)


def cell_position(g):
    r = g // 32
    return r // 59, 16 * (g % 32), 16 * (r % 59)


def cell_ink(font, g):
    """16 rows of 16 booleans, True where the cell has ink (a 0 bit)."""
    strip, x, y = cell_position(g)
    rows = []
    for dy in range(16):
        o = strip * STRIP_BYTES + (y + dy) * ROW_BYTES + x // 8
        bits = font[o] << 8 | font[o + 1]
        rows.append([not (bits >> (15 - i)) & 1 for i in range(16)])
    return rows


def check_glyph_font(c, font):
    if not c.check(len(font) == FONT_BYTES, f"payload 110: {len(font)} bytes, expected {FONT_BYTES}"):
        return
    # The formula against known cells of the layout.
    for code, cell, pos in [(0xB0A1, 658, (0, 288, 320)), (0xBDA8, 1887, (0, 496, 928)),
                            (0xBDA9, 1888, (1, 0, 0)), (0xD2BB, 3880, (2, 128, 48)),
                            (0xD6D0, 4277, (2, 336, 240)), (0xF7FE, 7425, (3, 16, 880)),
                            (0xA3C1, 220, (0, 448, 96)), (0xA7A1, 564, (0, 320, 272))]:
        c.check(symbol_or_hanzi_cell(code) == cell and cell_position(cell) == pos,
                f"test's cell formula disagrees with the layout for {code:#06x}")
    c.check(cell_position(7456) == (3, 0, 896) and cell_position(7457) == (3, 16, 896),
            "test's cell positions of the special cells disagree with the layout")

    def ink(g):
        return sum(sum(r) for r in cell_ink(font, g))

    hanzi = {code: cell_ink(font, symbol_or_hanzi_cell(code)) for code in (0xB0A1, 0xD2BB, 0xD6D0)}
    for code, rows in hanzi.items():
        c.check(any(any(r) for r in rows), f"payload 110: the cell of {code:#06x} has no ink")
    c.check(hanzi[0xB0A1] != hanzi[0xD2BB] != hanzi[0xD6D0] != hanzi[0xB0A1],
            "payload 110: the cells of 0xB0A1, 0xD2BB and 0xD6D0 are not all different")
    for code in range(0xD7FA, 0xD7FF):
        g = symbol_or_hanzi_cell(code)
        c.check(ink(g) == 0, f"payload 110: the empty place {code:#06x} (cell {g}) has ink")
    c.check(ink(0) == 0, "payload 110: the ideographic space (cell 0) has ink")
    c.check(ink(7456) > 0, "payload 110: cell 7456 (code 0xE946) has no ink")
    line = cell_ink(font, 7457)
    c.check(all(line[9]) and all(line[10]) and not any(any(r) for i, r in enumerate(line) if i not in (9, 10)),
            "payload 110: cell 7457 is not exactly a line in pixel rows 9 and 10 across all 16 columns")
    horizontal = cell_ink(font, symbol_or_hanzi_cell(0xA9A4))
    c.check(any(r[0] and r[15] for r in horizontal),
            "payload 110: the box-drawing line 0xA9A4 does not reach columns 0 and 15 on one row")
    vertical = cell_ink(font, symbol_or_hanzi_cell(0xA9A6))
    c.check(any(vertical[0][i] and vertical[15][i] for i in range(16)),
            "payload 110: the box-drawing line 0xA9A6 does not reach rows 0 and 15 in one column")
    cross = cell_ink(font, symbol_or_hanzi_cell(0xA9E0))  # U+253C, a cross: reaches all four edges
    c.check(any(r[0] and r[15] for r in cross) and any(cross[0][i] and cross[15][i] for i in range(16)),
            "payload 110: the box-drawing cross 0xA9E0 does not reach all four cell edges")
    full_a = cell_ink(font, symbol_or_hanzi_cell(0xA7A1))  # Cyrillic A, an 8-wide glyph: centred
    c.check(any(any(r) for r in full_a) and not any(r[i] for r in full_a for i in (0, 1, 2, 3, 12, 13, 14, 15)),
            "payload 110: the narrow glyph 0xA7A1 is not centred in its cell")


# ---------------------------------------------------------------- texts

def check_crlf_text(c, ident, data, encoding, max_lines=None):
    try:
        text = data.decode(encoding)
    except UnicodeDecodeError as e:
        c.check(False, f"payload {ident}: not valid {encoding} at byte {e.start}")
        return None
    c.check(data.endswith(b"\r\n"), f"payload {ident}: the last line does not end in CR LF")
    bare = data.replace(b"\r\n", b"")
    c.check(b"\r" not in bare and b"\n" not in bare, f"payload {ident}: a line ends other than in CR LF")
    if max_lines is not None:
        lines = data.count(b"\r\n")
        c.check(lines < max_lines, f"payload {ident}: {lines} lines, not below {max_lines}")
    return text


def check_agreements(c, payloads):
    zh = payloads.get(124, b"")
    en = payloads.get(161, b"")
    for ident, data in ((124, zh), (161, en)):
        c.check(0 < len(data) < 65_535, f"payload {ident}: {len(data)} bytes, not well under 65,535")
        c.check(b"\0" not in data, f"payload {ident}: holds a zero byte, which would cut the text short")
    text = check_crlf_text(c, 124, zh, "gb2312", max_lines=500)
    if text is not None:
        c.check(sum(1 for ch in text if ord(ch) >= 0x4E00) > 200, "payload 124: hardly any Chinese in it")
    text = check_crlf_text(c, 161, en, "ascii", max_lines=500)
    if text is not None:
        c.check("agreement" in text.lower(), "payload 161: does not read as an agreement")


def check_caption_glyphs(c, data, agreement):
    """Payload 254: N, N ascending GB2312 codes, then 24 x 24 cells 32 across."""
    if not c.check(len(data) >= 2, "payload 254: empty"):
        return
    n = struct.unpack_from("<H", data)[0]
    rows = -(-n // 32)
    if not c.check(n > 0 and len(data) == 2 + 2 * n + 96 * 24 * rows,
                   f"payload 254: {len(data)} bytes do not hold {n} glyphs"):
        return
    codes = [struct.unpack_from(">H", data, 2 + 2 * i)[0] for i in range(n)]
    c.check(codes == sorted(set(codes)), "payload 254: codes not strictly ascending")
    c.check(all(0xA1 <= code >> 8 <= 0xF7 and 0xA1 <= code & 0xFF <= 0xFE for code in codes),
            "payload 254: a code outside GB2312's double bytes")
    bitmap = data[2 + 2 * n:]
    blank = [i for i in range(n)
             if all(bitmap[((i // 32) * 24 + y) * 96 + (i % 32) * 3 + k] == 0xFF for y in range(24) for k in range(3))]
    c.check(not blank, f"payload 254: glyphs without ink: {[hex(codes[i]) for i in blank[:5]]}")
    wanted = {ch.encode("gb2312") for ch in agreement.decode("gb2312", "replace")
              if len(ch.encode("gb2312", "ignore")) == 2 and not ch.isspace()}
    have = {code.to_bytes(2, "big") for code in codes}
    missing = sorted(wanted - have)
    c.check(not missing, f"payload 254: no glyph for {len(missing)} characters of the agreement, e.g. {missing[:3]}")


def check_config_file(c, data):
    check_crlf_text(c, 120, data, "gb2312")
    c.check(data.endswith(b"\r\n[Config]\r\nUseBmpFont=0\r\n\r\n"),
            "payload 120: does not end with the lines [Config], UseBmpFont=0 and an empty line")
    c.check(b"ForceLanguage=" not in data, "payload 120: already has a ForceLanguage line")


def check_word_base(c, data):
    if not c.check(len(data) == WORD_BASE_SIZE, f"payload 128: {len(data)} bytes, expected {WORD_BASE_SIZE}"):
        return
    c.check(data[0] < 0x80, "payload 128: first byte is not below 0x80 (not the source form)")
    c.check(data[-1] == 0, "payload 128: does not end with a zero byte")
    # Walk the entries: an ASCII key, then 3-byte groups whose first byte is 0x80 or above.
    i, entries, groups, n = 0, 0, 0, len(data) - 1
    well_formed = True
    while i < n:
        start = i
        while i < n and 0 < data[i] < 0x80:
            i += 1
        if i == start:
            well_formed = False
            break
        entries += 1
        while i < n and data[i] >= 0x80:
            if i + 3 > n:
                well_formed = False
                break
            groups += 1
            i += 3
        if not well_formed:
            break
    c.check(well_formed and i == n, f"payload 128: not a sequence of entries ending in one zero byte (stopped at {i})")
    c.check(entries > 100_000 and groups > 1_000_000,
            f"payload 128: only {entries} entries and {groups} groups")
    packed = len(zlib.compress(data, 6))
    c.check(packed > len(data) // 4, f"payload 128: compresses to {packed} bytes, too regular to be realistic")


def check_speech_module(c, data):
    c.check(data[:8] == bytes.fromhex("d0cf11e0a1b11ae1"), "payload 1029: not a compound file")
    msiinfo = shutil.which("msiinfo")
    if not c.check(msiinfo is not None, "msiinfo is missing (scripts/bootstrap.sh installs msitools)"):
        return
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "Sapi51forZelko.msi")
        with open(path, "wb") as f:
            f.write(data)
        runs = {"suminfo": [msiinfo, "suminfo", path], "tables": [msiinfo, "tables", path],
                "export": [msiinfo, "export", path, "File"]}
        out = {}
        for what, cmd in runs.items():
            r = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
            c.check(r.returncode == 0, f"payload 1029: msiinfo {what} fails: {r.stdout.strip()}")
            out[what] = r.stdout
        c.check("Property" in out["tables"].split() and "File" in out["tables"].split(),
                "payload 1029: no Property or File table")
        c.check("README.txt" in out["export"], "payload 1029: its File table does not hold the README")


# ---------------------------------------------------------------- files of their kind

def check_bmp(c, name, data):
    ok = data[:2] == b"BM" and len(data) >= 54
    if not c.check(ok, f"{name}: not a Windows bitmap"):
        return
    size, _, _, offset = struct.unpack_from("<IHHI", data, 2)
    hsize, width, height, planes, bits, compression, image_size = struct.unpack_from("<IiiHHII", data, 14)
    stride = ((width * bits + 31) // 32) * 4
    c.check(size == len(data) and hsize == 40 and planes == 1 and compression == 0 and bits in (4, 8, 24)
            and width > 0 and height > 0 and offset + stride * abs(height) == len(data),
            f"{name}: inconsistent bitmap header")
    c.check(width >= 200 and abs(height) >= 100, f"{name}: a picture of only {width} x {height}")


def check_png(c, name, data):
    if not c.check(data[:8] == b"\x89PNG\r\n\x1a\n", f"{name}: no PNG signature"):
        return
    i, chunks, idat = 8, [], b""
    while i + 8 <= len(data):
        length, kind = struct.unpack_from(">I4s", data, i)
        body = data[i + 8:i + 8 + length]
        crc = struct.unpack_from(">I", data, i + 8 + length)[0]
        if not c.check(zlib.crc32(kind + body) == crc, f"{name}: bad CRC in chunk {kind!r}"):
            return
        chunks.append((kind, body))
        if kind == b"IDAT":
            idat += body
        i += 12 + length
    if not c.check(chunks and chunks[0][0] == b"IHDR" and chunks[-1][0] == b"IEND", f"{name}: chunks out of order"):
        return
    width, height, depth, ctype = struct.unpack_from(">IIBB", chunks[0][1])
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}.get(ctype, 0)
    raw = zlib.decompress(idat)
    c.check(depth == 8 and len(raw) == height * (1 + width * channels), f"{name}: image data of the wrong size")


def check_html(c, name, data):
    chinese = not name.lower().replace(".htm", "").endswith("_en")
    encoding = "gb2312" if chinese else "ascii"
    try:
        text = data.decode(encoding)
    except UnicodeDecodeError:
        c.check(False, f"{name}: not valid {encoding}")
        return
    lower = text.lower()
    c.check(lower.lstrip().startswith("<!doctype html") and "</html>" in lower and "<title>" in lower,
            f"{name}: not an HTML page")
    if chinese:
        c.check('charset=gb2312' in lower, f"{name}: no GB2312 charset declaration")
        c.check(sum(1 for ch in text if ord(ch) >= 0x4E00) > 20, f"{name}: hardly any Chinese in it")


# Programs among the payloads that are built from the project's own sources
# rather than stand-ins.
REAL_PROGRAMS = {"ZEKEditUnInstall.exe"}


def check_program(c, name, data):
    try:
        pe = PE(data)
        imports = pe.imports()
    except (ValueError, struct.error) as e:
        c.check(False, f"{name}: not a PE executable ({e})")
        return
    c.check(pe.machine == 0x14C and pe.subsystem == 2, f"{name}: not a 32-bit Windows GUI program")
    c.check(all(d.lower() in SYSTEM_DLLS for d in imports), f"{name}: imports {imports}")
    if name in REAL_PROGRAMS:
        # A program of the project's own: its version information names it.
        c.check(name.encode("utf-16-le") in data, f"{name}: its version information does not name it")
    else:
        c.check(name.encode("ascii") in data and b"stands in for" in data,
                f"{name}: does not say which program it stands in for")
    c.check(len(data) < 256 * 1024, f"{name}: {len(data)} bytes, not a small program")


def check_data_file(c, name, data):
    c.check(len(data) >= 256, f"{name}: only {len(data)} bytes")
    if name not in ("pycizudic.idx", "ChnBmp.bin", "zerezizu.ini"):
        c.check(data.startswith(f"Zelko Scrivora stand-in data: {name},".encode("ascii")),
                f"{name}: does not start with its stand-in header")


def check_manifest_file(c, ident, name, data):
    ext = name.rsplit(".", 1)[1].lower()
    if ext == "bmp":
        check_bmp(c, name, data)
    elif ext == "png":
        check_png(c, name, data)
    elif ext == "htm":
        check_html(c, name, data)
    elif ext == "txt":
        check_crlf_text(c, ident, data, "gb2312" if name in CHINESE_TEXTS else "ascii")
    elif ext == "exe":
        check_program(c, name, data)
    else:
        check_data_file(c, name, data)


def main():
    exe, table = sys.argv[1:3]
    c = Checks()
    text = PE(open(exe, "rb").read()).payloads()
    table_names = {}
    for line in open(table, encoding="utf-8"):
        line = line.split("#", 1)[0].strip()
        if line:
            ident, name, _ = (f.strip() for f in line.split(","))
            table_names[int(ident)] = name

    payloads = {}
    wanted = [i for i, _ in MANIFEST] + [124, 161, 254, 1029]
    c.check(len(set(wanted)) == 99, "the test's list of identifiers is not 99 distinct ones")
    for ident in wanted:
        blob = text.get(ident)
        if not c.check(blob is not None, f"payload {ident}: not in the payload store"):
            continue
        c.check(blob[:2] == b"\x78\xda", f"payload {ident}: header {blob[:2].hex()}, expected 78da")
        try:
            d = zlib.decompressobj()
            data = d.decompress(blob)
            c.check(d.eof and not d.unused_data, f"payload {ident}: not exactly one complete zlib stream")
        except zlib.error as e:
            c.check(False, f"payload {ident}: does not inflate ({e})")
            continue
        capacity = CAPACITY.get(ident, INSTALL_CAPACITY)
        c.check(len(data) <= capacity, f"payload {ident}: {len(data)} bytes, more than its buffer of {capacity}")
        payloads[ident] = data
    for ident, name in MANIFEST:
        c.check(table_names.get(ident) == name,
                f"payload {ident}: the payload table names it {table_names.get(ident)!r}, the manifest {name!r}")
    c.check(table_names.get(1029) == "Sapi51forZelko.msi", "payload 1029: not named Sapi51forZelko.msi")

    check_glyph_font(c, payloads.get(110, b""))
    check_agreements(c, payloads)
    check_caption_glyphs(c, payloads.get(254, b""), payloads.get(124, b""))
    check_config_file(c, payloads.get(120, b""))
    check_word_base(c, payloads.get(128, b""))
    check_speech_module(c, payloads.get(1029, b""))
    for ident, name in MANIFEST:
        if ident in payloads and ident not in (110, 120, 128):
            check_manifest_file(c, ident, name, payloads[ident])

    for f in c.failures:
        print("FAIL:", f)
    print(f"{len(payloads)} payloads, {c.count} checks: {c.count - len(c.failures)} passed, {len(c.failures)} failed")
    sys.exit(1 if c.failures else 0)


if __name__ == "__main__":
    main()
