#include "settings/fileorder.h"

void ShowFileOrderDialog(HWND, FileOrderParams*)
{
}
