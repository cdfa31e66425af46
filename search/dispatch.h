#pragma once
#include "app/settings.h"

// The longest encoded query: a UTF-8 engine's, where each half-width katakana byte becomes
// three bytes of UTF-8 and so nine bytes of escapes (2,691 for a 299-byte query).
constexpr int EncodedSize = 9 * (TextSize - 1) + 1;
// Room for a full template whose one "%s" takes the longest encoded query; a template with
// more "%s" is cut to it.
constexpr int AddressSize = (TextSize - 1 - 2) + EncodedSize;

// The query as an engine of code `code` (EngineCodeKind) takes it: its Shift-JIS bytes
// escaped as they are, or converted to UTF-8 first. Output that would not fit is left off
// whole; EncodedSize holds any query of at most 299 bytes.
void EncodeForEngine(const char* query, int code, char* out, int outSize);

// The search history as the history box holds it, newest first.
struct HistoryList {
    char entries[HistoryCount][TextSize];
    int count;
};
// Moves the query to the top: an entry equal to it without regard to case is removed
// first (searched from the second entry on, then the first, as the box does), and the
// list keeps its newest HistoryCount entries.
void PushHistory(HistoryList& list, const char* query);
// The first HistoryCount entries of the box, each cut to 299 bytes at a character boundary.
void ReadHistoryBox(HWND box, HistoryList& list);

// Opens the query: an address (IsWebAddress) directly, otherwise through engine 1..12.
// 0 when the engine has no template (nothing opened, nothing recorded).
int RunSearch(const char* query, int engine);
