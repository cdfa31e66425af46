#include "search/searchwindow.h"

#include "app/app.h"
#include "app/settings.h"
#include "app/textpath.h"
#include "app/winhelpers.h"
#include "resources/resource.h"
#include "search/dispatch.h"
#include "search/encode.h"
#include "settings/sheet.h"
#include "tour/destmenu.h"

#include <imm.h>
#include <shellapi.h>
#include <stdio.h>

static const int SearchHotKeyId = 0;
static const DWORD CopyWaitMs = 200; // the longest wait for the copy of the selection
static const char HomePageAddress[] = "https://aobasha.example.jp/";

BOOL IsShellWindowClass(const char* className)
{
    static const char* const shellClasses[] = {"Progman", "Shell_TrayWnd", "CabinetWClass",
                                               "WorkerW"};
    for (const char* name : shellClasses) {
        if (lstrcmpA(className, name) == 0)
            return TRUE;
    }
    return FALSE;
}

static void ShowInfo(HWND owner, const char* text, UINT icon)
{
    MessageBoxA(owner, text, AppTitle, icon);
}

static void PressKey(BYTE key, bool down)
{
    keybd_event(key, 0, down ? 0 : KEYEVENTF_KEYUP, 0);
}

static void RegisterHotKeyOf(HWND window)
{
    UINT modifiers = 0;
    if (Settings.HotKey & HotKeyCtrl)
        modifiers |= MOD_CONTROL;
    if (Settings.HotKey & HotKeyShift)
        modifiers |= MOD_SHIFT;
    if (Settings.HotKey & HotKeyAlt)
        modifiers |= MOD_ALT;
    UINT key = VK_F1 + (Settings.HotKey & HotKeyIndexMask);
    if (!RegisterHotKey(window, SearchHotKeyId, modifiers, key)) {
        ShowInfo(nullptr, "起動キーを設定できませんでした。", MB_ICONERROR);
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
}

static void OnShowWindow(HWND window, BOOL shown)
{
    if (shown)
        UnregisterHotKey(window, SearchHotKeyId); // while visible, F1-F12 go to the hook
    else
        SendMessageA(window, RegisterSearchHotKey, 0, 0);
}

// Runs once the window is visible. Activating it while still hidden would make showing it
// activate it a second time (each a round trip to the window system), so it is forced to the
// front only when showing it has not put it there, and the focus is moved only when it is
// not already in the box (moving it out and back would only churn the box).
static void BringForward(HWND window)
{
    if (GetForegroundWindow() != window)
        ForceForeground(window);
    HWND box = GetDlgItem(window, IDC_SEARCH_HISTORY);
    HWND focus = GetFocus();
    if (focus != box && !IsChild(box, focus))
        SetFocus(box);
    if (Settings.ImeOn) {
        if (HIMC context = ImmGetContext(window)) {
            ImmSetOpenStatus(context, TRUE);
            ImmReleaseContext(window, context);
        }
    }
}

// The settings file as it was when the box was last filled from it. Summoning reads the ten
// history keys again only when the file has changed since, or the program changed the box.
static WIN32_FILE_ATTRIBUTE_DATA HistorySource;
static bool HistoryLoaded;

void ForgetLoadedHistory()
{
    HistoryLoaded = false;
}

static void ReloadHistory(HWND box)
{
    WIN32_FILE_ATTRIBUTE_DATA now;
    bool known = GetFileAttributesExA(IniPath, GetFileExInfoStandard, &now);
    if (known && HistoryLoaded &&
        CompareFileTime(&now.ftLastWriteTime, &HistorySource.ftLastWriteTime) == 0 &&
        now.nFileSizeLow == HistorySource.nFileSizeLow &&
        now.nFileSizeHigh == HistorySource.nFileSizeHigh) {
        SetWindowTextA(box, ""); // as emptying the list would
        return;
    }
    HistorySource = now;
    HistoryLoaded = known;

    SendMessageA(box, CB_RESETCONTENT, 0, 0);
    char value[TextSize];
    for (int n = 0; n < HistoryCount; ++n) {
        ReadUserString(Key::History, n, value);
        if (value[0] != '\0')
            SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(value));
    }
}

static void EmptyTheClipboard()
{
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
}

// The application in front needs a moment to fill the clipboard after the emulated Ctrl+C.
// Its emptying the clipboard moves the sequence number, but it may hold the clipboard open a
// little longer to fill it: the wait ends when the clipboard has changed and can be opened.
// With nothing selected nothing changes, and the whole 200 ms pass as before.
static void WaitForCopy(DWORD sequenceBefore)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < CopyWaitMs) {
        if (GetClipboardSequenceNumber() != sequenceBefore && OpenClipboard(nullptr)) {
            CloseClipboard();
            return;
        }
        Sleep(1);
    }
}

// Takes in the selection or the clipboard; TRUE when an address was opened instead.
static BOOL TakeInClipboard(char (&captured)[TextSize])
{
    char className[TextSize] = "";
    GetClassNameA(GetForegroundWindow(), className, sizeof className);
    if (!IsShellWindowClass(className) && Settings.CopyEmulate) {
        const DWORD before = GetClipboardSequenceNumber();
        PressKey(VK_CONTROL, true);
        PressKey('C', true);
        PressKey('C', false);
        PressKey(VK_CONTROL, false);
        WaitForCopy(before);
    }
    if (!GetClipboardText(captured, sizeof captured))
        return FALSE;
    TrimBlanks(captured);
    if (Settings.MakeupUrl)
        CompleteUrl(captured, sizeof captured, Settings.HttpsUrl);
    if (!Settings.AutoUrlOpen || !IsWebAddress(captured, Settings.HttpsUrl))
        return FALSE;

    if (Settings.ShiftOpen)
        PressKey(VK_SHIFT, true); // the browser opens a new window
    RunSearch(captured, 0);
    if (Settings.ShiftOpen)
        PressKey(VK_SHIFT, false);
    EmptyTheClipboard(); // the next summons must not open the same address again
    return TRUE;
}

static void Summon(HWND window)
{
    char captured[TextSize] = "";
    if (Settings.ShowClip && TakeInClipboard(captured))
        return;

    HWND box = GetDlgItem(window, IDC_SEARCH_HISTORY);
    if (Settings.SaveHistory)
        ReloadHistory(box);
    if (captured[0] != '\0')
        SetWindowTextA(box, captured);
    else
        SendMessageA(box, CB_SETCURSEL, 0, 0);
    ShowWindow(window, SW_SHOWNORMAL);
    BringForward(window);
}

static void SearchWith(HWND window, int engine)
{
    char query[TextSize] = "";
    GetDlgItemTextA(window, IDC_SEARCH_HISTORY, query, sizeof query);
    if (!RunSearch(query, engine))
        MessageBeep(static_cast<UINT>(-1));
    else
        ShowWindow(window, SW_HIDE);
}

static int DefaultEngine() { return (Settings.HotKey & HotKeyIndexMask) + 1; }

void StartTourFromSearch(HWND window)
{
    SendMessageA(TourBar, TourStart, TourChosenNow | 1, 0);
    ShowWindow(window, SW_HIDE);
    ShowWindow(TourBar, SW_SHOWNORMAL);
}

static void ShowEngineMenu(HWND window)
{
    HMENU menu = CreatePopupMenu();
    char name[TextSize];
    char label[TextSize];
    for (int n = 1; n <= EngineCount; ++n) {
        ReadUserString(Key::EngineName, n, name);
        snprintf(label, sizeof label, "F%d: %s", n, name);
        AppendMenuA(menu, MF_STRING, n, label);
    }
    int chosen = TrackMenuAtCursor(menu, window);
    DestroyMenu(menu);
    if (chosen > 0)
        SendMessageA(window, SearchWithEngine, chosen, 0);
}

static void ShowDestinationsMenu(HWND window)
{
    HMENU menu = CreatePopupMenu();
    BuildDestinationsMenu(menu, -1);
    int chosen = TrackMenuAtCursor(menu, window);
    if (chosen > 0) {
        RunDestinationChoice(menu, chosen); // reads the file name from the menu
        ShowWindow(window, SW_HIDE);
        ShowWindow(TourBar, SW_SHOWNORMAL);
    }
    DestroyMenu(menu);
}

static void OpenWithShell(HWND window, const char* target, const char* failure)
{
    INT_PTR result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(window, "open", target, "", "", SW_SHOWNORMAL));
    if (result <= 32)
        ShowInfo(window, failure, MB_ICONERROR);
}

static void ClearHistory(HWND window)
{
    ForgetLoadedHistory();
    // emptying the list empties the edit field too: the query in it stays
    char query[TextSize] = "";
    GetDlgItemTextA(window, IDC_SEARCH_HISTORY, query, sizeof query);
    SendDlgItemMessageA(window, IDC_SEARCH_HISTORY, CB_RESETCONTENT, 0, 0);
    SetDlgItemTextA(window, IDC_SEARCH_HISTORY, query);
    for (int n = 0; n < HistoryCount; ++n)
        WriteUserString(Key::History, n, "");
}

static void ShowMainMenu(HWND window)
{
    HMENU loaded = LoadMenuA(hInstance, MAKEINTRESOURCEA(IDM_SEARCH_MENU));
    int chosen = TrackMenuAtCursor(GetSubMenu(loaded, 0), window);
    DestroyMenu(loaded);
    RunMainMenuCommand(window, chosen);
}

void RunMainMenuCommand(HWND window, int chosen)
{
    switch (chosen) {
    case IDM_CLEAR_HISTORY:
        ClearHistory(window);
        break;
    case IDM_OPEN_README: {
        char path[PathSize];
        if (JoinPath(path, ModuleDir, ReadmeFileName))
            OpenWithShell(window, path, "readme.txtを開けませんでした。");
        else
            ShowInfo(window, "readme.txtを開けませんでした。", MB_ICONERROR);
        break;
    }
    case IDM_OPEN_HOMEPAGE:
        OpenWithShell(window, HomePageAddress, "アオバ舎のホームページを開けませんでした。");
        break;
    case IDM_EXIT:
        if (MessageBoxA(window, "常駐を終了しますか？", AppTitle, MB_ICONQUESTION | MB_YESNO) == IDYES)
            DestroyWindow(window);
        break;
    }
}

void OpenSettings(HWND window)
{
    if (SettingsSheetOpen) {
        MessageBeep(static_cast<UINT>(-1));
        return;
    }
    SettingsSheetOpen = TRUE;
    ShowSettingsSheet(window, 0, 1);
    SaveSettings();
    SettingsSheetOpen = FALSE;
}

static void OnCommand(HWND window, int id)
{
    switch (id) {
    case IDCANCEL:
        ShowWindow(window, SW_HIDE);
        break;
    case IDC_SEARCH_GO:
        SendMessageA(window, SearchWithEngine, DefaultEngine(), 0);
        break;
    case IDC_SEARCH_ENGINE_MENU:
        ShowEngineMenu(window);
        break;
    case IDC_SEARCH_DEST_MENU:
        ShowDestinationsMenu(window);
        break;
    case IDC_SEARCH_TOUR:
        StartTourFromSearch(window);
        break;
    case IDC_SEARCH_SETTINGS:
        OpenSettings(window);
        break;
    case IDC_SEARCH_MORE_MENU:
        ShowMainMenu(window);
        break;
    }
}

INT_PTR CALLBACK SearchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowTextA(window, AppTitle);
        SendMessageA(window, RegisterSearchHotKey, 0, 0);
        SendDlgItemMessageA(window, IDC_SEARCH_HISTORY, CB_LIMITTEXT, TextSize - 1, 0);
        break;
    case WM_SHOWWINDOW:
        OnShowWindow(window, static_cast<BOOL>(wParam));
        break;
    case WM_HOTKEY:
        if (wParam == SearchHotKeyId)
            Summon(window);
        break;
    case SearchWithEngine:
        SearchWith(window, static_cast<int>(wParam));
        break;
    case RegisterSearchHotKey:
        RegisterHotKeyOf(window);
        break;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam));
        break;
    case WM_CLOSE:
        ShowWindow(window, SW_HIDE);
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    }
    return FALSE;
}

static BOOL IsComposing()
{
    HIMC context = ImmGetContext(SearchWindow);
    if (!context)
        return FALSE;
    LONG length = ImmGetCompositionStringA(context, GCS_COMPSTR, nullptr, 0);
    ImmReleaseContext(SearchWindow, context);
    return length > 0;
}

static BOOL IsMenuTracked()
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetCurrentThreadId(), &info) &&
           (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE));
}

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM key, LPARAM flags)
{
    // Only real key presses in the active search window; inside a menu's own loop the keys
    // belong to the menu, and HC_NOREMOVE is a mere peek that must not start anything.
    bool pressed = (flags & 0x80000000) == 0;
    if (code != HC_ACTION || !pressed || GetActiveWindow() != SearchWindow || IsMenuTracked())
        return CallNextHookEx(KeyboardHook, code, key, flags);

    if (key >= VK_F1 && key <= VK_F12) {
        if (IsComposing())
            return CallNextHookEx(KeyboardHook, code, key, flags);
        if (Settings.FuncKeyTour && key == static_cast<WPARAM>(VK_F1 + Settings.TourFuncKey))
            StartTourFromSearch(SearchWindow);
        else
            SendMessageA(SearchWindow, SearchWithEngine, key - VK_F1 + 1, 0);
        return 1;
    }
    if (key == VK_RETURN) {
        if (IsComposing())
            return CallNextHookEx(KeyboardHook, code, key, flags);
        SendMessageA(SearchWindow, SearchWithEngine, DefaultEngine(), 0);
        return 1;
    }
    return CallNextHookEx(KeyboardHook, code, key, flags);
}
