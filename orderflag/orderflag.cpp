// SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
// SPDX-License-Identifier: MIT

// orderflag - print 1 if the first number is not smaller than the second
//
// For shell scripts, whose test(1) compares integers only.  The numbers are
// read as the C library reads them, so any word has a value: its longest
// numeric prefix, or 0.

// The C library's own headers: nothing of the C++ runtime is used.
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

[[noreturn]] void Usage()
{
    fputs("usage: orderflag FIRST SECOND\n", stderr);
    exit(2);
}

// A lost flag must never end with status 0, so report it and leave at once;
// _Exit keeps the exit-time close from reporting the same failure again.
[[noreturn]] void WriteError()
{
    fprintf(stderr, "orderflag: write error: %s\n", strerror(errno));
    _Exit(EXIT_FAILURE);
}

// Closing can still fail (a deferred error on a network file system).
void CloseStdout()
{
    if (fclose(stdout) == EOF)
        WriteError();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3)
        Usage();
    atexit(CloseStdout);

    // strtod, not atof: the same values, but an out-of-range word has a
    // defined result (an infinity or 0) instead of undefined behaviour.
    const double first = strtod(argv[1], nullptr);
    const double second = strtod(argv[2], nullptr);
    // An ordered comparison: a NaN on either side makes it false, and the
    // flag 1.
    const int flag = second > first ? 0 : 1;

    printf("%d\n", flag);
    fflush(stdout);
    if (ferror(stdout))
        WriteError();
    return EXIT_SUCCESS;
}
