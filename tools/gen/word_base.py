#!/usr/bin/env python3
"""Makes the four files of the phrase word base.

pycizudic.idx (payload 128) is the word base in its source form: a
sequence of entries and then one zero byte. An entry is an ASCII key, the
pinyin of a phrase with its syllables run together ("zhongguo"), followed by one
3-byte group for every character of every phrase with that pinyin, the phrases
in falling order of frequency. A group is the character's GB2312 code (two
bytes, the first 0xB0 or above) and an information byte: the phrase length in
the high four bits and the character's place in the phrase (1 = first) in the
low four, so that a reader can tell where each phrase starts. Entries stand in
the order of their keys. The setup program turns this form into the weighted
form while it writes the file.

The phrases are the real ones of Rime's pinyin_simp dictionary (about 48,000
characters and phrases with their pinyin and frequency) and, to bring the file
to the size of the product's word base, compounds of those phrases made by a
seeded pseudo-random choice: two-character words joined into phrases of three
and four characters ("xx" + "y", "xx" + "yy"), each with the pinyin of its
parts. The file is filled to exactly 8,488,789 bytes, the size of the largest
file of the product: the last entry is cut to fit.

The other three files are moderate binaries of our own layout, each starting
with a header that names it as a generated stand-in:
- CiZuFlat.igb (127): the real phrases as a flat list, most frequent first;
- pxcizudic.idx (126): the real phrases keyed by the initial letters of their
  syllables ("zg"), in the same source-form layout as pycizudic.idx;
- py2_3ZiCi1stZuMu.idx (129): for phrases of two and three characters, their
  initial letters and the numbers of the phrases in CiZuFlat.igb.

Usage: word_base.py <output folder>
"""
import os
import struct
import sys

from common import fail, gb, load_pinyin_dictionary, seeded, write_file

WORD_BASE_SIZE = 8_488_789


def header(name, count):
    """A header naming the file as a stand-in: text, an end-of-file mark, the record count."""
    text = f"Zelko Scrivora stand-in data: {name}, generated at build time\r\n".encode("ascii")
    return text + b"\x1a\x00" + struct.pack("<I", count)


def groups_of(text):
    """The 3-byte groups of one phrase."""
    n = len(text)
    code = gb(text)
    return b"".join(code[2 * i:2 * i + 2] + bytes(((n << 4) | (i + 1),)) for i in range(n))


def real_phrases(dictionary):
    """{(text, syllables): weight} of the dictionary's rows, the highest weight of duplicates."""
    out = {}
    for text, syllables, weight in dictionary:
        k = (text, tuple(syllables))
        out[k] = max(out.get(k, 0), weight)
    return out


def source_size(phrases):
    """Bytes of the entries that phrases make: each distinct key once, 3 bytes a character."""
    keys = {"".join(s) for t, s in phrases}
    return sum(len(k) for k in keys) + sum(3 * len(t) for t, s in phrases)


def add_compounds(dictionary, phrases, size):
    """Adds compounds of real words to phrases until their entries fill at least size bytes."""
    rng = seeded("pycizudic.idx")
    words = sorted({(t, tuple(s)) for t, s, w in dictionary if len(t) == 2})
    singles = sorted({(t, tuple(s)) for t, s, w in dictionary if len(t) == 1})
    keys = {"".join(s) for t, s in phrases}
    total = source_size(phrases)
    while total < size:
        a = words[rng.randrange(len(words))]
        b = words[rng.randrange(len(words))] if rng.random() < 0.7 else singles[rng.randrange(len(singles))]
        text, syllables = a[0] + b[0], a[1] + b[1]
        if (text, syllables) in phrases:
            continue
        phrases[(text, syllables)] = rng.randrange(1, 40)
        key = "".join(syllables)
        total += 3 * len(text) + (0 if key in keys else len(key))
        keys.add(key)


def entries(phrases):
    """[(key, groups)] in key order; a key's phrases by falling weight, then by text."""
    by_key = {}
    for (text, syllables), weight in phrases.items():
        by_key.setdefault("".join(syllables), []).append((-weight, text))
    return [(key.encode("ascii"), b"".join(groups_of(t) for _, t in sorted(by_key[key])))
            for key in sorted(by_key)]


def fill_exactly(items, size):
    """Source-form bytes of exactly `size` bytes: whole entries, one cut entry, the zero byte."""
    out = bytearray()
    room = size - 1
    i = 0
    while i < len(items) and len(out) + len(items[i][0]) + len(items[i][1]) <= room:
        out += items[i][0] + items[i][1]
        i += 1
    rest = room - len(out)
    for key, groups in items[i:]:
        if rest == 0:
            break
        for length in range(min(len(key), rest), 0, -1):
            if (rest - length) % 3 == 0 and rest - length <= len(groups):
                out += key[:length] + groups[:rest - length]
                rest = 0
                break
        if rest == 0:
            break
    if rest:
        fail("not enough phrases to fill the word base")
    out += b"\x00"
    assert len(out) == size
    return bytes(out)


def word_base(dictionary):
    phrases = real_phrases(dictionary)
    add_compounds(dictionary, phrases, WORD_BASE_SIZE)
    return fill_exactly(entries(phrases), WORD_BASE_SIZE)


def flat_list(dictionary):
    """CiZuFlat.igb and the phrase order it defines (phrases of 2 to 4 characters)."""
    real = real_phrases(dictionary)
    phrases = sorted(((-w, t, s) for (t, s), w in real.items() if len(t) >= 2))
    body = bytearray()
    for negw, text, syllables in phrases:
        code = gb(text)
        body += bytes((len(code),)) + code + struct.pack("<H", min(-negw, 0xFFFF))
    return header("CiZuFlat.igb", len(phrases)) + bytes(body), phrases


def initials_index(dictionary):
    """pxcizudic.idx: the real phrases keyed by the initials of their syllables."""
    by_key = {}
    for text, syllables, weight in dictionary:
        if len(text) >= 2:
            key = "".join(s[0] for s in syllables)
            by_key.setdefault(key, {})
            by_key[key][text] = max(by_key[key].get(text, 0), weight)
    out = bytearray()
    for key in sorted(by_key):
        out += key.encode("ascii")
        for _, text in sorted((-w, t) for t, w in by_key[key].items()):
            out += groups_of(text)
    out += b"\x00"
    return header("pxcizudic.idx", len(by_key)) + bytes(out)


def first_letter_index(phrases):
    """py2_3ZiCi1stZuMu.idx: initials of 2- and 3-character phrases -> phrase numbers in CiZuFlat.igb."""
    by_key = {}
    for number, (_, text, syllables) in enumerate(phrases):
        if len(text) in (2, 3):
            initials = "".join(s[0] for s in syllables)
            by_key.setdefault(initials, []).append(number)
    out = bytearray()
    for initials in sorted(by_key):
        numbers = by_key[initials]
        out += initials.encode("ascii").ljust(4, b"\0") + struct.pack("<H", len(numbers))
        out += b"".join(struct.pack("<I", n)[:3] for n in numbers)
    return header("py2_3ZiCi1stZuMu.idx", len(by_key)) + bytes(out)


def main():
    if len(sys.argv) != 2:
        fail("usage: word_base.py <output folder>")
    folder = sys.argv[1]
    dictionary = load_pinyin_dictionary()
    write_file(os.path.join(folder, "pycizudic.idx"), word_base(dictionary))
    flat, phrases = flat_list(dictionary)
    write_file(os.path.join(folder, "CiZuFlat.igb"), flat)
    write_file(os.path.join(folder, "pxcizudic.idx"), initials_index(dictionary))
    write_file(os.path.join(folder, "py2_3ZiCi1stZuMu.idx"), first_letter_index(phrases))


if __name__ == "__main__":
    main()
