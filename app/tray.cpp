#include "app/tray.h"

#include "app/app.h"
#include "app/logon.h"
#include "app/settings.h"
#include "app/winhelpers.h"
#include "resources/resource.h"
#include "search/searchwindow.h"

#include <shellapi.h>

static const char TrayWindowClass[] = "KirapickTray";
static const UINT TrayIconId = 1;
// Sent by the shell for the icon's mouse events: lParam is the mouse message.
static const UINT TrayCallback = WM_APP + 1;

static HWND TrayWindow;
static HICON TrayIconImage;
static UINT TaskbarCreated; // broadcast when the shell (re)creates the taskbar
static bool IconShown;

static NOTIFYICONDATAA IconData()
{
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof data;
    data.hWnd = TrayWindow;
    data.uID = TrayIconId;
    return data;
}

static void AddIcon()
{
    NOTIFYICONDATAA data = IconData();
    data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    data.uCallbackMessage = TrayCallback;
    data.hIcon = TrayIconImage;
    lstrcpynA(data.szTip, AppTitle, sizeof data.szTip);
    // a busy shell can time out and still have taken the icon
    IconShown = Shell_NotifyIconA(NIM_ADD, &data) || Shell_NotifyIconA(NIM_MODIFY, &data);
}

static void RemoveIcon()
{
    NOTIFYICONDATAA data = IconData();
    Shell_NotifyIconA(NIM_DELETE, &data);
    IconShown = false;
}

void UpdateTrayIcon()
{
    if (!TrayWindow || (Settings.TrayIcon != 0) == IconShown)
        return;
    if (Settings.TrayIcon)
        AddIcon();
    else
        RemoveIcon();
}

// As the hot key does. While the window is up the hot key is not registered and does nothing,
// so a click then only brings it to the front and leaves what the user typed.
static void BringUpSearchWindow()
{
    if (IsWindowVisible(SearchWindow))
        ForceForeground(SearchWindow);
    else
        SendMessageA(SearchWindow, WM_HOTKEY, 0, 0);
}

static void ToggleLogonStart()
{
    Settings.AutoStart = !Settings.AutoStart;
    WriteUserInt(Key::AutoStart, 0, Settings.AutoStart);
    ApplyLogonStart();
}

// A menu, or what was chosen from it (a question, the settings sheet), is on screen.
static bool MenuBusy;

static void ShowTrayMenu(HWND window)
{
    if (MenuBusy) {
        MessageBeep(static_cast<UINT>(-1)); // a second end question would stack on the first
        return;
    }
    MenuBusy = true;
    HMENU loaded = LoadMenuA(hInstance, MAKEINTRESOURCEA(IDM_TRAY_MENU));
    HMENU menu = GetSubMenu(loaded, 0);
    CheckMenuItem(menu, IDM_TRAY_AUTOSTART, Settings.AutoStart ? MF_CHECKED : MF_UNCHECKED);
    SetMenuDefaultItem(menu, IDM_TRAY_SHOW, FALSE); // what a left click does
    // Without its owner in front the menu would stay up when the user clicks elsewhere, and
    // without a message after it the next click on the icon would find it still closing.
    SetForegroundWindow(window);
    int chosen = TrackMenuAtCursor(menu, window, TPM_RIGHTBUTTON);
    PostMessageA(window, WM_NULL, 0, 0);
    DestroyMenu(loaded);

    switch (chosen) {
    case IDM_TRAY_SHOW:
        BringUpSearchWindow();
        break;
    case IDM_TRAY_TOUR:
        StartTourFromSearch(SearchWindow);
        break;
    case IDM_TRAY_SETTINGS:
        OpenSettings(nullptr); // the search window may be hidden: the sheet stands alone
        break;
    case IDM_TRAY_README:
        RunMainMenuCommand(SearchWindow, IDM_OPEN_README);
        break;
    case IDM_TRAY_AUTOSTART:
        ToggleLogonStart();
        break;
    case IDM_TRAY_EXIT:
        RunMainMenuCommand(SearchWindow, IDM_EXIT);
        break;
    }
    MenuBusy = false;
}

static LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == TrayCallback) {
        if (lParam == WM_LBUTTONUP)
            BringUpSearchWindow();
        else if (lParam == WM_RBUTTONUP)
            ShowTrayMenu(window);
        return 0;
    }
    if (message == TaskbarCreated && TaskbarCreated != 0) {
        IconShown = false; // the new taskbar knows no icon
        UpdateTrayIcon();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void StartTrayIcon()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = TrayWindowProc;
    windowClass.hInstance = hInstance;
    windowClass.lpszClassName = TrayWindowClass;
    RegisterClassA(&windowClass);
    // top-level, not message-only: only top-level windows hear "TaskbarCreated"
    TrayWindow = CreateWindowExA(0, TrayWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                 hInstance, nullptr);
    TaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    TrayIconImage = static_cast<HICON>(
        LoadImageA(hInstance, MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    UpdateTrayIcon();
}

void EndTrayIcon()
{
    if (IconShown)
        RemoveIcon();
    if (TrayWindow)
        DestroyWindow(TrayWindow);
    TrayWindow = nullptr;
    if (TrayIconImage)
        DestroyIcon(TrayIconImage);
    TrayIconImage = nullptr;
}
