#pragma once
#include <windows.h>

// The icon in the notification area, shown while Settings.TrayIcon is on. A hidden top-level
// window of its own takes the icon's clicks and the shell's "TaskbarCreated" broadcast.

// After the search window and the tour bar exist: makes the window, and the icon when on.
void StartTrayIcon();
// Adds or removes the icon as Settings.TrayIcon now says; nothing before StartTrayIcon.
void UpdateTrayIcon();
// When the program ends: the icon goes with it.
void EndTrayIcon();
