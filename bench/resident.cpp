// The running program, driven from outside as the end-to-end tests drive it, against the
// minimal dialog program started and driven the same way in the same run: start-up,
// summoning (also with Ctrl+C emulation, against itself without it), the "*" list of a large
// tour, and resident memory over use.
#include "bench.h"

#include "driver.h"
#include "minimal.h"

#include "app/app.h"
#include "resources/resource.h"

#include <psapi.h>
#include <wchar.h>
#include <stdio.h>

namespace bench {
namespace {

constexpr DWORD Patience = 30000; // a 10,000-item menu on a busy machine takes seconds
using e2e::Answers; // within ten seconds: what it was handling has been handled
constexpr int SearchEngine = 3;
// Destination 1, which the search window's tour button starts, is the folder of 10,000 files.
const int DestinationFiles[] = {10000, 1000, 100000};
constexpr int ListSlot = 1, SmallSlot = 2, HugeSlot = 3;
// Readings that differ by less are the same: Wine's own allocator moves in such steps.
const double FlatTolerance = 64 * 1024;
constexpr UINT KirapickHotKeyModifiers = MOD_CONTROL; // the end-to-end settings: Ctrl+F3
constexpr UINT KirapickHotKey = VK_F3;
const double Megabyte = 1024 * 1024;

// Polls every millisecond, the finest sleep there is; both programs are timed alike.
template <typename F> bool Poll(F done, DWORD ms = Patience)
{
    double start = NowMs();
    while (!done()) {
        if (NowMs() - start > ms)
            return false;
        Sleep(1);
    }
    return true;
}

bool SendWaiting(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, Patience, &result) != 0;
}

struct WindowQuery {
    DWORD pid;
    const char* className;
    int control; // 0: any
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    auto* query = reinterpret_cast<WindowQuery*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (pid == query->pid && lstrcmpA(name, query->className) == 0
        && (!query->control || GetDlgItem(window, query->control))
        && (!query->visibleOnly || IsWindowVisible(window))) {
        query->found = window;
        return FALSE;
    }
    return TRUE;
}

// A top-level dialog of the process holding control `control`.
HWND FindDialog(DWORD pid, int control)
{
    WindowQuery query{pid, "#32770", control, false, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

HWND FindVisibleMenu(DWORD pid)
{
    WindowQuery query{pid, "#32768", 0, true, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

DWORD ProcessOf(HWND window)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

// Held by another program when this one cannot register it.
bool HotKeyHeld(UINT modifiers, UINT key)
{
    const int probe = 0xBEEF;
    if (!RegisterHotKey(nullptr, probe, modifiers, key))
        return true;
    UnregisterHotKey(nullptr, probe);
    return false;
}

// A process started from its own folder, ended by its handle when the object goes.
class Process {
public:
    Process() = default;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process() { End(); }

    bool Start(const std::string& exe)
    {
        End();
        std::string folder = exe.substr(0, exe.find_last_of('\\'));
        std::string commandLine = "\"" + exe + "\"";
        std::vector<char> line(commandLine.begin(), commandLine.end());
        line.push_back('\0');
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.c_str(), &startup, &info)) {
            fprintf(stderr, "kpbench: cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
            return false;
        }
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        pid_ = info.dwProcessId;
        AssignProcessToJobObject(Job(), process_);
        return true;
    }
    void End()
    {
        if (!process_)
            return;
        if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_, 99);
            WaitForSingleObject(process_, Patience);
        }
        CloseHandle(process_);
        process_ = nullptr;
        pid_ = 0;
    }
    DWORD Id() const { return pid_; }

private:
    // Ends whatever is left should the benchmark itself end early.
    static HANDLE Job()
    {
        static HANDLE job = [] {
            HANDLE created = CreateJobObjectA(nullptr, nullptr);
            JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
            limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
            if (created)
                SetInformationJobObject(created, JobObjectExtendedLimitInformation, &limits, sizeof limits);
            return created;
        }();
        return job;
    }

    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// Committed private memory as the platform reports it: PagefileUsage (under Wine the
// anonymous resident memory; PrivateUsage reads 0 there). The median of five readings.
double PrivateMemory(DWORD pid)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process)
        return 0;
    std::vector<double> readings;
    for (int i = 0; i < 5; ++i) {
        PROCESS_MEMORY_COUNTERS counters{};
        counters.cb = sizeof counters;
        if (GetProcessMemoryInfo(process, &counters, sizeof counters))
            readings.push_back(static_cast<double>(counters.PagefileUsage));
        Sleep(100);
    }
    CloseHandle(process);
    return Median(readings);
}

std::string Numbered(const char* base, int n) { return base + std::to_string(n); }

// INI text in the layout the profile functions read, built key by key.
struct Ini {
    Ini& Line(const std::string& line)
    {
        text += line + "\r\n";
        return *this;
    }
    Ini& Section(const std::string& name) { return Line("[" + name + "]"); }
    Ini& Key(const std::string& key, const std::string& value) { return Line(key + "=" + value); }
    Ini& Key(const std::string& key, int value) { return Key(key, std::to_string(value)); }
    std::string text;
};

// The program's folder, a fresh copy beside the recorder, with these settings.
struct ProgramWith : e2e::Program {
    explicit ProgramWith(const std::string& settings) { e2e::WriteFileText(folder + "\\kirapick.ini", settings); }
};

// The end-to-end tests' settings, Ctrl+C emulation off unless asked for, engines whose
// address the shell rejects at once (a path that does not exist: no browser, no message), a
// full history, and destinations on the folders of 10,000, 1,000 and 100,000 files with a
// viewer that does not exist either, so that steps cost the program's work and nothing else.
std::string SettingsText(const Options& options, bool copyEmulate = false)
{
    Ini ini;
    ini.Section(e2e::UserSection());
    for (const char* option : {"HOTKEY=32770", "IMEON=1", "SHOWCLIP=1", "AUTOURLOPEN=1",
                               "SHIFTOPEN=0", "MAKEUPURL=1", "SAVEHISTORY=1", "FUNCKEYTOUR=0",
                               "TOURFUNCKEY=0", "TOURBARSHOW=0", "TOURAUTOSTART=0"})
        ini.Line(option);
    ini.Key("COPY", copyEmulate ? 1 : 0);
    for (int n = 1; n <= 12; ++n) {
        ini.Key(Numbered("EGNAME", n), "engine " + std::to_string(n));
        ini.Key(Numbered("ENGINE", n), options.data + "\\nowhere\\%s");
    }
    for (int n = 0; n < 10; ++n)
        ini.Key(Numbered("HISTORY", n), "history " + std::to_string(n));
    for (int slot = 1; slot <= 3; ++slot) {
        std::string files = std::to_string(DestinationFiles[slot - 1]);
        ini.Key(Numbered("TOURNAME", slot), files);
        ini.Key(Numbered("TOURPATH", slot), options.data + "\\f" + files + "\\*.*");
        ini.Key(Numbered("TOURORDERBY", slot), 0);
        ini.Key(Numbered("TOURAPP", slot), "\"" + options.data + "\\nowhere.exe\" \"%s\"");
    }
    return ini.text;
}

// The floor, with kirapick's manifest (common controls 6, DPI awareness) like the program.
std::string MinimalExe() { return ModuleFolder() + "\\minimal.exe"; }
// The same without the manifest: the controls of user32 alone, comctl32 never loaded.
std::string PlainExe() { return ModuleFolder() + "\\minimal-plain.exe"; }

struct Started {
    HWND search = nullptr; // kirapick: the search window; minimal: its dialog
    HWND bar = nullptr;    // kirapick: the tour bar
};

// From process creation until every window of the start-up exists and the program answers
// a message (it is in its message loop); the hot key is checked afterwards.
double StartUp(Process& process, const std::string& exe, bool kirapick, Started& started)
{
    started = Started();
    double start = NowMs();
    if (!process.Start(exe))
        return -1;
    DWORD pid = process.Id();
    bool up = Poll([&] {
        started.search = FindDialog(pid, kirapick ? IDC_SEARCH_HISTORY : MinimalBox);
        if (kirapick && started.search)
            started.bar = FindDialog(pid, IDC_TOUR_LIST);
        return started.search && (!kirapick || started.bar);
    });
    if (!up || !Answers(kirapick ? started.bar : started.search))
        return -1;
    double took = NowMs() - start;
    bool held = kirapick ? HotKeyHeld(KirapickHotKeyModifiers, KirapickHotKey)
                         : HotKeyHeld(MinimalHotKeyModifiers, MinimalHotKey);
    if (!held) {
        fprintf(stderr, "kpbench: %s holds no hot key after start-up\n", exe.c_str());
        return -1;
    }
    return took;
}

// Posted WM_HOTKEY until the window is visible and in front; then hidden again with Esc.
double Summon(HWND window)
{
    double start = NowMs();
    PostMessageA(window, WM_HOTKEY, 0, 0);
    bool up = Poll([&] { return IsWindowVisible(window) && GetForegroundWindow() == window; });
    double took = NowMs() - start;
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    Poll([&] { return !IsWindowVisible(window); });
    Answers(window);
    return up ? took : -1;
}

// "*": posted to the bar until the pop-up menu is on screen; then dismissed.
double ShowList(HWND bar)
{
    DWORD pid = ProcessOf(bar);
    double start = NowMs();
    PostMessageA(bar, WM_COMMAND, IDC_TOUR_LIST, 0);
    HWND menu = nullptr;
    bool shown = Poll([&] { return (menu = FindVisibleMenu(pid)) != nullptr; });
    double took = NowMs() - start;
    if (menu) {
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        if (!Poll([&] { return !FindVisibleMenu(pid); }, 3000))
            e2e::PressKeys(nullptr, {VK_ESCAPE});
        Poll([&] { return !FindVisibleMenu(pid); });
    }
    Answers(bar);
    return shown ? took : -1;
}

// One search as the user makes it: summoned, a query typed, the engine's function key.
bool Search(HWND window, int n)
{
    std::string query = "kirapick " + std::to_string(n);
    return SendWaiting(window, WM_HOTKEY, 0, 0)
           && SendWaiting(GetDlgItem(window, IDC_SEARCH_HISTORY), WM_SETTEXT, 0,
                          reinterpret_cast<LPARAM>(query.c_str()))
           && SendWaiting(window, SearchWithEngine, SearchEngine, 0) && !IsWindowVisible(window);
}

// One tour: started on a destination and stepped three times.
bool Tour(HWND bar, int slot)
{
    bool ok = SendWaiting(bar, TourStart, slot, 0);
    for (int step = 0; step < 3 && ok; ++step)
        ok = SendWaiting(bar, WM_COMMAND, IDC_TOUR_NEXT, 0);
    return ok;
}

double TourStartInProgram(HWND bar, int slot)
{
    double start = NowMs();
    bool ok = SendWaiting(bar, TourStart, slot, 0);
    return ok ? NowMs() - start : -1;
}

// Every sample must have succeeded; a failed one ends the part.
bool Add(std::vector<double>& samples, double sample, const char* what)
{
    if (sample < 0) {
        fprintf(stderr, "kpbench: %s failed\n", what);
        return false;
    }
    samples.push_back(sample);
    return true;
}

// This program started again with `arguments`, in a process that does nothing else; its exit
// code is the result, or -1.
double RunChild(const std::string& arguments)
{
    std::string exe = ModuleFolder() + "\\kpbench.exe";
    std::string commandLine = "\"" + exe + "\" " + arguments;
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return -1;
    CloseHandle(info.hThread);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(info.hProcess, Patience) == WAIT_OBJECT_0)
        GetExitCodeProcess(info.hProcess, &code);
    else
        TerminateProcess(info.hProcess, static_cast<UINT>(-1));
    CloseHandle(info.hProcess);
    return code == static_cast<DWORD>(-1) ? -1 : static_cast<double>(code);
}

// What Wine itself keeps after a process lists a folder once, in bytes.
double WineEnumerationMemory(const std::string& pattern)
{
    double kilobytes = RunChild("--enumeration-memory \"" + pattern + "\"");
    return kilobytes < 0 ? -1 : kilobytes * 1024;
}

void StartUpRows(const Options& options, const std::string& settings, Table& table)
{
    Progress("start-up");
    ProgramWith program(settings); // the program's folder with its settings; not started by it
    std::vector<double> kirapick, minimal, plain;
    Started started;
    // one start of each first: the first start of a program loads its DLLs from disk
    for (int run = -1; run < 2 * options.runs + 1; ++run) {
        Process process;
        double k = StartUp(process, program.exe, true, started);
        process.End();
        double m = StartUp(process, MinimalExe(), false, started);
        process.End();
        double p = StartUp(process, PlainExe(), false, started);
        process.End();
        if (run < 0)
            continue;
        if (!Add(kirapick, k, "starting kirapick") || !Add(minimal, m, "starting the minimal program")
            || !Add(plain, p, "starting the minimal program without manifest"))
            return;
    }
    double figure = Median(kirapick), floor = Median(minimal);
    table.push_back({"Start-up: process start to both dialogs created, hot key registered, "
                     "message loop answering",
                     Duration(figure),
                     "minimal program " + Duration(floor) + " (without the manifest "
                         + Duration(Median(plain)) + ")",
                     Times(figure / floor), "at most 1.5× minimal", Met(figure <= 1.5 * floor)});
}

void SummonAndListRows(const Options& options, const std::string& settings, Table& table)
{
    Progress("summoning and the \"*\" list");
    ProgramWith program(settings);
    Process floorProcess;
    Started floor;
    if (!program.Start() || !e2e::WaitFor([&] { return program.SearchWindow() != nullptr; })
        || StartUp(floorProcess, MinimalExe(), false, floor) < 0) {
        fprintf(stderr, "kpbench: the programs did not start\n");
        return;
    }
    HWND search = program.SearchWindow();
    e2e::SetClipboard("kirapick");

    std::vector<double> kirapick, minimal;
    for (int run = -1; run < 4 * options.runs + 1; ++run) {
        double k = Summon(search);
        double m = Summon(floor.search);
        if (run < 0)
            continue;
        if (!Add(kirapick, k, "summoning kirapick") || !Add(minimal, m, "summoning the minimal program"))
            return;
    }
    double figure = Median(kirapick), floorFigure = Median(minimal);
    table.push_back({"Summon: posted WM_HOTKEY to the search window visible and in front",
                     Duration(figure), "minimal program " + Duration(floorFigure),
                     Times(figure / floorFigure), "at most 1.5× minimal", Met(figure <= 1.5 * floorFigure)});

    // the tour button: destination 1 starts and the bar comes up
    PostMessageA(search, WM_COMMAND, IDC_SEARCH_TOUR, 0);
    HWND bar = FindDialog(ProcessOf(search), IDC_TOUR_LIST);
    if (!bar || !Poll([&] { return IsWindowVisible(bar) != 0; }) || !Answers(bar)) {
        fprintf(stderr, "kpbench: the tour bar did not come up\n");
        return;
    }
    int files = DestinationFiles[ListSlot - 1];
    std::vector<double> list, start, append;
    for (int run = 0; run < options.runs; ++run) {
        if (!Add(start, TourStartInProgram(bar, ListSlot), "a tour start in the program")
            || !Add(list, ShowList(bar), "showing the \"*\" list")
            || !Add(append, RunChild("--menu " + std::to_string(files)), "a menu built alone"))
            return;
    }
    std::string label = Thousands(files);
    table.push_back({"\"*\" list of a tour of " + label + " files: posted to the bar until the menu is on screen",
                     Duration(Median(list)),
                     "a fresh process appending " + label + " names to a pop-up menu "
                         + Duration(Median(append)) + "; TourStart of the same files sent to the program "
                         + Duration(Median(start)),
                     Times(Median(list) / Median(append)), "", ""});
}

// The driver's other program's window, made an editor whose Ctrl+C copies at once.
const char EditorSelection[] = "selected word";
WNDPROC EditorBaseProc;

LRESULT CALLBACK CopyOnCtrlC(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN && wParam == 'C' && (GetKeyState(VK_CONTROL) & 0x8000)) {
        e2e::SetClipboard(EditorSelection);
        return 0;
    }
    return CallWindowProcA(EditorBaseProc, window, message, wParam, lParam);
}

// Summons over the editor, the clipboard holding something else before: with emulation the
// box must show the editor's selection, without it what the clipboard held.
bool SummonsOverEditor(const Options& options, bool copyEmulate, HWND editor,
                       std::vector<double>& samples)
{
    ProgramWith program(SettingsText(options, copyEmulate));
    if (!program.Start() || !e2e::WaitFor([&] { return program.SearchWindow() != nullptr; })) {
        fprintf(stderr, "kpbench: the program did not start\n");
        return false;
    }
    HWND search = program.SearchWindow();
    const std::string expected = copyEmulate ? EditorSelection : "stale";
    for (int run = -1; run < 4 * options.runs + 1; ++run) {
        if (!e2e::SetClipboard("stale") || !e2e::PressKeys(editor, {})) {
            fprintf(stderr, "kpbench: the editor did not come to the front\n");
            return false;
        }
        double took = Summon(search);
        if (run >= 0 && !Add(samples, took, "summoning over the editor"))
            return false;
        if (e2e::Text(GetDlgItem(search, IDC_SEARCH_HISTORY)) != expected) {
            fprintf(stderr, "kpbench: the summons did not take in \"%s\"\n", expected.c_str());
            return false;
        }
    }
    return true;
}

void CopySummonRows(const Options& options, Table& table)
{
    Progress("summoning with Ctrl+C emulation");
    e2e::OtherWindow editor;
    HWND window = editor.window;
    if (!window)
        return;
    EditorBaseProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CopyOnCtrlC)));
    std::vector<double> emulated, plain;
    if (!SummonsOverEditor(options, true, window, emulated)
        || !SummonsOverEditor(options, false, window, plain))
        return;
    double figure = Median(emulated), floorFigure = Median(plain);
    table.push_back({"Summon with Ctrl+C emulation from an application that copies at once: "
                     "posted WM_HOTKEY to the search window visible and in front with the copy",
                     Duration(figure), "the same without emulation " + Duration(floorFigure),
                     Times(figure / floorFigure), "at most 60 ms", Met(figure <= 60)});
}

void MemoryRows(const Options& options, const std::string& settings, Table& table)
{
    Progress("resident memory");
    ProgramWith program(settings);
    Process floorProcess, plainProcess;
    Started floor, plain;
    if (!program.Start() || !e2e::WaitFor([&] { return program.SearchWindow() != nullptr; })
        || StartUp(floorProcess, MinimalExe(), false, floor) < 0
        || StartUp(plainProcess, PlainExe(), false, plain) < 0) {
        fprintf(stderr, "kpbench: the programs did not start\n");
        return;
    }
    HWND search = program.SearchWindow();
    DWORD pid = ProcessOf(search);
    HWND bar = FindDialog(pid, IDC_TOUR_LIST);
    if (!bar || !Answers(bar)) {
        fprintf(stderr, "kpbench: no tour bar\n");
        return;
    }
    e2e::SetClipboard("kirapick");
    Sleep(1000); // let all three settle after start-up

    const double budget = 2 * Megabyte;
    double previous = 0;
    enum Budget { Within, WithinAndFlat, None };
    auto reading = [&](const std::string& when, const std::string& since, Budget kind,
                       const std::string& note = "") {
        double figure = PrivateMemory(pid);
        double floorFigure = PrivateMemory(floorProcess.Id());
        double over = figure - floorFigure;
        double grown = figure - previous;
        std::string ratio = (over >= 0 ? "+" : "") + Bytes(over);
        if (!since.empty())
            ratio += "; " + std::string(grown >= 0 ? "+" : "") + Bytes(grown) + " since " + since;
        std::string budgetText = kind == None ? "" : "at most minimal + 2 MB";
        bool met = over <= budget;
        if (kind == WithinAndFlat) {
            budgetText += "; no growth";
            met = met && grown <= FlatTolerance;
        }
        table.push_back({"Resident memory " + when, Bytes(figure),
                         "minimal program " + Bytes(floorFigure) + note, ratio, budgetText,
                         kind == None ? "" : Met(met)});
        previous = figure;
    };
    auto searches = [&](int from, int to) {
        for (int n = from; n < to; ++n) {
            if (!Search(search, n)) {
                fprintf(stderr, "kpbench: search %d failed\n", n + 1);
                return false;
            }
        }
        return true;
    };
    auto tours = [&](int count, int slot) {
        for (int n = 0; n < count; ++n) {
            if (!Tour(bar, slot)) {
                fprintf(stderr, "kpbench: tour %d failed\n", n + 1);
                return false;
            }
        }
        return true;
    };

    double plainFigure = PrivateMemory(plainProcess.Id());
    reading("after start", "", Within, " (without the manifest " + Bytes(plainFigure) + ")");
    if (!searches(0, 1))
        return;
    reading("after the first search", "start", Within);
    if (!searches(1, 1000))
        return;
    reading("after 1,000 searches", "the first search", Within);
    if (!searches(1000, 2000))
        return;
    reading("after 2,000 searches", "1,000 searches", WithinAndFlat);
    std::string small = Thousands(DestinationFiles[SmallSlot - 1]) + " files";
    if (!tours(1, SmallSlot))
        return;
    reading("after the first tour (" + small + ", three steps)", "2,000 searches", Within);
    if (!tours(99, SmallSlot))
        return;
    reading("after 100 tours", "the first tour", Within);
    if (!tours(100, SmallSlot))
        return;
    reading("after 200 tours", "100 tours", WithinAndFlat);

    // Wine keeps buffers of every folder it has listed, in any program that lists it: what a
    // process that does nothing else keeps is shown beside the larger tours.
    for (int slot : {ListSlot, HugeSlot}) {
        int files = DestinationFiles[slot - 1];
        std::string pattern = options.data + "\\f" + std::to_string(files) + "\\*.*";
        double wine = WineEnumerationMemory(pattern);
        if (wine < 0 || !tours(1, slot)) {
            fprintf(stderr, "kpbench: the tour of %d files failed\n", files);
            return;
        }
        reading("after a tour of " + Thousands(files) + " files", "the previous reading",
                files <= 10000 ? Within : None,
                "; Wine alone keeps " + Bytes(wine) + " after listing this folder once");
    }
}

} // namespace

double MenuBuildTime(int count)
{
    double start = NowMs();
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return -1;
    for (int i = 0; i < count; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"IMG_%06d.jpg", i);
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(i) + 1, name);
    }
    DestroyMenu(menu);
    return NowMs() - start;
}

double EnumerationMemory(const std::string& pattern)
{
    Sleep(200);
    double before = PrivateMemory(GetCurrentProcessId());
    // as the program lists a folder
    wchar_t wide[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, pattern.c_str(), -1, wide, MAX_PATH);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileExW(wide, FindExInfoBasic, &found, FindExSearchNameMatch,
                                     nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search != INVALID_HANDLE_VALUE) {
        while (FindNextFileW(search, &found)) {
        }
        FindClose(search);
    }
    Sleep(200);
    return PrivateMemory(GetCurrentProcessId()) - before;
}

void ResidentRows(const Options& options, Table& table)
{
    std::string settings = SettingsText(options);
    StartUpRows(options, settings, table);
    SummonAndListRows(options, settings, table);
    CopySummonRows(options, table);
    MemoryRows(options, settings, table);
}

} // namespace bench
