#include <doctest.h>
#include <windows.h>

#include "tests/fuzz/cp932_facts.h"

#include <string>

TEST_SUITE("codepage")
{
    TEST_CASE("literals are stored in Shift-JIS")
    {
        const char hyo[] = "表";
        REQUIRE(sizeof hyo == 3);
        CHECK(static_cast<unsigned char>(hyo[0]) == 0x95);
        CHECK(hyo[1] == '\\');
        CHECK(IsDBCSLeadByte(0x95));
    }

    TEST_CASE("the code page facts of the fuzzing build's double hold on the platform")
    {
        for (int b = 1; b < 256; ++b) {
            CAPTURE(b);
            CHECK((IsDBCSLeadByte(static_cast<BYTE>(b)) != FALSE) == cp932::LeadByte(b));
            CHECK((IsCharAlphaNumericA(static_cast<CHAR>(b)) != FALSE) == cp932::AlphaNumeric(b));
        }
        const char leadAtEnd[] = "\x81";
        CHECK(CharNextA(leadAtEnd) == leadAtEnd + 1);
        CHECK(lstrcmpiA("a\x81", "a\x81\x45") == 0);
        // every case pair the double ignores, the platform ignores too
        auto spell = [](int code) {
            return code > 0xFF ? std::string{static_cast<char>(code >> 8), static_cast<char>(code)}
                               : std::string(1, static_cast<char>(code));
        };
        for (int code = 1; code < 0x10000; ++code) {
            if (cp932::FoldCase(code) == code)
                continue;
            const std::string lower = spell(code), upper = spell(cp932::FoldCase(code));
            CAPTURE(code);
            CHECK(lstrcmpiA(lower.c_str(), upper.c_str()) == 0);
            CHECK(lstrcmpA(lower.c_str(), upper.c_str()) != 0);
        }
    }
}
