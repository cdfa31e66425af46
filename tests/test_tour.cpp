#include <doctest.h>

#include "app/textconv.h"
#include "testutil.h"
#include "tour/destmenu.h"
#include "tour/tourbar.h"
#include "tour/tourlist.h"

#include <string>
#include <utility>

namespace {
std::string Utf8(const wchar_t* text)
{
    char out[4096];
    WideToUtf8(text, out);
    return out;
}

// "text#id|-|label{submenu}|..." for a menu, in UTF-8: separators as "-", submenus in braces.
std::string Shape(HMENU menu)
{
    std::string shape;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[1024] = L"";
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 1024;
        GetMenuItemInfoW(menu, i, TRUE, &info);
        shape += i ? "|" : "";
        if (info.fType & MFT_SEPARATOR)
            shape += "-";
        else if (info.hSubMenu)
            shape += Utf8(text) + "{" + Shape(info.hSubMenu) + "}";
        else
            shape += Utf8(text) + "#" + std::to_string(info.wID);
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
    TEST_CASE("destinations menu: one separator for a run of empty slots, labels, the mark")
    {
        IniFolder folder;
        CHECK(BuiltMenu(-1) == "");
        SetSlot(3, "Pictures", "C:\\p\\*.*");
        SetSlot(4, "", "C:\\img\\*.jpg", ".jpg");
        SetSlot(6, "", "C:\\doc\\*.txt");
        SetSlot(7, "", "", ".jpg"); // a filter alone makes no destination
        CHECK(BuiltMenu(-1) == "-|Pictures#3|C:\\img\\*.jpg (.jpg)#4|-|C:\\doc\\*.txt#6");
        CHECK(BuiltMenu(3) == u8"-|【 Pictures 】#3|C:\\img\\*.jpg (.jpg)#4|-|C:\\doc\\*.txt#6");
        SetSlot(1, "first", "");
        CHECK(BuiltMenu(30) == "first#1|-|Pictures#3|C:\\img\\*.jpg (.jpg)#4|-|C:\\doc\\*.txt#6");
    }

    TEST_CASE("destinations menu: quick-open slots get submenus of their files")
    {
        IniFolder folder;
        const std::string dir = folder.dir + "\\files";
        CreateDirectoryA(dir.c_str(), nullptr);
        for (const char* name : {"a&b.png", "kitten.png", "z.txt"})
            TempDir::Write(dir + "\\" + name, "x");
        const std::string pattern = dir + "\\*.*";
        SetSlot(7, "with tour", pattern.c_str(), ".png;", 2);
        SetSlot(12, "quick only", pattern.c_str(), "", 5); // any kind above 2 is quick open only
        SetSlot(13, "fixed", pattern.c_str(), "", -1);
        SetSlot(14, "relative", "*.png", "", 3); // would list the current folder
        CHECK(BuiltMenu(-1) == u8"-|with tour{見廻る#7000000|-|a&b.png#7000001|kitten.png#7000002}|"
                               "-|quick only{a&b.png#12000001|kitten.png#12000002|z.txt#12000003}|"
                               "fixed#13|relative{}");

        // a name beyond code page 932 is shown whole, and its choice reads it back whole
        wchar_t path[MAX_PATH];
        REQUIRE(AnsiToWide((dir + "\\").c_str(), path));
        lstrcatW(path, L"写真😀.png");
        CloseHandle(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        const std::string item = u8"写真😀.png#700000";
        CHECK(BuiltMenu(-1).find(item) != std::string::npos);
    }

    TEST_CASE("destination ids decode to a slot and a file")
    {
        int slot = -1, file = -1;
        CHECK_FALSE(DecodeDestinationId(0, &slot, &file));
        CHECK_FALSE(DecodeDestinationId(-5, &slot, &file));
        const std::pair<int, const char*> cases[] = {
            {7, "7 0"}, {7000000, "7 0"}, {12000003, "12 3"}};
        for (auto [id, decoded] : cases) {
            CHECK(DecodeDestinationId(id, &slot, &file));
            CHECK(std::to_string(slot) + " " + std::to_string(file) == decoded);
        }
    }

    TEST_CASE("labels are composed whole, never spilling over their area")
    {
        std::string longPath(299, 'p'), longFilter(299, 'f');
        char label[DestinationLabelSize];
        ComposeDestinationLabel("", longPath.c_str(), longFilter.c_str(), TRUE, label,
                                sizeof label);
        CHECK(std::string(label) == "【 " + longPath + " (" + longFilter + ") 】");
        char small[8];
        ComposeDestinationLabel("", "C:\\img", ".jpg", FALSE, small, sizeof small);
        CHECK(std::string(small) == "C:\\img ");
    }

    TEST_CASE("steps wrap at both ends; a fresh tour starts at either end")
    {
        TourCursor fresh = {-1, false};
        CHECK(StepTourPosition(fresh, 5, TourStepNext) == 0);
        CHECK(StepTourPosition(fresh, 5, TourStepPrevious) == 4);
        CHECK(StepTourPosition({4, false}, 5, TourStepNext) == 0);
        CHECK(StepTourPosition({0, false}, 5, TourStepPrevious) == 4);
        CHECK(StepTourPosition({2, false}, 5, TourStepNext) == 3);
        CHECK(StepTourPosition({2, false}, 0, TourStepNext) == -1);
        CHECK(RandomTourPosition(123456, 7) == 2);
        CHECK(RandomTourPosition(0xFFFFFFFF, 7) == static_cast<int>((0xFFFFFFFFu / 100) % 7));
        CHECK(RandomTourPosition(5, 0) == -1);
    }

    TEST_CASE("after deleting the current file, → opens its follower and ← the one before")
    {
        // files a b c d e, current c (2); c is deleted: a b d e
        TourCursor cursor = {2, false};
        AdjustTourCursorAfterDelete(cursor, 2);
        CHECK(StepTourPosition(cursor, 4, TourStepNext) == 2);     // d
        CHECK(StepTourPosition(cursor, 4, TourStepPrevious) == 1); // b
        // the follower itself deleted too: the next one moves in
        AdjustTourCursorAfterDelete(cursor, 2);
        CHECK(StepTourPosition(cursor, 3, TourStepNext) == 2);
        CHECK(StepTourPosition(cursor, 0, TourStepNext) == -1); // emptied: nothing to step to

        // deleting the last file while it is current: → wraps to the first
        TourCursor last = {4, false};
        AdjustTourCursorAfterDelete(last, 4);
        CHECK(StepTourPosition(last, 4, TourStepNext) == 0);
        CHECK(StepTourPosition(last, 4, TourStepPrevious) == 3);

        // another file before the current one: the cursor stays on the same file
        TourCursor other = {3, false};
        AdjustTourCursorAfterDelete(other, 2);
        AdjustTourCursorAfterDelete(other, 4); // after it: nothing changes
        CHECK((other.position == 2 && !other.gone));
    }

    TEST_CASE("the tour list keeps names in order through removals")
    {
        TourList list = {};
        for (int i = 0; i < 1000; ++i)
            REQUIRE(TourListAdd(list, (L"file" + std::to_wstring(i) + L".jpg").c_str()));
        const wchar_t beyond[] = L"写真😀.jpg";
        REQUIRE(TourListAdd(list, beyond));
        TourListRemove(list, 0);
        TourListRemove(list, 500);
        TourListRemove(list, list.count); // out of range: ignored
        CHECK(list.count == 999);
        CHECK(Utf8(TourListName(list, 0)) == "file1.jpg");
        CHECK(Utf8(TourListName(list, 499)) == "file500.jpg");
        CHECK(Utf8(TourListName(list, 500)) == "file502.jpg");
        CHECK(Utf8(TourListName(list, 998)) == Utf8(beyond));
        TourListClear(list);
        CHECK(list.count == 0);
    }

    TEST_CASE("viewer commands take the path for each %s, are bounded, and copy a % whole")
    {
        // the command is code page 932 text of the settings file, the path a wide one
        const struct { const char* command; const wchar_t* path; const char* line; } cases[] = {
            {"C:\\表\\v.exe \"%s\"", L"C:\\表\\写真😀.jpg",
             u8"C:\\表\\v.exe \"C:\\表\\写真😀.jpg\""},
            // a percent sign near the end of a path is copied as it is, and no further
            {"v.exe \"%s\"", L"C:\\a\\100%", "v.exe \"C:\\a\\100%\""},
            {"v.exe \"%s\"", L"C:\\a\\50%b", "v.exe \"C:\\a\\50%b\""},
            {"v.exe %%d \"%s\"", L"C:\\a\\100%.jpg", "v.exe %d \"C:\\a\\100%.jpg\""},
        };
        wchar_t line[1000];
        for (const auto& c : cases) {
            CHECK(ExpandViewerCommand(c.command, c.path, line, 1000));
            CHECK(Utf8(line) == c.line);
        }
        // four paths of 259 characters do not fit: refused whole, nothing is run
        CHECK_FALSE(ExpandViewerCommand("%s %s %s %s ", std::wstring(259, L'a').c_str(), line,
                                        1000));
        CHECK(line[0] == L'\0');
    }
}
