#include "tour/tourbar.h"

#include "app/app.h"
#include "app/settings.h"
#include "app/textconv.h"
#include "app/textpath.h"
#include "app/winhelpers.h"
#include "resources/resource.h"
#include "settings/sheet.h"
#include "tour/destmenu.h"
#include "tour/filelist.h"
#include "tour/tourlist.h"

#include <shellapi.h>
#include <shlobj.h>
#include <stdio.h>

static const int KindAskEachTime = 1;
static const int ViewerCommandSize = 1000;
enum TourKeyId { KeyPrevious, KeyNext, KeyRandom, KeyOff, TourKeyCount };

static int TourSlot;
static wchar_t TourFolder[PathSize];
static TourList TourFiles;
static TourCursor TourPosition = {0, false};
static BOOL TourKeysActive;

BOOL ExpandViewerCommand(const char* command, const wchar_t* path, wchar_t* out, int outChars)
{
    wchar_t wideCommand[TextSize];
    if (!AnsiToWide(command, wideCommand) || !ExpandTemplate(wideCommand, path, out, outChars)) {
        if (outChars > 0)
            out[0] = L'\0';
        return FALSE;
    }
    return TRUE;
}

static void TellUser(HWND bar, const char* text, UINT icon)
{
    MessageBoxA(bar, text, AppTitle, icon | MB_OK);
}

static void ReportNoFolder(HWND bar, const char* pattern)
{
    char message[TextSize + 200];
    snprintf(message, sizeof message, NoTourFolderText, pattern);
    TellUser(bar, message, MB_ICONERROR);
}

// The folder of a pattern's files, wide; FALSE when the pattern names no folder of its own
// (or one too long for a path), which lists nothing and must not open anything either.
static BOOL PatternFolderWide(const char* pattern, wchar_t (&folder)[PathSize])
{
    char ansi[PathSize];
    folder[0] = L'\0';
    return HasAbsoluteFolder(pattern) && GetDirPart(pattern, ansi) && AnsiToWide(ansi, folder);
}

static void OnTourStart(HWND bar, WPARAM request)
{
    TourSlot = LOWORD(request);
    char pattern[TextSize];
    ReadUserString(Key::TourPath, TourSlot, pattern);

    if (ReadUserInt(Key::InputPath, TourSlot, 0) == KindAskEachTime) {
        char folder[TextSize];
        if (BrowseForFolder(bar, "見廻りたいフォルダを選択してください。", BIF_RETURNONLYFSDIRS,
                            pattern, folder, sizeof folder))
            snprintf(pattern, sizeof pattern, "%s\\*.*", folder);
        else
            pattern[0] = '\0';
    }
    BOOL usable = PatternFolderWide(pattern, TourFolder);

    TourFileList files = nullptr;
    int count = usable ? BuildTourFileList(TourSlot, pattern, &files) : 0;
    SortTourFileList(files, count, ReadUserInt(Key::TourOrderBy, TourSlot, 0));
    TourListClear(TourFiles);
    TourListAddRanked(TourFiles, files, count);
    FreeTourFileList(files);

    SendMessageA(bar, TourUpdateButtons, 0, 0);
    TourPosition = {-1, false};
    if (pattern[0] != '\0' && !HasAbsoluteFolder(pattern)) {
        ReportNoFolder(bar, pattern);
    } else if (count == 0) {
        TellUser(bar, "ファイルが1つもありません。", MB_ICONINFORMATION);
    } else if ((request & TourChosenNow) && Settings.TourAutoStart) {
        TourPosition.position = 0;
        SendMessageA(bar, TourOpenFile, TourSlot, 0);
    }
}

static void LaunchTourFile(HWND bar, int slot, const wchar_t* path)
{
    char command[TextSize];
    ReadUserString(Key::TourApp, slot, command);
    if (command[0] == '\0') {
        ShellExecuteW(bar, L"open", path, nullptr, nullptr, SW_SHOWNORMAL);
        return;
    }
    wchar_t line[ViewerCommandSize];
    if (!ExpandViewerCommand(command, path, line, ViewerCommandSize))
        return;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started;
    if (CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &started)) {
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
}

static void OnTourOpenFile(HWND bar, int slot, const wchar_t* quickName)
{
    wchar_t path[PathSize] = L"";
    BOOL joined;
    bool step = quickName == nullptr;
    const wchar_t* name = quickName;
    if (!step) {
        // read whole: a pattern cut to a path's length could name a folder above the right one
        char pattern[TextSize];
        wchar_t folder[PathSize];
        ReadUserString(Key::TourPath, slot, pattern);
        if (!PatternFolderWide(pattern, folder)) {
            ReportNoFolder(bar, pattern);
            return;
        }
        joined = JoinPath(path, folder, name);
    } else {
        if (TourPosition.position < 0 || TourPosition.position >= TourFiles.count)
            return;
        TourPosition.gone = false;
        name = TourListName(TourFiles, TourPosition.position);
        joined = JoinPath(path, TourFolder, name);
    }

    if (!joined || !TourFileExists(path)) {
        // a name too long for a path is as good as missing: never cut into another name
        MessageBoxWithName(bar, "ファイルが見つかりません。\n%s", joined ? path : name,
                           MB_ICONERROR | MB_OK);
        if (step)
            TourFiles.items[TourPosition.position].missing = TRUE;
        return; // nothing to launch
    }
    LaunchTourFile(bar, slot, path);
}

static void Step(HWND bar, int position)
{
    if (position < 0)
        return;
    TourPosition = {position, false};
    SendMessageA(bar, TourOpenFile, TourSlot, 0);
}

static HMENU ListMenu;

static void ShowFileList(HWND bar)
{
    ListMenu = CreatePopupMenu();
    for (int i = 0; i < TourFiles.count; ++i) {
        UINT flags = MF_STRING;
        if (TourFiles.items[i].missing)
            flags |= MF_GRAYED;
        if (i == TourPosition.position && !TourPosition.gone)
            flags |= MF_CHECKED;
        AppendMenuW(ListMenu, flags, i + 1, TourListName(TourFiles, i));
    }
    int chosen = TrackMenuAtCursor(ListMenu, bar, 0);
    DestroyMenu(ListMenu);
    ListMenu = nullptr;
    if (chosen > 0)
        Step(bar, chosen - 1);
}

static void DeleteTourFile(HWND bar, int position)
{
    if (position < 0 || position >= TourFiles.count)
        return;
    wchar_t name[PathSize];
    lstrcpynW(name, TourListName(TourFiles, position), PathSize);
    if (MessageBoxWithName(bar, "%s を削除してよろしいですか？", name,
                           MB_ICONQUESTION | MB_YESNO) != IDYES)
        return;
    wchar_t path[PathSize];
    if (!JoinPath(path, TourFolder, name) || !DeleteFileW(path)) {
        TellUser(bar, "ファイルを削除できませんでした。", MB_ICONERROR);
        return;
    }
    TourListRemove(TourFiles, position);
    AdjustTourCursorAfterDelete(TourPosition, position);
    SendMessageA(bar, TourUpdateButtons, 0, 0);
}

static void ShowFileContextMenu(HWND bar, int position)
{
    HMENU loaded = LoadMenuA(hInstance, MAKEINTRESOURCEA(IDM_TOUR_FILE_MENU));
    int chosen = TrackMenuAtCursor(GetSubMenu(loaded, 0), bar, TPM_RECURSE);
    DestroyMenu(loaded);
    if (chosen == IDM_TOUR_DELETE_FILE) {
        EndMenu();
        DeleteTourFile(bar, position);
    } else if (chosen == IDM_TOUR_OPEN_FOLDER) {
        EndMenu();
        ShellExecuteW(nullptr, L"open", TourFolder, nullptr, nullptr, SW_SHOWNORMAL);
    }
}

static void SetTourKeys(HWND bar, BOOL on)
{
    if (on) {
        if (TourFiles.count == 0) {
            MessageBeep(static_cast<UINT>(-1));
            return;
        }
        RegisterHotKey(bar, KeyPrevious, 0, VK_LEFT);
        RegisterHotKey(bar, KeyNext, 0, VK_RIGHT);
        RegisterHotKey(bar, KeyRandom, 0, VK_SPACE);
        RegisterHotKey(bar, KeyOff, 0, VK_ESCAPE);
    } else {
        for (int id = 0; id < TourKeyCount; ++id)
            UnregisterHotKey(bar, id);
    }
    ShowWindow(GetDlgItem(bar, IDC_TOUR_KEYS_OFF), on ? SW_HIDE : SW_SHOW);
    ShowWindow(GetDlgItem(bar, IDC_TOUR_KEYS_ON), on ? SW_SHOW : SW_HIDE);
    TourKeysActive = on;
}

static void UpdateButtons(HWND bar)
{
    BOOL any = TourFiles.count > 0;
    static const int stepButtons[] = {IDC_TOUR_PREV, IDC_TOUR_LIST, IDC_TOUR_RANDOM, IDC_TOUR_NEXT};
    for (int id : stepButtons)
        EnableWindow(GetDlgItem(bar, id), any);
}

static void OpenSettingsOnDestinations(HWND bar)
{
    if (SettingsSheetOpen) {
        MessageBeep(static_cast<UINT>(-1));
        return;
    }
    SettingsSheetOpen = TRUE;
    ShowSettingsSheet(bar, 2, TourSlot);
    SaveSettings();
    SettingsSheetOpen = FALSE;
}

static void ShowDestinations(HWND bar)
{
    HMENU menu = CreatePopupMenu();
    BuildDestinationsMenu(menu, TourSlot);
    int chosen = TrackMenuAtCursor(menu, bar, 0);
    RunDestinationChoice(menu, chosen);
    DestroyMenu(menu);
}

static void OnCommand(HWND bar, int id)
{
    switch (id) {
    case IDC_TOUR_HIDE:
        ShowWindow(bar, SW_HIDE);
        break;
    case IDC_TOUR_DEST_MENU:
        ShowDestinations(bar);
        break;
    case IDC_TOUR_NEXT:
        Step(bar, StepTourPosition(TourPosition, TourFiles.count, TourStepNext));
        break;
    case IDC_TOUR_PREV:
        Step(bar, StepTourPosition(TourPosition, TourFiles.count, TourStepPrevious));
        break;
    case IDC_TOUR_RANDOM:
        Step(bar, RandomTourPosition(GetTickCount(), TourFiles.count));
        break;
    case IDC_TOUR_LIST:
        if (TourFiles.count > 0)
            ShowFileList(bar);
        break;
    }
}

static void OnInitDialog(HWND bar)
{
    TourFolder[0] = L'\0';
    int x = ReadUserInt(Key::TourDlgX, 0, 0);
    int y = ReadUserInt(Key::TourDlgY, 0, 0);
    SetWindowPos(bar, HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(GetDlgItem(bar, IDC_TOUR_KEYS_ON), SW_HIDE);
    UpdateButtons(bar);
}

static void OnHidden(HWND bar)
{
    RECT frame;
    GetWindowRect(bar, &frame);
    WriteUserInt(Key::TourDlgX, 0, frame.left);
    WriteUserInt(Key::TourDlgY, 0, frame.top);
    if (TourKeysActive)
        SendMessageA(bar, TourKeysOff, 0, 0);
}

INT_PTR CALLBACK TourBarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(bar);
        break;
    case WM_SHOWWINDOW:
        if (!wParam)
            OnHidden(bar);
        break;
    case WM_COMMAND:
        OnCommand(bar, LOWORD(wParam));
        break;
    case WM_LBUTTONDOWN:
        // drag the bar by any spot that is not a button
        PostMessageA(bar, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
        break;
    case WM_LBUTTONDBLCLK:
        SendMessageA(bar, TourKeysActive ? TourKeysOff : TourKeysOn, 0, 0);
        break;
    case WM_RBUTTONDOWN:
        OpenSettingsOnDestinations(bar);
        break;
    case WM_MENURBUTTONUP:
        if (ListMenu && reinterpret_cast<HMENU>(lParam) == ListMenu)
            ShowFileContextMenu(bar, static_cast<int>(wParam));
        break;
    case WM_HOTKEY:
        switch (wParam) {
        case KeyPrevious: OnCommand(bar, IDC_TOUR_PREV); break;
        case KeyNext: OnCommand(bar, IDC_TOUR_NEXT); break;
        case KeyRandom: OnCommand(bar, IDC_TOUR_RANDOM); break;
        case KeyOff: SendMessageA(bar, TourKeysOff, 0, 0); break;
        }
        break;
    case TourOpenFile:
        OnTourOpenFile(bar, static_cast<int>(wParam), reinterpret_cast<const wchar_t*>(lParam));
        break;
    case TourStart:
        OnTourStart(bar, wParam);
        break;
    case TourKeysOn:
    case TourKeysOff:
        SetTourKeys(bar, message == TourKeysOn);
        break;
    case TourUpdateButtons:
        UpdateButtons(bar);
        break;
    case WM_DESTROY:
        TourListClear(TourFiles);
        PostQuitMessage(0);
        break;
    }
    return FALSE;
}
