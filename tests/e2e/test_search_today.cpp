// Addresses beginning with https:, engines that take UTF-8, and the shipped engines, driven as
// a user would; the settings file shows what was saved.
#include "e2e.h"

#include <prsht.h>

using namespace e2e;

namespace {

constexpr int SearchBox = 1001, SettingsButton = 1005;
// options page
constexpr int HotKeyList = 1018, TourKeyList = 1022, HttpsBox = 1025;
// engines page
constexpr int EngineList = 1201, EngineDown = 1202, EngineUp = 1203, EngineClear = 1009;
constexpr int EngineCode = 1032;
constexpr int ShiftJis = 0, Utf8 = 1;

std::string Numbered(const char* base, int n) { return base + std::to_string(n); }

HWND StartWith(Program& program)
{
    HWND search = program.StartResident();
    REQUIRE(search);
    return search;
}

// Chooses entry `index` of a list box or drop-down list, as a click does.
void Choose(HWND page, int id, int index, UINT select)
{
    Send(GetDlgItem(page, id), select, static_cast<WPARAM>(index), 0);
    Send(page, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE),
         reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
}

// Summons the window with `clipboard` copied and searches it with function key `key`.
void SearchWith(const Program& program, HWND search, const char* clipboard, WORD key,
                size_t opened)
{
    REQUIRE(program.ShowSearch(clipboard));
    REQUIRE(PressKeys(search, {key}));
    REQUIRE(program.WaitOpened(opened));
    REQUIRE(WaitVisible(search, false));
}

} // namespace

TEST_CASE("with the https option an https address opens at once and a typed one with Enter")
{
    Options options;
    options.httpsUrl = 1;
    Program program(ResidentIni(options).Text());
    HWND search = StartWith(program);

    REQUIRE(SetClipboard(" https://secure.test/a?b=1 \r\n"));
    REQUIRE(program.Summon());
    REQUIRE(program.WaitOpened(1));
    // a forum link without its "h" is completed to https
    REQUIRE(SetClipboard("ttps://forum.test/t/1"));
    REQUIRE(program.Summon());
    REQUIRE(program.WaitOpened(2));
    REQUIRE(program.Sync());
    CHECK(program.Opened() ==
          std::vector<std::string>{"https://secure.test/a?b=1", "https://forum.test/t/1"});
    CHECK_FALSE(IsVisible(search));
    CHECK(ClipboardEmpty());

    // typed in capitals: Enter opens it as it is and records nothing
    REQUIRE(program.ShowSearch());
    Send(GetDlgItem(search, SearchBox), WM_SETTEXT, 0,
         reinterpret_cast<LPARAM>("HTTPS://Capitals.test/Path"));
    REQUIRE(PressKeys(search, {VK_RETURN}));
    REQUIRE(program.WaitOpened(3));
    CHECK(program.Opened()[2] == "HTTPS://Capitals.test/Path");
    CHECK(WaitVisible(search, false));
    CHECK(program.Ini("HISTORY0") == "<missing>");
    CHECK(ClipboardEmpty());
}

TEST_CASE("an older settings file keeps its meaning until the pages change the option and the codes")
{
    // no HTTPSURL, no engine codes but the third's; damaged function keys: Ctrl+Alt and an
    // index of 13 (F14), a tour key of 20
    Options options;
    options.hotKey = 0x8000 | 0x2000 | 13;
    options.tourFuncKey = 20;
    Program program(ResidentIni(options).Key("ENGINECODE3", Utf8).Text());
    HWND search = StartWith(program);

    SearchWith(program, search, "https://secure.test/", VK_F3, 1);
    CHECK(program.Opened()[0] ==
          "https://three.test/dict?ie=Shift_JIS&q=https%3A%2F%2Fsecure.test%2F&rate=100%");
    SearchWith(program, search, "abc 検索", VK_F3, 2);
    CHECK(program.Opened()[1] ==
          "https://three.test/dict?ie=Shift_JIS&q=abc%20%E6%A4%9C%E7%B4%A2&rate=100%");
    SearchWith(program, search, "abc 検索", VK_F1, 3);
    CHECK(program.Opened()[2] == "http://one.test/search?q=abc%20%8c%9f%8d%f5");
    // the history and the clipboard keep the query as typed
    CHECK(WaitFor([&] { return program.Ini("HISTORY1") == "https://secure.test/"; }));
    CHECK(program.Ini("HISTORY0") == "abc 検索");
    std::string clipboard;
    CHECK((Clipboard(clipboard) && clipboard == "abc 検索"));

    REQUIRE(program.ShowSearch());
    PostCommand(search, SettingsButton);
    HWND sheet = program.WaitSheet();
    HWND page = SheetPage(sheet, HotKeyList);
    REQUIRE(page);
    CHECK(ComboSelection(page, HotKeyList) == CB_ERR); // no key rather than a false F1
    CHECK(ComboSelection(page, TourKeyList) == CB_ERR);
    CHECK_FALSE(IsChecked(page, HttpsBox));
    Click(page, HttpsBox);

    Send(sheet, PSM_SETCURSEL, 1, 0);
    page = SheetPage(sheet, EngineList);
    REQUIRE((page && WaitVisible(page, true)));
    CHECK(ComboItems(page, EngineCode) == std::vector<std::string>{"Shift-JIS", "UTF-8"});
    Choose(page, EngineList, 2, LB_SETCURSEL);
    CHECK(ComboSelection(page, EngineCode) == Utf8);
    Click(page, EngineUp); // F3 becomes F2, its code with it
    CHECK(ComboSelection(page, EngineCode) == Utf8);
    Choose(page, EngineList, 2, LB_SETCURSEL);
    CHECK(ComboSelection(page, EngineCode) == ShiftJis);
    Choose(page, EngineList, 4, LB_SETCURSEL);
    Choose(page, EngineCode, Utf8, CB_SETCURSEL);
    Click(page, EngineDown); // F5 becomes F6
    Choose(page, EngineList, 7, LB_SETCURSEL);
    Choose(page, EngineCode, Utf8, CB_SETCURSEL);
    Click(page, EngineClear);
    CHECK(ComboSelection(page, EngineCode) == ShiftJis);
    Click(sheet, IDOK);
    REQUIRE(WaitGone(sheet));
    REQUIRE(program.Sync()); // the save after the sheet has happened

    CHECK(program.Ini("HOTKEY") == std::to_string(0x8000 | 0x2000)); // F1, modifiers kept
    CHECK(program.Ini("TOURFUNCKEY") == "0");
    CHECK(program.Ini("HTTPSURL") == "1");
    for (int n = 1; n <= 12; ++n) {
        INFO("engine " << n);
        CHECK(program.Ini(Numbered("ENGINECODE", n)) == (n == 2 || n == 6 ? "1" : "0"));
    }
    // the option is in effect at once
    REQUIRE(PressKeys(search, {VK_ESCAPE}));
    REQUIRE(WaitVisible(search, false));
    REQUIRE(SetClipboard("https://now.test/"));
    REQUIRE(program.Summon());
    REQUIRE(program.WaitOpened(4));
    CHECK(program.Opened()[3] == "https://now.test/");
}

TEST_CASE("the first run with the shipped defaults saves the https option and twelve UTF-8 engines")
{
    const std::string shipped = BuildFolder() + "\\kirapick\\kirapick.def";
    std::string defaults;
    REQUIRE(ReadFileText(shipped, defaults));
    Program program("", defaults);
    REQUIRE(program.Start());
    REQUIRE(Answer(program.WaitMessageBox(), IDOK));
    HWND sheet = program.WaitSheet();
    REQUIRE(sheet);
    Answer(sheet, IDOK);
    REQUIRE(program.WaitSearchWindow());

    CHECK(program.Ini("HTTPSURL") == "1");
    for (int n = 1; n <= 12; ++n) {
        INFO("engine " << n);
        char engine[300] = "";
        GetPrivateProfileStringA("Default", Numbered("ENGINE", n).c_str(), "", engine,
                                 sizeof engine, shipped.c_str());
        CHECK(std::string(engine).rfind("https://", 0) == 0);
        CHECK(program.Ini(Numbered("ENGINE", n)) == engine);
        CHECK(program.Ini(Numbered("ENGINECODE", n)) == "1");
    }
}
