#pragma once
// Drives the real kirapick.exe from outside, as a user or the system would: a copy of its
// folder with its own settings, posted messages, SendInput keys, the clipboard, and a recorder
// registered as the browser that logs every address the shell opens.
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// Long enough for Wine on a loaded two-core machine, short enough to fail fast.
constexpr DWORD Patience = 10000;

// Polls `done` every few milliseconds until it holds or `ms` have passed.
template <typename F> bool WaitFor(F done, DWORD ms = Patience)
{
    for (DWORD start = GetTickCount();; Sleep(15)) {
        if (done())
            return true;
        if (GetTickCount() - start >= ms)
            return false;
    }
}

std::string ModuleFolder(); // of the running executable, without a trailing backslash
std::string UserSection();  // the settings section of the user running the tests
bool WriteFileText(const std::string& path, const std::string& text);
bool ReadFileText(const std::string& path, std::string& text); // with any sharing
std::string NewTempFolder(const std::string& prefix);          // "" when none can be made
void RemoveFolder(const std::string& folder);                  // with its files
// Calls `visit` with the name of each file of a folder.
template <typename F> void ForEachFile(const std::string& folder, F visit)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            visit(std::string(found.cFileName));
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

// The window's thread answers a message: whatever it was handling has been handled.
bool Answers(HWND window);
// SendMessage that gives up after a while instead of hanging on a stuck program.
LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
std::string Text(HWND window); // WM_GETTEXT, which reaches another process's controls
// Presses and releases each key with SendInput, `front` brought to the front first; a null
// `front` leaves the foreground alone (a menu is up: another window in front would close it).
bool PressKeys(HWND front, const std::vector<WORD>& keys);
bool SetClipboard(const char* text); // null empties it
// The top-level windows of class `className` ("#32770" dialogs, "#32768" menus) of a process.
std::vector<HWND> TopLevel(DWORD pid, const char* className);
int CountProcesses(const char* name); // running processes of a program file name
// What the screen shows inside `rect`: 24-bit rows, bottom-up, each padded to four bytes.
bool GrabScreen(RECT rect, std::string& bits, int& width, int& height);
// Saves the window as the screen shows it, as <build>/screenshots/<name>.bmp, once what the
// program paints has stayed the same for a while.
bool SaveScreenshot(HWND window, const std::string& name);

// A window of another thread of this process, standing for another program in front.
struct OtherWindow {
    OtherWindow() : thread(CreateThread(nullptr, 0, Run, this, 0, nullptr)) { WaitFor([&] { return window != nullptr; }); }
    ~OtherWindow()
    {
        PostThreadMessageA(GetThreadId(thread), WM_QUIT, 0, 0);
        WaitForSingleObject(thread, Patience);
        CloseHandle(thread);
    }
    static DWORD WINAPI Run(void* self)
    {
        static_cast<OtherWindow*>(self)->window = CreateWindowExA(0, "STATIC", "another program", WS_POPUP | WS_VISIBLE,
                                                                  600, 600, 200, 60, nullptr, nullptr, nullptr, nullptr);
        for (MSG message; GetMessageA(&message, nullptr, 0, 0) > 0;)
            DispatchMessageA(&message);
        return 0;
    }
    HANDLE thread;
    HWND volatile window = nullptr;
};

// The program in a folder of its own, a fresh copy beside the recorder, or an existing folder
// used as it is. The destructor ends every process it started and removes a fresh copy.
class Program {
public:
    explicit Program(const std::string& existing = "");
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Start(bool suspended = false);
    void Resume() { ResumeThread(thread_); }
    void End();
    bool WaitExit(DWORD& exitCode, DWORD ms = Patience);
    bool Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    DWORD Id() const { return pid_; }
    // The search window: the program's dialog titled "キラピック！" holding box 1001.
    HWND SearchWindow() const;
    HWND WaitSearchWindow() const;
    // What the shell opened, in order, as the recorder logged it.
    std::vector<std::string> Opened() const;

    const std::string folder, exe, recorder;

private:
    bool owned_;
    HANDLE job_ = nullptr, process_ = nullptr, thread_ = nullptr;
    DWORD pid_ = 0;
};

} // namespace e2e
