#include "settings/pagelist.h"

#include "app/textpath.h"

#include <commdlg.h>

void* TakeWorkCopy(const ListPage& kind)
{
    return GlobalAlloc(GPTR, static_cast<SIZE_T>(kind.count) * kind.recordSize);
}

void FreeWorkCopy(void* copy)
{
    if (copy)
        GlobalFree(copy);
}

int ListSelection(HWND page, const ListPage& kind)
{
    const LRESULT sel = SendDlgItemMessageA(page, kind.list, LB_GETCURSEL, 0, 0);
    return IndexOrNone(static_cast<int>(sel), kind.count);
}

void RefillList(HWND page, const ListPage& kind, int select)
{
    SendDlgItemMessageA(page, kind.list, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < kind.count; i++) {
        char entry[NameSize + 16];
        kind.label(i, entry, sizeof entry);
        SendDlgItemMessageA(page, kind.list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    }
    // -1 clears the selection: a start slot outside the list selects nothing
    SendDlgItemMessageA(page, kind.list, LB_SETCURSEL,
                        static_cast<WPARAM>(IndexOrNone(select, kind.count)), 0);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(kind.list, LBN_SELCHANGE), 0);
}

void EnableForSelection(HWND page, const ListPage& kind, const int* details, int detailCount,
                        int sel)
{
    const bool selected = sel >= 0;
    for (int i = 0; i < detailCount; i++)
        EnableWindow(GetDlgItem(page, details[i]), selected);
    EnableWindow(GetDlgItem(page, kind.up), selected && sel > 0);
    EnableWindow(GetDlgItem(page, kind.down), selected && sel < kind.count - 1);
}

BOOL RunListButton(HWND page, const ListPage& kind, void* records, int id, int sel)
{
    int select = -1;
    if (id == kind.down)
        select = MoveRecord(records, kind.recordSize, kind.count, sel, 1);
    else if (id == kind.up)
        select = MoveRecord(records, kind.recordSize, kind.count, sel, -1);
    else if (id == kind.clear)
        select = ClearRecord(records, kind.recordSize, kind.count, sel) ? sel : -1;
    else
        return FALSE;
    // a refused move (no selection, or past an end) changes nothing, not even the selection
    if (select >= 0)
        SendMessageA(page, kind.refill, static_cast<WPARAM>(select), 0);
    return TRUE;
}

void GetEditText(HWND page, int id, char (&out)[LongTextSize])
{
    out[0] = '\0';
    GetDlgItemTextA(page, id, out, sizeof out);
}

void CommitEditText(HWND page, int id, char* field, int fieldSize, bool whole)
{
    char text[LongTextSize];
    GetEditText(page, id, text);
    if (!whole)
        CutToField(field, fieldSize, text);
    else if (!StoreWhole(field, fieldSize, text))
        MessageBeep(static_cast<UINT>(-1));
    // what is shown is what OK writes
    if (lstrcmpA(text, field) != 0)
        SetDlgItemTextA(page, id, field);
}

BOOL AskForFile(HWND owner, const char* filter, const char* title, const char* startFrom,
                char (&out)[PathSize])
{
    char folder[PathSize];
    GetDirPart(startFrom, folder); // left empty when it does not fit: no start folder
    out[0] = '\0';

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = out;
    dialog.nMaxFile = sizeof out;
    dialog.lpstrInitialDir = folder[0] != '\0' ? folder : nullptr;
    dialog.lpstrTitle = title;
    dialog.Flags = OFN_HIDEREADONLY | OFN_NODEREFERENCELINKS;
    return GetOpenFileNameA(&dialog);
}
