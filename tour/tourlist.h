#pragma once
#include <windows.h>

#include "tour/filelist.h"

// The files of the running tour in tour order: the program's own compact list, so that a
// tour of 100,000 files costs its names and nothing more. The "*" popup is built from it
// only when the user opens it.
struct TourItem {
    int offset;   // of the name in the text block, in units
    BOOL missing; // found missing during this tour: grayed in the list
};
struct TourList {
    wchar_t* text; // the names one after another, each with its terminator
    int textUsed, textCapacity;
    TourItem* items;
    int count, capacity;
};

BOOL TourListAdd(TourList& list, const wchar_t* name);
// Appends the names of a sorted file list in rank order; unranked entries (-1) stay out.
void TourListAddRanked(TourList& list, const TourFileEntry* files, int count);
void TourListRemove(TourList& list, int position);
void TourListClear(TourList& list); // gives the memory back
inline const wchar_t* TourListName(const TourList& list, int position)
{
    return list.text + list.items[position].offset;
}

// Where the tour stands: the position of the file last opened (-1 before the first step).
// `gone` marks that this file was deleted: the position then names the file that
// followed it, which the next "→" opens and the next "←" passes by.
struct TourCursor {
    int position;
    bool gone;
};

enum TourStepKind { TourStepNext, TourStepPrevious };

// The position a step lands on in a tour of `count` files (wrapping at both ends); -1 when
// there is nothing to step to.
int StepTourPosition(const TourCursor& cursor, int count, TourStepKind kind);
// "!": the tick count in tenths of a second, modulo the count.
int RandomTourPosition(DWORD tickCount, int count);
// Keeps the cursor on the same file, or on the gap of the current one, after a deletion.
void AdjustTourCursorAfterDelete(TourCursor& cursor, int deleted);
