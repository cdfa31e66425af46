#pragma once
#include <windows.h>

// Tour bar messages besides TourStart and TourOpenFile (app/app.h), sent by the bar itself.
constexpr UINT TourKeysOn = WM_USER + 102;
constexpr UINT TourKeysOff = WM_USER + 103;
constexpr UINT TourUpdateButtons = WM_USER + 104;

INT_PTR CALLBACK TourBarProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Fills a viewer command with the file's path; FALSE (nothing to run) when it does not fit.
BOOL ExpandViewerCommand(const char* command, const char* path, char* out, int outSize);
