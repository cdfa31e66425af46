#pragma once
#include <windows.h>

INT_PTR CALLBACK SearchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM key, LPARAM flags);

// Is the class name one of the shell's own windows, where Ctrl+C would select nothing?
BOOL IsShellWindowClass(const char* className);

// The history box no longer holds what the settings file holds: the next summons reloads it.
void ForgetLoadedHistory();
