#!/usr/bin/env python3
"""Runs every payload generator again and checks that it is repeatable.

Each generator of tools/gen/ is run into a scratch folder with the same
arguments that tools/generators.cmake gives it; every file it makes must equal,
byte for byte, the one the build made in <build>/gen. The time each takes is
printed, as a figure only: on a shared machine a time limit would fail for
the machine's load, not for a fault. (The stand-in programs are compiled by the
build itself and are not run here.)

Usage: check_generators.py <source folder> <build gen folder>
"""
import filecmp
import os
import subprocess
import sys
import tempfile
import time


def commands(src, out, scratch):
    gen = os.path.join(src, "tools", "gen")
    texts = os.path.join(src, "resources", "payloads", "texts")
    speech = os.path.join(src, "resources", "payloads", "speech")
    hexfile = "/usr/share/unifont/unifont.hex"
    py = sys.executable
    cmds = [[py, f"{gen}/glyph_font.py", f"{out}/ChnBmp.bin", hexfile]]
    # Same font and shown texts as tools/generators.cmake.
    cmds.append([py, f"{gen}/caption_glyphs.py", f"{out}/CaptionGlyphs24.bin",
                 "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
                 f"{src}/wizard/captions.cpp", f"{src}/wizard/messages.cpp",
                 f"{src}/wizard/language_list.cpp", f"{texts}/agreement_zh.txt"])
    for encoding, name in [("gb2312", "agreement_zh.txt"), ("ascii", "agreement_en.txt"),
                           ("gb2312", "tips.txt"), ("ascii", "tips_en.txt"), ("gb2312", "cikuguide.txt")]:
        cmds.append([py, f"{gen}/text_file.py", encoding, f"{texts}/{name}", f"{out}/texts/{name}"])
    cmds += [
        [py, f"{gen}/word_base.py", f"{out}/data"],
        [py, f"{gen}/tables.py", f"{out}/data"],
        [py, f"{gen}/pictures.py", f"{out}/pictures", hexfile],
        [py, f"{gen}/help_pages.py", f"{out}/help"],
        [py, f"{gen}/speech_msi.py", f"{speech}/speech_module.wxs", speech, scratch,
         f"{out}/Sapi51forZelko.msi"],
    ]
    return cmds


def main():
    src, built = sys.argv[1:3]
    failures = []
    made = 0
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "gen")
        total = 0.0
        for cmd in commands(src, out, os.path.join(tmp, "scratch")):
            start = time.monotonic()
            r = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
            spent = time.monotonic() - start
            total += spent
            print(f"{spent:6.2f} s  {os.path.basename(cmd[1])} {os.path.basename(cmd[-1])}")
            if r.returncode != 0:
                failures.append(f"{' '.join(cmd)} failed:\n{r.stdout}")
        for folder, _, files in os.walk(out):
            for name in files:
                fresh = os.path.join(folder, name)
                rel = os.path.relpath(fresh, out)
                old = os.path.join(built, rel)
                made += 1
                if not os.path.exists(old):
                    failures.append(f"{rel}: made by a generator but not by the build")
                elif not filecmp.cmp(fresh, old, shallow=False):
                    failures.append(f"{rel}: differs from the build's copy (not repeatable)")
        print(f"{made} files in {total:.2f} s")
        if made < 90:
            failures.append(f"only {made} files made")
    for f in failures:
        print("FAIL:", f)
    checks = max(made, 1) + 1
    failed = min(len(failures), checks)
    print(f"{checks - failed} passed, {failed} failed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
