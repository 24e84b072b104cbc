#!/usr/bin/env python3
"""Makes the product's dictionary and table files as real data of our own layout.

Every file begins with the same kind of header: a line of text that names it as
a generated stand-in, the DOS end-of-file mark 0x1A, a zero byte and the number
of its records (4 bytes, little-endian). The records follow without gaps.
Numbers are little-endian; a character is its two-byte code, lead byte first;
"GB2312 hanzi" means the 6,763 hanzi of GB2312 in code order.

The data are real: readings and frequencies from Rime's pinyin_simp dictionary,
stroke orders from Rime's stroke dictionary, and definitions, tone-marked
readings, stroke counts, radicals, four-corner codes and traditional and
simplified variants from Unihan. Which file holds what is listed in FILES
below, one line each.

Usage: tables.py <output folder>
"""
import os
import struct
import sys
import unicodedata

import common
from common import fail, gb, write_file

FILES = {
    "pykeys.dic": "the pinyin syllables, each with its number of hanzi and its keys in double-pinyin layout 1",
    "gbkflat.dic": "every GBK character ordered by frequency, with its weight",
    "py_1key.dic": "for each letter, the 32 most frequent hanzi whose pinyin starts with it",
    "sort.dic": "GB2312 hanzi in pinyin order, with their stroke counts",
    "chdicres.bin": "GB2312 hanzi with the numbers of all their pinyin syllables",
    "ChnDic2.bin": "the 8,000 most frequent phrases with their pinyin",
    "duplicat.dic": "hanzi with more than one reading, and the readings",
    "ch2key.bin": "GB2312 hanzi with the double-pinyin keys of their first reading",
    "readme2.igb": "a short note in Chinese on the data files",
    "readme3.igb": "a short note in English on the data files",
    "readme2he.igb": "the list of data files with what they hold",
    "ch2py.bin": "the syllable number of the first reading of every GB2312 hanzi",
    "ch2pypz1.bin": "tone-numbered Mandarin readings of GB2312 hanzi (Unihan kMandarin)",
    "ch2pypz2.bin": "all tone-numbered dictionary readings of GB2312 hanzi (Unihan kHanyuPinyin)",
    "bihuaku.bin": "stroke orders of GB2312 hanzi, strokes 1 to 5 packed two to a byte",
    "vmodewords.dic": "English words and the hanzi whose definitions start with them",
    "gbk2b5.bin": "for every GBK code the Big5 code of the same or the traditional character",
    "b5gbk.bin": "for every Big5 code the GBK code of the same or the simplified character",
    "fccdic.bin": "four-corner codes of GB2312 hanzi",
    "depend1.map": "for frequent hanzi, the hanzi that follow them in phrases",
    "depend2.map": "for frequent hanzi, the hanzi that come before them in phrases",
    "mi_bihua1_dups_prefered_codes.bin": "stroke codes shared by several hanzi and the preferred one",
    "mi_bihua1.bin": "stroke codes of the first six strokes and the hanzi they select",
    "mi_bihua1_danjianzuhe.bin": "the hanzi chosen by one or two strokes",
    "ZiPartsBase.dat": "the 214 radicals with their stroke counts",
    "ZiParts.dat": "radical and remaining stroke count of GB2312 hanzi",
    "Mswd6_32.wpc": "a GB2312 to Unicode table for text conversion (not a converter)",
    "b52Gbs.tab": "Big5 to GB2312 pairs for the characters GB2312 has in simplified form",
    "Gb2b5s.tab": "GB2312 to Big5 pairs, traditional form",
    "ZiDef.dic": "English definitions of GB2312 hanzi (Unihan kDefinition)",
}


def header(name, count):
    text = f"Zelko Scrivora stand-in data: {name}, generated at build time\r\n".encode("ascii")
    return text + b"\x1a\x00" + struct.pack("<I", count)


def u16(n):
    return struct.pack("<H", n)


def code_of(ch, encoding="gb2312"):
    try:
        b = ch.encode(encoding)
    except UnicodeEncodeError:
        return 0
    return (b[0] << 8) | b[1] if len(b) == 2 else 0


def uplus(value):
    """'U+9019 U+8FD9<kLau' -> [0x9019, 0x8FD9]"""
    return [int(v.split("<")[0][2:], 16) for v in value.split()]


class Data:
    def __init__(self):
        self.dictionary = common.load_pinyin_dictionary()
        self.readings = common.char_readings(self.dictionary)
        self.weights = common.char_weights(self.dictionary)
        self.hanzi = common.gb2312_hanzi()
        self.syllables = sorted({s for _, ss, _ in self.dictionary for s in ss})
        self.syllable_number = {s: i for i, s in enumerate(self.syllables)}
        self.strokes = common.load_strokes()
        self.readings_uh = common.load_unihan("Unihan_Readings", ["kMandarin", "kDefinition", "kHanyuPinyin"])
        self.irg = common.load_unihan("Unihan_IRGSources", ["kRSUnicode", "kTotalStrokes"])
        self.four_corner = common.load_unihan("Unihan_DictionaryLikeData", ["kFourCornerCode"])
        self.variants = common.load_unihan("Unihan_Variants", ["kTraditionalVariant", "kSimplifiedVariant"])

    def first_reading(self, ch):
        r = self.readings.get(ch)
        return r[0] if r else None

    def total_strokes(self, ch):
        v = self.irg.get(ord(ch), {}).get("kTotalStrokes")
        return int(v.split()[0]) if v else len(self.strokes.get(ch, ""))

    def by_frequency(self, chars):
        return sorted(chars, key=lambda c: (-self.weights.get(c, 0), code_of(c, "gbk")))


def pykeys(d):
    counts = {}
    for ch in d.hanzi:
        for s in d.readings.get(ch, []):
            counts[s] = counts.get(s, 0) + 1
    out = b"".join(s.encode("ascii").ljust(8, b"\0") + u16(counts.get(s, 0))
                   + (common.shuangpin(s) or "").encode("ascii").ljust(2, b"\0") for s in d.syllables)
    return header("pykeys.dic", len(d.syllables)) + out


def gbkflat(d):
    chars = []
    for lead in range(0x81, 0xFF):
        for trail in range(0x40, 0xFF):
            if trail == 0x7F:
                continue
            try:
                chars.append(bytes((lead, trail)).decode("gbk"))
            except UnicodeDecodeError:
                pass
    chars = d.by_frequency(chars)
    out = b"".join(ch.encode("gbk") + u16(min(d.weights.get(ch, 0), 0xFFFF)) for ch in chars)
    return header("gbkflat.dic", len(chars)) + out


def py_1key(d):
    out = bytearray()
    for letter in "abcdefghijklmnopqrstuvwxyz":
        chars = d.by_frequency([c for c in d.hanzi if (d.first_reading(c) or " ")[0] == letter])[:32]
        out += letter.encode("ascii") + bytes((len(chars),)) + b"".join(gb(c) for c in chars)
    return header("py_1key.dic", 26) + bytes(out)


def sort_dic(d):
    order = sorted(d.hanzi, key=lambda c: (d.first_reading(c) or "~", d.total_strokes(c), gb(c)))
    out = b"".join(gb(c) + bytes((min(d.total_strokes(c), 255),)) for c in order)
    return header("sort.dic", len(order)) + out


def chdicres(d):
    out = bytearray()
    for c in d.hanzi:
        nums = [d.syllable_number[s] for s in d.readings.get(c, [])]
        out += gb(c) + bytes((len(nums),)) + b"".join(u16(n) for n in nums)
    return header("chdicres.bin", len(d.hanzi)) + bytes(out)


def chndic2(d):
    phrases = sorted(((-w, t, s) for t, s, w in d.dictionary if len(t) >= 2))[:8000]
    out = b"".join(gb(t) + b"\t" + " ".join(s).encode("ascii") + b"\r\n" for _, t, s in phrases)
    return header("ChnDic2.bin", len(phrases)) + out


def duplicat(d):
    rows = [(c, d.readings[c]) for c in d.hanzi if len(d.readings.get(c, [])) > 1]
    out = b"".join(gb(c) + b" " + ",".join(r).encode("ascii") + b"\r\n" for c, r in rows)
    return header("duplicat.dic", len(rows)) + out


def ch2key(d):
    out = b"".join(gb(c) + (common.shuangpin(d.first_reading(c) or "") or "").encode("ascii").ljust(2, b"\0")
                   for c in d.hanzi)
    return header("ch2key.bin", len(d.hanzi)) + out


def readme(name, text, encoding):
    body = text.replace("\n", "\r\n").encode(encoding)
    return header(name, body.count(b"\r\n")) + body


def readme2(d):
    return readme("readme2.igb", (
        "泽柯宁灵墨笺版的数据文件\n"
        "这些字典、码表和词库文件是安装程序在构建时生成的替身文件，\n"
        f"内容取自公开的汉字资料：GB2312 汉字 {len(d.hanzi)} 个，拼音音节 {len(d.syllables)} 个。\n"
        "它们不是产品的原始文件。\n\n"
        "文件清单：\n" + "".join(f"  {name}\n" for name in FILES)), "gb2312")


def readme3(d):
    return readme("readme3.igb", (
        "Data files of the Zelko Scrivora edition\n"
        "These dictionaries, tables and the word base are stand-ins that the setup\n"
        "program's build generates from public character data:\n"
        f"{len(d.hanzi)} GB2312 hanzi and {len(d.syllables)} pinyin syllables.\n"
        "They are not the product's original files.\n"), "ascii")


def readme2he(d):
    lines = ["Data files and what they hold", ""]
    lines += [f"{name:36} {what}" for name, what in FILES.items()]
    return readme("readme2he.igb", "\n".join(lines) + "\n", "ascii")


def ch2py(d):
    out = b"".join(u16(d.syllable_number.get(d.first_reading(c), 0xFFFF)) for c in d.hanzi)
    return header("ch2py.bin", len(d.hanzi)) + out


def ch2pypz(d, name, field):
    out = bytearray()
    count = 0
    for c in d.hanzi:
        v = d.readings_uh.get(ord(c), {}).get(field)
        if not v:
            continue
        if field == "kHanyuPinyin":
            marked = []
            for part in v.split():
                for r in part.split(":", 1)[1].split(","):
                    if r not in marked:
                        marked.append(r)
        else:
            marked = v.split()
        text = ",".join(common.numbered_pinyin(m) for m in marked).encode("ascii")
        out += gb(c) + bytes((len(text),)) + text
        count += 1
    return header(name, count) + bytes(out)


STROKE_DIGITS = {"h": 1, "s": 2, "p": 3, "n": 4, "z": 5}


def stroke_digits(d, c):
    return [STROKE_DIGITS[s] for s in d.strokes.get(c, "") if s in STROKE_DIGITS]


def bihuaku(d):
    out = bytearray()
    for c in d.hanzi:
        digits = stroke_digits(d, c)
        packed = bytearray()
        for i in range(0, len(digits), 2):
            packed.append(digits[i] << 4 | (digits[i + 1] if i + 1 < len(digits) else 0))
        out += gb(c) + bytes((len(digits),)) + packed
    return header("bihuaku.bin", len(d.hanzi)) + bytes(out)


def vmodewords(d):
    words = {}
    for c in d.hanzi:
        definition = d.readings_uh.get(ord(c), {}).get("kDefinition", "")
        first = definition.split(";")[0].split(",")[0].strip().lower()
        if first.isascii() and first.replace(" ", "").isalpha() and len(first) <= 24:
            words.setdefault(first, []).append(c)
    out = bytearray()
    for w in sorted(words):
        chars = d.by_frequency(words[w])[:8]
        out += w.encode("ascii") + b"\t" + "".join(chars).encode("gb2312") + b"\r\n"
    return header("vmodewords.dic", len(words)) + bytes(out)


def convert_code(d, ch, target, variant_field):
    """The target-encoding code of ch, else of its first variant of the given kind that has one."""
    code = code_of(ch, target)
    if code:
        return code
    for cp in uplus(d.variants.get(ord(ch), {}).get(variant_field, "")):
        code = code_of(chr(cp), target)
        if code:
            return code
    return 0


def traditional_code(d, ch):
    """Big5 code of the traditional form of ch (the character itself when it is traditional)."""
    for cp in uplus(d.variants.get(ord(ch), {}).get("kTraditionalVariant", "")):
        if cp != ord(ch) and code_of(chr(cp), "big5"):
            return code_of(chr(cp), "big5")
    return code_of(ch, "big5")


def gbk2b5(d):
    out = bytearray()
    for lead in range(0x81, 0xFF):
        for trail in range(0x40, 0xFF):
            try:
                ch = bytes((lead, trail)).decode("gbk")
            except UnicodeDecodeError:
                out += u16(0)
                continue
            out += u16(traditional_code(d, ch) or convert_code(d, ch, "big5", "kTraditionalVariant"))
    return header("gbk2b5.bin", 126 * 191) + bytes(out)


def b5gbk(d):
    out = bytearray()
    for lead in range(0xA1, 0xFA):
        for trail in list(range(0x40, 0x7F)) + list(range(0xA1, 0xFF)):
            try:
                ch = bytes((lead, trail)).decode("big5")
            except UnicodeDecodeError:
                out += u16(0)
                continue
            simplified = uplus(d.variants.get(ord(ch), {}).get("kSimplifiedVariant", ""))
            code = next((code_of(chr(cp), "gbk") for cp in simplified if code_of(chr(cp), "gbk")), 0)
            out += u16(code or code_of(ch, "gbk"))
    return header("b5gbk.bin", 89 * 157) + bytes(out)


def fccdic(d):
    out = bytearray()
    count = 0
    for c in d.hanzi:
        v = d.four_corner.get(ord(c), {}).get("kFourCornerCode")
        if not v:
            continue
        digits = v.split()[0].replace(".", "")
        out += gb(c) + bytes.fromhex(digits.ljust(6, "0"))
        count += 1
    return header("fccdic.bin", count) + bytes(out)


def depend(d, name, following):
    pairs = {}
    for text, _, weight in d.dictionary:
        for a, b in zip(text, text[1:]):
            key, other = (a, b) if following else (b, a)
            pairs.setdefault(key, {})
            pairs[key][other] = pairs[key].get(other, 0) + max(weight, 1)
    heads = d.by_frequency([c for c in d.hanzi if c in pairs])[:3000]
    out = bytearray()
    for c in heads:
        others = sorted(pairs[c].items(), key=lambda kv: (-kv[1], gb(kv[0])))[:64]
        out += gb(c) + bytes((len(others),))
        out += b"".join(gb(o) + u16(min(n, 0xFFFF)) for o, n in others)
    return header(name, len(heads)) + bytes(out)


def stroke_code(d, c, n=6):
    return "".join(str(x) for x in stroke_digits(d, c)[:n])


def mi_bihua_groups(d):
    groups = {}
    for c in d.hanzi:
        code = stroke_code(d, c)
        if code:
            groups.setdefault(code, []).append(c)
    return {k: d.by_frequency(v) for k, v in groups.items()}


def mi_bihua1(d):
    groups = mi_bihua_groups(d)
    out = bytearray()
    for code in sorted(groups):
        chars = groups[code]
        out += code.encode("ascii").ljust(6, b"\0") + bytes((len(chars),)) + b"".join(gb(c) for c in chars)
    return header("mi_bihua1.bin", len(groups)) + bytes(out)


def mi_bihua1_dups(d):
    groups = {k: v for k, v in mi_bihua_groups(d).items() if len(v) > 1}
    out = b"".join(code.encode("ascii").ljust(6, b"\0") + gb(groups[code][0]) for code in sorted(groups))
    return header("mi_bihua1_dups_prefered_codes.bin", len(groups)) + out


def mi_bihua1_danjian(d):
    out = bytearray()
    codes = [str(a) for a in range(1, 6)] + [f"{a}{b}" for a in range(1, 6) for b in range(1, 6)]
    for code in codes:
        chars = d.by_frequency([c for c in d.hanzi if stroke_code(d, c).startswith(code)])[:10]
        out += code.encode("ascii").ljust(2, b"\0") + bytes((len(chars),)) + b"".join(gb(c) for c in chars)
    return header("mi_bihua1_danjianzuhe.bin", len(codes)) + bytes(out)


def radical_char(n):
    return unicodedata.normalize("NFKC", chr(0x2F00 + n - 1))


def zipartsbase(d):
    out = bytearray()
    for n in range(1, 215):
        r = radical_char(n)
        out += u16(n) + bytes((d.total_strokes(r),)) + struct.pack("<I", ord(r))
        out += (r.encode("gbk") if code_of(r, "gbk") else b"\0\0")
    return header("ZiPartsBase.dat", 214) + bytes(out)


def ziparts(d):
    out = bytearray()
    for c in d.hanzi:
        rs = d.irg.get(ord(c), {}).get("kRSUnicode", "0.0").split()[0]
        radical, rest = rs.split(".")
        out += gb(c) + bytes((int(radical.rstrip("'")), int(rest) & 0xFF, min(d.total_strokes(c), 255)))
    return header("ZiParts.dat", len(d.hanzi)) + bytes(out)


def mswd6(d):
    rows = common.gb2312_codes()
    out = b"".join(u16(code) + u16(ord(ch)) for code, ch in rows)
    note = (b"This file stands in for a text converter of the product. It is not a program:\r\n"
            b"it holds the GB2312 to Unicode table that such a converter needs.\r\n")
    return header("Mswd6_32.wpc", len(rows)) + note + out


def b52gbs(d):
    pairs = []
    for c in d.hanzi:
        big5 = traditional_code(d, c)
        if big5:
            pairs.append((big5, code_of(c)))
    pairs = sorted(set(pairs))
    return header("b52Gbs.tab", len(pairs)) + b"".join(u16(a) + u16(b) for a, b in pairs)


def gb2b5s(d):
    pairs = [(code_of(c), traditional_code(d, c)) for c in d.hanzi]
    pairs = [p for p in pairs if p[1]]
    return header("Gb2b5s.tab", len(pairs)) + b"".join(u16(a) + u16(b) for a, b in pairs)


def zidef(d):
    out = bytearray()
    count = 0
    for c in d.hanzi:
        definition = d.readings_uh.get(ord(c), {}).get("kDefinition")
        if not definition:
            continue
        text = definition.encode("ascii", "replace")[:255]
        out += gb(c) + bytes((len(text),)) + text
        count += 1
    return header("ZiDef.dic", count) + bytes(out)


MAKERS = {
    "pykeys.dic": pykeys, "gbkflat.dic": gbkflat, "py_1key.dic": py_1key, "sort.dic": sort_dic,
    "chdicres.bin": chdicres, "ChnDic2.bin": chndic2, "duplicat.dic": duplicat, "ch2key.bin": ch2key,
    "readme2.igb": readme2, "readme3.igb": readme3, "readme2he.igb": readme2he, "ch2py.bin": ch2py,
    "ch2pypz1.bin": lambda d: ch2pypz(d, "ch2pypz1.bin", "kMandarin"),
    "ch2pypz2.bin": lambda d: ch2pypz(d, "ch2pypz2.bin", "kHanyuPinyin"),
    "bihuaku.bin": bihuaku, "vmodewords.dic": vmodewords, "gbk2b5.bin": gbk2b5, "b5gbk.bin": b5gbk,
    "fccdic.bin": fccdic,
    "depend1.map": lambda d: depend(d, "depend1.map", True),
    "depend2.map": lambda d: depend(d, "depend2.map", False),
    "mi_bihua1_dups_prefered_codes.bin": mi_bihua1_dups, "mi_bihua1.bin": mi_bihua1,
    "mi_bihua1_danjianzuhe.bin": mi_bihua1_danjian, "ZiPartsBase.dat": zipartsbase,
    "ZiParts.dat": ziparts, "Mswd6_32.wpc": mswd6, "b52Gbs.tab": b52gbs, "Gb2b5s.tab": gb2b5s,
    "ZiDef.dic": zidef,
}


def main():
    if len(sys.argv) != 2:
        fail("usage: tables.py <output folder>")
    assert MAKERS.keys() == FILES.keys()
    d = Data()
    for name, make in MAKERS.items():
        write_file(os.path.join(sys.argv[1], name), make(d))


if __name__ == "__main__":
    main()
