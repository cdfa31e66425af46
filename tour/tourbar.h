#pragma once
#include <windows.h>

// Tour bar messages besides TourStart and TourOpenFile (app/app.h), sent by the bar itself.
constexpr UINT TourKeysOn = WM_USER + 102;
constexpr UINT TourKeysOff = WM_USER + 103;
constexpr UINT TourUpdateButtons = WM_USER + 104;

INT_PTR CALLBACK TourBarProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Fills a viewer command of the settings file (code page 932) with the file's path as the
// wide command line to run; FALSE (nothing to run) when it does not fit.
BOOL ExpandViewerCommand(const char* command, const wchar_t* path, wchar_t* out, int outChars);
