#include "tour/destmenu.h"

#include "app/app.h"
#include "app/settings.h"
#include "app/textconv.h"
#include "tour/filelist.h"

static const int KindQuickOpen = 2; // FixedWithQuickOpen; above it QuickOpenOnly

// The menu is a wide one throughout: labels are the settings file's code page 932 text.
static void AppendLabel(HMENU menu, UINT flags, UINT_PTR id, const char* label)
{
    wchar_t wide[DestinationLabelSize];
    AnsiToWide(label, wide);
    AppendMenuW(menu, flags, id, wide);
}

static void AppendQuickOpenFiles(HMENU submenu, int slot, const char* pattern)
{
    TourFileList list = nullptr;
    int count = BuildTourFileList(slot, pattern, &list);
    // ids beyond the slot's million would run into the next slot
    for (int i = 0; i < count && i + 1 < DestinationFileBase; ++i)
        AppendMenuW(submenu, MF_STRING, slot * DestinationFileBase + i + 1,
                    list[i].findData.cFileName);
    FreeTourFileList(list);
}

void BuildDestinationsMenu(HMENU menu, int currentSlot)
{
    bool gap = false;
    char name[TextSize], path[TextSize], filter[TextSize];
    char label[DestinationLabelSize];
    for (int slot = 1; slot <= TourSlotCount; ++slot) {
        ReadUserString(Key::TourName, slot, name);
        ReadUserString(Key::TourPath, slot, path);
        ReadUserString(Key::ExtFilter, slot, filter);
        ComposeDestinationLabel(name, path, filter, slot == currentSlot, label, sizeof label);
        if (label[0] == '\0') {
            gap = true;
            continue;
        }
        if (gap)
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        gap = false;

        int kind = ReadUserInt(Key::InputPath, slot, 0);
        if (kind < KindQuickOpen) {
            AppendLabel(menu, MF_STRING, slot, label);
            continue;
        }
        HMENU submenu = CreatePopupMenu();
        if (kind == KindQuickOpen) {
            AppendLabel(submenu, MF_STRING, slot * DestinationFileBase, "見廻る");
            AppendMenuW(submenu, MF_SEPARATOR, 0, nullptr);
        }
        AppendQuickOpenFiles(submenu, slot, path);
        AppendLabel(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), label);
    }
}

void RunDestinationChoice(HMENU menu, int id)
{
    int slot, file;
    if (!DecodeDestinationId(id, &slot, &file))
        return;
    if (file == 0) {
        SendMessageA(TourBar, TourStart, TourChosenNow | slot, 0);
        return;
    }
    // read back wide: the ANSI text of a name beyond code page 932 names another file
    wchar_t fileName[TextSize] = L"";
    GetMenuStringW(menu, id, fileName, TextSize, MF_BYCOMMAND);
    SendMessageW(TourBar, TourOpenFile, slot, reinterpret_cast<LPARAM>(fileName));
}
