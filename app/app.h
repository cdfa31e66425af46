#pragma once
#include <windows.h>

// Process-wide handles of the resident program, all owned by its one GUI thread.
extern HINSTANCE hInstance;
extern HWND SearchWindow;        // dialog 101, never cleared once created
extern HWND TourBar;             // dialog 107, never cleared once created
extern HHOOK KeyboardHook;       // the thread keyboard hook of the search window
extern BOOL SettingsSheetOpen;   // a sheet opened by the search window or the tour bar is up

// Private messages, all sent on the GUI thread.
constexpr UINT SearchWithEngine = WM_USER + 100;     // search window: wParam engine 1..12
constexpr UINT RegisterSearchHotKey = WM_USER + 101; // search window
constexpr UINT TourOpenFile = WM_USER + 100;         // tour bar
constexpr UINT TourStart = WM_USER + 101;            // tour bar: LOWORD(wParam) slot
constexpr WPARAM TourChosenNow = 0x10000;            // TourStart: the user chose just now
