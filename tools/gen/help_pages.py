#!/usr/bin/env python3
"""Writes the product's help pages: real HTML about pinyin and stroke input.

Eleven pages in Chinese (GB2312, declared with a charset meta element) and nine
in English (ASCII). Each page opens with a note that it stands in for the help
page of the same name of the product; the rest is general, true help on the
input methods the product is about: the pinyin syllables, double-pinyin
layouts, stroke input, samples of phrases with their pinyin. Tables are
filled from Rime's pinyin_simp and stroke dictionaries. The pages link to each
other and to the sample pictures installed beside them.

Usage: help_pages.py <output folder>
"""
import html
import os
import sys

import common
from common import fail, write_file

STROKES_ZH = [("h", "1", "横"), ("s", "2", "竖"), ("p", "3", "撇"), ("n", "4", "点、捺"), ("z", "5", "折")]
STROKES_EN = [("h", "1", "horizontal"), ("s", "2", "vertical"), ("p", "3", "falling left"),
              ("n", "4", "dot, falling right"), ("z", "5", "turning")]

ZH = {
    "zelkoguide.htm": "泽柯宁灵墨笺使用指南",
    "ZEKGUIDE.HTM": "泽柯宁灵墨笺快速入门",
    "ZEKEditGuide.htm": "ZEKEdit 编辑器指南",
    "morvalenguide.htm": "Morvalen 文本编辑指南",
    "input_samples.htm": "拼音输入示例",
    "input_assist.htm": "输入辅助功能",
    "fast_steps.htm": "双拼快速上手",
    "pinyin_pinxing.htm": "拼音音节表",
    "xingmaguide.htm": "笔画输入指南",
    "xingmajiyi.htm": "笔画编码记忆",
    "kuai_jian.htm": "常用快捷键",
}
EN = {
    "zelkoguide_en.htm": "Zelko Scrivora user guide",
    "ZEKGUIDE_en.HTM": "Zelko Scrivora quick start",
    "ZEKEditGuide_en.htm": "ZEKEdit editor guide",
    "morvalenguide_en.htm": "Morvalen notes guide",
    "input_samples_en.htm": "Pinyin input samples",
    "input_assist_en.htm": "Input assistance",
    "fast_steps_en.htm": "Double pinyin in a few steps",
    "pinyin_pinxing_en.htm": "Table of pinyin syllables",
    "kuai_jian_en.htm": "Keyboard shortcuts",
}

SAMPLE_PICTURES = ["PYSAMP1.PNG", "pysampci1.PNG", "pysampci2.PNG", "pysampci3.PNG", "pysampci4.PNG",
                   "pysampci5.PNG", "pysampci6.PNG", "pysampci7.PNG", "pysampci8.PNG",
                   "pysampforecast.PNG", "pysampshengdiao3.PNG", "pysampcaret.PNG"]
MANUAL_PICTURES = ["pysampci_manual.PNG", "pysampci_manual1.PNG", "pysampci_manual2.PNG",
                   "pysampci_manual3.PNG", "pysampci_manual4.PNG", "pysampci_manual5.PNG"]

SHORTCUTS = [("Ctrl+Space", "切换中文和英文输入", "switch between Chinese and English input"),
             ("Shift", "临时输入英文", "type English for a moment"),
             ("Space", "选第一个候选词", "pick the first candidate"),
             ("1 - 9", "选对应的候选词", "pick the candidate with that number"),
             ("- / =", "候选词向前、向后翻页", "page the candidates back and forward"),
             ("Esc", "取消正在输入的拼音", "drop the pinyin being typed"),
             ("Ctrl+.", "切换中文和英文标点", "switch Chinese and English punctuation"),
             ("Shift+Space", "切换全角和半角", "switch full-width and half-width"),
             ("Enter", "把拼音作为英文字母输入", "enter the typed letters as they are")]


def esc(text):
    return html.escape(text, quote=True)


def page(title, lang, charset, body, notice):
    return (f'<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">\n'
            f'<html lang="{lang}">\n<head>\n'
            f'<meta http-equiv="Content-Type" content="text/html; charset={charset}">\n'
            f'<title>{esc(title)}</title>\n'
            '<style type="text/css">\n'
            'body { font-family: sans-serif; margin: 1.5em; }\n'
            'table { border-collapse: collapse; }\n'
            'td, th { border: 1px solid #999; padding: 2px 6px; }\n'
            '.note { background: #ffffe0; border: 1px solid #cc9; padding: 6px; }\n'
            '</style>\n</head>\n<body>\n'
            f'<h1>{esc(title)}</h1>\n<p class="note">{notice}</p>\n{body}\n</body>\n</html>\n')


def table(header, rows):
    out = ["<table>", "<tr>" + "".join(f"<th>{esc(h)}</th>" for h in header) + "</tr>"]
    out += ["<tr>" + "".join(f"<td>{esc(str(c))}</td>" for c in r) + "</tr>" for r in rows]
    return "\n".join(out + ["</table>"])


class Content:
    def __init__(self):
        self.dictionary = common.load_pinyin_dictionary()
        self.strokes = common.load_strokes()
        weights = common.char_weights(self.dictionary)
        readings = common.char_readings(self.dictionary)
        self.by_syllable = {}
        for ch in common.gb2312_hanzi():
            for s in readings.get(ch, [])[:1]:
                self.by_syllable.setdefault(s, []).append(ch)
        for s in self.by_syllable:
            self.by_syllable[s].sort(key=lambda c: (-weights.get(c, 0), c.encode("gb2312")))
        self.phrases = sorted(((-w, t, " ".join(s)) for t, s, w in self.dictionary if len(t) >= 2))
        self.top_chars = sorted(weights, key=lambda c: (-weights[c], c.encode("gb2312")))[:60]

    def syllable_rows(self):
        return [(s, "".join(self.by_syllable[s][:6]), common.shuangpin(s) or "")
                for s in sorted(self.by_syllable)]

    def initial_final_rows(self):
        finals = {}
        for s in self.by_syllable:
            ini, fin = common.split_syllable(s)
            finals.setdefault(ini or "-", set()).add(fin)
        return [(ini, " ".join(sorted(finals[ini]))) for ini in sorted(finals)]

    def phrase_rows(self, start, count):
        return [(t, p) for _, t, p in self.phrases[start:start + count]]

    def stroke_rows(self):
        rows = []
        for ch in self.top_chars[:40]:
            st = self.strokes.get(ch, "")
            digits = "".join(str("hspnz".index(x) + 1) for x in st if x in "hspnz")
            rows.append((ch, digits, len(digits)))
        return rows


def links(pages, current):
    items = [f'<li><a href="{name}">{esc(title)}</a></li>' for name, title in pages.items() if name != current]
    return "<ul>\n" + "\n".join(items) + "\n</ul>"


def zh_body(name, c):
    more = "<h2>其他帮助页</h2>\n" + links(ZH, name)
    if name in ("zelkoguide.htm", "ZEKGUIDE.HTM"):
        return ("<h2>拼音输入的基本方法</h2>\n<p>输入一个词的拼音（不必输入声调），候选窗口就列出读音相同的词，"
                "按空格键选第一个，按数字键选对应的一个。常用的词排在前面；您选过的词会慢慢排到前面。</p>\n"
                "<h2>常用词组</h2>\n" + table(["词组", "拼音"], c.phrase_rows(0, 40)) + "\n" + more)
    if name == "ZEKEditGuide.htm":
        return ("<h2>编辑器</h2>\n<p>编辑器用来写中文文章。打开、保存和打印文件的命令在“文件”菜单中；"
                "在“编辑”菜单中可以查找和替换文字。</p>\n<p>本安装包中的 ZEKEdit.exe 是替身程序：它只打开一个窗口，"
                "说明它代替的是哪一个程序。</p>\n" + more)
    if name == "morvalenguide.htm":
        return ("<h2>文本编辑</h2>\n<p>Morvalen 是记事用的小程序，适合快速记下几行文字。</p>\n"
                "<p>本安装包中的 Morvalen.exe 是替身程序：它只打开一个窗口，说明它代替的是哪一个程序。</p>\n" + more)
    if name == "input_samples.htm":
        pics = "\n".join(f'<p><img src="{p}" alt="{p}"></p>' for p in SAMPLE_PICTURES)
        return "<h2>输入示例</h2>\n" + pics + "\n<h2>更多词组</h2>\n" + table(["词组", "拼音"], c.phrase_rows(40, 60)) + "\n" + more
    if name == "input_assist.htm":
        pics = "\n".join(f'<p><img src="{p}" alt="{p}"></p>' for p in MANUAL_PICTURES)
        return ("<h2>手工造词</h2>\n<p>词库中没有的词，可以逐字输入一次，以后就能按整个词的拼音输入。</p>\n" + pics +
                '\n<h2>输入窗口</h2>\n<p><img src="Zek_pane.png" alt="Zek_pane.png"> '
                '<img src="zek_prompt.png" alt="zek_prompt.png"></p>\n' + more)
    if name == "fast_steps.htm":
        rows = [(s, k) for s, _, k in c.syllable_rows() if k]
        return ("<h2>什么是双拼</h2>\n<p>双拼把每个音节的声母和韵母各用一个键表示，每个音节只需按两个键。"
                '下表是双拼方案一的按键。</p>\n<p><img src="keymapSP.bmp" alt="keymapSP.bmp"></p>\n' +
                table(["音节", "双拼按键"], rows) + "\n" + more)
    if name == "pinyin_pinxing.htm":
        return ("<h2>声母和韵母</h2>\n" + table(["声母", "可以拼的韵母"], c.initial_final_rows()) +
                "\n<h2>音节表</h2>\n" + table(["音节", "常用字", "双拼"], c.syllable_rows()) + "\n" + more)
    if name == "xingmaguide.htm":
        return ("<h2>笔画输入</h2>\n<p>不知道读音的字，可以按笔顺输入它的笔画。笔画分五类：</p>\n" +
                table(["字母", "数字", "笔画"], STROKES_ZH) + "\n<h2>常用字的笔画</h2>\n" +
                table(["字", "笔画编码", "笔画数"], c.stroke_rows()) + "\n" + more)
    if name == "xingmajiyi.htm":
        return ("<h2>记住笔画编码</h2>\n<p>横为一，竖为二，撇为三，点捺为四，折为五。"
                "按书写的笔顺逐笔输入，一般输入前四五笔就能找到要的字。</p>\n" +
                table(["字", "笔画编码", "笔画数"], c.stroke_rows()[:20]) + "\n" + more)
    if name == "kuai_jian.htm":
        return "<h2>快捷键</h2>\n" + table(["按键", "作用"], [(k, z) for k, z, _ in SHORTCUTS]) + "\n" + more
    fail(f"no content for {name}")


def en_body(name, c):
    more = "<h2>Other help pages</h2>\n" + links(EN, name)
    if name in ("zelkoguide_en.htm", "ZEKGUIDE_en.HTM"):
        return ("<h2>Typing Chinese with pinyin</h2>\n<p>Type the pinyin of a word, without tones. The candidate "
                "window lists the words that sound like it: Space picks the first, a digit the one with that "
                "number. Frequent words come first, and the words you pick move forward over time.</p>\n"
                "<h2>Frequent phrases</h2>\n<p>The pinyin of some frequent phrases, as you type them:</p>\n" +
                table(["pinyin"], [(p,) for _, p in c.phrase_rows(0, 40)]) + "\n" + more)
    if name == "ZEKEditGuide_en.htm":
        return ("<h2>The editor</h2>\n<p>The editor is for writing Chinese documents; opening, saving and "
                "printing are in the File menu, finding and replacing text in the Edit menu.</p>\n"
                "<p>In this package ZEKEdit.exe is a stand-in: it only opens a window that names the "
                "program it stands in for.</p>\n" + more)
    if name == "morvalenguide_en.htm":
        return ("<h2>Notes</h2>\n<p>Morvalen is a small program for quick notes.</p>\n"
                "<p>In this package Morvalen.exe is a stand-in: it only opens a window that names the "
                "program it stands in for.</p>\n" + more)
    if name == "input_samples_en.htm":
        pics = "\n".join(f'<p><img src="{p}" alt="{p}"></p>' for p in SAMPLE_PICTURES)
        return "<h2>Samples</h2>\n" + pics + "\n" + more
    if name == "input_assist_en.htm":
        pics = "\n".join(f'<p><img src="{p}" alt="{p}"></p>' for p in MANUAL_PICTURES)
        return ("<h2>Making phrases by hand</h2>\n<p>A phrase that the word base lacks can be typed once "
                "character by character; from then on its whole pinyin brings it up.</p>\n" + pics + "\n" + more)
    if name == "fast_steps_en.htm":
        rows = [(s, k) for s, _, k in c.syllable_rows() if k]
        return ("<h2>What double pinyin is</h2>\n<p>Double pinyin gives every initial and every final one "
                "key, so each syllable takes exactly two keys. The table gives the keys of layout 1."
                '</p>\n<p><img src="keymapSP.bmp" alt="keymapSP.bmp"></p>\n' +
                table(["syllable", "keys"], rows) + "\n" + more)
    if name == "pinyin_pinxing_en.htm":
        return ("<h2>Initials and finals</h2>\n" + table(["initial", "finals"], c.initial_final_rows()) +
                "\n<h2>Syllables</h2>\n" + table(["syllable", "double pinyin"],
                                                  [(s, k) for s, _, k in c.syllable_rows()]) + "\n" + more)
    if name == "kuai_jian_en.htm":
        return ("<h2>Shortcuts</h2>\n" + table(["keys", "what they do"], [(k, e) for k, _, e in SHORTCUTS]) +
                "\n<h2>Stroke input</h2>\n" + table(["letter", "digit", "stroke"], STROKES_EN) + "\n" + more)
    fail(f"no content for {name}")


ZH_NOTICE = "本页是安装程序生成的替身帮助页，代替产品中同名的帮助页。内容是关于拼音和笔画输入的一般说明。"
EN_NOTICE = ("This page is a stand-in that the setup program's build generates in place of the product's "
             "help page of the same name. It gives general help on pinyin and stroke input.")


def main():
    if len(sys.argv) != 2:
        fail("usage: help_pages.py <output folder>")
    c = Content()
    for name, title in ZH.items():
        text = page(title, "zh-CN", "gb2312", zh_body(name, c), esc(ZH_NOTICE))
        write_file(os.path.join(sys.argv[1], name), text.replace("\n", "\r\n").encode("gb2312"))
    for name, title in EN.items():
        text = page(title, "en", "us-ascii", en_body(name, c), esc(EN_NOTICE))
        write_file(os.path.join(sys.argv[1], name), text.replace("\n", "\r\n").encode("ascii"))


if __name__ == "__main__":
    main()
