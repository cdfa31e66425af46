// The notification icon, its menu and the start at the next logon.
#include "e2e.h"

#include <shellapi.h>

using namespace e2e;

namespace {

constexpr int SearchBox = 1001, SettingsButton = 1005;
constexpr int TrayIconBox = 1026; // options page
constexpr UINT IconCallback = WM_APP + 1;
const char IconWindowClass[] = "KirapickTray";
const char RunonceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Runonce";

// The program's hidden window that owns the icon.
HWND IconWindow(HWND search)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(search, &pid);
    std::vector<HWND> found = TopLevelWindows(pid, IconWindowClass);
    return found.empty() ? nullptr : found[0];
}

NOTIFYICONDATAA IconOf(HWND owner)
{
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof data;
    data.hWnd = owner;
    data.uID = 1;
    return data;
}

// Wine keeps the icons in a tray window of its own; a change of nothing succeeds only while
// the icon is there.
bool HasIcon(HWND owner)
{
    NOTIFYICONDATAA data = IconOf(owner);
    return Shell_NotifyIconA(NIM_MODIFY, &data) != 0;
}

// What the shell sends for a left click on the icon; returns once the program has handled it.
void LeftClickIcon(HWND owner)
{
    Send(owner, IconCallback, 1, WM_LBUTTONUP);
}

// Chooses an item of the icon's menu by its access key.
bool ChooseFromIconMenu(const Program& program, HWND owner, WORD key)
{
    // post, not send: the menu runs its own loop
    PostMessageA(owner, IconCallback, 1, WM_RBUTTONUP);
    return program.WaitMenu() && PressKeys(nullptr, {key});
}

} // namespace

TEST_CASE("the icon comes back with a new taskbar and its click and menu summon and end the program")
{
    Program program(ResidentIni().Key("TRAYICON", 1).Text());
    HWND search = program.StartResident();
    REQUIRE(search);
    HWND owner = IconWindow(search);
    REQUIRE(owner);
    CHECK(WaitFor([&] { return HasIcon(owner); }));

    NOTIFYICONDATAA data = IconOf(owner);
    REQUIRE(Shell_NotifyIconA(NIM_DELETE, &data));
    PostMessageA(owner, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    CHECK(WaitFor([&] { return HasIcon(owner); }));

    // as the hot key: the clipboard is taken in; with the window up only brought forward
    REQUIRE(SetClipboard("通知領域から"));
    LeftClickIcon(owner);
    REQUIRE(WaitVisible(search, true));
    CHECK(ControlText(search, SearchBox) == "通知領域から");
    Send(GetDlgItem(search, SearchBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("入力中"));
    LeftClickIcon(owner);
    CHECK(ControlText(search, SearchBox) == "入力中");
    CHECK(IsVisible(search));

    // "常駐を終了する(&X)" asks first
    REQUIRE(ChooseFromIconMenu(program, owner, 'X'));
    CHECK(program.AnswerMessage(IDYES) == "常駐を終了しますか？");
    DWORD exitCode = 1;
    REQUIRE(program.WaitExit(exitCode));
    CHECK(exitCode == 0);
}

TEST_CASE("no icon without TRAYICON and no logon start with AUTOSTART off and both switch at once")
{
    Program program(ResidentIni().Key("AUTOSTART", 0).Text());
    // a value left by an earlier start
    const std::string& path = program.ExePath();
    REQUIRE(RegSetKeyValueA(HKEY_CURRENT_USER, RunonceKey, "kirapick.exe", REG_SZ, path.c_str(),
                            static_cast<DWORD>(path.size() + 1)) == ERROR_SUCCESS);
    HWND search = program.StartResident();
    REQUIRE(search);
    REQUIRE(program.Sync());
    CHECK(RunonceValue("kirapick.exe") == "<missing>");
    HWND owner = IconWindow(search);
    REQUIRE(owner);
    CHECK_FALSE(HasIcon(owner));

    // the options page's check box adds the icon, then takes it away again
    auto applyIconBox = [&](bool on) {
        INFO("icon " << on);
        PostCommand(search, SettingsButton);
        HWND sheet = program.WaitSheet();
        HWND page = SheetPage(sheet, TrayIconBox);
        REQUIRE(page);
        CHECK(IsChecked(page, TrayIconBox) == !on);
        Click(page, TrayIconBox);
        Answer(sheet, IDOK);
        REQUIRE(WaitGone(sheet));
        CHECK(WaitFor([&] { return HasIcon(owner) == on; }));
        CHECK(WaitFor([&] { return program.Ini("TRAYICON") == (on ? "1" : "0"); }));
    };
    applyIconBox(true);
    // the menu's check item, "ログオン時に自動的に起動する(&L)"
    for (bool on : {true, false}) {
        INFO("logon start " << on);
        REQUIRE(ChooseFromIconMenu(program, owner, 'L'));
        REQUIRE(program.WaitMenuGone());
        REQUIRE(program.Sync());
        CHECK(program.Ini("AUTOSTART") == (on ? "1" : "0"));
        CHECK(RunonceValue("kirapick.exe") == (on ? path : "<missing>"));
    }
    applyIconBox(false);
}
