#pragma once
#include <windows.h>

// Clipboard, foreground and folder-browser helpers shared by the windows.

// Reads CF_TEXT cut to `limit` bytes with its terminator; FALSE when there is no text.
BOOL GetClipboardText(char* out, int limit);
// Replaces the clipboard with the text; FALSE only when no memory could be had.
BOOL SetClipboardText(const char* text);
// Shows a popup menu at the mouse cursor and returns the chosen id (0 when dismissed).
int TrackMenuAtCursor(HMENU menu, HWND owner, UINT flags = 0);
// Makes the window the foreground window even when another program is in front.
void ForceForeground(HWND window);
// The shell's folder browser, opening on `initialFolder` when given; TRUE when chosen.
BOOL BrowseForFolder(HWND owner, const char* title, UINT flags, const char* initialFolder,
                     char* out, int limit);
int CALLBACK BrowseFolderCallback(HWND browser, UINT message, LPARAM param, LPARAM data);
// A message box captioned with the program's title: `format` (code page 932) with its "%s"
// filled by a wide value, so that a file name beyond code page 932 shows whole.
int MessageBoxWithName(HWND owner, const char* format, const wchar_t* value, UINT type);
