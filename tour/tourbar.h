#pragma once
#include <windows.h>

INT_PTR CALLBACK TourBarProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
