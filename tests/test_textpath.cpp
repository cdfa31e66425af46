#include <doctest.h>

#include "app/textpath.h"

#include <string>

namespace {
std::string DirOf(const char* path)
{
    char out[300] = "unchanged";
    GetDirPart(path, out);
    return out;
}
std::string NameOf(const char* path)
{
    char out[300] = "unchanged";
    GetFileNamePart(path, out);
    return out;
}
std::string ExtOf(const char* text)
{
    char out[300] = "unchanged";
    GetExtension(text, out);
    return out;
}
std::string Join(const char* dir, const char* name)
{
    char out[300];
    JoinPath(out, dir, name);
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
    TEST_CASE("JoinPath adds one separator")
    {
        CHECK(Join("C:\\", "name") == "C:\\name");
        CHECK(Join("C:\\dir", "name") == "C:\\dir\\name");
        CHECK(Join("", "name") == "\\name");
        // 表 ends in 0x5C but is no separator
        CHECK(Join("C:\\表", "a.txt") == "C:\\表\\a.txt");
        CHECK(Join("C:\\表\\", "a.txt") == "C:\\表\\a.txt");
    }

    TEST_CASE("JoinPath never cuts a path: what does not fit is refused")
    {
        char out[12];
        memset(out, 'x', sizeof out);
        CHECK(JoinPath(out, "C:\\dir", "name") == TRUE); // 11 bytes fit exactly
        CHECK(std::string(out) == "C:\\dir\\name");
        CHECK(JoinPath(out, "C:\\dir", "names") == FALSE);
        CHECK(out[0] == '\0');

        std::string longDir(299, 'd');
        char path[MAX_PATH];
        CHECK(JoinPath(path, longDir.c_str(), "n") == FALSE);
        CHECK(path[0] == '\0');
    }

    TEST_CASE("GetDirPart takes everything before the last backslash after the first character")
    {
        CHECK(DirOf("C:\\dir\\file.txt") == "C:\\dir");
        CHECK(DirOf("C:\\file.txt") == "C:");
        CHECK(DirOf("\\\\server\\share\\file") == "\\\\server\\share");
        CHECK(DirOf("file.txt") == "");
        CHECK(DirOf("\\file.txt") == "");
        CHECK(DirOf("") == "");
        CHECK(DirOf("C:\\表") == "C:");        // trail byte 0x5C is not a backslash
        CHECK(DirOf("C:\\表\\ソ.txt") == "C:\\表");
        CHECK(DirOf("C:\\dir\\") == "C:\\dir");
    }

    TEST_CASE("GetDirPart then JoinPath rebuilds the path")
    {
        for (const char* path : {"C:\\dir\\name", "C:\\name", "C:\\表示\\表"}) {
            char dir[300], name[300], again[300];
            GetDirPart(path, dir);
            GetFileNamePart(path, name);
            JoinPath(again, dir, name);
            CHECK(std::string(again) == path);
        }
    }

    TEST_CASE("GetFileNamePart")
    {
        CHECK(NameOf("C:\\dir\\file.txt") == "file.txt");
        CHECK(NameOf("file.txt") == "file.txt");
        CHECK(NameOf("C:\\dir\\") == "");
        CHECK(NameOf("") == "unchanged");
        CHECK(NameOf("C:\\表") == "表");
        CHECK(NameOf("C:\\予定表\\能.txt") == "能.txt");
    }

    TEST_CASE("GetExtension runs from the last dot after the first character")
    {
        CHECK(ExtOf("a.tar.gz") == ".gz");
        CHECK(ExtOf(".profile") == "");
        CHECK(ExtOf("a.") == ".");
        CHECK(ExtOf("noext") == "");
        CHECK(ExtOf("") == "");
        CHECK(ExtOf("C:\\a.b\\c") == ".b\\c");
        CHECK(ExtOf("写真.JPG") == ".JPG");
    }

    TEST_CASE("path routines take texts of 299 bytes and refuse areas too small")
    {
        std::string path = "C:\\" + std::string(290, 'a') + "\\b.txt"; // 299 bytes
        REQUIRE(path.size() == 299);
        CHECK(DirOf(path.c_str()) == path.substr(0, 293));
        CHECK(NameOf(path.c_str()) == "b.txt");
        CHECK(ExtOf(path.c_str()) == ".txt");

        char small[MAX_PATH];
        memset(small, 'x', sizeof small);
        std::string longer = "C:\\" + std::string(296, 'a'); // dir part exceeds 259 bytes
        CHECK(GetDirPart((longer + "\\x").c_str(), small) == FALSE);
        CHECK(small[0] == '\0');
        char tiny[4];
        CHECK(GetExtension("a.jpeg", tiny) == FALSE);
        CHECK(tiny[0] == '\0');
    }

    TEST_CASE("TrimBlanks")
    {
        CHECK(Trim(" \tabc \r\n") == "abc");
        CHECK(Trim("\r\nabc") == "\r\nabc");
        CHECK(Trim("   ") == "");
        CHECK(Trim("") == "");
        CHECK(Trim("abc\t ") == "abc");
        CHECK(Trim("abc\n\t \r\n  \t") == "abc");
        CHECK(Trim("a b") == "a b");
        CHECK(Trim("　abc　") == "　abc　"); // the ideographic space stays
        // a two-byte character whose trail byte is 0x5C ends the text: nothing is cut
        CHECK(Trim(" 表 ") == "表");
    }
}
