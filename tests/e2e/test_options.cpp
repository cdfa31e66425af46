#include "e2e.h"

#include <commctrl.h>

using namespace e2e;

namespace {

constexpr int SearchBox = 1001;
constexpr int SettingsButton = 1005;

// options page controls
constexpr int HotKeyList = 1018;
constexpr int CtrlBox = 1009;
constexpr int ShiftBox = 1010;
constexpr int AltBox = 1011;
constexpr int ImeBox = 1007;
constexpr int ShowClipBox = 1012;
constexpr int CopyBox = 1013;
constexpr int AutoOpenBox = 1014;
constexpr int ShiftOpenBox = 1015;
constexpr int FuncKeyTourBox = 1021;
constexpr int TourKeyList = 1022;

// the property sheet's own controls
constexpr int SheetTabs = 0x3020;
constexpr int SheetApply = 0x3021;

struct Sheet {
    HWND window = nullptr;
    HWND page = nullptr;
};

// Summons the search window and opens the settings sheet with its button.
Sheet OpenSheet(const Program& program, HWND search)
{
    REQUIRE(program.Summon());
    REQUIRE(WaitVisible(search, true));
    PostCommand(search, SettingsButton);
    Sheet sheet;
    sheet.window = program.WaitSheet();
    REQUIRE(sheet.window);
    sheet.page = SheetPage(sheet.window, HotKeyList);
    REQUIRE(sheet.page);
    return sheet;
}

void Close(const Sheet& sheet, int button)
{
    Answer(sheet.window, button);
    REQUIRE(WaitFor([&] { return !IsWindow(sheet.window); }));
}

} // namespace

TEST_CASE("options page apply")
{
    Options options; // Ctrl+F3, the clipboard chain fully on, no tour key
    options.copy = 1;
    options.shiftOpen = 1;
    Program program(ResidentIni(options).Text());
    REQUIRE(program.Start());
    HWND search = program.WaitSearchWindow();
    REQUIRE(search);
    REQUIRE(ClearClipboard());
    Sheet sheet = OpenSheet(program, search);

    CHECK(GetWindow(sheet.window, GW_OWNER) == search);
    CHECK(Send(GetDlgItem(sheet.window, SheetTabs), TCM_GETITEMCOUNT, 0, 0) == 4);
    CHECK_FALSE(IsVisible(GetDlgItem(sheet.window, SheetApply)));
    CHECK(ComboSelection(sheet.page, HotKeyList) == 2);
    CHECK(IsChecked(sheet.page, CtrlBox));
    CHECK_FALSE(IsChecked(sheet.page, AltBox));
    for (int box : {ShowClipBox, CopyBox, AutoOpenBox, ShiftOpenBox}) {
        INFO("box " << box);
        CHECK(IsChecked(sheet.page, box));
        CHECK(IsEnabled(sheet.page, box));
    }
    CHECK_FALSE(IsChecked(sheet.page, FuncKeyTourBox));
    CHECK_FALSE(IsEnabled(sheet.page, TourKeyList));
    CHECK(SaveScreenshot(sheet.window, "options-page"));

    // Alt+F5 instead of Ctrl+F3
    SelectCombo(sheet.page, HotKeyList, 4);
    Click(sheet.page, CtrlBox);
    Click(sheet.page, AltBox);
    // no clipboard: the boxes that depend on it are disabled and keep their marks
    Click(sheet.page, ShowClipBox);
    for (int box : {CopyBox, AutoOpenBox, ShiftOpenBox}) {
        INFO("box " << box);
        CHECK(IsChecked(sheet.page, box));
        CHECK_FALSE(IsEnabled(sheet.page, box));
    }
    // a tour key, F12
    Click(sheet.page, FuncKeyTourBox);
    CHECK(IsEnabled(sheet.page, TourKeyList));
    SelectCombo(sheet.page, TourKeyList, 11);
    Close(sheet, IDOK);

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
    REQUIRE(SetClipboard("not taken in"));
    REQUIRE(program.Summon());
    REQUIRE(WaitVisible(search, true));
    CHECK(ControlText(search, SearchBox) != "not taken in");
}

TEST_CASE("options page cancel")
{
    Options options; // Ctrl+F3, no Ctrl+C emulation below an automatic opening
    Program program(ResidentIni(options).Text());
    REQUIRE(program.Start());
    HWND search = program.WaitSearchWindow();
    REQUIRE(search);
    REQUIRE(ClearClipboard());
    Sheet sheet = OpenSheet(program, search);

    CHECK_FALSE(IsChecked(sheet.page, CopyBox));
    CHECK(IsEnabled(sheet.page, CopyBox));
    CHECK(IsChecked(sheet.page, AutoOpenBox));
    CHECK_FALSE(IsEnabled(sheet.page, AutoOpenBox));
    CHECK_FALSE(IsEnabled(sheet.page, ShiftOpenBox));
    // checking Ctrl+C enables the next box and, through it, the one after
    Click(sheet.page, CopyBox);
    CHECK(IsEnabled(sheet.page, AutoOpenBox));
    CHECK(IsEnabled(sheet.page, ShiftOpenBox));

    SelectCombo(sheet.page, HotKeyList, 7);
    Click(sheet.page, CtrlBox);
    Click(sheet.page, ShiftBox);
    Click(sheet.page, ImeBox);
    Close(sheet, IDCANCEL);

    // the settings saved after the sheet are the old ones
    REQUIRE(program.Sync());
    const char* const kept[][2] = {
        {"HOTKEY", "32770"},  {"IMEON", "1"},       {"SHOWCLIP", "1"},    {"COPY", "0"},
        {"AUTOURLOPEN", "1"}, {"SHIFTOPEN", "0"},   {"MAKEUPURL", "1"},   {"SAVEHISTORY", "1"},
        {"FUNCKEYTOUR", "0"}, {"TOURFUNCKEY", "0"}, {"TOURBARSHOW", "0"}, {"TOURAUTOSTART", "0"},
    };
    for (const auto& key : kept) {
        INFO(key[0]);
        CHECK(program.Ini(key[0]) == key[1]);
    }

    // and the program still holds them: the sheet opens as before
    sheet = OpenSheet(program, search);
    CHECK(ComboSelection(sheet.page, HotKeyList) == 2);
    CHECK(IsChecked(sheet.page, CtrlBox));
    CHECK_FALSE(IsChecked(sheet.page, ShiftBox));
    CHECK(IsChecked(sheet.page, ImeBox));
    CHECK_FALSE(IsChecked(sheet.page, CopyBox));
    CHECK_FALSE(IsEnabled(sheet.page, AutoOpenBox));
    Close(sheet, IDCANCEL);
}
