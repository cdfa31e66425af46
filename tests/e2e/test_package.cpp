#include "e2e.h"

#include <string.h>

#include <algorithm>

using namespace e2e;

namespace {

constexpr int HotKeyList = 1018, CtrlBox = 1009;

std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST_CASE("the package unpacked into an empty folder starts with its own defaults")
{
    // The fixture package.unpack makes this folder empty and unpacks the release zip into it
    // (<prefix>/drive_c/kirapick-package under Wine).
    const std::string folder = "C:\\kirapick-package";
    // the zip holds the program and its two files, and nothing else
    REQUIRE(FolderEntries(folder)
            == std::vector<std::string>{"kirapick.def", "kirapick.exe", "readme.txt"});

    // started as a user starts it: the first-run notice, then the sheet with the shipped
    // defaults (Ctrl+F1)
    Program program(Existing{folder});
    REQUIRE(program.Start());
    REQUIRE(Answer(program.WaitMessageBox(), IDOK));
    HWND sheet = program.WaitSheet();
    REQUIRE(sheet);
    HWND page = SheetPage(sheet, HotKeyList);
    REQUIRE(page);
    CHECK(ComboSelection(page, HotKeyList) == 0);
    CHECK(IsChecked(page, CtrlBox));
    Answer(sheet, IDOK);

    CHECK(program.WaitSearchWindow() != nullptr);
    CHECK(program.Ini("HOTKEY") == "32768");
    char engine[300] = "";
    GetPrivateProfileStringA("Default", "ENGINE1", "", engine, sizeof engine,
                             (folder + "\\kirapick.def").c_str());
    CHECK(strstr(engine, "%s") != nullptr);
    CHECK(program.Ini("ENGINE1") == engine);
}
