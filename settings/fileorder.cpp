#include "settings/fileorder.h"

#include "app/app.h"
#include "app/settings.h"
#include "app/winhelpers.h"
#include "resource.h"
#include "settings/fileorder_names.h"
#include "settings/fileorder_ops.h"

namespace {

// The folder of the files listed, kept while the one modal dialog runs.
const wchar_t* OrderFolder;

constexpr WPARAM ListSelChange = MAKEWPARAM(IDC_ORDER_LIST, LBN_SELCHANGE);

// The list's names in the order shown, which is the order to give them. The dialog is a
// Unicode window: its list holds the names whole, whatever their characters.
struct ListedNames {
    int count;
    wchar_t text[OrderNumberMax][TextSize];
    const wchar_t* names[OrderNumberMax];
};

HWND List(HWND dialog)
{
    return GetDlgItem(dialog, IDC_ORDER_LIST);
}

int ListCount(HWND dialog)
{
    return static_cast<int>(SendMessageA(List(dialog), LB_GETCOUNT, 0, 0));
}

int ListSelection(HWND dialog)
{
    return static_cast<int>(SendMessageA(List(dialog), LB_GETCURSEL, 0, 0));
}

// FALSE, and "", for an entry that does not exist or would not fit.
BOOL GetEntryText(HWND dialog, int index, wchar_t (&out)[TextSize])
{
    out[0] = L'\0';
    LRESULT length = SendMessageW(List(dialog), LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR || length >= TextSize)
        return FALSE;
    return SendMessageW(List(dialog), LB_GETTEXT, index, reinterpret_cast<LPARAM>(out)) != LB_ERR;
}

void ReadListedNames(HWND dialog, ListedNames* listed)
{
    int count = ListCount(dialog);
    listed->count = count < 0 ? 0 : count > OrderNumberMax ? OrderNumberMax : count;
    for (int i = 0; i < listed->count; i++) {
        // an unreadable entry stays "", which the renaming refuses rather than skips
        GetEntryText(dialog, i, listed->text[i]);
        listed->names[i] = listed->text[i];
    }
}

void ShowRenameFailure(HWND dialog, const wchar_t* name)
{
    MessageBoxWithName(dialog, "ファイル名を変更できませんでした。\n%s", name, MB_OK | MB_ICONERROR);
}

void OnInitDialog(HWND dialog, const FileOrderParams* params)
{
    OrderFolder = params->folder;
    int count = params->files ? params->count : 0;
    if (count > OrderNumberMax)
        count = OrderNumberMax;
    for (int i = 0; i < count; i++) {
        SendMessageW(List(dialog), LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(params->files[i].findData.cFileName));
    }
    SendMessageA(List(dialog), LB_SETCURSEL, 0, 0);
    SendMessageA(dialog, WM_COMMAND, ListSelChange, 0);
}

void UpdateMoveButtons(HWND dialog, int selection)
{
    BOOL notFirst = selection > 0;
    BOOL notLast = selection >= 0 && selection < ListCount(dialog) - 1;
    EnableWindow(GetDlgItem(dialog, IDC_ORDER_UP), notFirst);
    EnableWindow(GetDlgItem(dialog, IDC_ORDER_TOP), notFirst);
    EnableWindow(GetDlgItem(dialog, IDC_ORDER_DOWN), notLast);
    EnableWindow(GetDlgItem(dialog, IDC_ORDER_BOTTOM), notLast);
    // a button that just disabled itself would leave the keyboard with nowhere to go
    HWND focus = GetFocus();
    if (focus && GetParent(focus) == dialog && !IsWindowEnabled(focus))
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(List(dialog)), TRUE);
}

void MoveSelectedName(HWND dialog, int selection, int target)
{
    wchar_t name[TextSize];
    // a command that arrives while its button is disabled must not wrap around the list
    if (selection < 0 || target < 0 || target >= ListCount(dialog) ||
        !GetEntryText(dialog, selection, name))
        return;
    SendMessageA(List(dialog), LB_DELETESTRING, selection, 0);
    SendMessageW(List(dialog), LB_INSERTSTRING, target, reinterpret_cast<LPARAM>(name));
    SendMessageA(List(dialog), LB_SETCURSEL, target, 0);
    SendMessageA(dialog, WM_COMMAND, ListSelChange, 0);
}

void OnApply(HWND dialog)
{
    ListedNames listed;
    ReadListedNames(dialog, &listed);
    int failed;
    if (!ApplyFileOrder(listed.names, listed.count, OrderFolder, &failed))
        ShowRenameFailure(dialog, listed.names[failed]);
    EndDialog(dialog, 0);
}

void OnRelease(HWND dialog)
{
    if (MessageBoxA(dialog, "ファイルの順番付けを解除しますか？", AppTitle,
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    ListedNames listed;
    ReadListedNames(dialog, &listed);
    int failed;
    if (!ReleaseFileOrder(listed.names, listed.count, OrderFolder, &failed))
        ShowRenameFailure(dialog, listed.names[failed]);
    EndDialog(dialog, 0);
}

void OnCommand(HWND dialog, int id, int code)
{
    int selection = ListSelection(dialog);
    switch (id) {
    case IDC_ORDER_LIST:
        if (code == LBN_SELCHANGE)
            UpdateMoveButtons(dialog, selection);
        break;
    case IDC_ORDER_UP:
        MoveSelectedName(dialog, selection, selection - 1);
        break;
    case IDC_ORDER_DOWN:
        MoveSelectedName(dialog, selection, selection + 1);
        break;
    case IDC_ORDER_TOP:
        MoveSelectedName(dialog, selection, 0);
        break;
    case IDC_ORDER_BOTTOM:
        MoveSelectedName(dialog, selection, ListCount(dialog) - 1);
        break;
    case IDOK:
        OnApply(dialog);
        break;
    case IDCANCEL:
        EndDialog(dialog, 0);
        break;
    case IDC_ORDER_RELEASE:
        OnRelease(dialog);
        break;
    }
}

INT_PTR CALLBACK FileOrderDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog, reinterpret_cast<const FileOrderParams*>(lParam));
        break;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        break;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        break;
    }
    return FALSE;
}

} // namespace

void ShowFileOrderDialog(HWND owner, FileOrderParams* params)
{
    if (!params)
        return;
    // a Unicode dialog: an ANSI one's list would turn each name back into code page 932
    DialogBoxParamW(hInstance, MAKEINTRESOURCEW(IDD_FILE_ORDER), owner, FileOrderDialog,
                    reinterpret_cast<LPARAM>(params));
    OrderFolder = nullptr;
}
