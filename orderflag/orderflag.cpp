// SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
// SPDX-License-Identifier: MIT

// orderflag - print 1 if the first number is not smaller than the second
//
// For shell scripts, whose test(1) compares integers only.  The numbers are
// read as the C library reads them, so any word has a value: its longest
// numeric prefix, or 0.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

[[noreturn]] void Usage()
{
    std::fputs("usage: orderflag FIRST SECOND\n", stderr);
    std::exit(2);
}

// A lost flag must never end with status 0, so report it and leave at once;
// _Exit keeps the exit-time close from reporting the same failure again.
[[noreturn]] void WriteError()
{
    std::fprintf(stderr, "orderflag: write error: %s\n", std::strerror(errno));
    std::_Exit(EXIT_FAILURE);
}

// Closing can still fail (a deferred error on a network file system).
void CloseStdout()
{
    if (std::fclose(stdout) == EOF)
        WriteError();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3)
        Usage();
    std::atexit(CloseStdout);

    const double first = std::atof(argv[1]);
    const double second = std::atof(argv[2]);
    // An ordered comparison: a NaN on either side makes it false, and the
    // flag 1.
    const int flag = second > first ? 0 : 1;

    std::printf("%d\n", flag);
    std::fflush(stdout);
    if (std::ferror(stdout))
        WriteError();
    return EXIT_SUCCESS;
}
