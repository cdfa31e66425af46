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

namespace {
// The most entries a list can hold: its count is an int, its size in bytes too.
constexpr SIZE_T MaxEntries = static_cast<SIZE_T>(0x7FFFFFFF) / sizeof(TourFileEntry);
constexpr SIZE_T FirstCommit = 64 * 1024;
} // namespace

BOOL GrowTourFileList(TourFileList* list, int* capacity, int needed)
{
    if (needed <= *capacity)
        return TRUE;
    if (needed < 0 || static_cast<SIZE_T>(needed) > MaxEntries)
        return FALSE;

    // The block's whole address range is reserved at once and its pages committed as the
    // list grows: entries never move, and committed pages come zero-filled. Moving a block
    // that is copied into a larger one cost a large folder's tour start a fifth of its time.
    TourFileEntry* block = *list;
    if (!block) {
        block = static_cast<TourFileEntry*>(
            VirtualAlloc(nullptr, MaxEntries * sizeof(TourFileEntry), MEM_RESERVE, PAGE_NOACCESS));
        if (!block)
            return FALSE;
    }
    // doubling the committed part keeps the calls few; what is never written stays free
    SIZE_T held = static_cast<SIZE_T>(*capacity) * sizeof(TourFileEntry);
    SIZE_T bytes = std::max(held * 2, FirstCommit);
    bytes = std::max(bytes, static_cast<SIZE_T>(needed) * sizeof(TourFileEntry));
    bytes = std::min(bytes, MaxEntries * sizeof(TourFileEntry));
    if (!VirtualAlloc(block, bytes, MEM_COMMIT, PAGE_READWRITE)) {
        if (!*list)
            VirtualFree(block, 0, MEM_RELEASE);
        return FALSE;
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
