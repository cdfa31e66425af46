// Stands in for the browser and for a viewer: registered as the http and https handler of the
// test prefix (or named in a viewer command), it appends what it was given as one line of
// UTF-8 to opened.log beside itself and exits. It reads its wide command line: the ANSI one
// would turn a name beyond code page 932 into another name.
#include "driver.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // the argument is everything after the program name, without the quotes of "%1"
    std::wstring line = GetCommandLineW();
    size_t start = line[0] == L'"' ? line.find(L'"', 1) + 1 : 0;
    start = line.find_first_not_of(L" \t", line.find_first_of(L" \t", start));
    std::wstring argument = start == std::wstring::npos ? L"" : line.substr(start);
    if (argument.size() >= 2 && argument.front() == L'"' && argument.back() == L'"')
        argument = argument.substr(1, argument.size() - 2);
    const std::string text = e2e::Utf8(argument) + "\r\n";
    // two handlers may run at once: retry while the other one holds the file
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 200 && file == INVALID_HANDLE_VALUE; ++attempt, Sleep(10))
        file = CreateFileW(e2e::Wide(e2e::ModuleFolder() + "\\opened.log").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                           nullptr, OPEN_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
    CloseHandle(file);
    return file == INVALID_HANDLE_VALUE;
}
