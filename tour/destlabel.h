#pragma once
#include <windows.h>

// The destinations menu's labels and command ids, apart from the menu itself.

// Command ids of the destinations menu, s the slot (1..30), n a file's position (1-based):
// s starts a tour, s * DestinationFileBase does too ("見廻る"), s * DestinationFileBase + n
// opens file n of slot s at once.
constexpr int DestinationFileBase = 1000000;

// Labels carry a name or a path, a filter and the mark: room for all three whole.
constexpr int DestinationLabelSize = 1024;

// The menu label of a slot ("" for an empty slot); `current` wraps it as "【 %s 】".
void ComposeDestinationLabel(const char* name, const char* path, const char* filter,
                             BOOL current, char* out, int outSize);

// Splits a chosen id: the slot and the file position (0 for a tour start). FALSE for none.
BOOL DecodeDestinationId(int id, int* slot, int* file);
