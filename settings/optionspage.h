#pragma once
#include <windows.h>

// Page procedures of the settings sheet's first and last pages (dialogs 103 and 106).
INT_PTR CALLBACK OptionsPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutPage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
