// Stands in for the browser: registered as the http and https handler of the test prefix,
// it appends the address it was given as one line to opened.log beside itself and exits.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // the address is everything after the program name, without the quotes of "%1"
    char* address = GetCommandLineA();
    if (*address == '"') {
        for (++address; *address && *address != '"'; ++address)
            ;
        address += *address == '"';
    }
    while (*address && *address != ' ' && *address != '\t')
        ++address;
    while (*address == ' ' || *address == '\t')
        ++address;
    int length = lstrlenA(address);
    if (length >= 2 && address[0] == '"' && address[length - 1] == '"')
        address[length - 1] = '\0', ++address, length -= 2;
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
    WriteFile(file, address, length, &written, nullptr);
    WriteFile(file, "\r\n", 2, &written, nullptr);
    CloseHandle(file);
    return file == INVALID_HANDLE_VALUE;
}
