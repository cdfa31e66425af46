#include "settings/optionspage.h"

#include "app/logon.h"
#include "app/settings.h"
#include "app/tray.h"
#include "resource.h"
#include "settings/options.h"
#include "settings/pagelogic.h"

#include <commctrl.h>
#include <prsht.h>
#include <stdio.h>

namespace {

// Private to this page: re-evaluate which dependent boxes are enabled.
constexpr UINT UpdateOptionStates = WM_USER + 100;

// The check boxes that mirror one flag of the settings record each, in template order.
struct FlagBox {
    int id;
    BOOL SettingsRecord::*flag;
};
constexpr FlagBox FlagBoxes[] = {
    {IDC_OPT_IME_ON, &SettingsRecord::ImeOn},
    {IDC_OPT_SHOW_CLIP, &SettingsRecord::ShowClip},
    {IDC_OPT_COPY_EMULATE, &SettingsRecord::CopyEmulate},
    {IDC_OPT_AUTO_URL_OPEN, &SettingsRecord::AutoUrlOpen},
    {IDC_OPT_SHIFT_OPEN, &SettingsRecord::ShiftOpen},
    {IDC_OPT_MAKEUP_URL, &SettingsRecord::MakeupUrl},
    {IDC_OPT_HTTPS_URL, &SettingsRecord::HttpsUrl},
    {IDC_OPT_SAVE_HISTORY, &SettingsRecord::SaveHistory},
    {IDC_OPT_FUNCKEY_TOUR, &SettingsRecord::FuncKeyTour},
    {IDC_OPT_TOURBAR_SHOW, &SettingsRecord::TourBarShow},
    {IDC_OPT_TOUR_AUTOSTART, &SettingsRecord::TourAutoStart},
    {IDC_OPT_TRAY_ICON, &SettingsRecord::TrayIcon},
    {IDC_OPT_AUTOSTART, &SettingsRecord::AutoStart},
};

bool IsChecked(HWND page, int id)
{
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}

void Check(HWND page, int id, bool on)
{
    CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED);
}

void FillFunctionKeys(HWND page, int id, int selected)
{
    for (int n = 1; n <= FunctionKeyCount; n++) {
        char text[8];
        snprintf(text, sizeof text, "F%d", n);
        SendDlgItemMessageA(page, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    // a damaged file's index shows no key at all; OK then stores F1
    SendDlgItemMessageA(page, id, CB_SETCURSEL,
                        static_cast<WPARAM>(IndexOrNone(selected, FunctionKeyCount)), 0);
}

int SelectedFunctionKey(HWND page, int id)
{
    return ValidFunctionKey(static_cast<int>(SendDlgItemMessageA(page, id, CB_GETCURSEL, 0, 0)));
}

void OnInitDialog(HWND page)
{
    FillFunctionKeys(page, IDC_OPT_HOTKEY, Settings.HotKey & HotKeyIndexMask);
    FillFunctionKeys(page, IDC_OPT_TOUR_FUNCKEY, Settings.TourFuncKey);
    Check(page, IDC_OPT_HOTKEY_CTRL, Settings.HotKey & HotKeyCtrl);
    Check(page, IDC_OPT_HOTKEY_SHIFT, Settings.HotKey & HotKeyShift);
    Check(page, IDC_OPT_HOTKEY_ALT, Settings.HotKey & HotKeyAlt);
    for (const FlagBox& box : FlagBoxes)
        Check(page, box.id, Settings.*box.flag != 0);
    SendMessageA(page, UpdateOptionStates, 0, 0);
}

void OnUpdateOptionStates(HWND page)
{
    const OptionEnables enables = DecideOptionEnables(
        IsChecked(page, IDC_OPT_SHOW_CLIP), IsChecked(page, IDC_OPT_COPY_EMULATE),
        IsChecked(page, IDC_OPT_AUTO_URL_OPEN), IsChecked(page, IDC_OPT_FUNCKEY_TOUR));
    EnableWindow(GetDlgItem(page, IDC_OPT_COPY_EMULATE), enables.copyEmulate);
    EnableWindow(GetDlgItem(page, IDC_OPT_AUTO_URL_OPEN), enables.autoUrlOpen);
    EnableWindow(GetDlgItem(page, IDC_OPT_SHIFT_OPEN), enables.shiftOpen);
    EnableWindow(GetDlgItem(page, IDC_OPT_TOUR_FUNCKEY), enables.tourFuncKey);
}

void OnApply(HWND page)
{
    Settings.SettingsValid = 1;
    Settings.HotKey = MakeHotKey(SelectedFunctionKey(page, IDC_OPT_HOTKEY),
                                 IsChecked(page, IDC_OPT_HOTKEY_CTRL),
                                 IsChecked(page, IDC_OPT_HOTKEY_SHIFT),
                                 IsChecked(page, IDC_OPT_HOTKEY_ALT));
    // disabled boxes are stored by their marks too; the search window weighs them
    for (const FlagBox& box : FlagBoxes)
        Settings.*box.flag = IsChecked(page, box.id) ? 1 : 0;
    Settings.TourFuncKey = static_cast<WORD>(SelectedFunctionKey(page, IDC_OPT_TOUR_FUNCKEY));
    // in effect at once, not at the next start
    UpdateTrayIcon();
    ApplyLogonStart();
}

} // namespace

INT_PTR CALLBACK OptionsPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(page);
        break;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_OPT_SHOW_CLIP:
        case IDC_OPT_COPY_EMULATE:
        case IDC_OPT_AUTO_URL_OPEN:
        case IDC_OPT_FUNCKEY_TOUR:
            SendMessageA(page, UpdateOptionStates, 0, 0);
            break;
        }
        break;
    case UpdateOptionStates:
        OnUpdateOptionStates(page);
        break;
    case WM_NOTIFY:
        // not handled, the sheet reads 0: PSNRET_NOERROR, the page always lets the sheet close
        if (reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(PSN_APPLY))
            OnApply(page);
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK AboutPage(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
