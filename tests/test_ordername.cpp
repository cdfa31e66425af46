#include <doctest.h>

#include "app/textconv.h"
#include "settings/fileorder_names.h"

#include <string>

namespace {
std::string Ordered(int number, const char* name)
{
    char out[MAX_PATH] = "unchanged";
    FormatOrderedName(number, name, out);
    return out;
}
std::string Unordered(const char* name)
{
    char out[MAX_PATH] = "unchanged";
    GetUnorderedName(name, out);
    return out;
}
// The wide forms, for the names folders give, in UTF-8.
std::string Utf8(const wchar_t* name)
{
    char out[4 * MAX_PATH];
    WideToUtf8(name, out);
    return out;
}
std::string Ordered(int number, const wchar_t* name)
{
    wchar_t out[MAX_PATH] = L"unchanged";
    FormatOrderedName(number, name, out);
    return Utf8(out);
}
std::string Unordered(const wchar_t* name)
{
    wchar_t out[MAX_PATH] = L"unchanged";
    GetUnorderedName(name, out);
    return Utf8(out);
}
} // namespace

TEST_SUITE("ordername")
{
    TEST_CASE("a prefix is '[', two digits, ']' and a blank, exactly")
    {
        for (const char* name : {"[01] x.jpg", "[00] x.jpg", "[57] 表.jpg", "[99] "})
            CHECK_MESSAGE(HasOrderPrefix(name), name);
        for (const char* name : {"[5] x.jpg", "[05]x.jpg", "[05]\tx.jpg", "[0a] x.jpg",
                                 "［01］ x.jpg", " [01] x.jpg", "[01]", ""})
            CHECK_MESSAGE(!HasOrderPrefix(name), name);
    }

    TEST_CASE("a new name replaces an old prefix instead of adding a second one")
    {
        CHECK(Ordered(1, "x.jpg") == "[01] x.jpg");
        CHECK(Ordered(2, "[03] a.jpg") == "[02] a.jpg");
        CHECK(Ordered(99, "[5] 表.jpg") == "[99] [5] 表.jpg");
        CHECK(Unordered("[01] x.jpg") == "x.jpg");
        CHECK(Unordered("[05]x.jpg") == "[05]x.jpg");
        CHECK(Unordered("y.jpg") == "y.jpg");
        const struct { int number; const wchar_t* name; const char *ordered, *unordered; } wide[] = {
            {1, L"写真😀.jpg", u8"[01] 写真😀.jpg", u8"写真😀.jpg"},
            {12, L"[03] café.jpg", u8"[12] café.jpg", u8"café.jpg"},
            {99, L"[5] 사진.jpg", u8"[99] [5] 사진.jpg", u8"[5] 사진.jpg"},
        };
        for (const auto& c : wide) {
            CHECK(Ordered(c.number, c.name) == c.ordered);
            CHECK(Unordered(c.name) == c.unordered);
        }
    }

    TEST_CASE("a number outside 1..99 or a name that does not fit is refused, never cut")
    {
        CHECK(Ordered(0, "x.jpg") == "");
        CHECK(Ordered(100, "x.jpg") == "");
        char out[11];
        CHECK(FormatOrderedName(7, "表.tx", out) == TRUE); // 10 bytes fit exactly
        CHECK(std::string(out) == "[07] 表.tx");
        CHECK(FormatOrderedName(7, "a表.tx", out) == FALSE);
        CHECK(out[0] == '\0');
        char small[5];
        CHECK(GetUnorderedName("[01] abcd", small) == TRUE);
        CHECK(GetUnorderedName("[01] abcde", small) == FALSE);
        CHECK(small[0] == '\0');
        wchar_t wide[12]; // a character beyond the basic plane takes two of the eleven units
        const wchar_t* const names[] = {L"😀.txt", L"😀.text"};
        CHECK(FormatOrderedName(7, names[0], wide) == TRUE);
        CHECK(FormatOrderedName(7, names[1], wide) == FALSE);
        CHECK(wide[0] == L'\0');
    }
}
