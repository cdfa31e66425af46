#include "settings/destpage.h"

// Not written yet: the page shows its template and keeps the destinations as they are.
INT_PTR CALLBACK DestinationsPage(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
