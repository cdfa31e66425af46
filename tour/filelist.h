#pragma once
#include <windows.h>

// One accepted file of a tour destination.
struct TourFileEntry {
    // After building: the entry's own position. After sorting: its rank (0 = first), or -1.
    int index;
    WIN32_FIND_DATAA findData;
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

constexpr int ExtFilterMaxEntries = 100;
constexpr int ExtFilterEntrySize = 10; // 9 bytes and the terminator

// A parsed extension filter; no entries accepts every file.
struct ExtensionFilter {
    int count;
    char ext[ExtFilterMaxEntries][ExtFilterEntrySize];
};

// Splits ".bmp;.jpg;.gif" at ';' into at most 100 entries cut to 9 bytes each.
void ParseExtensionFilter(const char* text, ExtensionFilter* filter);
// Reads and parses the filter of a destination slot (1..30).
void ReadExtensionFilter(int slot, ExtensionFilter* filter);
// Does the file name's extension equal one of the entries, ignoring case?
BOOL ExtensionFilterAccepts(const ExtensionFilter& filter, const char* fileName);

// The files matching `pattern` (a wildcard search pattern) that the filter accepts.
// Returns their count and stores the list, or null, in `list`.
int CollectTourFiles(const char* pattern, const ExtensionFilter& filter, TourFileList* list);
// The same with the filter of destination `slot`.
int BuildTourFileList(int slot, const char* pattern, TourFileList* list);
// Accepts a null list.
void FreeTourFileList(TourFileList list);

// Enlarges a list block of `*capacity` entries to hold at least `needed`, zero-filling the new
// part. On failure returns FALSE and leaves the block and capacity as they were.
BOOL GrowTourFileList(TourFileList* list, int* capacity, int needed);

// True when `entry` is to be shown before `other` in `order`; never for equal keys, so equal
// entries keep their enumeration order. Always false for an order outside 0..5.
bool TourFileComesBefore(const WIN32_FIND_DATAA& entry, const WIN32_FIND_DATAA& other, int order);
// Writes each entry's rank in `order` into `index`; with an order outside 0..5 every index
// becomes -1.
void SortTourFileList(TourFileList list, int count, int order);
