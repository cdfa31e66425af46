#include <doctest.h>
#include <windows.h>

#include "tests/fuzz/cp932_facts.h"

#include <string>

TEST_SUITE("codepage")
{
    TEST_CASE("literals are Shift-JIS, and the fuzzing build's code page facts hold on the platform")
    {
        CHECK(std::string("表") == "\x95\\"); // the trail byte is a backslash
        for (int b = 1; b < 256; ++b) {
            CAPTURE(b);
            CHECK((IsDBCSLeadByte(BYTE(b)) != FALSE) == cp932::LeadByte(b));
            CHECK((IsCharAlphaNumericA(CHAR(b)) != FALSE) == cp932::AlphaNumeric(b));
        }
        const char leadAtEnd[] = "\x81";
        CHECK(CharNextA(leadAtEnd) == leadAtEnd + 1);
        CHECK(CompareStringA(LOCALE_SYSTEM_DEFAULT, 0, "\x81", 1, "A", 1) != CSTR_EQUAL);
    }
}
