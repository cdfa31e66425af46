#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest.h>
#include <windows.h>

#include <stdio.h>

int main(int argc, char** argv)
{
    // the program's texts are Shift-JIS: in any other code page every comparison lies
    if (GetACP() != 932) {
        fprintf(stderr, "FATAL: the ANSI code page is %u, not 932 (is ja_JP.UTF-8 generated "
                        "and LANG set?)\n", GetACP());
        return 1;
    }
    doctest::Context context(argc, argv);
    return context.run();
}
