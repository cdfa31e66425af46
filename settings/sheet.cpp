#include "settings/sheet.h"

#include "app/app.h"
#include "app/settings.h"
#include "resource.h"
#include "settings/destpage.h"
#include "settings/enginespage.h"
#include "settings/optionspage.h"

#include <commctrl.h>
#include <prsht.h>
#include <stdio.h>

#ifndef PSH_USEPAGEFONT
#define PSH_USEPAGEFONT 0x00800000 // common controls 5.80; mingw-w64's headers lack it
#endif

namespace {

struct PageKind {
    int dialog;
    DLGPROC procedure;
};
// The pages in the order they are created and shown.
constexpr PageKind Pages[] = {
    {IDD_OPTIONS_PAGE, OptionsPage},
    {IDD_ENGINES_PAGE, EnginesPage},
    {IDD_DESTINATIONS_PAGE, DestinationsPage},
    {IDD_ABOUT_PAGE, AboutPage},
};
constexpr int PageCount = sizeof Pages / sizeof Pages[0];
constexpr int DestinationsPageIndex = 2;

} // namespace

void ShowSettingsSheet(HWND owner, int startPage, int startSlot)
{
    HPROPSHEETPAGE handles[PageCount] = {};
    for (int i = 0; i < PageCount; i++) {
        // the first version of the records has every field used here and is understood by
        // every common controls library, with or without a version 6 manifest
        PROPSHEETPAGEA page{};
        page.dwSize = PROPSHEETPAGEA_V1_SIZE;
        page.dwFlags = PSP_DEFAULT;
        page.hInstance = hInstance;
        page.pszTemplate = MAKEINTRESOURCEA(Pages[i].dialog);
        page.pfnDlgProc = Pages[i].procedure;
        page.lParam = i == DestinationsPageIndex ? startSlot : 0;
        handles[i] = CreatePropertySheetPageA(&page);
        if (!handles[i]) {
            // pages not yet handed to a sheet must be destroyed by their creator
            for (int j = 0; j < i; j++)
                DestroyPropertySheetPage(handles[j]);
            return;
        }
    }

    char caption[100];
    snprintf(caption, sizeof caption, "%sの設定", AppTitle);

    PROPSHEETHEADERA header{};
    header.dwSize = PROPSHEETHEADERA_V1_SIZE;
    // The pages are set in the sheet's own font, MS Shell Dlg 8 pt, rather than one of their own:
    // the sheet sizes its page area from the pages' dialog units taken in its font, and Wine
    // does so even when told otherwise, so pages in another font would run past it. Where a
    // localized sheet names another font, PSH_USEPAGEFONT has Windows measure in the pages'.
    header.dwFlags = PSH_NOAPPLYNOW | PSH_USEPAGEFONT;
    header.hwndParent = owner;
    header.hInstance = hInstance;
    header.pszCaption = caption;
    header.nPages = PageCount;
    header.nStartPage = startPage;
    header.phpage = handles;
    // the pages have done their work (PSN_APPLY) by the time it returns; the result adds nothing
    PropertySheetA(&header);
}
