#pragma once
#include "settings/pagelogic.h"

#include <windows.h>

// Window helpers shared by the two list pages (engines and destinations): a list of slots
// over a working copy in the global heap, with down, up and clear buttons and detail
// controls that show the selected slot.

struct ListPage {
    int list;            // the list box
    int down, up, clear; // the three buttons acting on the selected slot
    UINT refill;         // the page's private message: rebuild the list, select entry wParam
    int count;           // slots in the working copy
    int recordSize;      // bytes per slot
    void (*label)(int index, char* out, int outSize); // a slot's list entry
};

// The zero-filled working copy, or null when the heap has no room.
void* TakeWorkCopy(const ListPage& kind);
// Gives the copy back and clears the pointer; accepts null.
void FreeWorkCopy(void* copy);
template <class T> void ReleaseWorkCopy(T*& copy)
{
    FreeWorkCopy(copy);
    copy = nullptr;
}

// The selected entry, or -1 when none is.
int ListSelection(HWND page, const ListPage& kind);

// Empties the list, adds every slot's entry, selects entry `select` (none when it is outside
// the list) and sends the page LBN_SELCHANGE from the list, so the details follow.
void RefillList(HWND page, const ListPage& kind, int select);

// Enables the detail controls exactly when a slot is selected, up unless it is the first and
// down unless it is the last.
void EnableForSelection(HWND page, const ListPage& kind, const int* details, int detailCount,
                        int sel);

// Down, up and clear on the selected slot; each ends in the refill message selecting where the
// slot is now. FALSE when id is none of the three buttons.
BOOL RunListButton(HWND page, const ListPage& kind, void* records, int id, int sel);

// An edit's text in an area larger than every field, so the field rules see what was typed.
void GetEditText(HWND page, int id, char (&out)[LongTextSize]);

// Takes an edit's text into a field: cut to the field, or, when `whole`, taken only if it fits
// whole (a refusal beeps and keeps the field). The edit then shows what the field holds.
void CommitEditText(HWND page, int id, char* field, int fieldSize, bool whole);
template <int N> void CommitEditText(HWND page, int id, char (&field)[N], bool whole)
{
    CommitEditText(page, id, field, N, whole);
}

// The open-file dialog with one filter ("name\0pattern\0"), starting in the folder of
// `startFrom` (a path, pattern or command); TRUE when a file was chosen.
BOOL AskForFile(HWND owner, const char* filter, const char* title, const char* startFrom,
                char (&out)[PathSize]);
