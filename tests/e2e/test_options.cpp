// The options page: what OK writes and what takes effect at once. Cancel on every page is
// in test_pages.cpp.
#include "e2e.h"

#include <commctrl.h>

using namespace e2e;

namespace {

constexpr int SearchBox = 1001, SettingsButton = 1005;
// options page controls
constexpr int HotKeyList = 1018, CtrlBox = 1009, AltBox = 1011, ShowClipBox = 1012;
constexpr int CopyBox = 1013, AutoOpenBox = 1014, ShiftOpenBox = 1015;
constexpr int FuncKeyTourBox = 1021, TourKeyList = 1022;
// the property sheet's own controls
constexpr int SheetTabs = 0x3020, SheetApply = 0x3021;

} // namespace

TEST_CASE("options page apply")
{
    Options options; // Ctrl+F3, the clipboard chain fully on, no tour key
    options.copy = 1;
    options.shiftOpen = 1;
    Program program(ResidentIni(options).Text());
    HWND search = program.StartResident();
    REQUIRE(search);
    REQUIRE(program.ShowSearch());
    PostCommand(search, SettingsButton);
    HWND sheet = program.WaitSheet();
    REQUIRE(sheet);
    HWND page = SheetPage(sheet, HotKeyList);
    REQUIRE(page);

    CHECK(GetWindow(sheet, GW_OWNER) == search);
    CHECK(Send(GetDlgItem(sheet, SheetTabs), TCM_GETITEMCOUNT, 0, 0) == 4);
    CHECK_FALSE(IsVisible(GetDlgItem(sheet, SheetApply)));
    CHECK(ComboSelection(page, HotKeyList) == 2);
    CHECK(IsChecked(page, CtrlBox));
    CHECK_FALSE(IsChecked(page, AltBox));
    for (int box : {ShowClipBox, CopyBox, AutoOpenBox, ShiftOpenBox}) {
        INFO("box " << box);
        CHECK(IsChecked(page, box));
        CHECK(IsEnabled(page, box));
    }
    CHECK_FALSE(IsChecked(page, FuncKeyTourBox));
    CHECK_FALSE(IsEnabled(page, TourKeyList));
    CHECK(SaveScreenshot(sheet, "options-page"));

    // Alt+F5 instead of Ctrl+F3
    SelectCombo(page, HotKeyList, 4);
    Click(page, CtrlBox);
    Click(page, AltBox);
    // no clipboard: the boxes that depend on it are disabled and keep their marks
    Click(page, ShowClipBox);
    for (int box : {CopyBox, AutoOpenBox, ShiftOpenBox}) {
        INFO("box " << box);
        CHECK(IsChecked(page, box));
        CHECK_FALSE(IsEnabled(page, box));
    }
    // a tour key, F12
    Click(page, FuncKeyTourBox);
    CHECK(IsEnabled(page, TourKeyList));
    SelectCombo(page, TourKeyList, 11);
    Answer(sheet, IDOK);
    REQUIRE(WaitGone(sheet));

    // the twelve keys are written one by one after the sheet closes: once HOTKEY is there,
    // the program's next turn of its message loop comes after the last of them
    CHECK(WaitFor([&] { return program.Ini("HOTKEY") == std::to_string(0x2000 | 4); }));
    REQUIRE(program.Sync());
    const char* const saved[][2] = {
        {"HOTKEY", "8196"},   {"IMEON", "1"},        {"SHOWCLIP", "0"},    {"COPY", "1"},
        {"AUTOURLOPEN", "1"}, {"SHIFTOPEN", "1"},    {"MAKEUPURL", "1"},   {"SAVEHISTORY", "1"},
        {"FUNCKEYTOUR", "1"}, {"TOURFUNCKEY", "11"}, {"TOURBARSHOW", "0"}, {"TOURAUTOSTART", "0"},
    };
    for (const auto& key : saved) {
        INFO(key[0]);
        CHECK(program.Ini(key[0]) == key[1]);
    }
    CHECK(IsVisible(search));

    // in effect at once: the next summons leaves the clipboard alone
    REQUIRE(PressKeys(search, {VK_ESCAPE}));
    REQUIRE(WaitVisible(search, false));
    REQUIRE(program.ShowSearch("not taken in"));
    CHECK(ControlText(search, SearchBox) != "not taken in");
}
