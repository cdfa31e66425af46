#pragma once
#include <windows.h>

// Page procedure of the settings sheet's search engines page (dialog 104).
INT_PTR CALLBACK EnginesPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
