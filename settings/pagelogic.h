#pragma once
#include "app/settings.h"

#include <windows.h>

// The engines and destinations pages' decisions, free of windows so that tests call them.

// One search engine of the working copy: F(i+1) runs record i.
struct EngineSlot {
    char name[NameSize];        // at most 99 bytes
    char urlTemplate[TextSize]; // at most 299 bytes, "%s" for the encoded query
    int code;                   // EngineCodeKind: zero-filled is Shift-JIS
};

// The engine code a value of "ENGINECODE%d" stands for: UTF-8 for the number 1 only; anything
// else, a damaged value too, is Shift-JIS, which is what every engine was before the key.
int EngineCodeOf(const char* value);

enum TourKind {
    FixedFolder = 0,
    AskEachTime = 1,
    FixedWithQuickOpen = 2,
    QuickOpenOnly = 3,
};
constexpr int TourKindCount = 4;

// One tour destination of the working copy: slot i+1 is record i.
struct TourDestination {
    char name[NameSize];
    char pathPattern[PathSize];   // "C:\Pics\*.jpg", or the start folder when asked each time
    int kind;                     // TourKind; a damaged file's value is kept as it is
    int orderBy;                  // TourFileOrder
    char extFilter[NameSize];
    char viewerCommand[PathSize]; // a format: "%s" the file, "%%" a percent sign
};

// Edits and settings values are read into areas this large, so that nothing is cut before
// the field rules below decide.
constexpr int LongTextSize = 1024;

// Stores text cut to the field at a character boundary: no lone lead byte is left, and a long
// text never reaches past the field into its neighbour.
void CutToField(char* field, int fieldSize, const char* text);
// Stores text only when it fits whole; otherwise the field stays as it was and the result is
// FALSE. For paths and command lines: a cut one could name another file.
BOOL StoreWhole(char* field, int fieldSize, const char* text);

template <int N> void CutToField(char (&field)[N], const char* text)
{
    CutToField(field, N, text);
}
template <int N> BOOL StoreWhole(char (&field)[N], const char* text)
{
    return StoreWhole(field, N, text);
}

// The engine list's entry "[F%d] %s"; an unnamed slot's entry ends with the blank.
void ComposeEngineLabel(int slot, const char* name, char* out, int outSize);
// The destination list's entry: the name, or "-" when it is empty.
void ComposeDestinationEntry(const char* name, char* out, int outSize);

// value when it is an index of a list of count entries, otherwise -1 (nothing selected).
int IndexOrNone(int value, int count);

// Exchanges record index with its neighbour index + step (step 1 or -1) in a working copy of
// count records. Returns where the moved record now is, or -1 when either place is outside
// the copy, in which case nothing moves.
int MoveRecord(void* records, int recordSize, int count, int index, int step);
// Zero-fills record index; FALSE outside the copy.
BOOL ClearRecord(void* records, int recordSize, int count, int index);

// The search pattern for a chosen file: its folder, "\*" and its file name's extension
// (C:\Pics\a.jpg gives C:\Pics\*.jpg, a name without extension C:\Pics\*). FALSE, and the
// output empty, when it does not fit.
BOOL BuildPathPattern(const char* filePath, char* out, int outSize);
// The viewer command for a program: its path, a blank and "%s" in double quotes. Percent signs
// of the path are doubled, as the command is filled in like a format. FALSE, output empty,
// when it does not fit.
BOOL BuildViewerCommand(const char* programPath, char* out, int outSize);
// The folder holding a search pattern's files. FALSE, output empty, when the pattern is too
// long to be a path.
BOOL PatternFolder(const char* pattern, char* out, int outSize);
