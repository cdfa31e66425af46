// The entry of the unit tests: doctest, once the code page is known to be the program's.
#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest.h>
#include <windows.h>

#include <stdio.h>

int main(int argc, char** argv)
{
    // The program's texts are Shift-JIS: in another code page every two-byte comparison would
    // pass or fail for the wrong reason. The manifest asks for 932; Windows before 11 grants
    // it only with the Japanese system locale.
    if (GetACP() != 932)
        return fprintf(stderr, "FATAL: the ANSI code page is %u, not 932\n", GetACP()), 1;
    return doctest::Context(argc, argv).run();
}
