#!/usr/bin/env python3
"""Runs a command and writes the peak resident set of its process, in KiB, to
a file when it ends: the kernel's own high-water mark (ru_maxrss of wait4),
the same measure for every program the benchmark compares. A SIGTERM or
SIGINT given to this script goes on to the command, which is how the
benchmark ends a setup program that would wait for its last answer.

usage: peak_memory.py <result file> <command> [arguments...]
"""
import os
import signal
import sys


def main():
    if len(sys.argv) < 3:
        sys.exit("usage: peak_memory.py <result file> <command> [arguments...]")
    result, command = sys.argv[1], sys.argv[2:]
    child = os.fork()
    if child == 0:
        os.execvp(command[0], command)
    for sig in (signal.SIGTERM, signal.SIGINT):
        signal.signal(sig, lambda number, _frame: os.kill(child, number))
    while True:
        try:
            _pid, status, usage = os.wait4(child, 0)
            break
        except InterruptedError:
            continue
    with open(result, "w") as f:
        f.write(f"{usage.ru_maxrss}\n")
    sys.exit(os.waitstatus_to_exitcode(status) & 0xFF)


if __name__ == "__main__":
    main()
