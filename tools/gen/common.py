"""Shared helpers of the payload generators.

The generators make the stand-ins for the product's files at build time, from
inputs that either live in the repository or come from Debian packages that
scripts/bootstrap.sh installs:

- GNU Unifont's hex font (package unifont): 8 x 16 and 16 x 16 glyphs for
  every character of the Basic Multilingual Plane;
- the Unicode Character Database's Unihan tables (package unicode-data):
  readings, stroke counts, four-corner codes, variants, radicals;
- Rime's "pinyin_simp" dictionary (package rime-data-pinyin-simp): simplified
  characters and phrases with their pinyin and a frequency weight;
- Rime's "stroke" dictionary (package rime-data-stroke): the stroke order of
  each character in the five stroke classes h, s, p, n, z.

Everything here is deterministic: no clock, no hash order (sets are always
sorted before they are walked), and every pseudo-random choice comes from a
seeded random.Random, whose sequence is fixed for a given seed.
"""
import bz2
import os
import random
import struct
import sys
import zlib

UNIFONT_HEX = "/usr/share/unifont/unifont.hex"
UNIHAN_DIR = "/usr/share/unicode"
RIME_DIR = "/usr/share/rime-data"


def fail(message):
    sys.exit(f"{os.path.basename(sys.argv[0])}: {message}")


def write_file(path, data):
    """Writes bytes to path, making its folder; the build only ever sees whole files."""
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


def seeded(name):
    """A pseudo-random generator whose sequence depends only on name."""
    return random.Random(zlib.crc32(name.encode("ascii")))


# ---------------------------------------------------------------- GB2312

def gb2312_codes():
    """Every assigned GB2312 code as (code, character), in code order."""
    out = []
    for lead in range(0xA1, 0xF8):
        for trail in range(0xA1, 0xFF):
            try:
                ch = bytes((lead, trail)).decode("gb2312")
            except UnicodeDecodeError:
                continue
            out.append(((lead << 8) | trail, ch))
    return out


def gb2312_hanzi():
    """The 6,763 hanzi of GB2312 in code order (level 1 by pinyin, then level 2 by radical)."""
    return [ch for code, ch in gb2312_codes() if code >= 0xB0A1]


def is_gb2312(text):
    try:
        text.encode("gb2312")
        return True
    except UnicodeEncodeError:
        return False


def gb(text):
    return text.encode("gb2312")


# ---------------------------------------------------------------- Unifont

def load_unifont(codepoints, path=UNIFONT_HEX):
    """{codepoint: (width, [row bits, 16 rows])} for the wanted code points found in the font.

    A row is an int whose most significant of `width` bits is the leftmost pixel;
    a set bit is ink.
    """
    wanted = {f"{cp:04X}" for cp in codepoints if cp <= 0xFFFF}
    glyphs = {}
    try:
        f = open(path, encoding="ascii")
    except OSError as e:
        fail(f"cannot read GNU Unifont ({path}): {e.strerror}; scripts/bootstrap.sh installs it")
    with f:
        for line in f:
            key = line[:4]
            if line[4:5] != ":" or key not in wanted:
                continue
            hexits = line[5:].strip()
            if len(hexits) == 32:
                width, step = 8, 2
            elif len(hexits) == 64:
                width, step = 16, 4
            else:
                continue
            rows = [int(hexits[i:i + step], 16) for i in range(0, len(hexits), step)]
            glyphs[int(key, 16)] = (width, rows)
    return glyphs


# ---------------------------------------------------------------- Unihan

def load_unihan(file_stem, fields):
    """{codepoint: {field: value}} for the given fields of one Unihan file."""
    path = os.path.join(UNIHAN_DIR, file_stem + ".txt.bz2")
    try:
        raw = bz2.open(path, "rt", encoding="utf-8")
    except OSError as e:
        fail(f"cannot read {path}: {e.strerror}; scripts/bootstrap.sh installs unicode-data")
    out = {}
    wanted = set(fields)
    with raw:
        for line in raw:
            if not line.startswith("U+"):
                continue
            cp, field, value = line.rstrip("\n").split("\t", 2)
            if field in wanted:
                out.setdefault(int(cp[2:], 16), {})[field] = value
    return out


# ---------------------------------------------------------------- Rime dictionaries

def _rime_rows(name):
    path = os.path.join(RIME_DIR, name)
    try:
        f = open(path, encoding="utf-8")
    except OSError as e:
        fail(f"cannot read {path}: {e.strerror}; scripts/bootstrap.sh installs the rime-data packages")
    in_body = False
    with f:
        for line in f:
            line = line.rstrip("\n")
            if not in_body:
                in_body = line == "..."
                continue
            if not line or line.startswith("#"):
                continue
            yield line.split("\t")


def load_pinyin_dictionary():
    """Rime pinyin_simp: [(text, [syllables], weight)] for the rows whose text is GB2312 hanzi.

    Single characters and phrases alike, in the file's order.
    """
    rows = []
    for fields in _rime_rows("pinyin_simp.dict.yaml"):
        if len(fields) < 2:
            continue
        text, code = fields[0], fields[1]
        weight = int(fields[2]) if len(fields) > 2 and fields[2].isdigit() else 0
        if not text or not is_gb2312(text) or any(ord(c) < 0x4E00 for c in text):
            continue
        syllables = code.split()
        if len(syllables) != len(text) or not all(s.isascii() and s.isalpha() for s in syllables):
            continue
        rows.append((text, syllables, weight))
    return rows


def load_strokes():
    """Rime stroke dictionary: {character: stroke string over 'hspnz'} for single characters."""
    out = {}
    for fields in _rime_rows("stroke.dict.yaml"):
        if len(fields) >= 2 and len(fields[0]) == 1 and fields[0] not in out:
            out[fields[0]] = fields[1]
    return out


def char_readings(dictionary):
    """{character: [syllables, most frequent first]} from the single-character rows."""
    weighted = {}
    for text, syllables, weight in dictionary:
        if len(text) == 1:
            weighted.setdefault(text, {})
            d = weighted[text]
            d[syllables[0]] = max(d.get(syllables[0], 0), weight)
    return {ch: sorted(d, key=lambda s: (-d[s], s)) for ch, d in weighted.items()}


def char_weights(dictionary):
    """{character: highest weight of its single-character rows}."""
    out = {}
    for text, syllables, weight in dictionary:
        if len(text) == 1:
            out[text] = max(out.get(text, 0), weight)
    return out


# ---------------------------------------------------------------- pictures

def png(width, height, rows, color_type=2, palette=None):
    """A PNG file: rows are bytes objects of one row's pixels (RGB for type 2, indices for type 3)."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\x00" + r for r in rows)
    out = b"\x89PNG\r\n\x1a\n"
    out += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, color_type, 0, 0, 0))
    if palette is not None:
        out += chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    out += chunk(b"IDAT", zlib.compress(raw, 9))
    out += chunk(b"IEND", b"")
    return out


def bmp8(width, height, rows, palette):
    """An 8-bit palette Windows bitmap (BITMAPINFOHEADER); rows top first, one index byte a pixel."""
    stride = (width + 3) & ~3
    pixels = b"".join(bytes(r) + b"\0" * (stride - width) for r in reversed(rows))
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette) + b"\0" * 4 * (256 - len(palette))
    offset = 14 + 40 + len(pal)
    header = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    return header + info + pal + pixels


def bmp24(width, height, rows):
    """A 24-bit Windows bitmap; rows top first, bytes R G B per pixel."""
    stride = (width * 3 + 3) & ~3
    out_rows = []
    for r in reversed(rows):
        bgr = bytearray(len(r))
        bgr[0::3], bgr[1::3], bgr[2::3] = r[2::3], r[1::3], r[0::3]
        out_rows.append(bytes(bgr) + b"\0" * (stride - width * 3))
    pixels = b"".join(out_rows)
    header = b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + pixels


class Canvas:
    """An RGB picture with the few drawing operations the stand-in pictures need.

    Text is drawn from GNU Unifont (8 or 16 pixels wide, 16 high), optionally
    scaled by a whole factor.
    """

    def __init__(self, width, height, color, font):
        self.width, self.height = width, height
        self.px = bytearray(bytes(color) * (width * height))
        self.font = font

    def fill(self, x0, y0, x1, y1, color):
        x0, y0 = max(0, x0), max(0, y0)
        x1, y1 = min(self.width, x1), min(self.height, y1)
        if x0 >= x1:
            return
        run = bytes(color) * (x1 - x0)
        for y in range(y0, y1):
            o = (y * self.width + x0) * 3
            self.px[o:o + len(run)] = run

    def frame(self, x0, y0, x1, y1, color, thickness=1):
        t = thickness
        self.fill(x0, y0, x1, y0 + t, color)
        self.fill(x0, y1 - t, x1, y1, color)
        self.fill(x0, y0, x0 + t, y1, color)
        self.fill(x1 - t, y0, x1, y1, color)

    def bevel(self, x0, y0, x1, y1, light, dark):
        self.fill(x0, y0, x1, y0 + 1, light)
        self.fill(x0, y0, x0 + 1, y1, light)
        self.fill(x0, y1 - 1, x1, y1, dark)
        self.fill(x1 - 1, y0, x1, y1, dark)

    def gradient(self, x0, y0, x1, y1, top, bottom):
        h = max(1, y1 - y0 - 1)
        for y in range(y0, y1):
            t = (y - y0) / h
            c = tuple(int(round(a + (b - a) * t)) for a, b in zip(top, bottom))
            self.fill(x0, y, x1, y + 1, c)

    def text_width(self, text, scale=1):
        return sum(self.font.get(ord(c), (8, None))[0] for c in text) * scale

    def text(self, x, y, text, color, scale=1):
        """Draws text with its top-left corner at (x, y); returns the x after it."""
        for c in text:
            width, rows = self.font.get(ord(c), (8, None))
            if rows is not None:
                for ry, bits in enumerate(rows):
                    if not bits:
                        continue
                    for rx in range(width):
                        if bits >> (width - 1 - rx) & 1:
                            self.fill(x + rx * scale, y + ry * scale,
                                      x + (rx + 1) * scale, y + (ry + 1) * scale, color)
            x += width * scale
        return x

    def text_centered(self, cx, y, text, color, scale=1):
        return self.text(cx - self.text_width(text, scale) // 2, y, text, color, scale)

    def rows(self):
        w3 = self.width * 3
        return [bytes(self.px[y * w3:(y + 1) * w3]) for y in range(self.height)]

    def to_png(self):
        return png(self.width, self.height, self.rows())

    def to_bmp24(self):
        return bmp24(self.width, self.height, self.rows())

    def to_bmp8(self):
        """An 8-bit palette bitmap of the picture's own colours (at most 256 of them)."""
        colors = {}
        index_rows = []
        for r in self.rows():
            idx = bytearray(self.width)
            for i in range(self.width):
                c = r[3 * i:3 * i + 3]
                k = colors.get(c)
                if k is None:
                    k = colors[c] = len(colors)
                    if k >= 256:
                        fail("picture has more than 256 colours")
                idx[i] = k
            index_rows.append(bytes(idx))
        palette = [tuple(c) for c in colors]
        return bmp8(self.width, self.height, index_rows, palette)


# ---------------------------------------------------------------- pinyin

INITIALS = ["zh", "ch", "sh", "b", "p", "m", "f", "d", "t", "n", "l", "g", "k", "h",
            "j", "q", "x", "r", "z", "c", "s", "y", "w"]

# Double-pinyin layout 1: one key for every initial and final.
SHUANGPIN_INITIAL_KEYS = {"zh": "v", "ch": "i", "sh": "u"}
SHUANGPIN_FINAL_KEYS = {
    "iu": "q", "ia": "w", "ua": "w", "e": "e", "uan": "r", "er": "r", "ue": "t", "ve": "t",
    "ing": "y", "uai": "y", "u": "u", "v": "v", "i": "i", "o": "o", "uo": "o", "un": "p",
    "a": "a", "iong": "s", "ong": "s", "iang": "d", "uang": "d", "en": "f", "eng": "g",
    "ang": "h", "an": "j", "ao": "k", "ai": "l", "ei": "z", "ie": "x", "iao": "c",
    "ui": "v", "ou": "b", "in": "n", "ian": "m",
}
SHUANGPIN_ZERO_INITIAL = {"a": "aa", "ai": "ai", "an": "an", "ang": "ah", "ao": "ao", "e": "ee",
                          "ei": "ei", "en": "en", "eng": "eg", "er": "er", "o": "oo", "ou": "ou"}


def split_syllable(syllable):
    """(initial, final) of a toneless pinyin syllable; the initial may be empty."""
    for ini in INITIALS:
        if syllable.startswith(ini) and len(syllable) > len(ini):
            return ini, syllable[len(ini):]
    return "", syllable


def shuangpin(syllable):
    """The two keys of a syllable in double-pinyin layout 1, or None."""
    if syllable in SHUANGPIN_ZERO_INITIAL:
        return SHUANGPIN_ZERO_INITIAL[syllable]
    ini, fin = split_syllable(syllable)
    if not ini:
        return None
    key = SHUANGPIN_INITIAL_KEYS.get(ini, ini)
    fkey = SHUANGPIN_FINAL_KEYS.get(fin)
    return key + fkey if fkey else None


TONE_MARKS = {"\u0304": 1, "\u0301": 2, "\u030c": 3, "\u0300": 4}


def numbered_pinyin(marked):
    """'zhōng' -> 'zhong1', 'lǜ' -> 'lv4'; a syllable without a tone mark gets 5 (the neutral tone)."""
    import unicodedata
    tone = 5
    out = []
    for c in unicodedata.normalize("NFD", marked):
        if c in TONE_MARKS:
            tone = TONE_MARKS[c]
        elif c == "\u0308":
            out[-1] = "v"
        else:
            out.append(c)
    return "".join(out) + str(tone)
