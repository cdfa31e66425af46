#pragma once
#include <windows.h>

#include "tour/extfilter.h"

// One accepted file of a tour destination. Names are UTF-16, as the folder holds them: a name
// with characters code page 932 has no place for must still open, rename and delete.
struct TourFileEntry {
    // After building: the entry's own position. After sorting: its rank (0 = first), or -1.
    int index;
    WIN32_FIND_DATAW findData;
};

// A list is a pointer to the first of `count` contiguous entries, in enumeration order;
// null when no file was accepted. Sorting never moves entries, it only rewrites `index`.
using TourFileList = TourFileEntry*;

enum TourFileOrder {
    NameAscending = 0,
    NameDescending = 1,
    DateAscending = 2,
    DateDescending = 3,
    SizeAscending = 4,
    SizeDescending = 5,
};
constexpr int TourFileOrderCount = 6;

// Said when a destination's pattern names no folder of its own (see HasAbsoluteFolder), with
// the pattern as its "%s".
extern const char NoTourFolderText[];

// A filter's entries as UTF-16, converted once for all the names of a folder. Each is
// converted as the ANSI comparison converted it, so it matches what it matched before.
struct WideExtensionFilter {
    int count;
    wchar_t ext[ExtFilterMaxEntries][ExtFilterEntrySize];
};
// Parses a filter text of the settings file.
void LoadExtensionFilter(const char* text, WideExtensionFilter* filter);
// Reads and parses the filter of a destination slot (1..30).
void ReadExtensionFilter(int slot, WideExtensionFilter* filter);
// Does the file name's extension equal one of the entries, ignoring case?
BOOL ExtensionFilterAccepts(const WideExtensionFilter& filter, const wchar_t* fileName);

// The files matching `pattern` (a wildcard search pattern, code page 932) that the filter
// accepts. Returns their count and stores the list, or null, in `list`. A pattern without a
// folder of its own lists nothing.
int CollectTourFiles(const char* pattern, const WideExtensionFilter& filter, TourFileList* list);
// The same with the filter of destination `slot`.
int BuildTourFileList(int slot, const char* pattern, TourFileList* list);
// Accepts a null list.
void FreeTourFileList(TourFileList list);

// Looks a file up with the same directory enumeration. (Under Wine a lookup by attributes
// instead left a large folder's listing buffers behind, over a megabyte for 10,000 names.)
BOOL TourFileExists(const wchar_t* path);

// Enlarges a list block of `*capacity` entries to hold at least `needed`, zero-filling the new
// part. On failure returns FALSE and leaves the block and capacity as they were.
BOOL GrowTourFileList(TourFileList* list, int* capacity, int needed);

// True when `entry` is to be shown before `other` in `order`; never for equal keys, so equal
// entries keep their enumeration order. Always false for an order outside 0..5.
bool TourFileComesBefore(const WIN32_FIND_DATAW& entry, const WIN32_FIND_DATAW& other, int order);
// Writes each entry's rank in `order` into `index`; with an order outside 0..5 every index
// becomes -1.
void SortTourFileList(TourFileList list, int count, int order);
