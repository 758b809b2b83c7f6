#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
"""Start-up cost of anglegrid and orderflag, beside yardsticks.

usage: bench/bench.py [BUILD_DIR]        (default: build/release)

For each command it measures the instructions retired in one run, counted
by valgrind's callgrind (repeatable where wall time is not), and the peak
resident memory, read from the process's VmHWM at its exit under ptrace so
that the memory of whatever started it does not count.  The yardsticks are
mawk doing the same work and an empty dynamically linked C program, which is
what starting any ordinary program costs.  Exits 1 if a target is missed.
"""
import ctypes
import os
import re
import signal
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MAWK_TABLE = (
    'BEGIN { split("0.7853982 1.5707964 2.3561945 3.9269907 4.712389 5.497787", c, " ");'
    ' for (s = 1; s <= 6; s++) {'
    ' for (i = 1; i <= 12; i++) printf "%7.5f,", atan2((i - 6.5) * 2, 180) + c[s];'
    ' printf "\\n" } }'
)
MAWK_COMPARE = "BEGIN { print (ARGV[1] + 0 >= ARGV[2] + 0) ? 1 : 0 }"


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
    libc = ctypes.CDLL(None, use_errno=True)
    libc.ptrace.argtypes = [ctypes.c_long, ctypes.c_long, ctypes.c_void_p, ctypes.c_void_p]
    traceme, cont, setoptions = 0, 7, 0x4200
    trace_exit, event_exit = 0x40, 6

    pid = os.fork()
    if pid == 0:
        try:
            libc.ptrace(traceme, 0, None, None)
            devnull = os.open(os.devnull, os.O_WRONLY)
            os.dup2(devnull, 1)
            os.execvp(argv[0], argv)
        finally:
            os._exit(127)
    _, status = os.waitpid(pid, 0)  # stopped at exec, before the program runs
    libc.ptrace(setoptions, pid, None, ctypes.c_void_p(trace_exit))
    libc.ptrace(cont, pid, None, None)
    peak = None
    while True:
        _, status = os.waitpid(pid, 0)
        if os.WIFEXITED(status) or os.WIFSIGNALED(status):
            break
        deliver = 0
        if status >> 16 == event_exit:  # exiting, its memory still mapped
            with open("/proc/%d/status" % pid) as proc_status:
                for line in proc_status:
                    if line.startswith("VmHWM:"):
                        peak = int(line.split()[1])
        elif os.WSTOPSIG(status) != signal.SIGTRAP:
            deliver = os.WSTOPSIG(status)
        libc.ptrace(cont, pid, None, ctypes.c_void_p(deliver))
    if peak is None:
        sys.exit("bench: no peak memory for %s" % argv)
    return peak


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "release")
    anglegrid = os.path.join(build, "anglegrid", "anglegrid")
    orderflag = os.path.join(build, "orderflag", "orderflag")
    for prog in (anglegrid, orderflag):
        if not os.access(prog, os.X_OK):
            sys.exit("bench: no %s; build first: cmake --workflow --preset release" % prog)

    with tempfile.TemporaryDirectory() as tmp:
        empty = os.path.join(tmp, "empty")
        subprocess.run(["cc", "-O2", "-x", "c", "-", "-o", empty],
                       input=b"int main(void) { return 0; }\n", check=True)
        commands = [
            ("anglegrid", [anglegrid]),
            ("mawk, the same table", ["mawk", MAWK_TABLE]),
            ("orderflag 5 3", [orderflag, "5", "3"]),
            ("mawk, the same comparison", ["mawk", MAWK_COMPARE, "5", "3"]),
            ("empty C program, dynamic", [empty]),
        ]
        ours = subprocess.run([anglegrid], capture_output=True, check=True).stdout
        theirs = subprocess.run(["mawk", MAWK_TABLE], capture_output=True, check=True).stdout
        if ours != theirs:
            print("note: mawk's table differs from anglegrid's")
        cost = {}
        print("%-28s %14s %12s" % ("command", "instructions", "peak memory"))
        for name, argv in commands:
            cost[name] = (instructions(argv), peak_kib(argv))
            print("%-28s %14s %8s KiB" % (name, "{:,}".format(cost[name][0]),
                                          "{:,}".format(cost[name][1])))

    grid, grid_kib = cost["anglegrid"]
    flag, flag_kib = cost["orderflag 5 3"]
    targets = [
        ("anglegrid: at most 200,000 instructions", grid <= 200000),
        ("anglegrid: under half of mawk's", 2 * grid < cost["mawk, the same table"][0]),
        ("orderflag: at most 80,000 instructions", flag <= 80000),
        ("orderflag: below the empty C program", flag < cost["empty C program, dynamic"][0]),
        ("anglegrid: peak memory at most 2 MiB", grid_kib <= 2048),
        ("orderflag: peak memory at most 2 MiB", flag_kib <= 2048),
    ]
    print()
    for what, met in targets:
        print("%-44s %s" % (what, "met" if met else "MISSED"))
    return 0 if all(met for _, met in targets) else 1


if __name__ == "__main__":
    signal.signal(signal.SIGPIPE, signal.SIG_DFL)  # quiet under head(1), like any filter
    sys.exit(main())
