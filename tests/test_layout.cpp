#include <doctest.h>

#include "app/app.h"
#include "resources/resource.h"
#include "settings/sheet.h"
#include "tests/testutil.h"

#include <commctrl.h>
#include <prsht.h>

#include <vector>

// The program's windows built from its own resources, in this process and with its fonts:
// every control inside its window, every text inside its control with a fifth of its width to
// spare. The fonts here are IPA stand-ins for the Japanese UI fonts of Windows; a dialog unit is
// a quarter of the font's average Latin letter rounded to whole pixels while a Japanese
// character is as wide as the font is high, so one pixel less in that average (another font,
// 125 % or 150 % scaling) makes every unit a sixth or seventh narrower against the same text.

namespace {

// The room a control leaves its texts: a push button's bevel and focus frame, a check box's box
// and the gap after it, a group box's indents, a drop-down's arrow are not for text; 0 for a
// control that shows none.
int Room(HWND control, const wchar_t* kind, std::vector<std::wstring>& texts)
{
    const LONG style = GetWindowLongW(control, GWL_STYLE), edge = GetSystemMetrics(SM_CXEDGE);
    RECT client;
    GetClientRect(control, &client);
    if (lstrcmpiW(kind, L"ComboBox") == 0) { // its items show in its field
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(control, &info);
        texts.resize(SendMessageW(control, CB_GETCOUNT, 0, 0));
        for (size_t i = 0; i < texts.size(); ++i) {
            texts[i].resize(SendMessageW(control, CB_GETLBTEXTLEN, i, 0));
            SendMessageW(control, CB_GETLBTEXT, i, LPARAM(&texts[i][0]));
        }
        return info.rcItem.right - info.rcItem.left - edge;
    }
    const LONG type = style & (lstrcmpiW(kind, L"Static") == 0 ? SS_TYPEMASK : BS_TYPEMASK);
    if (lstrcmpiW(kind, L"Static") == 0)
        return type <= SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP ? client.right : 0;
    if (lstrcmpiW(kind, L"Button") != 0 || type == BS_OWNERDRAW)
        return 0;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON ? client.right - 2 * (edge + 1)
         : type == BS_GROUPBOX ? client.right - 4 * edge : client.right - GetSystemMetrics(SM_CXMENUCHECK) - 2 * edge;
}

void Inspect(HWND window, const std::string& where)
{
    RECT client;
    GetClientRect(window, &client);
    for (HWND control = GetWindow(window, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        wchar_t kind[32] = L"", text[512] = L"";
        GetClassNameW(control, kind, 32);
        GetWindowTextW(control, text, 512);
        const std::string name = where + ", control " + std::to_string(GetDlgCtrlID(control)) + " \"" + Utf8(text) + "\"";
        RECT rect, inside;
        GetWindowRect(control, &rect);
        GetClientRect(control, &inside);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        if (rect.left < 0 || rect.top < 0 || rect.right > client.right || rect.bottom > client.bottom)
            FAIL_CHECK(name << " lies outside its window");
        // the lines of a label or caption, each drawn in the control's font, "&" marking the mnemonic
        const std::wstring whole = text;
        std::vector<std::wstring> lines;
        for (size_t start = 0, end = 0; end != std::wstring::npos; start = end + 1)
            lines.push_back(whole.substr(start, (end = whole.find(L'\n', start)) - start));
        const bool items = lstrcmpiW(kind, L"ComboBox") == 0;
        const int room = Room(control, kind, lines);
        HDC dc = GetDC(control);
        HGDIOBJ old = SelectObject(dc, HFONT(SendMessageW(control, WM_GETFONT, 0, 0)));
        LONG height = 0;
        for (const std::wstring& line : lines) {
            RECT size{};
            DrawTextW(dc, line.c_str(), -1, &size, DT_CALCRECT | DT_SINGLELINE | (items ? DT_NOPREFIX : 0));
            height += size.bottom;
            if (room && size.right * 6 > room * 5)
                FAIL_CHECK(name << ": \"" << Utf8(line.c_str()) << "\" takes " << size.right << " of " << room
                                << " pixels, with no room to spare");
        }
        if (room && !items && lines.size() > 1 && height > inside.bottom)
            FAIL_CHECK(name << ": its lines take more than its height");
        SelectObject(dc, old);
        ReleaseDC(control, dc);
    }
}

INT_PTR CALLBACK Inert(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// The settings sheet as the program shows it, with its own page procedures: from a timer in
// the sheet's modal loop each page is shown and inspected in turn, then the sheet cancelled.
int SheetPages;

void CALLBACK InspectSheet(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND sheet = GetActiveWindow();
    HWND tabs = sheet ? PropSheet_GetTabControl(sheet) : nullptr;
    if (!tabs)
        return;
    KillTimer(nullptr, timer);
    RECT frame;
    GetWindowRect(tabs, &frame);
    TabCtrl_AdjustRect(tabs, FALSE, &frame);
    for (int i = 0; i < TabCtrl_GetItemCount(tabs); ++i, ++SheetPages) {
        PropSheet_SetCurSel(sheet, nullptr, i);
        HWND page = PropSheet_GetCurrentPageHwnd(sheet);
        RECT rect;
        GetWindowRect(page, &rect);
        if (rect.left < frame.left || rect.top < frame.top || rect.right > frame.right || rect.bottom > frame.bottom)
            FAIL_CHECK("page " << i + 1 << " runs past the frame of its tab");
        Inspect(page, "page " + std::to_string(i + 1));
    }
    PropSheet_PressButton(sheet, PSBTN_CANCEL);
}

} // namespace

TEST_SUITE("layout")
{
    TEST_CASE("every control lies inside its window and every text inside its control")
    {
        IniFolder folder;
        hInstance = GetModuleHandleW(nullptr);
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        for (int id : {IDD_SEARCH, IDD_TOURBAR, IDD_FILE_ORDER}) {
            HWND dialog = CreateDialogParamW(hInstance, MAKEINTRESOURCEW(id), nullptr, Inert, 0);
            Inspect(dialog, "dialog " + std::to_string(id));
            DestroyWindow(dialog);
        }
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, InspectSheet);
        ShowSettingsSheet(nullptr, 0, 1);
        KillTimer(nullptr, timer);
        CHECK(SheetPages == 4);
    }
}
