#include <doctest.h>

#include "testutil.h"
#include "tour/destmenu.h"
#include "tour/tourbar.h"
#include "tour/tourlist.h"

#include <string>

namespace {
// "text#id|-|label{submenu}|..." for a menu, in UTF-8: separators as "-", submenus in braces.
std::string Shape(HMENU menu)
{
    std::string shape;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[1024] = L"";
        GetMenuStringW(menu, i, text, 1024, MF_BYPOSITION);
        const HMENU sub = GetSubMenu(menu, i);
        shape += (i ? "|" : "") + (*text ? Utf8(text) : "-")
                 + (sub ? "{" + Shape(sub) + "}" : *text ? "#" + std::to_string(GetMenuItemID(menu, i)) : "");
    }
    return shape;
}

std::string BuiltMenu(int current)
{
    HMENU menu = CreatePopupMenu();
    BuildDestinationsMenu(menu, current);
    std::string shape = Shape(menu);
    DestroyMenu(menu);
    return shape;
}

void SetSlot(int slot, const char* name, const char* path, const char* filter = "", int kind = 0)
{
    WriteUserString(Key::TourName, slot, name);
    WriteUserString(Key::TourPath, slot, path);
    WriteUserString(Key::ExtFilter, slot, filter);
    WriteUserInt(Key::InputPath, slot, kind);
}
} // namespace

TEST_SUITE("tour")
{
    TEST_CASE("destinations menu: a separator for a run of empty slots, labels, the mark, quick open")
    {
        IniFolder folder;
        CHECK(BuiltMenu(-1) == "");
        const std::string pattern = folder.dir + "\\*.*";
        for (const wchar_t* name : {L"a&b.png", L"写真😀.png", L"z.txt"})
            folder.Put(name);
        SetSlot(1, "first", "");
        SetSlot(3, "", "C:\\img\\*.jpg", ".jpg");
        SetSlot(4, "", "", ".jpg"); // a filter alone makes no destination
        SetSlot(6, "with tour", pattern.c_str(), ".png;", 2);
        SetSlot(12, "quick only", pattern.c_str(), ".txt", 5); // any kind above 2 is quick open only
        SetSlot(13, "relative", "*.png", "", 3);                 // would list the current folder
        const std::string shape = u8"first#1|-|【 C:\\img\\*.jpg (.jpg) 】#3|-|with tour{見廻る#6000000|-|a&b.png#6000001|"
                                  u8"写真😀.png#6000002}|-|quick only{z.txt#12000001}|relative{}";
        CHECK(BuiltMenu(3) == shape);
        int slot = -1, file = -1;
        CHECK((!DecodeDestinationId(0, &slot, &file) && DecodeDestinationId(12000003, &slot, &file) && slot == 12 && file == 3));
    }

    TEST_CASE("a viewer command takes the wide path for each %s, bounded, a % copied whole; \"!\" takes the tick count")
    {
        const struct { const char* command; const wchar_t* path; const char* line; } cases[] = {
            {"C:\\表\\v.exe \"%s\"", L"C:\\表\\写真😀.jpg", u8"C:\\表\\v.exe \"C:\\表\\写真😀.jpg\""},
            // a percent sign near the end of a path is copied as it is, and no further
            {"v.exe %%d \"%s\"", L"C:\\100%", "v.exe %d \"C:\\100%\""}, {"v.exe \"%s\"", L"C:\\50%b", "v.exe \"C:\\50%b\""},
        };
        wchar_t line[1000];
        for (const auto& c : cases)
            CHECK((ExpandViewerCommand(c.command, c.path, line, 1000) && Utf8(line) == c.line));
        // four paths of 259 characters do not fit: refused whole, nothing is run
        CHECK((!ExpandViewerCommand("%s %s %s %s ", std::wstring(259, L'a').c_str(), line, 1000) && !*line));
        // "!": the tick count in tenths of a second modulo the count
        CHECK((RandomTourPosition(123456, 7) == 2 && RandomTourPosition(5, 0) == -1));
    }
}
