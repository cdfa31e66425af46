#include "tour/tourbar.h"

INT_PTR CALLBACK TourBarProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}
