#include "tour/tourbar.h"

#include "resources/resource.h"

INT_PTR CALLBACK TourBarProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_TOUR_HIDE)
        ShowWindow(dialog, SW_HIDE);
    return FALSE;
}
