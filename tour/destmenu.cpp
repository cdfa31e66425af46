#include "tour/destmenu.h"

#include "app/app.h"
#include "app/settings.h"
#include "tour/filelist.h"

#include <stdio.h>

static const int KindQuickOpen = 2; // FixedWithQuickOpen; above it QuickOpenOnly

void ComposeDestinationLabel(const char* name, const char* path, const char* filter,
                             BOOL current, char* out, int outSize)
{
    char label[DestinationLabelSize];
    if (name[0] != '\0')
        snprintf(label, sizeof label, "%s", name);
    else if (path[0] != '\0' && filter[0] != '\0')
        snprintf(label, sizeof label, "%s (%s)", path, filter);
    else
        snprintf(label, sizeof label, "%s", path);

    if (label[0] != '\0' && current)
        snprintf(out, outSize, "【 %s 】", label);
    else
        snprintf(out, outSize, "%s", label);
}

BOOL DecodeDestinationId(int id, int* slot, int* file)
{
    if (id <= 0)
        return FALSE;
    if (id < DestinationFileBase) {
        *slot = id & 0xFFFF;
        *file = 0;
    } else {
        *slot = (id / DestinationFileBase) & 0xFFFF;
        *file = id % DestinationFileBase;
    }
    return TRUE;
}

static void AppendQuickOpenFiles(HMENU submenu, int slot, const char* pattern)
{
    TourFileList list = nullptr;
    int count = BuildTourFileList(slot, pattern, &list);
    // ids beyond the slot's million would run into the next slot
    for (int i = 0; i < count && i + 1 < DestinationFileBase; ++i)
        AppendMenuA(submenu, MF_STRING, slot * DestinationFileBase + i + 1,
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
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        gap = false;

        int kind = ReadUserInt(Key::InputPath, slot, 0);
        if (kind < KindQuickOpen) {
            AppendMenuA(menu, MF_STRING, slot, label);
            continue;
        }
        HMENU submenu = CreatePopupMenu();
        if (kind == KindQuickOpen) {
            AppendMenuA(submenu, MF_STRING, slot * DestinationFileBase, "見廻る");
            AppendMenuA(submenu, MF_SEPARATOR, 0, nullptr);
        }
        AppendQuickOpenFiles(submenu, slot, path);
        AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), label);
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
    char fileName[TextSize] = "";
    GetMenuStringA(menu, id, fileName, sizeof fileName, MF_BYCOMMAND);
    SendMessageA(TourBar, TourOpenFile, slot, reinterpret_cast<LPARAM>(fileName));
}
