#!/usr/bin/env python3
"""Writes the fuzz inputs into the folder given:

  word_base.dict          byte tokens for the fuzzer's mutations
  word_base_seeds/        small source word bases to start from
  word_base_large/        inputs past the writer's 256 KiB output block, run
                          once each (the fuzzer itself stays below 4 KiB)
  config_file.dict        tokens of zerezizu.ini
  config_file_seeds/      old zerezizu.ini files, each after a byte of choices
"""
import pathlib
import sys

BLOCK = 256 * 1024           # the writer's output block (install/word_base.cpp)
GROUP = bytes([0xB0, 0xA1, 0xCE])


def entry(key: bytes, groups: int, group: bytes = GROUP) -> bytes:
    return key + group * groups


def seeds() -> dict:
    return {
        "zero_only": b"\x00",
        "one_entry": entry(b"a", 2) + b"\x00",
        "thirty_groups": entry(b"zhong", 30) + b"\x00",
        "weight_restart": entry(b"a", 27) + entry(b"b", 3) + b"\x00",
        "letters_and_zeros_in_groups": b"k" + b"\x80ab" + b"\xff\x00\x00" + b"\xa1\x7f\x01" + b"\x00",
        "group_first": entry(b"", 3) + b"q\x00",
        "cut_off_group": entry(b"a", 1) + b"\xb0\xa1",
        "no_terminator": entry(b"ni", 4) + b"hao" + GROUP,
        "after_the_zero": entry(b"a", 1) + b"\x00" + entry(b"b", 5) + b"\x00",
    }


def large() -> dict:
    inputs = {
        # One key longer than a block, then an entry.
        "long_key": bytes(0x61 + i % 26 for i in range(BLOCK + 4000)) + entry(b"", 5) + b"\x00",
        # Many entries; a zero and more data well past the first block.
        "many_entries": b"".join(entry(bytes([0x61 + i % 26]) * (1 + i % 5), i % 40)
                                 for i in range(2000)) + b"\x00" + entry(b"x", 9),
    }
    # The group that meets the end of the block at each of its four offsets.
    for key_length in range(1, 5):
        groups = (BLOCK + 3 * 4) // 4
        inputs[f"groups_across_block_key{key_length}"] = entry(b"k" * key_length, groups) + b"\x00"
    # A group cut off by the end of the data just after a full block.
    inputs["cut_off_after_a_block"] = entry(b"abc", BLOCK // 4) + b"\xb0"
    return inputs


def config_seeds() -> dict:
    # The first byte: display answer, language, read-only and hidden bits,
    # how full the disk gets; the file follows.
    shipped = b"[Other]\r\nA=1\r\n\r\n[Config]\r\nUseBmpFont=1\r\n\r\n"
    return {
        "empty": b"\x00",
        "shipped": b"\x1b" + shipped,
        "both_keys": b"\x05[Config]\r\nUseBmpFont=0\r\nForceLanguage=1\r\nTail=1\r\n",
        "lf_only": b"\x22[Config]\nUseBmpFont=0\nForceLanguage=2\n",
        "cr_only": b"\x43[Config]\rUseBmpFont=0\rForceLanguage=2\r",
        "keys_before_section": b"\x64UseBmpFont=0\r\nForceLanguage=0\r\n[Config]\r\n",
        "zero_and_ctrl_z": b"\x81[Config]\x00UseBmpFont=0\r\nForceLanguage=0\x1a\r\n\x1a",
        "long_line": b"\xa6[Config]\r\n" + b"y" * 255 + b"UseBmpFont=0\r\n" + b"x" * 300 + b"\r\n",
        "unterminated_key": b"\xc9[Config]\r\nForceLanguage=1",
    }


def write(folder: pathlib.Path, files: dict) -> None:
    folder.mkdir(parents=True, exist_ok=True)
    for name, data in files.items():
        (folder / name).write_bytes(data)


def main() -> None:
    out = pathlib.Path(sys.argv[1])
    write(out / "word_base_seeds", seeds())
    write(out / "word_base_large", large())
    tokens = [0x00, 0x01, 0x7F, 0x80, 0xA1, 0xB0, 0xFE, 0xFF]
    lines = [f'"\\x{t:02X}"' for t in tokens]
    lines += ['"a"', '"zh"', '"\\xB0\\xA1\\xCE"', '"\\x80\\x00\\x00"']
    (out / "word_base.dict").write_text("\n".join(lines) + "\n")
    write(out / "config_file_seeds", config_seeds())
    tokens = ["[Config]", "UseBmpFont=", "ForceLanguage=", "\\x0D\\x0A", "\\x0A", "\\x0D",
              "\\x00", "\\x1A", "0", "1", "2", "10"]
    (out / "config_file.dict").write_text("".join(f'"{t}"\n' for t in tokens))


if __name__ == "__main__":
    main()
