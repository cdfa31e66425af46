#include "app/app.h"
#include "app/logon.h"
#include "app/settings.h"
#include "app/textconv.h"
#include "app/tray.h"
#include "resources/resource.h"
#include "search/searchwindow.h"
#include "settings/sheet.h"
#include "tour/tourbar.h"

#include <commctrl.h>
#include <stdio.h>

// The running instance's search window: titled like the program and holding the history
// box, so that a message box with the same caption is never taken for it.
static HWND FindRunningSearchWindow()
{
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, nullptr, AppTitle));) {
        if (GetDlgItem(window, IDC_SEARCH_HISTORY))
            return window;
    }
    return nullptr;
}

static void HandOverToRunningInstance()
{
    // A start at the same moment may still be creating its window: give it a moment.
    for (int tries = 0; tries < 50; ++tries) {
        if (HWND window = FindRunningSearchWindow()) {
            PostMessageA(window, WM_HOTKEY, 0, 0);
            return;
        }
        Sleep(100);
    }
}

static int RunMessageLoop()
{
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(SearchWindow, &message) || IsDialogMessageA(TourBar, &message))
            continue;
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

static int KirapickMain(HINSTANCE module)
{
    hInstance = module;

    char programPath[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, programPath, sizeof programPath);
    InitSettingsLocation(programPath);
    // Every start, a second one too, renews the start at the next logon (or removes it when
    // the user said no), so the settings are read before the single-instance test.
    BOOL hasSettings = LoadSettings();
    ApplyLogonStart();

    char mutexName[NameSize];
    snprintf(mutexName, sizeof mutexName, "%s:Mutex", AppTitle);
    HANDLE mutex = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, mutexName);
    if (!mutex) {
        mutex = CreateMutexA(nullptr, FALSE, mutexName);
        // created by another start in the same instant: that one is the running instance
        if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
            HandOverToRunningInstance();
            CloseHandle(mutex);
            return 0;
        }
    } else {
        HandOverToRunningInstance();
        CloseHandle(mutex);
        return 0;
    }

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    if (!hasSettings) {
        MessageBoxA(nullptr, "設定を読み込めませんでした。\n先に設定を行ってください。", AppTitle,
                    MB_ICONINFORMATION);
        CopyDefaultEngines();
        ShowSettingsSheet(nullptr, 0, 1);
        if (!Settings.SettingsValid) {
            if (mutex)
                CloseHandle(mutex);
            return 0;
        }
        SaveSettings();
    }

    SearchWindow = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_SEARCH), nullptr,
                                      SearchWindowProc, 0);
    TourBar = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_TOURBAR), nullptr, TourBarProc, 0);
    KeyboardHook = SetWindowsHookExA(WH_KEYBOARD, KeyboardHookProc, nullptr, GetCurrentThreadId());
    StartTrayIcon();

    if (Settings.TourBarShow) {
        SendMessageA(TourBar, TourStart, 1, 0);
        ShowWindow(TourBar, SW_SHOWNORMAL);
    }

    int exitCode = RunMessageLoop();
    EndTrayIcon();
    UnhookWindowsHookEx(KeyboardHook);
    if (mutex)
        CloseHandle(mutex);
    return exitCode;
}

// Every text of the program is code page 932. The manifest asks for it, but only Windows 11
// grants it whatever the system locale; elsewhere the windows would show garbage and a second
// start could not find the first. Then say, in both languages and with the wide functions,
// what is needed, and end before anything (the logon entry, the settings) is written.
static bool RunsInProgramCodePage()
{
    const UINT codePage = GetACP();
    if (codePage == ProgramCodePage)
        return true;
    wchar_t caption[NameSize];
    if (!AnsiToWide(AppTitle, caption))
        lstrcpynW(caption, L"kirapick", NameSize);
    wchar_t text[1024];
    snwprintf(text, sizeof text / sizeof text[0],
              L"キラピック！は日本語の文字コード（コードページ 932、シフト JIS）で動作しますが、"
              L"この Windows の文字コードは %u です。\n\n"
              L"Windows 10 以前では、コントロール パネルの［地域］→［管理］→［システム ロケールの変更］"
              L"で「日本語 (日本)」を選び、「ベータ: ワールドワイド言語サポートで Unicode UTF-8 を使用」"
              L"をオフにして、Windows を再起動してください。"
              L"Windows 11 では、この設定なしで動作します。\n\n"
              L"kirapick needs the Japanese code page 932 (Shift-JIS), but this Windows gives it "
              L"code page %u.\n\n"
              L"On Windows 10 and earlier, open Control Panel > Region > Administrative > "
              L"Change system locale, choose \"Japanese (Japan)\", clear \"Beta: Use Unicode UTF-8 "
              L"for worldwide language support\" and restart Windows. "
              L"Windows 11 needs no such change.",
              codePage, codePage);
    text[sizeof text / sizeof text[0] - 1] = L'\0';
    MessageBoxW(nullptr, text, caption, MB_ICONERROR);
    return false;
}

// Command-line arguments and the show mode are not used: both windows show themselves.
int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int)
{
    if (!RunsInProgramCodePage())
        return 0;
    return KirapickMain(module);
}
