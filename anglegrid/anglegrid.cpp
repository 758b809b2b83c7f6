// SPDX-FileCopyrightText: 2026 The anglegrid-tools developers
// SPDX-License-Identifier: MIT

// anglegrid - print a table of angles for six sectors of twelve positions
//
// Each output line is one sector: twelve angles in radians, spread
// symmetrically about the sector's centre.  With -t every position carries
// the centre angle itself.

// The C library's own headers, not the C++ wrappers: the program uses
// nothing of the C++ runtime, so that it builds against any C library.
#include <errno.h>
#include <getopt.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

// A lost line must never end with status 0, so report it and leave at once;
// _Exit keeps the exit-time close from reporting the same failure again.
[[noreturn]] void WriteError()
{
    fprintf(stderr, "anglegrid: write error: %s\n", strerror(errno));
    _Exit(EXIT_FAILURE);
}

// Every output line ends here.  The flush sends each line as soon as it is
// whole; the error flag is sticky, so one check covers all that came before.
void EndLine()
{
    putchar('\n');
    fflush(stdout);
    if (ferror(stdout))
        WriteError();
}

void PutLine(const char *text)
{
    fputs(text, stdout);
    EndLine();
}

// Closing can still fail (a deferred error on a network file system).
void CloseStdout()
{
    if (fclose(stdout) == EOF)
        WriteError();
}

// The screens show the name the program was called by.  An empty argument
// vector, or an empty name, leaves none; then the program's own name stands in.
const char *InvocationName(char *argv[])
{
    return argv[0] != nullptr && argv[0][0] != '\0' ? argv[0] : "anglegrid";
}

[[noreturn]] void Usage(char *argv[])
{
    printf("\n Usage:%s[-h] [-x]", InvocationName(argv));
    EndLine();
    PutLine("\n Description: ");
    PutLine("\t Trancated phi {45,90,135,225,270,315} [def]:off  ");
    PutLine("\n Options:");
    PutLine("\t -h \t show this help    ");
    PutLine("\t -x \t show example    ");
    EndLine();
    exit(EXIT_SUCCESS);
}

[[noreturn]] void Example(char *argv[])
{
    PutLine("\n Exapmle: ");
    printf("\t%s -x", InvocationName(argv));
    EndLine();
    EndLine();
    exit(EXIT_SUCCESS);
}

} // namespace

int main(int argc, char *argv[])
{
    // The single-precision values nearest to k*pi/4 for k = 1, 2, 3, 5, 6, 7:
    // there is no sector at 0 or 180 degrees.
    const float base[6] = {0.7853982f, 1.5707964f, 2.3561945f, 3.9269907f, 4.712389f, 5.497787f};
    // Position i of a sector lies 2*(i - 6.5) to the side at a distance of
    // 180, and is seen under the angle atan of their ratio.
    const int steps = 12;
    const double centre = 6.5;
    const double spacing = 2;
    const int distance = 180;
    int truncated = 0;
    int ch;

    atexit(CloseStdout);
    // getopt_long, with no long options, because it permutes in musl and
    // glibc alike: options count wherever they stand before "--", as in
    // "anglegrid foo -t", where plain getopt stops at the first word in
    // musl.  glibc's still stops there when POSIXLY_CORRECT is set.
    while ((ch = getopt_long(argc, argv, "htx?", nullptr, nullptr)) != -1) {
        switch (ch) {
        case 'h':
        case '?': // also an unknown letter, after getopt's own diagnostic
            Usage(argv);
        case 't':
            truncated = 1;
            break;
        case 'x':
            Example(argv);
        default:
            break;
        }
    }

    for (const float angle : base) {
        for (int i = 1; i <= steps; i++) {
            float v = angle;
            if (!truncated)
                v = static_cast<float>(atan((i - centre) * spacing / distance) + angle);
            printf("%7.5f,", static_cast<double>(v));
        }
        EndLine();
    }
    return EXIT_SUCCESS;
}
