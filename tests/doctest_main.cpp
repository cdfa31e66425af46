// The entry of the unit tests: doctest, once the code page is known to be the program's.
#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest.h>
#include <windows.h>

#include <stdio.h>

int main(int argc, char** argv)
{
    // The program's texts are Shift-JIS: without the ja_JP locale Wine runs in code page 1252
    // and every two-byte comparison would pass or fail for the wrong reason.
    if (GetACP() != 932) {
        fprintf(stderr, "FATAL: the ANSI code page is %u, not 932 (is ja_JP.UTF-8 generated "
                        "and LANG set?)\n", GetACP());
        return 1;
    }
    doctest::Context context(argc, argv);
    return context.run();
}
