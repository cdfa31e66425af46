#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest.h>
#include <windows.h>

#include <stdio.h>

int main(int argc, char** argv)
{
    // Without the ja_JP locale Wine runs in code page 1252 and every two-byte test would
    // pass for the wrong reason.
    if (GetACP() != 932) {
        fprintf(stderr, "FATAL: the ANSI code page is %u, not 932 (is ja_JP.UTF-8 generated "
                        "and LANG set?)\n", GetACP());
        return 1;
    }
    doctest::Context context(argc, argv);
    return context.run();
}

TEST_SUITE("codepage")
{
    TEST_CASE("the ANSI code page is Shift-JIS and literals are stored in it")
    {
        CHECK(GetACP() == 932);
        const char hyo[] = "表";
        REQUIRE(sizeof hyo == 3);
        CHECK(static_cast<unsigned char>(hyo[0]) == 0x95);
        CHECK(hyo[1] == '\\');
        CHECK(IsDBCSLeadByte(0x95));
    }
}
