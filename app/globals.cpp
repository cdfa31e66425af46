#include "app/app.h"

HINSTANCE hInstance;
HWND SearchWindow;
HWND TourBar;
HHOOK KeyboardHook;
BOOL SettingsSheetOpen;
