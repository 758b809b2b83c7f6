#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
"""Start-up cost of anglegrid and orderflag, beside yardsticks.

usage: bench/bench.py [BUILD_DIR]        (default: build/release)

For each command it measures the wall time of one start, as the median of
rounds in which every command is started in turn, one start at a time, so
that what else the machine does weighs on all alike; the
instructions retired in one run, counted by valgrind's callgrind
(repeatable where wall time is not); and the peak resident memory, read
from the process's VmHWM as it exits, so that the memory of whatever
started it does not count.  The yardsticks are the floor, a program with
no C library whose _start only exits, which the benchmark builds itself;
an empty static glibc program; an empty dynamically linked C program,
what starting any ordinary program costs; and mawk doing the same work.
Exits 1 if a target is missed.
"""
import os
import platform
import re
import signal
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SPAWN = os.path.join(ROOT, "tests", "spawn.py")
MAWK_TABLE = (
    'BEGIN { split("0.7853982 1.5707964 2.3561945 3.9269907 4.712389 5.497787", c, " ");'
    ' for (s = 1; s <= 6; s++) {'
    ' for (i = 1; i <= 12; i++) printf "%7.5f,", atan2((i - 6.5) * 2, 180) + c[s];'
    ' printf "\\n" } }'
)
MAWK_COMPARE = "BEGIN { print (ARGV[1] + 0 >= ARGV[2] + 0) ? 1 : 0 }"
# The floor's only work, the exit system call, for each machine (uname -m).
EXIT_CALL = {
    "x86_64": "mov $60, %eax; xor %edi, %edi; syscall",
    "aarch64": "mov x8, #93; mov x0, #0; svc #0",
    "i686": "mov $1, %eax; xor %ebx, %ebx; int $0x80",
    "armv7l": "mov r7, #1; mov r0, #0; svc #0",
    "ppc64le": "li 0, 1; li 3, 0; sc",
    "s390x": "lghi %r2, 0; svc 1",
    "riscv64": "li a7, 93; li a0, 0; ecall",
}
ROUNDS, STARTS = 21, 200


def build(path, source, *flags):
    """Compiles C source into path; False where this machine cannot."""
    run = subprocess.run(["cc", "-O2", *flags, "-x", "c", "-", "-o", path],
                         input=source.encode(), capture_output=True)
    return run.returncode == 0


def start_time(commands):
    """Median wall time of one start of each command, in microseconds."""
    devnull = os.open(os.devnull, os.O_WRONLY)
    actions = [(os.POSIX_SPAWN_DUP2, devnull, 1)]
    times = {name: [] for name, _ in commands}
    for _ in range(ROUNDS):
        spent = dict.fromkeys(times, 0)
        for _ in range(STARTS):
            for name, argv in commands:  # one start of each in turn
                begin = time.perf_counter_ns()
                os.waitpid(os.posix_spawnp(argv[0], argv, os.environ, file_actions=actions), 0)
                spent[name] += time.perf_counter_ns() - begin
        for name in times:
            times[name].append(spent[name] / STARTS / 1000)
    os.close(devnull)
    return {name: statistics.median(runs) for name, runs in times.items()}


def instructions(argv):
    """Instructions retired by one run of argv, as callgrind counts them."""
    run = subprocess.run(
        ["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null"] + argv,
        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, check=True)
    found = re.search(r"Collected : (\d+)", run.stderr)
    if not found:
        sys.exit("bench: no count from callgrind for %s:\n%s" % (argv, run.stderr))
    return int(found.group(1))


def peak_kib(argv):
    """Peak resident memory of one run of argv, in KiB."""
    run = subprocess.run([sys.executable, SPAWN, "at-exit"] + argv,
                         capture_output=True, text=True, check=True)
    return int(re.search(r"^VmHWM:\s+(\d+)", run.stdout, re.M).group(1))


def main():
    build_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "release")
    anglegrid = os.path.join(build_dir, "anglegrid", "anglegrid")
    orderflag = os.path.join(build_dir, "orderflag", "orderflag")
    for prog in (anglegrid, orderflag):
        if not os.access(prog, os.X_OK):
            sys.exit("bench: no %s; build first: cmake --workflow --preset release" % prog)

    with tempfile.TemporaryDirectory() as tmp:
        commands = [("anglegrid", [anglegrid]), ("orderflag 5 3", [orderflag, "5", "3"])]
        floor, static, empty = (os.path.join(tmp, name) for name in ("floor", "static", "empty"))
        machine = platform.machine()
        if machine in EXIT_CALL and build(floor, 'void _start(void) { __asm__ volatile("%s"); }'
                                          % EXIT_CALL[machine], "-nostdlib", "-static"):
            commands.append(("floor: no C library", [floor]))
        else:
            print("note: no floor program for %s" % machine)
        if build(static, "int main(void) { return 0; }", "-static"):
            commands.append(("empty C program, static glibc", [static]))
        else:
            print("note: no static glibc here (libc.a), so no empty static program")
        build(empty, "int main(void) { return 0; }")
        commands += [
            ("empty C program, dynamic", [empty]),
            ("mawk, the same table", ["mawk", MAWK_TABLE]),
            ("mawk, the same comparison", ["mawk", MAWK_COMPARE, "5", "3"]),
        ]
        ours = subprocess.run([anglegrid], capture_output=True, check=True).stdout
        theirs = subprocess.run(["mawk", MAWK_TABLE], capture_output=True, check=True).stdout
        if ours != theirs:
            print("note: mawk's table differs from anglegrid's")

        wall = start_time(commands)
        base = wall.get("floor: no C library")
        cost = {}
        print("%-30s %10s %8s %14s %12s" % ("command", "one start", "x floor", "instructions",
                                            "peak memory"))
        for name, argv in commands:
            cost[name] = (instructions(argv), peak_kib(argv))
            print("%-30s %7.0f µs %8s %14s %8s KiB" % (
                name, wall[name], "%.2f" % (wall[name] / base) if base else "-",
                "{:,}".format(cost[name][0]), "{:,}".format(cost[name][1])))

    grid, grid_kib = cost["anglegrid"]
    flag, flag_kib = cost["orderflag 5 3"]
    targets = [
        ("anglegrid: at most 150,000 instructions", grid <= 150000),
        ("anglegrid: under half of mawk's", 2 * grid < cost["mawk, the same table"][0]),
        ("orderflag: at most 10,000 instructions", flag <= 10000),
        ("orderflag: below the empty C program", flag < cost["empty C program, dynamic"][0]),
        ("anglegrid: peak memory at most 2 MiB", grid_kib <= 2048),
        ("orderflag: peak memory at most 2 MiB", flag_kib <= 2048),
    ]
    if base:
        targets += [
            ("anglegrid: one start at most 2.0x the floor", wall["anglegrid"] <= 2.0 * base),
            ("orderflag: one start at most 1.4x the floor", wall["orderflag 5 3"] <= 1.4 * base),
        ]
    print()
    for what, met in targets:
        print("%-44s %s" % (what, "met" if met else "MISSED"))
    return 0 if all(met for _, met in targets) else 1


if __name__ == "__main__":
    signal.signal(signal.SIGPIPE, signal.SIG_DFL)  # quiet under head(1), like any filter
    sys.exit(main())
