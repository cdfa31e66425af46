// Stands in for the browser and for a viewer: registered as the http and https handler of the
// test prefix (or named in a viewer command), it appends what it was given as one line of
// UTF-8 to opened.log beside itself and exits. It reads its wide command line: the ANSI one
// would turn a name beyond code page 932 into another name.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // the argument is everything after the program name, without the quotes of "%1"
    wchar_t* argument = GetCommandLineW();
    if (*argument == L'"') {
        for (++argument; *argument && *argument != L'"'; ++argument)
            ;
        argument += *argument == L'"';
    }
    while (*argument && *argument != L' ' && *argument != L'\t')
        ++argument;
    while (*argument == L' ' || *argument == L'\t')
        ++argument;
    int length = lstrlenW(argument);
    if (length >= 2 && argument[0] == L'"' && argument[length - 1] == L'"')
        argument[length - 1] = L'\0', ++argument;
    static char text[32768 * 3];
    int size = WideCharToMultiByte(CP_UTF8, 0, argument, -1, text, sizeof text - 2, nullptr, nullptr);
    lstrcpyA(text + (size ? size - 1 : 0), "\r\n");
    // the log beside this program: room for its name in place of ours
    char log[MAX_PATH + 16] = "";
    DWORD folder = GetModuleFileNameA(nullptr, log, MAX_PATH);
    while (folder > 0 && log[folder - 1] != '\\')
        --folder;
    lstrcpynA(log + folder, "opened.log", 16);
    // two handlers may run at once: retry while the other one holds the file
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 200 && file == INVALID_HANDLE_VALUE; ++attempt, Sleep(10))
        file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text, lstrlenA(text), &written, nullptr);
    CloseHandle(file);
    return file == INVALID_HANDLE_VALUE;
}
