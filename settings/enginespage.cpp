#include "settings/enginespage.h"

// Not written yet: the page shows its template and keeps the engines as they are.
INT_PTR CALLBACK EnginesPage(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
