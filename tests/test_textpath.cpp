#include <doctest.h>

#include "app/textpath.h"

#include <string>

namespace {
// The result of GetDirPart, GetFileNamePart or GetExtension, "unchanged" when none is written.
std::string Part(BOOL (*routine)(const char*, char*, int), const std::string& text, int size = 300)
{
    char out[300] = "unchanged";
    routine(text.c_str(), out, size);
    return out;
}
} // namespace

TEST_SUITE("textpath")
{
    TEST_CASE("a path splits at the last backslash and the last dot after the first character")
    {
        // 表 (0x95 0x5C) and ソ (0x83 0x5C) end in a byte that is no backslash
        const struct { const char *path, *dir, *name, *ext; } cases[] = {
            {"C:\\dir\\file.txt", "C:\\dir", "file.txt", ".txt"}, {"file.txt", "", "file.txt", ".txt"},
            {"\\file.txt", "", "\\file.txt", ".txt"}, {"", "", "unchanged", ""}, {"C:\\dir\\", "C:\\dir", "", ""},
            {"C:\\表\\ソ.txt", "C:\\表", "ソ.txt", ".txt"}, {"C:\\a.b\\c", "C:\\a.b", "c", ".b\\c"},
            {".profile", "", ".profile", ""}, {"a.tar.gz", "", "a.tar.gz", ".gz"},
        };
        for (const auto& c : cases) {
            CAPTURE(c.path);
            CHECK(Part(GetDirPart, c.path) == c.dir);
            CHECK(Part(GetFileNamePart, c.path) == c.name);
            CHECK(Part(GetExtension, c.path) == c.ext);
        }
        // texts of 299 bytes are whole; a result that does not fit is refused, never cut
        const std::string path = "C:\\" + std::string(290, 'a') + "\\b.txt";
        CHECK(Part(GetDirPart, path) == path.substr(0, 293));
        CHECK(Part(GetDirPart, path, 293) == "");
        CHECK(Part(GetExtension, "a.jpeg", 5) == "");
    }

    TEST_CASE("JoinPath adds one separator and never cuts a path")
    {
        char out[12];
        CHECK((JoinPath(out, "C:\\表", "a") && std::string(out) == "C:\\表\\a"));
        CHECK((JoinPath(out, "C:\\", "name") && std::string(out) == "C:\\name"));
        CHECK((JoinPath(out, "C:\\dir", "name") && std::string(out) == "C:\\dir\\name")); // 11 bytes fit exactly
        CHECK((!JoinPath(out, "C:\\dir", "names") && out[0] == '\0'));
    }

    TEST_CASE("TrimBlanks takes blanks and tabs off the front and CR and LF too off the end")
    {
        const std::pair<const char*, const char*> cases[] = {
            {" \tabc \r\n", "abc"}, {"\r\nabc", "\r\nabc"}, {"   ", ""}, {"a b\n\t \r\n  \t", "a b"},
            {"　abc　", "　abc　"}, {" 表 ", "表"}, // the ideographic space stays
        };
        for (auto [text, trimmed] : cases) {
            char area[300];
            lstrcpynA(area, text, sizeof area);
            TrimBlanks(area);
            CHECK(std::string(area) == trimmed);
        }
    }
}
