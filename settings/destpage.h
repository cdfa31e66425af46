#pragma once
#include <windows.h>

// Page procedure of the settings sheet's tour destinations page (dialog 105). The page's
// parameter is the destination slot 1..30 to select first.
INT_PTR CALLBACK DestinationsPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
