#!/usr/bin/env python3
"""Builds the speech-module package (payload 1029) with wixl, repeatably.

wixl (Debian's msitools) turns our small WiX source into a real Windows
Installer package. Two things in its output change from run to run: the
summary information's revision number (the package code, a fresh GUID) and its
creation and last-saved times (the clock). This script fixes both: it builds in
a scratch folder from copies of the inputs with a fixed modification time (the
cabinet records the files' times), then writes a fixed package code and a fixed
time (2000-01-01) over those summary properties, in place and with the same
lengths. The property layout it expects is checked; anything else stops the
build. msiinfo, when present, then reads the result back.

Usage: speech_msi.py <source.wxs> <folder of the files it names> <scratch folder> <output.msi>
"""
import os
import re
import shutil
import subprocess
import sys

from common import fail, write_file

PACKAGE_CODE = b"{6D1B3C52-4E0A-4C8E-9F27-5A0C3B7E1D40}"
FIXED_TIME = 946684800  # 2000-01-01 00:00:00 UTC
FILETIME = ((FIXED_TIME + 11644473600) * 10_000_000).to_bytes(8, "little")

# In the summary information stream: the revision number (VT_LPSTR, 39 bytes
# with its zero), one byte of padding, then the creation and last-saved times
# (VT_FILETIME).
SUMMARY = re.compile(rb"(\x1e\x00\x00\x00\x27\x00\x00\x00)\{[0-9A-F-]{36}\}\x00(\x00)"
                     rb"(\x40\x00\x00\x00).{8}(\x40\x00\x00\x00).{8}", re.DOTALL)


def main():
    if len(sys.argv) != 5:
        fail("usage: speech_msi.py <source.wxs> <input folder> <scratch folder> <output.msi>")
    wxs, inputs, scratch, output = sys.argv[1:]
    wixl = shutil.which("wixl")
    if wixl is None:
        fail("wixl is missing; scripts/bootstrap.sh installs it")
    shutil.rmtree(scratch, ignore_errors=True)
    os.makedirs(scratch)
    for name in sorted(os.listdir(inputs)):
        target = os.path.join(scratch, name)
        shutil.copyfile(os.path.join(inputs, name), target)
        os.utime(target, (FIXED_TIME, FIXED_TIME))
    built = os.path.join(scratch, "package.msi")
    env = dict(os.environ, SOURCE_DATE_EPOCH=str(FIXED_TIME))
    result = subprocess.run([wixl, "-o", built, os.path.basename(wxs)], cwd=scratch, env=env,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if result.returncode != 0:
        fail(f"wixl failed:\n{result.stdout}")
    data = open(built, "rb").read()
    matches = list(SUMMARY.finditer(data))
    if len(matches) != 1:
        fail(f"expected one summary information block in wixl's output, found {len(matches)}")
    m = matches[0]
    fixed = m.group(1) + PACKAGE_CODE + b"\x00" + m.group(2) + m.group(3) + FILETIME + m.group(4) + FILETIME
    assert len(fixed) == m.end() - m.start()
    data = data[:m.start()] + fixed + data[m.end():]
    write_file(output, data)
    msiinfo = shutil.which("msiinfo")
    if msiinfo:
        info = subprocess.run([msiinfo, "suminfo", output], stdout=subprocess.PIPE,
                              stderr=subprocess.STDOUT, text=True)
        if info.returncode != 0 or PACKAGE_CODE.decode() not in info.stdout:
            fail(f"msiinfo does not read the package back:\n{info.stdout}")


if __name__ == "__main__":
    main()
