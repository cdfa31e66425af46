#include "app/winhelpers.h"

#include "app/settings.h"
#include "app/textconv.h"
#include "app/textpath.h"

#include <shlobj.h>

BOOL GetClipboardText(char* out, int limit)
{
    OpenClipboard(nullptr);
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) {
        CloseClipboard();
        return FALSE;
    }
    BOOL read = FALSE;
    if (const char* text = static_cast<const char*>(GlobalLock(data))) {
        // the block may be unterminated: never read past what the clipboard owns
        SIZE_T size = GlobalSize(data);
        int count = size < static_cast<SIZE_T>(limit) ? static_cast<int>(size) : limit;
        if (limit > 0) // an area of no byte gets nothing, not even a terminator
            lstrcpynA(out, text, count > 0 ? count : 1);
        GlobalUnlock(data);
        read = TRUE;
    }
    CloseClipboard();
    return read;
}

BOOL SetClipboardText(const char* text)
{
    SIZE_T size = lstrlenA(text) + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!memory)
        return FALSE;
    if (void* block = GlobalLock(memory)) {
        CopyMemory(block, text, size);
        GlobalUnlock(memory);
    }
    OpenClipboard(nullptr);
    EmptyClipboard();
    if (!SetClipboardData(CF_TEXT, memory))
        GlobalFree(memory); // not taken over: still ours to give back
    CloseClipboard();
    return TRUE;
}

int TrackMenuAtCursor(HMENU menu, HWND owner, UINT flags)
{
    POINT at;
    GetCursorPos(&at);
    return TrackPopupMenu(menu, flags | TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr);
}

void ForceForeground(HWND window)
{
    DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    DWORD thisThread = GetCurrentThreadId();
    AttachThreadInput(thisThread, foregroundThread, TRUE);
    SetForegroundWindow(window);
    AttachThreadInput(thisThread, foregroundThread, FALSE);
    BringWindowToTop(window);
}

int CALLBACK BrowseFolderCallback(HWND browser, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data)
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

BOOL BrowseForFolder(HWND owner, const char* title, UINT flags, const char* initialFolder,
                     char* out, int limit)
{
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.lpszTitle = title;
    info.ulFlags = flags;
    info.lpfn = BrowseFolderCallback;
    info.lParam = reinterpret_cast<LPARAM>(initialFolder);

    PIDLIST_ABSOLUTE item = SHBrowseForFolderA(&info);
    if (!item)
        return FALSE;
    char path[MAX_PATH] = "";
    SHGetPathFromIDListA(item, path);
    IMalloc* malloc = nullptr;
    if (SUCCEEDED(SHGetMalloc(&malloc)) && malloc) {
        malloc->Free(item);
        malloc->Release();
    }
    lstrcpynA(out, path, limit);
    return TRUE;
}

int MessageBoxWithName(HWND owner, const char* format, const wchar_t* value, UINT type)
{
    constexpr int TextLimit = 1024;
    wchar_t wideFormat[TextSize], caption[NameSize], text[TextLimit];
    AnsiToWide(format, wideFormat);
    AnsiToWide(AppTitle, caption);
    // a text too long for the box is shown cut: better than no message at all
    ExpandTemplate(wideFormat, value, text, TextLimit);
    return MessageBoxW(owner, text, caption, type);
}
