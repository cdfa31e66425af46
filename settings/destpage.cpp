#include "settings/destpage.h"

#include "app/settings.h"
#include "app/textconv.h"
#include "app/textpath.h"
#include "app/winhelpers.h"
#include "resource.h"
#include "settings/fileorder.h"
#include "settings/pagelist.h"
#include "settings/pagelogic.h"
#include "tour/filelist.h"

#include <commctrl.h>
#include <prsht.h>
#include <shlobj.h>
#include <stdio.h>

namespace {

// Private to this page: rebuild the list and select entry wParam.
constexpr UINT RefillDestinationList = WM_USER + 101;

// The order dialog numbers at most this many files ("[01] " to "[99] ").
constexpr int FileOrderLimit = 99;

// The thirty slots being edited; exists from WM_INITDIALOG to WM_DESTROY. One page at a time:
// the sheet is modal.
TourDestination* DestinationWorkCopy;

void DestinationEntry(int index, char* out, int outSize)
{
    ComposeDestinationEntry(DestinationWorkCopy[index].name, out, outSize);
}

constexpr ListPage DestinationSlots = {
    IDC_DEST_LIST, IDC_DEST_DOWN, IDC_DEST_UP, IDC_DEST_CLEAR,
    RefillDestinationList, TourSlotCount, sizeof(TourDestination), DestinationEntry,
};

// Controls that act on the selected destination, besides down and up.
constexpr int DestinationDetails[] = {
    IDC_DEST_CLEAR, IDC_DEST_NAME, IDC_DEST_KIND, IDC_DEST_PATH, IDC_DEST_PATH_BROWSE,
    IDC_DEST_ORDER_BY, IDC_DEST_FILE_ORDER, IDC_DEST_EXT_FILTER, IDC_DEST_VIEWER,
    IDC_DEST_VIEWER_BROWSE,
};

// Combo box items; the value is the item's index.
const char* const OrderItems[TourFileOrderCount] = {
    "ファイル名（昇順）", "ファイル名（降順）", "更新日時（昇順）",
    "更新日時（降順）",   "ファイルサイズ（昇順）", "ファイルサイズ（降順）",
};
const char* const KindItems[TourKindCount] = {
    "見廻り先は固定",
    "見廻り先を毎回指定",
    "見廻り先は固定＋くいっくオープン",
    "見廻らない＋くいっくオープン",
};

void FillCombo(HWND page, int id, const char* const* items, int count)
{
    for (int i = 0; i < count; i++)
        SendDlgItemMessageA(page, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
}

int ComboSelection(HWND page, int id)
{
    return static_cast<int>(SendDlgItemMessageA(page, id, CB_GETCURSEL, 0, 0));
}

void LoadDestination(int slot, TourDestination& destination)
{
    char text[LongTextSize];
    ReadUserString(Key::TourName, slot, text);
    CutToField(destination.name, text);
    // a path too long for its field stays empty rather than being cut to another path
    ReadUserString(Key::TourPath, slot, text);
    StoreWhole(destination.pathPattern, text);
    destination.kind = ReadUserInt(Key::InputPath, slot, 0);
    destination.orderBy = ReadUserInt(Key::TourOrderBy, slot, 0);
    ReadUserString(Key::ExtFilter, slot, text);
    CutToField(destination.extFilter, text);
    ReadUserString(Key::TourApp, slot, text);
    StoreWhole(destination.viewerCommand, text);
}

void OnInitDialog(HWND page, const PROPSHEETPAGEA* description)
{
    DestinationWorkCopy = static_cast<TourDestination*>(TakeWorkCopy(DestinationSlots));
    if (!DestinationWorkCopy)
        return;
    FillCombo(page, IDC_DEST_ORDER_BY, OrderItems, TourFileOrderCount);
    FillCombo(page, IDC_DEST_KIND, KindItems, TourKindCount);
    for (int n = 1; n <= TourSlotCount; n++)
        LoadDestination(n, DestinationWorkCopy[n - 1]);
    // the tour bar passes 0 before its first tour: that selects nothing
    const int startSlot = static_cast<int>(description->lParam);
    const int index = IndexOrNone(startSlot - 1, TourSlotCount);
    SendMessageA(page, RefillDestinationList, static_cast<WPARAM>(index), 0);
}

// Shows the selected destination's fields, or empty disabled fields when none is selected.
void ShowDestination(HWND page, int sel)
{
    static const TourDestination None{};
    const TourDestination& shown = sel >= 0 ? DestinationWorkCopy[sel] : None;
    SetDlgItemTextA(page, IDC_DEST_NAME, shown.name);
    SetDlgItemTextA(page, IDC_DEST_PATH, shown.pathPattern);
    SetDlgItemTextA(page, IDC_DEST_EXT_FILTER, shown.extFilter);
    SetDlgItemTextA(page, IDC_DEST_VIEWER, shown.viewerCommand);
    // a value outside the items (a damaged file) shows no item
    const int kind = sel >= 0 ? IndexOrNone(shown.kind, TourKindCount) : -1;
    const int order = sel >= 0 ? IndexOrNone(shown.orderBy, TourFileOrderCount) : -1;
    SendDlgItemMessageA(page, IDC_DEST_KIND, CB_SETCURSEL, static_cast<WPARAM>(kind), 0);
    SendDlgItemMessageA(page, IDC_DEST_ORDER_BY, CB_SETCURSEL, static_cast<WPARAM>(order), 0);
    EnableForSelection(page, DestinationSlots, DestinationDetails,
                       sizeof DestinationDetails / sizeof(int), sel);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_DEST_KIND, 0), 0);
}

void OnKindCommand(HWND page, TourDestination& destination)
{
    destination.kind = ComboSelection(page, IDC_DEST_KIND);
    // a folder asked for each time has no fixed files to put in order
    EnableWindow(GetDlgItem(page, IDC_DEST_FILE_ORDER), destination.kind != AskEachTime);
}

void BrowseForPath(HWND page)
{
    char current[LongTextSize];
    GetEditText(page, IDC_DEST_PATH, current);
    if (ComboSelection(page, IDC_DEST_KIND) == AskEachTime) {
        char folder[PathSize];
        const bool usable = current[0] != '\0' && lstrlenA(current) < PathSize;
        if (BrowseForFolder(page, "見廻り先の初期フォルダを選択してください。",
                            BIF_RETURNONLYFSDIRS, usable ? current : nullptr, folder,
                            sizeof folder))
            SetDlgItemTextA(page, IDC_DEST_PATH, folder);
    } else {
        char file[PathSize];
        if (AskForFile(page, "全てのファイル(*.*)\0*.*\0",
                       "見廻りたい種類のファイルをどれでも良いので1つ選択してください。",
                       current, file)) {
            char pattern[PathSize];
            if (BuildPathPattern(file, pattern, sizeof pattern))
                SetDlgItemTextA(page, IDC_DEST_PATH, pattern);
            else
                MessageBeep(static_cast<UINT>(-1));
        }
    }
    // the new text reaches the destination when the edit loses the focus again
    SetFocus(GetDlgItem(page, IDC_DEST_PATH));
}

void BrowseForViewer(HWND page)
{
    char current[LongTextSize];
    GetEditText(page, IDC_DEST_VIEWER, current);
    char program[PathSize];
    // owned by the page, so the sheet cannot be closed under the open dialog
    if (AskForFile(page, "プログラム(*.exe)\0*.exe\0",
                   "見廻り用のアプリケーションを指定してください。", current, program)) {
        char command[PathSize];
        if (BuildViewerCommand(program, command, sizeof command))
            SetDlgItemTextA(page, IDC_DEST_VIEWER, command);
        else
            MessageBeep(static_cast<UINT>(-1));
    }
    SetFocus(GetDlgItem(page, IDC_DEST_VIEWER));
}

void ShowNotice(HWND page, const char* text, UINT icon = MB_ICONINFORMATION)
{
    MessageBoxA(page, text, AppTitle, MB_OK | icon);
}

// Lists the files of the pattern being edited (filtered by the slot's saved filter) and lets
// the user fix their order on disk.
void OpenFileOrder(HWND page, int sel)
{
    char pattern[LongTextSize];
    GetEditText(page, IDC_DEST_PATH, pattern);
    if (pattern[0] != '\0' && !HasAbsoluteFolder(pattern)) {
        // its names would be renamed in whatever folder is current
        char text[LongTextSize + 200];
        snprintf(text, sizeof text, NoTourFolderText, pattern);
        ShowNotice(page, text, MB_ICONERROR);
        return;
    }
    FileOrderParams params{};
    TourFileList files = nullptr;
    char folder[PathSize];
    // a pattern too long to be a path lists nothing
    const int count = PatternFolder(pattern, folder, sizeof folder) &&
                              AnsiToWide(folder, params.folder)
                          ? BuildTourFileList(sel + 1, pattern, &files)
                          : 0;
    if (count >= 1 && count <= FileOrderLimit) {
        params.count = count;
        params.files = files;
        ShowFileOrderDialog(page, &params);
    } else if (count == 0) {
        ShowNotice(page, "ファイルが1つもありません。");
    } else {
        char text[TextSize];
        snprintf(text, sizeof text, "ファイルが%d個あります。\n99個までしか順番付けできません。",
                 count);
        ShowNotice(page, text);
    }
    FreeTourFileList(files);
}

void OnCommand(HWND page, int id, int code)
{
    // a focus change while the page is torn down can still arrive after WM_DESTROY
    if (!DestinationWorkCopy)
        return;
    const int sel = ListSelection(page, DestinationSlots);
    if (id == IDC_DEST_LIST) {
        if (code == LBN_SELCHANGE)
            ShowDestination(page, sel);
        return;
    }
    // until the user selects a destination no command may touch one
    if (sel < 0)
        return;
    TourDestination& destination = DestinationWorkCopy[sel];
    switch (id) {
    case IDC_DEST_NAME:
        if (code == EN_KILLFOCUS) {
            CommitEditText(page, id, destination.name, false);
            SendMessageA(page, RefillDestinationList, static_cast<WPARAM>(sel), 0);
        }
        break;
    case IDC_DEST_PATH:
        if (code == EN_KILLFOCUS)
            CommitEditText(page, id, destination.pathPattern, true);
        break;
    case IDC_DEST_EXT_FILTER:
        if (code == EN_KILLFOCUS)
            CommitEditText(page, id, destination.extFilter, false);
        break;
    case IDC_DEST_VIEWER:
        if (code == EN_KILLFOCUS)
            CommitEditText(page, id, destination.viewerCommand, true);
        break;
    case IDC_DEST_KIND:
        OnKindCommand(page, destination);
        break;
    case IDC_DEST_ORDER_BY:
        destination.orderBy = ComboSelection(page, IDC_DEST_ORDER_BY);
        break;
    case IDC_DEST_PATH_BROWSE:
        BrowseForPath(page);
        break;
    case IDC_DEST_VIEWER_BROWSE:
        BrowseForViewer(page);
        break;
    case IDC_DEST_FILE_ORDER:
        OpenFileOrder(page, sel);
        break;
    default:
        RunListButton(page, DestinationSlots, DestinationWorkCopy, id, sel);
        break;
    }
}

void OnApply()
{
    if (!DestinationWorkCopy)
        return; // nothing was loaded: writing would empty every destination
    for (int n = 1; n <= TourSlotCount; n++) {
        const TourDestination& destination = DestinationWorkCopy[n - 1];
        WriteUserString(Key::TourName, n, destination.name);
        WriteUserString(Key::TourPath, n, destination.pathPattern);
        WriteUserInt(Key::InputPath, n, destination.kind);
        WriteUserInt(Key::TourOrderBy, n, destination.orderBy);
        WriteUserString(Key::ExtFilter, n, destination.extFilter);
        WriteUserString(Key::TourApp, n, destination.viewerCommand);
    }
}

} // namespace

INT_PTR CALLBACK DestinationsPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(page, reinterpret_cast<const PROPSHEETPAGEA*>(lParam));
        break;
    case RefillDestinationList:
        if (DestinationWorkCopy)
            RefillList(page, DestinationSlots, static_cast<int>(wParam));
        break;
    case WM_COMMAND:
        OnCommand(page, LOWORD(wParam), HIWORD(wParam));
        break;
    case WM_NOTIFY:
        // not handled, the sheet reads 0: PSNRET_NOERROR, the page never refuses to close
        if (reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(PSN_APPLY))
            OnApply();
        break;
    case WM_DESTROY:
        ReleaseWorkCopy(DestinationWorkCopy);
        break;
    }
    return FALSE;
}
