#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
"""Runs a program in ways a shell cannot set up, for the test scripts.

  spawn.py noargs PROG          exec PROG with an empty argument vector
  spawn.py tty PROG ARGS...     PROG's stdout on a terminal; print what it wrote
  spawn.py closed PROG ARGS...  PROG's stdout a pipe nobody reads;
                                print the exit status, then its stderr
  spawn.py closed-ign PROG ...  the same with SIGPIPE ignored
"""
import ctypes
import os
import signal
import subprocess
import sys
import termios


def noargs(prog):
    libc = ctypes.CDLL(None, use_errno=True)
    empty = (ctypes.c_char_p * 1)(None)
    libc.execve(prog.encode(), empty, empty)
    sys.exit("execve: " + os.strerror(ctypes.get_errno()))


def tty(argv):
    master, slave = os.openpty()
    attrs = termios.tcgetattr(slave)
    attrs[1] &= ~termios.OPOST  # no newline translation: compare raw bytes
    termios.tcsetattr(slave, termios.TCSANOW, attrs)
    proc = subprocess.Popen(argv, stdout=slave)
    os.close(slave)
    out = b""
    while True:
        try:
            chunk = os.read(master, 4096)
        except OSError:  # EIO once the program has closed the terminal
            break
        if not chunk:
            break
        out += chunk
    proc.wait()
    sys.stdout.buffer.write(out)


def closed(argv, ignore_sigpipe):
    read_end, write_end = os.pipe()
    os.close(read_end)

    def before():
        if ignore_sigpipe:
            signal.signal(signal.SIGPIPE, signal.SIG_IGN)

    proc = subprocess.run(argv, stdout=write_end, stderr=subprocess.PIPE, preexec_fn=before)
    # A death by signal shows as the shell would show it: 128 + signal.
    status = proc.returncode if proc.returncode >= 0 else 128 - proc.returncode
    sys.stdout.write("%d\n" % status)
    # The text layer buffers on its own: flush it before writing bytes
    # beneath it, or the two may come out in either order.
    sys.stdout.flush()
    sys.stdout.buffer.write(proc.stderr)


mode, args = sys.argv[1], sys.argv[2:]
if mode == "noargs":
    noargs(args[0])
elif mode == "tty":
    tty(args)
elif mode in ("closed", "closed-ign"):
    closed(args, mode == "closed-ign")
else:
    sys.exit("spawn.py: unknown mode " + mode)
