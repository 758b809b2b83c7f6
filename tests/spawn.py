#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
# SPDX-License-Identifier: MIT
"""Runs a program in ways a shell cannot set up, for the test scripts.

  spawn.py noargs PROG          exec PROG with an empty argument vector
  spawn.py tty PROG ARGS...     PROG's stdout on a terminal; print what it wrote
                                and exit with its status; 77 where no terminal
                                can be opened
  spawn.py closed PROG ARGS...  PROG's stdout a pipe nobody reads;
                                print the exit status, then its stderr
  spawn.py closed-ign PROG ...  the same with SIGPIPE ignored
  spawn.py at-exit PROG ARGS... PROG's memory map and status as it exits
                                (its stdout to /dev/null): the address space
                                of the program itself, whatever started it;
                                exit status 77 where the kernel refuses ptrace
"""
import ctypes
import os
import signal
import subprocess
import sys
import termios

REFUSED = 77  # the system refuses what the check needs: ptrace, a terminal


def shell_status(returncode):
    """A death by signal shows as the shell would show it: 128 + signal."""
    return returncode if returncode >= 0 else 128 - returncode


def noargs(prog):
    libc = ctypes.CDLL(None, use_errno=True)
    empty = (ctypes.c_char_p * 1)(None)
    libc.execve(prog.encode(), empty, empty)
    sys.exit("execve: " + os.strerror(ctypes.get_errno()))


def tty(argv):
    try:
        master, slave = os.openpty()
    except OSError as error:  # no /dev/pts, as in a plain chroot
        sys.stderr.write("no terminal can be opened: %s\n" % error.strerror)
        sys.exit(REFUSED)
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
    sys.stdout.buffer.write(out)
    sys.exit(shell_status(proc.wait()))


def closed(argv, ignore_sigpipe):
    read_end, write_end = os.pipe()
    os.close(read_end)

    def before():
        if ignore_sigpipe:
            signal.signal(signal.SIGPIPE, signal.SIG_IGN)

    proc = subprocess.run(argv, stdout=write_end, stderr=subprocess.PIPE, preexec_fn=before)
    sys.stdout.write("%d\n" % shell_status(proc.returncode))
    # The text layer buffers on its own: flush it before writing bytes
    # beneath it, or the two may come out in either order.
    sys.stdout.flush()
    sys.stdout.buffer.write(proc.stderr)


def at_exit(argv):
    libc = ctypes.CDLL(None, use_errno=True)
    libc.ptrace.argtypes = [ctypes.c_long, ctypes.c_long, ctypes.c_void_p, ctypes.c_void_p]
    traceme, cont, setoptions = 0, 7, 0x4200
    trace_exit, event_exit = 0x40, 6

    # A sanitizer build's leak check cannot run under a tracer.
    options = os.environ.get("ASAN_OPTIONS")
    os.environ["ASAN_OPTIONS"] = (options + ":" if options else "") + "detect_leaks=0"
    pid = os.fork()
    if pid == 0:
        try:
            if libc.ptrace(traceme, 0, None, None) != 0:
                why = os.strerror(ctypes.get_errno()).encode()
                os.write(2, b"the kernel refuses ptrace: " + why + b"\n")
                os._exit(REFUSED)
            devnull = os.open(os.devnull, os.O_WRONLY)
            os.dup2(devnull, 1)
            os.execvp(argv[0], argv)
        finally:
            os._exit(127)
    _, status = os.waitpid(pid, 0)  # stopped at exec, before the program runs
    if os.WIFEXITED(status) and os.WEXITSTATUS(status) == REFUSED:
        sys.exit(REFUSED)
    libc.ptrace(setoptions, pid, None, ctypes.c_void_p(trace_exit))
    libc.ptrace(cont, pid, None, None)
    seen = False
    while True:
        _, status = os.waitpid(pid, 0)
        if os.WIFEXITED(status) or os.WIFSIGNALED(status):
            break
        deliver = 0
        if status >> 16 == event_exit:  # exiting, its memory still mapped
            for name in ("maps", "status"):
                with open("/proc/%d/%s" % (pid, name)) as proc:
                    sys.stdout.write(proc.read())
            seen = True
        elif os.WSTOPSIG(status) != signal.SIGTRAP:
            deliver = os.WSTOPSIG(status)
        libc.ptrace(cont, pid, None, ctypes.c_void_p(deliver))
    if not seen:
        sys.exit("spawn.py: %s ended before it could be seen exiting" % argv[0])


mode, args = sys.argv[1], sys.argv[2:]
if mode == "noargs":
    noargs(args[0])
elif mode == "tty":
    tty(args)
elif mode in ("closed", "closed-ign"):
    closed(args, mode == "closed-ign")
elif mode == "at-exit":
    at_exit(args)
else:
    sys.exit("spawn.py: unknown mode " + mode)
