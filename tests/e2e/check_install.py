#!/usr/bin/env python3
"""Checks, from outside the program, what the setup program installed.

usage: check_install.py <source> <build> <install folder (Unix path)>
           --windows-folder C:\\... --bmp-font 0|1 --language 0|1|2 [--desktop]
           [--new-folder] [--summary] [--system-language 0|1|2]

Needs WINEPREFIX of the run (shortcuts are read back with tests/e2e/inspect.exe).
The expected bytes of every file are the payloads inflated out of the built
executable (the word base converted to its weighted form); the expected
attributes are the table the install-run tests hold
(tests/install/install_run_fixture.cpp), so the two tests share one list.
"""
import argparse
import os
import pwd
import re
import subprocess
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
from check_executable import PE  # noqa: E402

# Start-menu folder and shortcut names by system language (0 not Chinese,
# 1 Simplified, 2 Traditional), and the code page the shortcuts' texts are
# read back in. On disk Wine names them in UTF-8 under a real Chinese locale.
NAMES = {
    0: ("Zelko Scrivora", ["Zelko Scrivora", "Morvalen Pad", "Zelko Scrivora UnInstall"], "cp1252"),
    1: ("泽柯宁灵墨笺", ["泽柯宁灵墨笺", "泽柯宁文本编辑", "泽柯宁灵墨笺卸载"], "gbk"),
    2: ("澤柯寧靈墨箋", ["澤柯寧靈墨箋", "澤柯寧文本編輯", "澤柯寧靈墨箋卸載"], "big5"),
}
TARGETS = ["ZEKEdit.exe", "Morvalen.exe", "ZEKEditUnInstall.exe"]


def expected_files(source):
    text = open(os.path.join(source, "tests/install/install_run_fixture.cpp"), encoding="utf-8").read()
    rows = re.findall(r'\{(\d+), "([^"]+)", "([R-])([H-])"\}', text)
    return [(int(i), name, ro == "R", hidden == "H") for i, name, ro, hidden in rows]


def weighted(source_form):
    """The word base in weighted form: marker 0x80, then a weight after each group."""
    out = bytearray([0x80])
    data, pos = source_form, 0
    while pos < len(data) and data[pos] != 0:
        start = pos
        while pos < len(data) and 0 < data[pos] < 0x80:
            pos += 1
        out += data[start:pos]
        weight = 25
        while pos < len(data) and data[pos] >= 0x80 and len(data) - pos >= 3:
            out += data[pos:pos + 3] + bytes([weight])
            weight = max(weight - 1, 1)
            pos += 3
        if pos < len(data) and data[pos] >= 0x80:
            break
    return bytes(out)


def attributes(path):
    read_only = not (os.stat(path).st_mode & 0o222)
    try:
        hidden = bool(int(os.getxattr(path, "user.DOSATTRIB").split(b"\0")[0], 16) & 2)
    except OSError:
        hidden = False
    return read_only, hidden


def read_shortcut(build, unix_path, code_page):
    windows_path = "Z:" + unix_path.replace("/", "\\")
    out = subprocess.run(["wine", os.path.join(build, "tests/e2e/inspect.exe"), "lnk", windows_path],
                         capture_output=True, stdin=subprocess.DEVNULL, timeout=60)
    fields = {}
    for line in out.stdout.decode(code_page, "replace").splitlines():
        key, _, value = line.rstrip("\r").partition("=")
        fields[key] = value
    return fields if out.returncode == 0 else None


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("source"); ap.add_argument("build"); ap.add_argument("folder")
    ap.add_argument("--windows-folder", required=True)
    ap.add_argument("--bmp-font", required=True); ap.add_argument("--language", required=True)
    ap.add_argument("--desktop", action="store_true"); ap.add_argument("--new-folder", action="store_true")
    ap.add_argument("--summary", action="store_true")
    ap.add_argument("--system-language", type=int, default=0, choices=[0, 1, 2])
    a = ap.parse_args()
    start_menu_folder, displays, code_page = NAMES[a.system_language]
    start_menu_rows = list(zip(displays, TARGETS))
    desktop_rows = [start_menu_rows[1], start_menu_rows[0]]

    failures = []
    payloads = PE(open(os.path.join(a.build, "ScrivoraSetup.exe"), "rb").read()).payloads()
    files = expected_files(a.source)
    if len(files) != 95:
        failures.append(f"the expected-file table has {len(files)} rows, not 95")

    for ident, name, read_only, hidden in files:
        path = os.path.join(a.folder, name)
        if not os.path.isfile(path):
            failures.append(f"{name}: missing")
            continue
        expected = zlib.decompress(payloads[ident])
        if name == "pycizudic.idx" and expected[:1] < b"\x80":
            expected = weighted(expected)
        if name == "zerezizu.ini":
            expected = expected.replace(b"UseBmpFont=0", b"UseBmpFont=" + a.bmp_font.encode(), 1)
            expected += b"\r\nForceLanguage=" + a.language.encode() + b"\r\n"
        actual = open(path, "rb").read()
        if actual != expected:
            failures.append(f"{name}: {len(actual)} bytes differ from the expected {len(expected)}")
        if attributes(path) != (read_only, hidden):
            failures.append(f"{name}: read-only/hidden {attributes(path)}, expected {(read_only, hidden)}")

    doc = os.path.join(a.folder, "doc")
    if a.new_folder and not (os.path.isdir(doc) and not os.listdir(doc)):
        failures.append("no empty doc folder in the new install folder")
    extra = set(os.listdir(a.folder)) - {n for _, n, _, _ in files} - {"doc"}
    if extra:
        failures.append(f"unexpected entries in the install folder: {sorted(extra)}")

    user_dir = os.path.join(os.environ["WINEPREFIX"], "drive_c/users", pwd.getpwuid(os.getuid()).pw_name)
    programs = os.path.join(user_dir, "AppData/Roaming/Microsoft/Windows/Start Menu/Programs", start_menu_folder)
    desktop = os.path.join(user_dir, "Desktop")

    def check_shortcuts(folder, rows, present):
        for display, target in rows:
            link = os.path.join(folder, display + ".lnk")
            if not present:
                if os.path.exists(link):
                    failures.append(f"{link}: made although not asked for")
                continue
            fields = read_shortcut(a.build, link, code_page) if os.path.exists(link) else None
            if fields is None:
                failures.append(f"{link}: missing or unreadable")
                continue
            want_target = a.windows_folder + "\\" + target
            checks = {"target": want_target, "folder": a.windows_folder, "description": display,
                      "icon": want_target + ",0"}
            for key, want in checks.items():
                if fields.get(key, "").lower() != want.lower():
                    failures.append(f"{display}.lnk: {key} {fields.get(key)!r}, expected {want!r}")

    if not os.path.isdir(programs):
        failures.append(f"no Start-menu folder {start_menu_folder!r}: {sorted(os.listdir(os.path.dirname(programs)))}")
    check_shortcuts(programs, start_menu_rows, True)
    check_shortcuts(desktop, desktop_rows, a.desktop)
    if os.path.isdir(programs) and len(os.listdir(programs)) != 3:
        failures.append(f"Start-menu folder holds {sorted(os.listdir(programs))}")

    if a.summary:
        print(f"Installed into {a.windows_folder} ({a.folder}):")
        for _, name, _, _ in files:
            path = os.path.join(a.folder, name)
            if os.path.isfile(path):
                ro, hid = attributes(path)
                print(f"  {('R' if ro else '-') + ('H' if hid else '-')} {os.path.getsize(path):>9}  {name}")
        print(f"Start menu folder {programs}: {sorted(os.listdir(programs)) if os.path.isdir(programs) else 'missing'}")
        links = sorted(n for n in os.listdir(desktop) if n.endswith('.lnk')) if os.path.isdir(desktop) else []
        print(f"Desktop shortcuts: {links}")
        ini = os.path.join(a.folder, "zerezizu.ini")
        if os.path.isfile(ini):
            print("zerezizu.ini, last lines:")
            for line in open(ini, "rb").read().decode("gbk").splitlines()[-5:]:
                print("  " + line)

    for f in failures:
        print("FAIL:", f)
    print(f"install check: {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
