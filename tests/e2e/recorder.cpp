// Stands in for the browser: registered as the http and https handler of the test prefix,
// it appends the address it was given as one line to opened.log beside itself and exits.
#include <windows.h>

namespace {

// The address is everything after the program name, without the quotes of "%1".
const char* AddressFrom(char* commandLine)
{
    char* p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"')
            ++p;
        if (*p)
            ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t')
            ++p;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    int length = lstrlenA(p);
    if (length >= 2 && p[0] == '"' && p[length - 1] == '"') {
        p[length - 1] = '\0';
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

    const char* address = AddressFrom(GetCommandLineA());
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
    WriteFile(file, address, lstrlenA(address), &written, nullptr);
    WriteFile(file, "\r\n", 2, &written, nullptr);
    CloseHandle(file);
    return 0;
}
