#include "e2e.h"

using namespace e2e;

namespace {

const char FirstRunText[] = "設定を読み込めませんでした。\n先に設定を行ってください。";
const char EndQuestion[] = "常駐を終了しますか？";
constexpr int SearchBox = 1001, MoreMenuButton = 1009;
constexpr int HotKeyList = 1018, CtrlBox = 1009, ShiftBox = 1010; // options page

const char OtherEngine[] = "http://other.test/%s";
// Another user's settings in the same file: they must neither count nor change.
const std::string OtherUserOnly =
    IniText().Section("someone-else").Key("HOTKEY", 0x8000 | 11).Key("ENGINE1", OtherEngine).Text();

// Starts the program, answers the first-run notice and returns the settings sheet that follows.
HWND PassFirstRunNotice(Program& program)
{
    REQUIRE(program.Start());
    HWND box = program.WaitMessageBox();
    REQUIRE(box);
    CHECK(MessageText(box) == FirstRunText);
    CHECK(GetWindow(box, GW_OWNER) == nullptr);
    Answer(box, IDOK);
    HWND sheet = program.WaitSheet();
    REQUIRE(sheet);
    return sheet;
}

void CheckEnginesCopied(const Program& program)
{
    for (int n = 1; n <= 12; ++n) {
        INFO("engine " << n);
        CHECK(program.Ini("EGNAME" + std::to_string(n)) == Engines[n - 1].name);
        CHECK(program.Ini("ENGINE" + std::to_string(n)) == Engines[n - 1].url);
    }
}

// The end command from the search window's menu: the question it asks.
HWND ChooseEnd(const Program& program, HWND search)
{
    PostCommand(search, MoreMenuButton);
    REQUIRE(program.WaitMenu());
    // the item's mnemonic: "常駐を終了する(&X)"
    REQUIRE(PressKeys(nullptr, {'X'}));
    HWND box = program.WaitMessageBox();
    REQUIRE(box);
    CHECK(MessageText(box) == EndQuestion);
    return box;
}

} // namespace

TEST_CASE("first run cancelled")
{
    Program program(OtherUserOnly);
    HWND sheet = PassFirstRunNotice(program);

    // the defaults' engines reach the user's section before the sheet, which opens on
    // the options page; no window of the resident program exists yet
    CheckEnginesCopied(program);
    CHECK(SheetPage(sheet, HotKeyList) != nullptr);
    CHECK(program.SearchWindow() == nullptr);

    Answer(sheet, IDCANCEL);
    DWORD exitCode = 1;
    REQUIRE(program.WaitExit(exitCode));
    CHECK(exitCode == 0);
    CHECK(program.Ini("HOTKEY") == "<missing>");
    CheckEnginesCopied(program);
    CHECK(program.Ini("HOTKEY", "someone-else") == std::to_string(0x8000 | 11));
    CHECK(program.Ini("ENGINE1", "someone-else") == OtherEngine);
}

TEST_CASE("first run confirmed")
{
    Program program(OtherUserOnly);
    HWND sheet = PassFirstRunNotice(program);
    HWND page = SheetPage(sheet, HotKeyList);
    REQUIRE(page);

    // the sheet shows the defaults file's options: Ctrl+F3
    CHECK(ComboSelection(page, HotKeyList) == 2);
    CHECK(IsChecked(page, CtrlBox));
    CHECK_FALSE(IsChecked(page, ShiftBox));

    // the user makes it Ctrl+Shift+F2 and confirms
    SelectCombo(page, HotKeyList, 1);
    Click(page, ShiftBox);
    CHECK(IsChecked(page, ShiftBox));
    Answer(sheet, IDOK);

    HWND search = program.WaitSearchWindow();
    REQUIRE(search);
    // saved before the windows were made, so the next start finds settings
    CHECK(program.Ini("HOTKEY") == std::to_string(0x8000 | 0x4000 | 1));
    const char* const kept[][2] = {
        {"IMEON", "1"},       {"SHOWCLIP", "1"},    {"COPY", "0"},        {"AUTOURLOPEN", "1"},
        {"SHIFTOPEN", "0"},   {"MAKEUPURL", "1"},   {"SAVEHISTORY", "1"}, {"FUNCKEYTOUR", "0"},
        {"TOURFUNCKEY", "0"}, {"TOURBARSHOW", "0"}, {"TOURAUTOSTART", "0"},
    };
    for (const auto& key : kept) {
        INFO(key[0]);
        CHECK(program.Ini(key[0]) == key[1]);
    }
    CheckEnginesCopied(program);

    // resident: both dialogs exist, nothing is shown
    REQUIRE(program.Sync());
    CHECK(program.Running());
    CHECK_FALSE(IsVisible(search));
    std::vector<HWND> dialogs = program.Dialogs();
    CHECK(dialogs.size() >= 2);
    for (HWND dialog : dialogs)
        CHECK_FALSE(IsVisible(dialog));
}

TEST_CASE("a second start summons the first and the end command asks and ends the program")
{
    Program program(ResidentIni().Text());
    HWND search = program.StartResident();
    REQUIRE(search);
    CHECK(RunonceValue("kirapick.exe") == program.ExePath());
    CHECK_FALSE(IsVisible(search));

    // the second start must write the value again, not find the first one's
    DeleteRunonceValue("kirapick.exe");
    REQUIRE(SetClipboard("二度目の起動"));
    DWORD exitCode = 1;
    REQUIRE(program.StartAgain(exitCode));
    CHECK(exitCode == 0);
    CHECK(RunonceValue("kirapick.exe") == program.ExePath());
    REQUIRE(WaitVisible(search, true));
    CHECK(ControlText(search, SearchBox) == "二度目の起動");
    CHECK(program.SearchWindow() == search);

    // the end command: No keeps the program
    HWND box = ChooseEnd(program, search);
    CHECK(GetWindow(box, GW_OWNER) == search);
    CHECK(GetDlgItem(box, IDYES) != nullptr);
    CHECK(GetDlgItem(box, IDNO) != nullptr);
    Answer(box, IDNO);
    REQUIRE(WaitGone(box));
    REQUIRE(program.Sync());
    CHECK(program.Running());
    CHECK(IsWindow(search));

    Answer(ChooseEnd(program, search), IDYES);
    REQUIRE(program.WaitExit(exitCode));
    CHECK(exitCode == 0);
}
