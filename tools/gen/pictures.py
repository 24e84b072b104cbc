#!/usr/bin/env python3
"""Draws the product's pictures: keyboard maps, welcome pictures and input samples.

- The nine keymap*.bmp files are keyboard maps, 8-bit palette bitmaps: a
  keyboard whose keys carry the letter and what that key types in the layout
  of the map (full pinyin, or one of three double-pinyin layouts, numbered
  1 to 3). The "Std" maps show the whole keyboard with the number
  row and the Chinese punctuation of each key; the others only the letter rows.
- Welcome_zekedit.bmp and Welcome_morvalen.bmp are 24-bit welcome pictures.
- The .png/.PNG files are samples of pinyin input: an input window with the
  typed pinyin and the candidates for it, taken from Rime's pinyin_simp
  dictionary, and two pictures of the input method's pane and prompt.

Every picture says in a corner that it is a stand-in. Text is drawn from GNU
Unifont. PNG files are written with zlib and struct only.

Usage: pictures.py <output folder> [<unifont.hex>]
"""
import os
import sys

import common
from common import Canvas, fail, write_file

WHITE, BLACK = (255, 255, 255), (0, 0, 0)
FACE, LIGHT, SHADOW = (236, 233, 216), (255, 255, 255), (128, 128, 128)
NAVY, BLUE, RED, GREY = (10, 36, 106), (40, 90, 180), (190, 30, 30), (96, 96, 96)
STAND_IN = "stand-in picture, not the product's"

LETTER_ROWS = ["qwertyuiop", "asdfghjkl;", "zxcvbnm,./"]
NUMBER_ROW = "1234567890-="
CHINESE_PUNCTUATION = {",": "，", ".": "。", "/": "、", ";": "；", "-": "－", "=": "＝",
                       "1": "！", "2": "＠", "4": "￥", "6": "…", "9": "（", "0": "）"}

# What each key types in the double-pinyin layouts (initials zh, ch, sh and the finals).
SHUANGPIN = {
    "layout 1": {
        "q": "iu", "w": "ia ua", "e": "e", "r": "uan er", "t": "ue", "y": "ing uai", "u": "sh u",
        "i": "ch i", "o": "o uo", "p": "un", "a": "a", "s": "iong ong", "d": "iang uang",
        "f": "en", "g": "eng", "h": "ang", "j": "an", "k": "ao", "l": "ai", "z": "ei", "x": "ie",
        "c": "iao", "v": "zh ui", "b": "ou", "n": "in", "m": "ian"},
    "layout 2": {
        "q": "iu", "w": "ia ua", "e": "e", "r": "uan er", "t": "ue", "y": "uai v", "u": "sh u",
        "i": "ch i", "o": "o uo", "p": "un", "a": "a", "s": "iong ong", "d": "uang iang",
        "f": "en", "g": "eng", "h": "ang", "j": "an", "k": "ao", "l": "ai", ";": "ing", "z": "ei",
        "x": "ie", "c": "iao", "v": "zh ui", "b": "ou", "n": "in", "m": "ian"},
    "layout 3": {
        "q": "iu", "w": "ei", "e": "e", "r": "uan", "t": "ue", "y": "un", "u": "sh u", "i": "ch i",
        "o": "o uo", "p": "ie", "a": "a", "s": "iong ong", "d": "ai", "f": "en", "g": "eng",
        "h": "ang", "j": "an", "k": "ing uai", "l": "iang uang", "z": "ou", "x": "ia ua",
        "c": "ao", "v": "zh ui", "b": "in", "n": "iao", "m": "ian"},
}
FULL_PINYIN = {"v": "ü", "i": "ch i", "u": "sh u", "z": "zh z", ";": "", "/": ""}

KEYMAPS = {
    "keymap.bmp": ("键盘图  Keyboard map", None, False),
    "keymapPY.bmp": ("全拼键位图  Full pinyin", FULL_PINYIN, False),
    "keymapPYStd.bmp": ("全拼键位图  Full pinyin (whole keyboard)", FULL_PINYIN, True),
    "keymapSP.bmp": ("双拼键位图  Double pinyin, layout 1", SHUANGPIN["layout 1"], False),
    "keymapSPStd.bmp": ("双拼键位图  Double pinyin, layout 1 (whole keyboard)", SHUANGPIN["layout 1"], True),
    "keymapSP1.bmp": ("双拼键位图  Double pinyin, layout 2", SHUANGPIN["layout 2"], False),
    "keymapSPStd1.bmp": ("双拼键位图  Double pinyin, layout 2 (whole keyboard)", SHUANGPIN["layout 2"], True),
    "keymapSP2.bmp": ("双拼键位图  Double pinyin, layout 3", SHUANGPIN["layout 3"], False),
    "keymapSPStd2.bmp": ("双拼键位图  Double pinyin, layout 3 (whole keyboard)", SHUANGPIN["layout 3"], True),
}

# Input samples: file name -> (heading, typed pinyin keys, what the picture shows).
SAMPLES = {
    "pysampci_manual3.PNG": ("手工造词 3  Making a phrase by hand", ["jisuanji"]),
    "pysampcaret.PNG": ("光标跟随  The window follows the caret", ["shurufa"]),
    "pysampci_manual.PNG": ("手工造词  Making a phrase by hand", ["dianhua"]),
    "pysampci_manual1.PNG": ("手工造词 1  Making a phrase by hand", ["xuexi"]),
    "pysampci_manual2.PNG": ("手工造词 2  Making a phrase by hand", ["gongzuo"]),
    "PYSAMP1.PNG": ("拼音输入  Pinyin input", ["zhongguo"]),
    "pysampci_manual4.PNG": ("手工造词 4  Making a phrase by hand", ["pengyou"]),
    "pysampci_manual5.PNG": ("手工造词 5  Making a phrase by hand", ["shijian"]),
    "pysampci1.PNG": ("词组输入 1  Phrase input", ["women"]),
    "pysampci2.PNG": ("词组输入 2  Phrase input", ["kexue"]),
    "pysampci3.PNG": ("词组输入 3  Phrase input", ["wenti"]),
    "pysampci4.PNG": ("词组输入 4  Phrase input", ["shenghuo"]),
    "pysampci5.PNG": ("词组输入 5  Phrase input", ["zhengfu"]),
    "pysampci6.PNG": ("词组输入 6  Phrase input", ["fazhan"]),
    "pysampci7.PNG": ("词组输入 7  Phrase input", ["jingji"]),
    "pysampci8.PNG": ("词组输入 8  Phrase input", ["shehui"]),
    "pysampforecast.PNG": ("词语联想  Phrase forecast", ["dian"]),
    "pysampshengdiao3.PNG": ("声调选字  Choosing by tone", ["ma"]),
}


def keyboard_map(font, title, labels, whole):
    key, gap, margin, top = 50, 4, 16, 52
    rows = ([NUMBER_ROW] if whole else []) + LETTER_ROWS
    width = margin * 2 + 13 * (key + gap)
    height = top + len(rows) * (key + gap) + 34
    c = Canvas(width, height, FACE, font)
    c.fill(0, 0, width, 36, NAVY)
    c.text(margin, 10, title, WHITE)
    for r, row in enumerate(rows):
        x = margin + (r * key) // 3
        y = top + r * (key + gap)
        for ch in row:
            c.fill(x, y, x + key, y + key, WHITE)
            c.bevel(x, y, x + key, y + key, LIGHT, SHADOW)
            c.frame(x - 1, y - 1, x + key + 1, y + key + 1, GREY)
            c.text(x + 4, y + 2, ch.upper(), BLACK)
            if whole and ch in CHINESE_PUNCTUATION:
                c.text(x + key - 20, y + 2, CHINESE_PUNCTUATION[ch], RED)
            label = (labels or {}).get(ch, "")
            for i, part in enumerate(label.split()[:2]):
                c.text(x + 4, y + 18 + 15 * i, part, BLUE)
            x += key + gap
    c.text(margin, height - 24, "Zelko Scrivora: " + STAND_IN, GREY)
    return c.to_bmp8()


def welcome(font, program, chinese, english):
    c = Canvas(400, 260, WHITE, font)
    c.gradient(0, 0, 400, 260, (18, 52, 120), (120, 170, 230))
    c.text_centered(200, 40, program, WHITE, 3)
    c.text_centered(200, 110, chinese, WHITE, 2)
    c.text_centered(200, 150, english, WHITE)
    c.text_centered(200, 172, "Zelko Scrivora", (220, 230, 250))
    c.text_centered(200, 230, STAND_IN, (200, 210, 235))
    return c.to_bmp24()


def candidates(dictionary, key):
    """What an input method offers for the typed key: its phrases, then the characters of its first syllable."""
    exact = sorted((-w, t, tuple(s)) for t, s, w in dictionary if "".join(s) == key)
    first = exact[0][2][0] if exact else key
    singles = sorted((-w, t) for t, s, w in dictionary if len(t) == 1 and s[0] == first)
    texts = []
    for t in [t for _, t, _ in exact] + [t for _, t in singles]:
        if t not in texts:
            texts.append(t)
    return texts[:9]


def input_sample(font, heading, key, words):
    w, h = 420, 132
    c = Canvas(w, h, (250, 250, 250), font)
    c.fill(0, 0, w, 22, NAVY)
    c.text(6, 3, heading, WHITE)
    c.frame(0, 0, w, h, GREY)
    # The input window: the typed pinyin with its caret, then the numbered candidates.
    c.fill(12, 32, w - 12, 100, WHITE)
    c.frame(12, 32, w - 12, 100, SHADOW)
    x = c.text(20, 38, key, BLUE)
    c.fill(x + 1, 37, x + 2, 55, BLACK)
    x = 20
    y = 62
    for i, word in enumerate(words, 1):
        item = f"{i}.{word}"
        if x + c.text_width(item) > w - 24:
            x, y = 20, y + 18
            if y > 84:
                break
        x = c.text(x, y, item, RED if i == 1 else BLACK) + 10
    c.text(12, h - 24, STAND_IN, GREY)
    return c.to_png()


def pane(font):
    c = Canvas(220, 28, FACE, font)
    c.bevel(0, 0, 220, 28, LIGHT, SHADOW)
    x = 6
    for label in ["中", "拼音", "，。", "全", "词库"]:
        wdt = c.text_width(label) + 10
        c.fill(x, 4, x + wdt, 24, WHITE)
        c.bevel(x, 4, x + wdt, 24, LIGHT, SHADOW)
        c.text(x + 5, 6, label, NAVY)
        x += wdt + 4
    c.text(x + 2, 6, "stand-in", GREY)
    return c.to_png()


def prompt(font):
    c = Canvas(300, 64, (255, 255, 225), font)
    c.frame(0, 0, 300, 64, BLACK)
    c.text(8, 6, "提示：按空格键选第一个候选词。", BLACK)
    c.text(8, 24, "Tip: Space picks the first candidate.", BLACK)
    c.text(8, 44, STAND_IN, GREY)
    return c.to_png()


def main():
    if len(sys.argv) not in (2, 3):
        fail("usage: pictures.py <output folder> [<unifont.hex>]")
    folder = sys.argv[1]
    hex_path = sys.argv[2] if len(sys.argv) == 3 else common.UNIFONT_HEX
    dictionary = common.load_pinyin_dictionary()
    samples = {name: (heading, keys[0], candidates(dictionary, keys[0])) for name, (heading, keys) in SAMPLES.items()}
    texts = [t for t, _, _ in KEYMAPS.values()] + [h for h, _, _ in samples.values()]
    texts += ["".join(v) for v in SHUANGPIN.values() for v in v.values()]
    texts += ["".join(w) for _, _, w in samples.values()] + list(CHINESE_PUNCTUATION.values())
    texts += [STAND_IN, "0123456789.:()-ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyzü",
              "泽柯宁灵墨笺编辑器文本提示：按空格键选第一个候选词。中拼音，。全词库"]
    font = common.load_unifont({ord(ch) for t in texts for ch in t}, hex_path)

    for name, (title, labels, whole) in KEYMAPS.items():
        write_file(os.path.join(folder, name), keyboard_map(font, title, labels, whole))
    write_file(os.path.join(folder, "Welcome_zekedit.bmp"),
               welcome(font, "ZEKEdit", "泽柯宁灵墨笺", "Welcome to the editor"))
    write_file(os.path.join(folder, "Welcome_morvalen.bmp"),
               welcome(font, "Morvalen", "泽柯宁文本编辑", "Welcome to the notes program"))
    for name, (heading, key, words) in samples.items():
        if not words:
            fail(f"{name}: the dictionary has no phrase for '{key}'")
        write_file(os.path.join(folder, name), input_sample(font, heading, key, words))
    write_file(os.path.join(folder, "Zek_pane.png"), pane(font))
    write_file(os.path.join(folder, "zek_prompt.png"), prompt(font))


if __name__ == "__main__":
    main()
