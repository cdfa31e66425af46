#include <doctest.h>

#include "app/textpath.h"

#include <string>

namespace {
// The result of GetDirPart, GetFileNamePart or GetExtension, "unchanged" when none is written.
std::string Part(BOOL (*routine)(const char*, char*, int), const char* text)
{
    char out[300] = "unchanged";
    routine(text, out, sizeof out);
    return out;
}
std::string Join(const std::string& dir, const char* name)
{
    char out[300];
    JoinPath(out, dir.c_str(), name);
    return out;
}
std::string Trim(const char* text)
{
    char area[300];
    lstrcpynA(area, text, sizeof area);
    TrimBlanks(area);
    return area;
}
} // namespace

TEST_SUITE("textpath")
{
    TEST_CASE("a path splits at the last backslash and the last dot after the first character")
    {
        // 表 (0x95 0x5C) and ソ (0x83 0x5C) end in a byte that is no backslash
        const struct { const char *path, *dir, *name, *ext; } cases[] = {
            {"C:\\dir\\file.txt", "C:\\dir", "file.txt", ".txt"},
            {"C:\\file.txt", "C:", "file.txt", ".txt"},
            {"\\\\server\\share\\file", "\\\\server\\share", "file", ""},
            {"file.txt", "", "file.txt", ".txt"},
            {"\\file.txt", "", "\\file.txt", ".txt"},
            {"", "", "unchanged", ""},
            {"C:\\dir\\", "C:\\dir", "", ""},
            {"C:\\表", "C:", "表", ""},
            {"C:\\表\\ソ.txt", "C:\\表", "ソ.txt", ".txt"},
            {"C:\\予定表\\能.txt", "C:\\予定表", "能.txt", ".txt"},
            {"C:\\a.b\\c", "C:\\a.b", "c", ".b\\c"},
            {"a.tar.gz", "", "a.tar.gz", ".gz"},
            {".profile", "", ".profile", ""},
            {"a.", "", "a.", "."},
            {"写真.JPG", "", "写真.JPG", ".JPG"},
        };
        for (const auto& c : cases) {
            CAPTURE(c.path);
            CHECK(Part(GetDirPart, c.path) == c.dir);
            CHECK(Part(GetFileNamePart, c.path) == c.name);
            CHECK(Part(GetExtension, c.path) == c.ext);
            if (*c.dir) // and JoinPath puts the parts together again
                CHECK(Join(c.dir, c.name) == c.path);
        }
    }

    TEST_CASE("JoinPath adds one separator and never cuts a path")
    {
        CHECK(Join("C:\\", "name") == "C:\\name");
        CHECK(Join("", "name") == "\\name");
        CHECK(Join("C:\\表\\", "a.txt") == "C:\\表\\a.txt");

        char out[12];
        memset(out, 'x', sizeof out);
        CHECK(JoinPath(out, "C:\\dir", "name") == TRUE); // 11 bytes fit exactly
        CHECK(std::string(out) == "C:\\dir\\name");
        CHECK(JoinPath(out, "C:\\dir", "names") == FALSE);
        CHECK(out[0] == '\0');
        char path[MAX_PATH];
        CHECK(JoinPath(path, std::string(299, 'd').c_str(), "n") == FALSE);
        CHECK(path[0] == '\0');
    }

    TEST_CASE("path routines take texts of 299 bytes and refuse areas too small")
    {
        const std::string path = "C:\\" + std::string(290, 'a') + "\\b.txt"; // 299 bytes
        CHECK(Part(GetDirPart, path.c_str()) == path.substr(0, 293));
        CHECK(Part(GetFileNamePart, path.c_str()) == "b.txt");
        CHECK(Part(GetExtension, path.c_str()) == ".txt");

        char small[MAX_PATH];
        memset(small, 'x', sizeof small);
        const std::string longer = "C:\\" + std::string(296, 'a') + "\\x"; // dir part of 299
        CHECK(GetDirPart(longer.c_str(), small) == FALSE);
        CHECK(small[0] == '\0');
        char tiny[4];
        CHECK(GetExtension("a.jpeg", tiny) == FALSE);
        CHECK(tiny[0] == '\0');
    }

    TEST_CASE("TrimBlanks takes blanks and tabs off the front and CR and LF too off the end")
    {
        CHECK(Trim(" \tabc \r\n") == "abc");
        CHECK(Trim("\r\nabc") == "\r\nabc");
        CHECK(Trim("   ") == "");
        CHECK(Trim("") == "");
        CHECK(Trim("abc\n\t \r\n  \t") == "abc");
        CHECK(Trim("a b") == "a b");
        CHECK(Trim("　abc　") == "　abc　"); // the ideographic space stays
        // a two-byte character whose trail byte is 0x5C ends the text: nothing is cut
        CHECK(Trim(" 表 ") == "表");
    }
}
