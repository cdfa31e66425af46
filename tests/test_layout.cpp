#include <doctest.h>
#include <windows.h>

#include "app/app.h"
#include "app/textconv.h"
#include "resources/resource.h"
#include "settings/sheet.h"
#include "tests/testutil.h"

#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

// The program's windows built from its own resources, in this process and with its fonts:
// every control inside its window, every text inside its control.
//
// The fonts here are IPA stand-ins for the Japanese UI fonts of Windows (ＭＳ Ｐゴシック, MS UI
// Gothic, Yu Gothic UI where those are missing). A dialog unit is a quarter of the font's
// average Latin letter rounded to whole pixels, while a Japanese character is as wide as the
// font is high: one pixel less in that average, from another font or another scaling (125 %,
// 150 %), makes every unit a sixth or seventh narrower against the same Japanese text. So each
// text must fit with a fifth of its width to spare.

namespace {

using Faults = std::vector<std::string>;

std::wstring WindowText(HWND window)
{
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    return text;
}

std::string Utf8(const std::wstring& text)
{
    char out[2048] = "";
    WideToUtf8(text.c_str(), out);
    return out;
}

// One line as the control draws it: in its own font, "&" marking the mnemonic.
SIZE TextSize(HWND control, const std::wstring& line, UINT flags)
{
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT rect{};
    DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &rect,
              DT_CALCRECT | DT_SINGLELINE | flags);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {rect.right, rect.bottom};
}

// The texts a control shows, how it draws them, and the pixels it leaves them: a push
// button's bevel and focus frame, a check box's box and the gap after it, a group box's indents,
// the arrow of a drop-down list (whose items show in its field) are not for text.
int TextsAndRoom(HWND control, std::vector<std::wstring>& texts, UINT& flags)
{
    wchar_t kind[32] = L"";
    GetClassNameW(control, kind, 32);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const int edge = GetSystemMetrics(SM_CXEDGE);
    RECT client;
    GetClientRect(control, &client);
    if (lstrcmpiW(kind, L"ComboBox") == 0) {
        const int count = static_cast<int>(SendMessageW(control, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t item[256] = L"";
            if (SendMessageW(control, CB_GETLBTEXTLEN, i, 0) < 256)
                SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            texts.push_back(item);
        }
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(control, &info);
        flags = DT_NOPREFIX;
        return info.rcItem.right - info.rcItem.left - edge;
    }
    // lines of a label or caption
    const std::wstring text = WindowText(control);
    for (size_t start = 0, end = 0; !text.empty() && end != std::wstring::npos; start = end + 1) {
        end = text.find(L'\n', start);
        texts.push_back(text.substr(start, end - start));
    }
    if (lstrcmpiW(kind, L"Static") == 0) {
        const LONG type = style & SS_TYPEMASK;
        return type <= SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP ? client.right : 0;
    }
    if (lstrcmpiW(kind, L"Button") != 0)
        return 0;
    switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        return client.right - 2 * (edge + 1);
    case BS_GROUPBOX:
        return client.right - 4 * edge;
    case BS_OWNERDRAW:
        return 0;
    default: // check boxes and radio buttons
        return client.right - GetSystemMetrics(SM_CXMENUCHECK) - 2 * edge;
    }
}

// Every child of `window` inside its client area, and every text inside its control.
void Inspect(HWND window, const std::string& where, Faults& faults)
{
    RECT client;
    GetClientRect(window, &client);
    for (HWND control = GetWindow(window, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        const std::string name = where + ", control " + std::to_string(GetDlgCtrlID(control)) +
                                 " \"" + Utf8(WindowText(control)) + "\"";
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        if (rect.left < 0 || rect.top < 0 || rect.right > client.right || rect.bottom > client.bottom)
            faults.push_back(name + " lies outside its window");

        std::vector<std::wstring> texts;
        UINT flags = 0;
        const int room = TextsAndRoom(control, texts, flags);
        if (room == 0)
            continue;
        LONG height = 0;
        for (const std::wstring& text : texts) {
            const SIZE size = TextSize(control, text, flags);
            height += size.cy;
            if (size.cx * 6 > room * 5)
                faults.push_back(name + ": \"" + Utf8(text) + "\" takes " +
                                 std::to_string(size.cx) + " of " + std::to_string(room) +
                                 " pixels, with no room to spare");
        }
        RECT inside;
        GetClientRect(control, &inside);
        // the lines of one text, not a list's items
        if (flags == 0 && texts.size() > 1 && height > inside.bottom)
            faults.push_back(name + ": its lines take more than its height");
    }
}

INT_PTR CALLBACK Inert(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// The settings sheet as the program shows it, with its own page procedures: from a timer in
// the sheet's modal loop each page is shown and inspected in turn, then the sheet cancelled.
struct SheetVisit {
    Faults faults;
    int pages = 0;
    int ticks = 0;
} visit;

BOOL CALLBACK FindSheet(HWND window, LPARAM found)
{
    if (!IsWindowVisible(window) || !PropSheet_GetTabControl(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

void CALLBACK InspectSheet(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND sheet = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindSheet, reinterpret_cast<LPARAM>(&sheet));
    if (!sheet && ++visit.ticks < 200)
        return;
    KillTimer(nullptr, timer);
    if (!sheet)
        return;
    HWND tabs = PropSheet_GetTabControl(sheet);
    RECT frame;
    GetWindowRect(tabs, &frame);
    TabCtrl_AdjustRect(tabs, FALSE, &frame);
    for (int i = 0; i < TabCtrl_GetItemCount(tabs); ++i) {
        PropSheet_SetCurSel(sheet, nullptr, i);
        HWND page = PropSheet_GetCurrentPageHwnd(sheet);
        const std::string where = "page " + std::to_string(i + 1);
        RECT rect;
        GetWindowRect(page, &rect);
        if (rect.left < frame.left || rect.top < frame.top || rect.right > frame.right ||
            rect.bottom > frame.bottom)
            visit.faults.push_back(where + " runs past the frame of its tab");
        Inspect(page, where, visit.faults);
        ++visit.pages;
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

        Faults faults;
        for (int id : {IDD_SEARCH, IDD_TOURBAR, IDD_FILE_ORDER}) {
            HWND dialog = CreateDialogParamW(hInstance, MAKEINTRESOURCEW(id), nullptr, Inert, 0);
            REQUIRE(dialog);
            Inspect(dialog, "dialog " + std::to_string(id), faults);
            DestroyWindow(dialog);
        }

        visit = SheetVisit{};
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, InspectSheet);
        ShowSettingsSheet(nullptr, 0, 1);
        KillTimer(nullptr, timer);
        CHECK(visit.pages == 4);
        faults.insert(faults.end(), visit.faults.begin(), visit.faults.end());
        for (const std::string& fault : faults)
            FAIL_CHECK(fault);
    }
}
