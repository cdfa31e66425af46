#pragma once
#include <windows.h>

// The modal four-page settings sheet: options, engines, destinations, about.
// startPage 0..3; startSlot 1..30 is the destination the destinations page selects.
void ShowSettingsSheet(HWND owner, int startPage, int startSlot);
