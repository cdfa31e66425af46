#pragma once
#include "app/settings.h"

// Room for a full template with a full encoded query (299 + 900 bytes and more).
constexpr int AddressSize = 2048;

// The search history as the history box holds it, newest first.
struct HistoryList {
    char entries[HistoryCount][TextSize];
    int count;
};
// Moves the query to the top: an entry equal to it without regard to case is removed
// first (searched from the second entry on, then the first, as the box does), and the
// list keeps its newest HistoryCount entries.
void PushHistory(HistoryList& list, const char* query);

// Opens the query: an address ("http:...") directly, otherwise through engine 1..12.
// 0 when the engine has no template (nothing opened, nothing recorded).
int RunSearch(const char* query, int engine);
