#pragma once
// Drives the real kirapick.exe from outside, as a user or the system would: a copy of its
// folder with its own settings, posted messages, SendInput keys, the clipboard, and a recorder
// registered as the browser that logs every address the shell opens. The benchmark uses it too.
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

// Text as the program holds it (code page 932) and as the tests write it (UTF-8). A byte that
// begins no UTF-8 character passes as it is, so that a test can hand over any byte.
std::string Ansi(const std::string& utf8);
std::string Utf8(const std::wstring& wide);
std::wstring Wide(const std::string& text, UINT codePage = CP_UTF8);

std::string ModuleFolder(); // of the running executable, without a trailing backslash
std::string UserSection();  // the settings section of the user running the tests
bool WriteFileText(const std::string& path, const std::string& bytes);
bool ReadFileText(const std::string& path, std::string& bytes); // with any sharing
void RemoveFolder(const std::string& folder);                    // with its files
// The window's thread answers a message: whatever it was handling has been handled.
bool Answers(HWND window);
// SendMessage that gives up after a while instead of hanging on a stuck program.
LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
std::string Text(HWND window); // WM_GETTEXT, wide: it reaches another process's controls whole
// Presses and releases each key with SendInput, `front` brought to the front first; a null
// `front` leaves the foreground alone (a menu is up: another window in front would close it).
bool PressKeys(HWND front, const std::vector<WORD>& keys);
bool SetClipboard(const char* text); // code page 932; null empties it
// The top-level windows of class `className` ("#32770" dialogs, "#32768" menus) of a process.
std::vector<HWND> TopLevel(DWORD pid, const char* className);

// A window of another thread of this process, standing for another program in front.
struct OtherWindow {
    OtherWindow();
    ~OtherWindow();
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

    bool Start();
    void End();
    bool WaitExit(DWORD& exitCode, DWORD ms = Patience);
    bool Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    DWORD Id() const { return pid_; }
    // The search window: the program's dialog titled "キラピック！" holding box 1001.
    HWND SearchWindow() const;
    // What the shell or a viewer opened, in order, as the recorder logged it (UTF-8).
    std::vector<std::string> Opened() const;

    std::string folder, exe, recorder;

private:
    bool owned_;
    HANDLE job_ = nullptr, process_ = nullptr, thread_ = nullptr;
    DWORD pid_ = 0;
};

} // namespace e2e
