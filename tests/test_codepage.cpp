#include <doctest.h>
#include <windows.h>

#include "app/textconv.h"
#include "tests/fuzz/cp932_facts.h"

#include <string>

TEST_SUITE("codepage")
{
    TEST_CASE("literals are Shift-JIS, and the fuzzing build's code page facts hold on the platform")
    {
        CHECK(std::string("表") == "\x95\\"); // the trail byte is a backslash
        for (int b = 1; b < 256; ++b) {
            CAPTURE(b);
            CHECK((IsDBCSLeadByte(static_cast<BYTE>(b)) != FALSE) == cp932::LeadByte(b));
            CHECK((IsCharAlphaNumericA(static_cast<CHAR>(b)) != FALSE) == cp932::AlphaNumeric(b));
        }
        const char leadAtEnd[] = "\x81";
        CHECK(CharNextA(leadAtEnd) == leadAtEnd + 1);
        CHECK(lstrcmpiA("a\x81", "a\x81\x45") == 0);
        // every case pair the double ignores, the platform ignores too
        for (int code = 1; code < 0x10000; ++code) {
            auto spell = [](int c) { return c > 0xFF ? std::string{char(c >> 8), char(c)} : std::string(1, char(c)); };
            if (cp932::FoldCase(code) == code)
                continue;
            CAPTURE(code);
            CHECK(lstrcmpiA(spell(code).c_str(), spell(cp932::FoldCase(code)).c_str()) == 0);
            CHECK(lstrcmpA(spell(code).c_str(), spell(cp932::FoldCase(code)).c_str()) != 0);
        }
    }

    TEST_CASE("conversions are whole or empty; a lead byte at the end is half a character, left out")
    {
        const struct { const char *text, *utf8; } rows[] = {
            {"abc 検索", "abc \xE6\xA4\x9C\xE7\xB4\xA2"}, {"表\xB1", "\xE8\xA1\xA8\xEF\xBD\xB1"}, {"a\x81", "a"}, {"", ""}};
        for (const auto& row : rows) {
            char out[32] = "x";
            CHECK(AnsiToUtf8(row.text, out));
            CHECK(std::string(out) == row.utf8);
        }
        char small[4] = "x", utf8[16] = "";
        wchar_t wide[8] = L"x", tiny[2] = L"x";
        CHECK((!AnsiToUtf8("検索", small) && small[0] == '\0'));
        CHECK((AnsiToWide("写真", wide) && std::wstring(wide) == L"写真"));
        CHECK((!AnsiToWide("写真", tiny) && tiny[0] == L'\0'));
        CHECK((WideToUtf8(L"写\U0001F600", utf8) && std::string(utf8) == "\xE5\x86\x99\xF0\x9F\x98\x80"));
    }
}
