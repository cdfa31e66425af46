#include "settings/sheet.h"

void ShowSettingsSheet(HWND, int, int)
{
}
