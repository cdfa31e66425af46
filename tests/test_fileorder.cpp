#include <doctest.h>

#include "settings/fileorder_names.h"
#include "testutil.h"

#include <string>

TEST_SUITE("fileorder")
{
    TEST_CASE("a prefix is '[', two digits, ']' and a blank; a new one replaces the old, never cut")
    {
        for (const char* name : {"[01] x.jpg", "[57] 表.jpg", "[99] "})
            CHECK_MESSAGE(HasOrderPrefix(name), name);
        for (const char* name : {"[5] x.jpg", "[05]x.jpg", "［01］ x.jpg", " [01] x.jpg", "[01]"})
            CHECK_MESSAGE(!HasOrderPrefix(name), name);
        char out[11], small[5];
        CHECK((FormatOrderedName(2, "[03] a.jpg", out) && std::string(out) == "[02] a.jpg"));
        CHECK((FormatOrderedName(7, "表.tx", out) && std::string(out) == "[07] 表.tx")); // 10 bytes fit exactly
        CHECK((!FormatOrderedName(7, "a表.tx", out) && out[0] == '\0'));
        CHECK((!FormatOrderedName(100, "x", out) && !FormatOrderedName(0, "x", out)));
        CHECK((GetUnorderedName("[01] abcd", small) && std::string(small) == "abcd"));
        CHECK((!GetUnorderedName("[01] abcde", small) && small[0] == '\0'));
        // the same for the names folders give; a character beyond the basic plane takes two units
        wchar_t wide[12];
        const std::wstring names[] = {L"[03] 😀.jpg", L"😀.text", L"[01] 사진.jpg"};
        const std::string ordered = u8"[12] 😀.jpg", unordered = u8"사진.jpg";
        CHECK((FormatOrderedName(12, names[0].c_str(), wide) && Utf8(wide) == ordered));
        CHECK((!FormatOrderedName(7, names[1].c_str(), wide) && wide[0] == L'\0'));
        CHECK((GetUnorderedName(names[2].c_str(), wide) && Utf8(wide) == unordered && HasOrderPrefix(names[2].c_str())));
    }
}
