// Stands in for the browser and for a viewer: registered as the http and https handler of the
// test prefix (or named in a viewer command), it appends what it was given as one line of
// UTF-8 to opened.log beside itself and exits. It reads its wide command line: the ANSI one
// would turn a name beyond code page 932 into another name.
#include <windows.h>

namespace {

// The argument is everything after the program name, without the quotes of "%1".
const wchar_t* ArgumentFrom(wchar_t* commandLine)
{
    wchar_t* p = commandLine;
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"')
            ++p;
        if (*p)
            ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t')
            ++p;
    }
    while (*p == L' ' || *p == L'\t')
        ++p;
    int length = lstrlenW(p);
    if (length >= 2 && p[0] == L'"' && p[length - 1] == L'"') {
        p[length - 1] = L'\0';
        ++p;
    }
    return p;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // the log beside this program: room for its name in place of ours
    char log[MAX_PATH + 16] = "";
    DWORD length = GetModuleFileNameA(nullptr, log, MAX_PATH);
    while (length > 0 && log[length - 1] != '\\' && log[length - 1] != '/')
        --length;
    if (length == 0 || length >= MAX_PATH)
        return 1;
    lstrcpyA(log + length, "opened.log");

    const wchar_t* argument = ArgumentFrom(GetCommandLineW());
    int size = WideCharToMultiByte(CP_UTF8, 0, argument, -1, nullptr, 0, nullptr, nullptr);
    char* text = size > 0 ? static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, size)) : nullptr;
    if (!text || !WideCharToMultiByte(CP_UTF8, 0, argument, -1, text, size, nullptr, nullptr))
        return 1;
    // two handlers may run at once: retry while the other one holds the file
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 200 && file == INVALID_HANDLE_VALUE; ++attempt) {
        file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            Sleep(10);
    }
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    WriteFile(file, text, size - 1, &written, nullptr);
    WriteFile(file, "\r\n", 2, &written, nullptr);
    CloseHandle(file);
    return 0;
}
