// The floor of the summon and start-up figures: a dialog like the search window that does
// nothing but register a hot key and show itself on WM_HOTKEY. Esc or the close box hide it.
#include <windows.h>

#include "minimal.h"

static INT_PTR CALLBACK FloorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        RegisterHotKey(dialog, 0, MinimalHotKeyModifiers, MinimalHotKey);
        break;
    case WM_HOTKEY:
        ShowWindow(dialog, SW_SHOWNORMAL);
        SetForegroundWindow(dialog);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL)
            ShowWindow(dialog, SW_HIDE);
        break;
    case WM_CLOSE:
        ShowWindow(dialog, SW_HIDE);
        break;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE module, HINSTANCE, LPSTR, int)
{
    HWND dialog = CreateDialogParamA(module, MAKEINTRESOURCEA(MinimalDialog), nullptr, FloorProc, 0);
    if (!dialog)
        return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(dialog, &message))
            DispatchMessageA(&message);
    }
    return 0;
}
