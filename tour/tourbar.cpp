#include "tour/tourbar.h"

#include "app/app.h"
#include "app/settings.h"
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
static char TourFolder[PathSize];
static TourList TourFiles;
static TourCursor TourPosition = {0, false};
static BOOL TourKeysActive;

BOOL ExpandViewerCommand(const char* command, const char* path, char* out, int outSize)
{
    if (!ExpandTemplate(command, path, out, outSize)) {
        out[0] = '\0';
        return FALSE;
    }
    return TRUE;
}

static void TellUser(HWND bar, const char* text, UINT icon)
{
    MessageBoxA(bar, text, AppTitle, icon | MB_OK);
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
    GetDirPart(pattern, TourFolder);

    TourFileList files = nullptr;
    int count = BuildTourFileList(TourSlot, pattern, &files);
    SortTourFileList(files, count, ReadUserInt(Key::TourOrderBy, TourSlot, 0));
    TourListClear(TourFiles);
    TourListAddRanked(TourFiles, files, count);
    FreeTourFileList(files);

    SendMessageA(bar, TourUpdateButtons, 0, 0);
    TourPosition = {-1, false};
    if (count == 0) {
        TellUser(bar, "ファイルが1つもありません。", MB_ICONINFORMATION);
    } else if ((request & TourChosenNow) && Settings.TourAutoStart) {
        TourPosition.position = 0;
        SendMessageA(bar, TourOpenFile, TourSlot, 0);
    }
}

static void LaunchTourFile(HWND bar, int slot, const char* path)
{
    char command[TextSize];
    ReadUserString(Key::TourApp, slot, command);
    if (command[0] == '\0') {
        ShellExecuteA(bar, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
        return;
    }
    char line[ViewerCommandSize];
    if (ExpandViewerCommand(command, path, line, sizeof line))
        WinExec(line, SW_SHOWNORMAL);
}

static BOOL FileExists(const char* path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return FALSE;
    FindClose(search);
    return TRUE;
}

static void OnTourOpenFile(HWND bar, int slot, const char* quickName)
{
    char path[PathSize] = "";
    BOOL joined;
    bool step = quickName == nullptr;
    const char* name = quickName;
    if (!step) {
        char pattern[PathSize];
        char folder[PathSize];
        ReadUserString(Key::TourPath, slot, pattern);
        GetDirPart(pattern, folder);
        joined = JoinPath(path, folder, name);
    } else {
        if (TourPosition.position < 0 || TourPosition.position >= TourFiles.count)
            return;
        TourPosition.gone = false;
        name = TourListName(TourFiles, TourPosition.position);
        joined = JoinPath(path, TourFolder, name);
    }

    if (!joined || !FileExists(path)) {
        // a name too long for a path is as good as missing: never cut into another name
        char message[TextSize + 64];
        snprintf(message, sizeof message, "ファイルが見つかりません。\n%s", joined ? path : name);
        TellUser(bar, message, MB_ICONERROR);
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
        AppendMenuA(ListMenu, flags, i + 1, TourListName(TourFiles, i));
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
    char name[PathSize];
    lstrcpynA(name, TourListName(TourFiles, position), sizeof name);
    char question[PathSize + 64];
    snprintf(question, sizeof question, "%s を削除してよろしいですか？", name);
    if (MessageBoxA(bar, question, AppTitle, MB_ICONQUESTION | MB_YESNO) != IDYES)
        return;
    char path[PathSize];
    if (!JoinPath(path, TourFolder, name) || !DeleteFileA(path)) {
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
        ShellExecuteA(nullptr, "open", TourFolder, nullptr, nullptr, SW_SHOWNORMAL);
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
    TourFolder[0] = '\0';
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
        OnTourOpenFile(bar, static_cast<int>(wParam), reinterpret_cast<const char*>(lParam));
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
