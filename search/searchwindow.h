#pragma once
#include <windows.h>

INT_PTR CALLBACK SearchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM key, LPARAM flags);

// Is the class name one of the shell's own windows, where Ctrl+C would select nothing?
BOOL IsShellWindowClass(const char* className);

// The history box no longer holds what the settings file holds: the next summons reloads it.
void ForgetLoadedHistory();

// The window's commands, also offered by the notification icon's menu.
// Hides the window and starts the tour bar on destination 1, as the tour button does.
void StartTourFromSearch(HWND window);
// The settings sheet owned by `window` (none: a window of its own); beeps while one is open.
void OpenSettings(HWND window);
// A choice of the ">" menu (menu 104), with its questions and messages owned by `window`.
void RunMainMenuCommand(HWND window, int chosen);
