#include "tour/filelist.h"

#include "app/settings.h"
#include "app/textconv.h"
#include "app/textpath.h"

#include <algorithm>

const char NoTourFolderText[] =
    "見廻り先のフォルダが見つかりません。\n%s\n"
    "検索パスはドライブから指定してください（例: C:\\Pics\\*.jpg）。";

namespace {
constexpr int FirstCapacity = 64;

// Tells the user that the list stopped short; nothing else can be done about it here.
void ReportNoMemory()
{
    MessageBoxA(nullptr, "DEBUG", "DEBUG", MB_OK);
}

// Short names are never used, and a large folder comes in fewer calls; systems without these
// two refuse them as a bad parameter and get the plain search.
HANDLE FindFirst(const wchar_t* pattern, WIN32_FIND_DATAW* found)
{
    HANDLE search = FindFirstFileExW(pattern, FindExInfoBasic, found, FindExSearchNameMatch,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER)
        search = FindFirstFileW(pattern, found);
    return search;
}
} // namespace

void LoadExtensionFilter(const char* text, WideExtensionFilter* filter)
{
    ExtensionFilter parsed;
    ParseExtensionFilter(text, &parsed);
    ZeroMemory(filter, sizeof *filter);
    // an entry cut inside a character keeps the stand-in the platform gives its lone lead byte
    for (int i = 0; i < parsed.count; ++i)
        AnsiToWide(parsed.ext[i], filter->ext[i]);
    filter->count = parsed.count;
}

void ReadExtensionFilter(int slot, WideExtensionFilter* filter)
{
    char text[TextSize];
    ReadUserString(Key::ExtFilter, slot, text);
    LoadExtensionFilter(text, filter);
}

BOOL ExtensionFilterAccepts(const WideExtensionFilter& filter, const wchar_t* fileName)
{
    if (filter.count == 0)
        return TRUE;
    wchar_t ext[MAX_PATH];
    if (!GetExtension(fileName, ext))
        return FALSE;
    for (int i = 0; i < filter.count; ++i) {
        // an entry that could not be converted is empty and must not match a bare name
        if (filter.ext[i][0] != L'\0' && lstrcmpiW(ext, filter.ext[i]) == 0)
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

int CollectTourFiles(const char* pattern, const WideExtensionFilter& filter, TourFileList* list)
{
    *list = nullptr;
    // Without a folder of its own the pattern would list the current folder, whose names
    // would then be opened or deleted in another one.
    wchar_t widePattern[TextSize];
    if (!HasAbsoluteFolder(pattern) || !AnsiToWide(pattern, widePattern))
        return 0;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirst(widePattern, &found);
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
    } while (FindNextFileW(search, &found));
    FindClose(search);
    *list = entries; // still null when no file was accepted
    return count;
}

int BuildTourFileList(int slot, const char* pattern, TourFileList* list)
{
    WideExtensionFilter filter;
    ReadExtensionFilter(slot, &filter);
    return CollectTourFiles(pattern, filter, list);
}

void FreeTourFileList(TourFileList list)
{
    if (list)
        GlobalFree(list);
}
