#include "settings/enginespage.h"

#include "app/settings.h"
#include "resource.h"
#include "settings/pagelist.h"
#include "settings/pagelogic.h"

#include <commctrl.h>
#include <prsht.h>

namespace {

// Private to this page: rebuild the list and select entry wParam.
constexpr UINT RefillEngineList = WM_USER + 101;

// The twelve slots being edited; exists from WM_INITDIALOG to WM_DESTROY. One page at a time:
// the sheet is modal.
EngineSlot* EngineWorkCopy;

void EngineEntry(int index, char* out, int outSize)
{
    ComposeEngineLabel(index + 1, EngineWorkCopy[index].name, out, outSize);
}

constexpr ListPage EngineSlots = {
    IDC_ENG_LIST, IDC_ENG_DOWN, IDC_ENG_UP, IDC_ENG_CLEAR,
    RefillEngineList, EngineCount, sizeof(EngineSlot), EngineEntry,
};

// Controls that act on the selected slot, besides down and up.
constexpr int EngineDetails[] = {IDC_ENG_NAME, IDC_ENG_URL, IDC_ENG_CODE, IDC_ENG_CLEAR};

// The code drop-down's items, in the order of EngineCodeKind.
constexpr const char* EngineCodeNames[] = {"Shift-JIS", "UTF-8"};
constexpr int EngineCodeCount = sizeof EngineCodeNames / sizeof EngineCodeNames[0];

// Before the first confirmed sheet the user's section has no engines: the defaults file's are
// shown, and OK writes them to the user's section.
void ReadEngineText(const char* format, int slot, char (&out)[LongTextSize])
{
    if (Settings.SettingsValid)
        ReadUserString(format, slot, out);
    else
        ReadDefaultString(format, slot, out, sizeof out);
}

void OnInitDialog(HWND page)
{
    for (const char* name : EngineCodeNames)
        SendDlgItemMessageA(page, IDC_ENG_CODE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    EngineWorkCopy = static_cast<EngineSlot*>(TakeWorkCopy(EngineSlots));
    if (!EngineWorkCopy)
        return;
    for (int n = 1; n <= EngineCount; n++) {
        EngineSlot& slot = EngineWorkCopy[n - 1];
        char text[LongTextSize];
        ReadEngineText(Key::EngineName, n, text);
        CutToField(slot.name, text);
        ReadEngineText(Key::Engine, n, text);
        CutToField(slot.urlTemplate, text);
        ReadEngineText(Key::EngineCode, n, text);
        slot.code = EngineCodeOf(text);
    }
    SendMessageA(page, RefillEngineList, 0, 0);
}

void ShowEngine(HWND page, int sel)
{
    const EngineSlot* slot = sel >= 0 ? &EngineWorkCopy[sel] : nullptr;
    SetDlgItemTextA(page, IDC_ENG_NAME, slot ? slot->name : "");
    SetDlgItemTextA(page, IDC_ENG_URL, slot ? slot->urlTemplate : "");
    SendDlgItemMessageA(page, IDC_ENG_CODE, CB_SETCURSEL,
                        static_cast<WPARAM>(slot ? slot->code : -1), 0);
    EnableForSelection(page, EngineSlots, EngineDetails, sizeof EngineDetails / sizeof(int), sel);
}

void OnCommand(HWND page, int id, int code)
{
    // a focus change while the page is torn down can still arrive after WM_DESTROY
    if (!EngineWorkCopy)
        return;
    const int sel = ListSelection(page, EngineSlots);
    switch (id) {
    case IDC_ENG_LIST:
        if (code == LBN_SELCHANGE)
            ShowEngine(page, sel);
        break;
    case IDC_ENG_NAME:
        if (code == EN_KILLFOCUS && sel >= 0) {
            CommitEditText(page, id, EngineWorkCopy[sel].name, false);
            SendMessageA(page, RefillEngineList, static_cast<WPARAM>(sel), 0);
        }
        break;
    case IDC_ENG_URL:
        if (code == EN_KILLFOCUS && sel >= 0)
            CommitEditText(page, id, EngineWorkCopy[sel].urlTemplate, false);
        break;
    case IDC_ENG_CODE:
        if (code == CBN_SELCHANGE && sel >= 0) {
            const LRESULT chosen = SendDlgItemMessageA(page, id, CB_GETCURSEL, 0, 0);
            if (IndexOrNone(static_cast<int>(chosen), EngineCodeCount) >= 0)
                EngineWorkCopy[sel].code = static_cast<int>(chosen);
        }
        break;
    default:
        RunListButton(page, EngineSlots, EngineWorkCopy, id, sel);
        break;
    }
}

void OnApply()
{
    if (!EngineWorkCopy)
        return; // nothing was loaded: writing would empty every engine
    for (int n = 1; n <= EngineCount; n++) {
        WriteUserString(Key::EngineName, n, EngineWorkCopy[n - 1].name);
        WriteUserString(Key::Engine, n, EngineWorkCopy[n - 1].urlTemplate);
        WriteUserInt(Key::EngineCode, n, EngineWorkCopy[n - 1].code);
    }
}

} // namespace

INT_PTR CALLBACK EnginesPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(page);
        break;
    case RefillEngineList:
        if (EngineWorkCopy)
            RefillList(page, EngineSlots, static_cast<int>(wParam));
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
        ReleaseWorkCopy(EngineWorkCopy);
        break;
    }
    return FALSE;
}
