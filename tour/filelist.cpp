#include "tour/filelist.h"

#include "app/settings.h"
#include "app/textconv.h"
#include "app/textpath.h"

#include <algorithm>

const char NoTourFolderText[] =
    "見廻り先のフォルダが見つかりません。\n%s\n"
    "検索パスはドライブから指定してください（例: C:\\Pics\\*.jpg）。";

namespace {
// Tells the user that the list stopped short; nothing else can be done about it here.
void ReportNoMemory()
{
    MessageBoxA(nullptr, "メモリが足りないため、フォルダのファイルを途中までしか読み込めませんでした。", AppTitle,
                MB_ICONWARNING | MB_OK);
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

namespace {
// The most entries a list can hold: its count is an int, its size in bytes too.
constexpr SIZE_T MaxBytes =
    static_cast<SIZE_T>(0x7FFFFFFF) / sizeof(TourFileEntry) * sizeof(TourFileEntry);
constexpr SIZE_T FirstCommit = 64 * 1024;
constexpr SIZE_T FirstReserve = 16 * 1024 * 1024; // about 28,000 entries

// The reserved, not yet committed bytes that follow a block's committed part.
SIZE_T ReservedBeyond(const TourFileEntry* block, SIZE_T committed)
{
    MEMORY_BASIC_INFORMATION region;
    const BYTE* end = reinterpret_cast<const BYTE*>(block) + committed;
    if (!VirtualQuery(end, &region, sizeof region) || region.AllocationBase != block ||
        region.State != MEM_RESERVE)
        return 0;
    return region.RegionSize;
}
} // namespace

BOOL GrowTourFileList(TourFileList* list, int* capacity, int needed)
{
    if (needed <= *capacity)
        return TRUE;
    if (needed < 0 || static_cast<SIZE_T>(needed) * sizeof(TourFileEntry) > MaxBytes)
        return FALSE;

    // The block lies in a reserved address range whose pages are committed as the list grows:
    // entries stay where they are and new pages come zero-filled. Only a range that is full
    // is left for one four times as large, so a large folder's entries move a few times at
    // most; copying at every doubling cost a tour start a fifth of its time. The ranges stay
    // modest, as the platform may keep bookkeeping for every page ever reserved.
    SIZE_T held = static_cast<SIZE_T>(*capacity) * sizeof(TourFileEntry);
    SIZE_T neededBytes = static_cast<SIZE_T>(needed) * sizeof(TourFileEntry);
    SIZE_T bytes = std::min(std::max({held * 2, FirstCommit, neededBytes}), MaxBytes);
    SIZE_T room = *list ? held + ReservedBeyond(*list, held) : 0;
    TourFileEntry* block = *list;
    if (neededBytes <= room) {
        bytes = std::min(bytes, room);
    } else {
        SIZE_T range = std::min(std::max({room * 4, FirstReserve, bytes}), MaxBytes);
        block = static_cast<TourFileEntry*>(
            VirtualAlloc(nullptr, range, MEM_RESERVE, PAGE_NOACCESS));
        if (!block)
            return FALSE;
    }
    if (!VirtualAlloc(block, bytes, MEM_COMMIT, PAGE_READWRITE)) {
        if (block != *list)
            VirtualFree(block, 0, MEM_RELEASE);
        return FALSE;
    }
    if (block != *list && *list) {
        CopyMemory(block, *list, held);
        VirtualFree(*list, 0, MEM_RELEASE);
    }
    *list = block;
    *capacity = static_cast<int>(bytes / sizeof(TourFileEntry));
    return TRUE;
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

BOOL TourFileExists(const wchar_t* path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirst(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return FALSE;
    FindClose(search);
    return TRUE;
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
        VirtualFree(list, 0, MEM_RELEASE);
}
