#pragma once
// Drives the real kirapick.exe from outside, as a user or the system would: a fresh copy
// of its folder, posted messages, SendInput keys, the clipboard, the INI file, and a
// recorder registered as the http/https handler that logs every address the shell opens.
#include <windows.h>

#include <atomic>
#include <map>
#include <string>
#include <vector>

namespace e2e {

// Long enough for Wine on a loaded two-core machine, short enough to fail fast.
constexpr DWORD Patience = 10000;

extern const char Title[];        // the program's title, "キラピック！"
extern const char SheetCaption[]; // "キラピック！の設定"

// The section of the settings file that belongs to the user running the tests.
std::string UserSection();

// INI text in the layout the profile functions read, built key by key.
class IniText {
public:
    IniText& Section(const std::string& name) { return Line("[" + name + "]"); }
    IniText& Key(const std::string& key, const std::string& value)
    {
        return Line(key + "=" + value);
    }
    IniText& Key(const std::string& key, int value) { return Key(key, std::to_string(value)); }
    const std::string& Text() const { return text_; }

private:
    IniText& Line(const std::string& line)
    {
        text_ += line + "\r\n";
        return *this;
    }
    std::string text_;
};

// The twelve engines every test uses: distinct addresses, a "%%", and slot 12 empty.
struct EngineEntry { const char* name; const char* url; };
extern const EngineEntry Engines[12];
// The option keys; by default a hot key Ctrl+F3 and no Ctrl+C emulation, which would
// type into whatever window is in front.
struct Options {
    int hotKey = 0x8000 | 2;
    int imeOn = 1, showClip = 1, copy = 0, autoUrlOpen = 1, shiftOpen = 0, makeupUrl = 1;
    int saveHistory = 1, funcKeyTour = 0, tourFuncKey = 0, tourBarShow = 0, tourAutoStart = 0;
    // keys added later: -1 leaves them out, as a settings file from before them has it
    int httpsUrl = -1, trayIcon = -1, autoStart = -1;
};
IniText& AddOptions(IniText& ini, const Options& options = Options());
// A defaults file: the options under [Default] and the twelve engines.
std::string DefaultsText();
// A settings file whose user's section holds the options and the engines; more keys of
// that section can be added to the result.
IniText ResidentIni(const Options& options = Options());

// The folder of the running executable, without a trailing backslash.
std::string ModuleFolder();
// The build folder: the test executable lives in <build>/tests/e2e.
std::string BuildFolder();
// Whole files: written anew, or read (at most 1 MB, any sharing); false when that fails.
bool WriteFileText(const std::string& path, const std::string& text);
bool ReadFileText(const std::string& path, std::string& text);

// Each file of a folder by name, with what it holds ("<unreadable>" when it cannot be read).
using FileState = std::map<std::string, std::string>;

// A folder of small test files in the temp folder, each holding its own name, so that a file
// lost, overwritten or renamed shows in State(). Removed at the end, from wherever it went.
class TestFiles {
public:
    TestFiles();
    ~TestFiles();
    TestFiles(const TestFiles&) = delete;
    TestFiles& operator=(const TestFiles&) = delete;

    // false when the folder could not be made or a file written
    bool Add(const std::vector<std::string>& names) const;
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
    // Where MoveAway puts the folder: beside it, under another name.
    std::string Away() const { return path_ + "-away"; }
    bool MoveAway() const { return MoveFileA(path_.c_str(), Away().c_str()) != 0; }
    bool MoveBack() const { return MoveFileA(Away().c_str(), path_.c_str()) != 0; }
    FileState State() const { return StateOf(path_); }
    static FileState StateOf(const std::string& folder);
    // The state of files that each still hold their own name.
    static FileState Unchanged(const std::vector<std::string>& names)
    {
        FileState files;
        for (const std::string& name : names)
            files[name] = name;
        return files;
    }

private:
    std::string path_;
};

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

// Where a Program runs from when it is not a fresh copy: an unpacked package's folder, used
// as it is and left in place.
struct Existing { std::string folder; };

// One copy of the program's folder with its own settings, defaults and recorder, and the
// program started from it. The destructor ends every process it started and removes the
// folder, whatever happened.
class Program {
public:
    Program(const std::string& ini, const std::string& defaults = DefaultsText());
    explicit Program(const Existing& place);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool Start();
    // Start() with settings that make it resident: its (hidden) search window, or null.
    HWND StartResident();
    // Starts the program again from the same folder and waits for that process to end.
    bool StartAgain(DWORD& exitCode, DWORD ms = Patience);
    bool WaitExit(DWORD& exitCode, DWORD ms = Patience);
    bool Running() const;
    const std::string& ExePath() const { return exe_; }
    // The program's folder, which holds its settings, its defaults and the recorder.
    const std::string& Folder() const { return folder_; }

    // The search window: the program's dialog titled "キラピック！" holding box 1001.
    HWND SearchWindow() const;
    HWND WaitSearchWindow(DWORD ms = Patience) const;
    // As a user with `clipboard` copied (null: an empty clipboard) pressing the hot key:
    // true once the search window shows.
    bool ShowSearch(const char* clipboard = nullptr) const;
    // Every top-level dialog of the program (class #32770).
    std::vector<HWND> Dialogs() const;
    // A message box of the program captioned "キラピック！".
    HWND WaitMessageBox(DWORD ms = Patience) const;
    // Waits for a message box, answers it and waits until it has gone: its text, or
    // "<no message box>".
    std::string AnswerMessage(int button = IDOK, DWORD ms = Patience) const;
    // A visible dialog of the program with this caption.
    HWND WaitDialog(const char* caption, DWORD ms = Patience) const;
    HWND WaitSheet(DWORD ms = Patience) const { return WaitDialog(SheetCaption, ms); }
    // The visible pop-up menu window (#32768) of the program.
    HWND WaitMenu(DWORD ms = Patience) const;
    bool WaitMenuGone(DWORD ms = Patience) const
    {
        return WaitFor([&] { return !WaitMenu(0); }, ms);
    }

    // Returns once the program is back in a message loop: the message it was handling
    // when this was called has been handled.
    bool Sync() const;
    // As the hot key does, or a second start: WM_HOTKEY with id 0 to the search window.
    bool Summon() const;

    // Addresses the shell opened, in order.
    std::vector<std::string> Opened() const;
    bool WaitOpened(size_t count, DWORD ms = Patience) const;

    // A value of the settings file, "<missing>" when the key is not there.
    std::string Ini(const std::string& key, const std::string& section = UserSection()) const;

private:
    bool owned_ = true; // a fresh copy, removed at the end
    std::string folder_;
    std::string exe_;
    HANDLE job_ = nullptr;
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// A window of another thread of the test process, standing for another program in front;
// its thread answers messages as a program's does. `window` stays null when it could not
// be made.
class OtherWindow {
public:
    OtherWindow() : thread_(CreateThread(nullptr, 0, Run, this, 0, nullptr))
    {
        WaitFor([&] { return window.load() != nullptr; });
    }
    ~OtherWindow()
    {
        PostThreadMessageA(GetThreadId(thread_), WM_QUIT, 0, 0);
        WaitForSingleObject(thread_, Patience);
        CloseHandle(thread_);
    }
    std::atomic<HWND> window{nullptr};

private:
    static DWORD WINAPI Run(void* self)
    {
        HWND window = CreateWindowExA(0, "STATIC", "another program",
                                      WS_POPUP | WS_VISIBLE | WS_BORDER, 600, 600, 200, 60,
                                      nullptr, nullptr, nullptr, nullptr);
        static_cast<OtherWindow*>(self)->window = window;
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0)
            DispatchMessageA(&message);
        DestroyWindow(window);
        return 0;
    }
    HANDLE thread_;
};

bool IsVisible(HWND window);
bool WaitVisible(HWND window, bool visible, DWORD ms = Patience);
inline bool WaitGone(HWND window, DWORD ms = Patience)
{
    return WaitFor([&] { return !IsWindow(window); }, ms);
}
// The window's thread answers a message: whatever it was handling has been handled.
bool Answers(HWND window);
bool BringToFront(HWND window, DWORD ms = Patience);
// Presses and releases each virtual key in turn with SendInput, with `target` in front;
// a null target leaves the foreground alone (a menu is up: bringing a window to the front
// would close it).
bool PressKeys(HWND target, const std::vector<WORD>& keys);
void PostCommand(HWND window, int id);
// SendMessage that gives up after a while instead of hanging on a stuck program.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

std::string Text(HWND window);
inline std::string ControlText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }
// The message text of a message box (its static control with text).
std::string MessageText(HWND box);
// Answers a message box or presses a dialog button: IDOK, IDCANCEL, IDYES, IDNO.
bool Answer(HWND dialog, int button);

// The page of a property sheet that holds control `id`.
HWND SheetPage(HWND sheet, int id);
// Sent to control `id` of a dialog.
inline LRESULT SendTo(HWND dialog, int id, UINT message, WPARAM wParam = 0)
{
    return Send(GetDlgItem(dialog, id), message, wParam, 0);
}
inline bool IsChecked(HWND dialog, int id)
{
    return SendTo(dialog, id, BM_GETCHECK) == BST_CHECKED;
}
inline bool IsEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != 0; }
// Clicks a control as the mouse would (BM_CLICK): the page hears BN_CLICKED.
inline void Click(HWND dialog, int id) { SendTo(dialog, id, BM_CLICK); }
inline int ComboSelection(HWND dialog, int id)
{
    return static_cast<int>(SendTo(dialog, id, CB_GETCURSEL));
}
inline void SelectCombo(HWND dialog, int id, int index) { SendTo(dialog, id, CB_SETCURSEL, index); }
// The entries of a combo box's list or of a list box, read across the process boundary.
std::vector<std::string> ComboItems(HWND dialog, int id);
std::vector<std::string> ListItems(HWND dialog, int id);

// Text on the clipboard; null empties it.
bool SetClipboard(const char* text);
inline bool SetClipboard(const std::string& text) { return SetClipboard(text.c_str()); }
inline bool ClearClipboard() { return SetClipboard(nullptr); }
// The clipboard's text; false when it holds none.
bool Clipboard(std::string& text);
bool ClipboardEmpty();

// HKCU\Software\Microsoft\Windows\CurrentVersion\Runonce.
std::string RunonceValue(const std::string& name);
void DeleteRunonceValue(const std::string& name);

// What the screen shows inside `rect`: rows of 24-bit pixels (blue, green, red), bottom-up,
// each padded to four bytes, as a BMP file holds them and as `header` describes them.
bool GrabScreen(const RECT& rect, BITMAPINFOHEADER& header, std::string& bits);
// Saves what the screen shows of the window as a BMP under the build's screenshots folder.
bool SaveScreenshot(HWND window, const std::string& name);

// The top-level windows of class `className` ("#32770" dialogs, "#32768" menus) of a process,
// for a program started otherwise than by Program.
std::vector<HWND> TopLevelWindows(DWORD pid, const char* className);

// Running processes whose program file is `path` (a full path, any letter case), or, for a
// bare file name, every process of that name: instances of the program, or Wine's crash
// handler "winedbg.exe", which a crash starts.
int CountProcesses(const std::string& path);

} // namespace e2e
