#include "tour/filelist.h"

#include "app/settings.h"
#include "app/textpath.h"

#include <algorithm>

namespace {
constexpr int ExtFilterSplitLimit = ExtFilterMaxEntries - 1;
constexpr int FirstCapacity = 64;

// Stores [start, start + len) as the next entry, cut to 9 bytes.
void AddFilterEntry(ExtensionFilter* filter, const char* start, int len)
{
    if (len > ExtFilterEntrySize - 1)
        len = ExtFilterEntrySize - 1;
    char* entry = filter->ext[filter->count];
    CopyMemory(entry, start, len);
    entry[len] = '\0';
    ++filter->count;
}

// Tells the user that the list stopped short; nothing else can be done about it here.
void ReportNoMemory()
{
    MessageBoxA(nullptr, "DEBUG", "DEBUG", MB_OK);
}
} // namespace

void ParseExtensionFilter(const char* text, ExtensionFilter* filter)
{
    ZeroMemory(filter, sizeof *filter);
    if (*text == '\0')
        return;

    // A ';' in first place, or right after another ';', belongs to the token it starts.
    const char* start = text;
    const char* p = CharNextA(text);
    while (filter->count < ExtFilterSplitLimit && *p != '\0') {
        if (*p == ';') {
            AddFilterEntry(filter, start, static_cast<int>(p - start));
            start = p + 1;
            p = CharNextA(start);
        } else {
            p = CharNextA(p);
        }
    }
    // the 100th entry takes everything after the 99th separator
    int rest = lstrlenA(start);
    if (rest > 0)
        AddFilterEntry(filter, start, rest);
}

void ReadExtensionFilter(int slot, ExtensionFilter* filter)
{
    char text[TextSize];
    ReadUserString(Key::ExtFilter, slot, text);
    ParseExtensionFilter(text, filter);
}

BOOL ExtensionFilterAccepts(const ExtensionFilter& filter, const char* fileName)
{
    if (filter.count == 0)
        return TRUE;
    char ext[MAX_PATH];
    if (!GetExtension(fileName, ext))
        return FALSE;
    for (int i = 0; i < filter.count; ++i) {
        if (lstrcmpiA(ext, filter.ext[i]) == 0)
            return TRUE;
    }
    return FALSE;
}

BOOL GrowTourFileList(TourFileList* list, int* capacity, int needed)
{
    if (needed <= *capacity)
        return TRUE;
    const SIZE_T maxEntries = static_cast<SIZE_T>(0x7FFFFFFF) / sizeof(TourFileEntry);
    if (static_cast<SIZE_T>(needed) > maxEntries)
        return FALSE;

    // Doubling keeps a large folder from copying the block once per file; when the doubled
    // block cannot be had, exactly the needed size may still fit.
    SIZE_T wanted = *capacity > 0 ? static_cast<SIZE_T>(*capacity) * 2 : FirstCapacity;
    wanted = std::min(std::max(wanted, static_cast<SIZE_T>(needed)), maxEntries);
    for (;;) {
        SIZE_T bytes = wanted * sizeof(TourFileEntry);
        void* block = *list ? GlobalReAlloc(*list, bytes, GMEM_MOVEABLE)
                            : GlobalAlloc(GMEM_FIXED, bytes);
        if (block) {
            auto* grown = static_cast<TourFileEntry*>(block);
            ZeroMemory(grown + *capacity, (wanted - *capacity) * sizeof(TourFileEntry));
            *list = grown;
            *capacity = static_cast<int>(wanted);
            return TRUE;
        }
        if (wanted == static_cast<SIZE_T>(needed))
            return FALSE;
        wanted = needed;
    }
}

int CollectTourFiles(const char* pattern, const ExtensionFilter& filter, TourFileList* list)
{
    *list = nullptr;
    if (*pattern == '\0')
        return 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;

    TourFileList entries = nullptr;
    int count = 0;
    int capacity = 0;
    do {
        // drops ".", ".." and every subfolder; hidden and system files are kept
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if (!ExtensionFilterAccepts(filter, found.cFileName))
            continue;
        // Stop at the first failure: a box per remaining file would help nobody.
        if (!GrowTourFileList(&entries, &capacity, count + 1)) {
            ReportNoMemory();
            break;
        }
        entries[count].index = count;
        entries[count].findData = found;
        ++count;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    *list = entries; // still null when no file was accepted
    return count;
}

int BuildTourFileList(int slot, const char* pattern, TourFileList* list)
{
    ExtensionFilter filter;
    ReadExtensionFilter(slot, &filter);
    return CollectTourFiles(pattern, filter, list);
}

void FreeTourFileList(TourFileList list)
{
    if (list)
        GlobalFree(list);
}
