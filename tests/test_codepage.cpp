#include <doctest.h>
#include <windows.h>

#include "app/textconv.h"
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

    TEST_CASE("conversions are whole or empty")
    {
        // code page 932 to UTF-8, through UTF-16: 表 ends in 0x5C, ｱ is one byte of three in
        // UTF-8, a lead byte at the end is half a character and left out
        const struct { const char* text; const char* utf8; } rows[] = {
            {"abc 検索", "abc \xE6\xA4\x9C\xE7\xB4\xA2"},
            {"表\xB1", "\xE8\xA1\xA8\xEF\xBD\xB1"},
            {"a\x81", "a"},
            {"", ""},
        };
        for (const auto& row : rows) {
            char out[32] = "x";
            CAPTURE(row.text);
            CHECK(AnsiToUtf8(row.text, out));
            CHECK(std::string(out) == row.utf8);
        }
        char small[4] = "x";
        CHECK_FALSE(AnsiToUtf8("検索", small));
        CHECK(small[0] == '\0');

        wchar_t wide[8] = L"x";
        CHECK(AnsiToWide("写真", wide));
        CHECK(std::wstring(wide) == L"写真");
        wchar_t tiny[2] = L"x";
        CHECK_FALSE(AnsiToWide("写真", tiny));
        CHECK(tiny[0] == L'\0');
        char utf8[16] = "";
        CHECK(WideToUtf8(L"写\U0001F600", utf8));
        CHECK(std::string(utf8) == "\xE5\x86\x99\xF0\x9F\x98\x80");
    }
}
