#include "driver.h"

#include <stdio.h>
#include <string.h>
#include <tlhelp32.h>

namespace e2e {

const char Title[] = "キラピック！";
const char SheetCaption[] = "キラピック！の設定";

namespace {

const char MutexName[] = "キラピック！:Mutex";
const char RunonceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Runonce";
const char ProgramName[] = "kirapick.exe";
const char RecorderName[] = "recorder.exe";
constexpr int SearchBox = 1001;
constexpr int TextLimit = 1200; // every text the program holds is far shorter

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

BOOL CALLBACK Collect(HWND window, LPARAM param)
{
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

// The first top-level window of class `className` of a process that `fits`.
template <typename F> HWND WaitTopLevel(DWORD pid, const char* className, F fits, DWORD ms)
{
    HWND found = nullptr;
    WaitFor([&] {
        for (HWND window : TopLevelWindows(pid, className))
            if (fits(window))
                return (found = window) != nullptr;
        return false;
    }, ms);
    return found;
}

bool IsSearchWindow(HWND window) { return GetDlgItem(window, SearchBox) && Text(window) == Title; }

std::vector<HWND> Children(HWND parent)
{
    std::vector<HWND> found;
    EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&found));
    return found;
}

// A new, empty folder in the temp folder; "" when none can be made.
std::string NewTempFolder(const char* prefix)
{
    char temp[MAX_PATH] = "";
    DWORD length = GetTempPathA(sizeof temp, temp);
    std::string base = length > 0 && length < sizeof temp ? std::string(temp, length) : ".\\";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = base + prefix + std::to_string(GetCurrentProcessId()) + "-"
                                + std::to_string(GetTickCount() + attempt);
        if (CreateDirectoryA(candidate.c_str(), nullptr))
            return candidate;
    }
    fprintf(stderr, "driver: no test folder under %s\n", base.c_str());
    return "";
}

// Calls `visit` with the path of each file of a folder.
template <typename F> void ForEachFile(const std::string& folder, F visit)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            visit(folder + "\\" + found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void RemoveFolder(const std::string& folder)
{
    // an ended process can hold its image a moment longer
    ForEachFile(folder, [](const std::string& path) {
        WaitFor([&] { return DeleteFileA(path.c_str()) != 0; }, 3000);
    });
    RemoveDirectoryA(folder.c_str());
}

bool SetStringValue(HKEY root, const char* path, const char* name, const char* value)
{
    return RegSetKeyValueA(root, path, name, REG_SZ, value, lstrlenA(value) + 1) == ERROR_SUCCESS;
}

// Only for the screenshots: without a window manager nobody draws the caption bars unless
// Wine does, and the dialogs' font falls back to a wide one that cuts the captions.
void PrepareWineLooks()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version"))
        return;
    SetStringValue(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", "Decorated", "N");
    SetStringValue(HKEY_CURRENT_USER, "Software\\Wine\\Fonts\\Replacements",
                   "ＭＳ Ｐゴシック", "IPAPGothic");
}

bool RegisterRecorder(const std::string& recorder)
{
    std::string command = "\"" + recorder + "\" \"%1\"";
    for (const char* key : {"http\\shell\\open\\command", "https\\shell\\open\\command"})
        if (!SetStringValue(HKEY_CLASSES_ROOT, key, nullptr, command.c_str()))
            return false;
    return true;
}

} // namespace

std::string ModuleFolder()
{
    char path[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return ".";
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/"));
}

// The test executable lives in <build>/tests/e2e; the program in <build>/kirapick.
std::string BuildFolder()
{
    std::string path = ModuleFolder() + "\\..\\..";
    char full[MAX_PATH] = "";
    DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length > 0 && length < sizeof full ? std::string(full, length) : path;
}

bool WriteFileText(const std::string& path, const std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == text.size();
}

bool ReadFileText(const std::string& path, std::string& text)
{
    text.clear();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char chunk[4096];
    DWORD got = 0;
    while (text.size() < (1u << 20) && ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got)
        text.append(chunk, got);
    CloseHandle(file);
    return true;
}

TestFiles::TestFiles() : path_(NewTempFolder("kirapick-files-")) {}

TestFiles::~TestFiles()
{
    RemoveFolder(path_);
    RemoveFolder(Away());
}

bool TestFiles::Add(const std::vector<std::string>& names) const
{
    for (const std::string& name : names)
        if (path_.empty() || !WriteFileText(*this / name, name))
            return false;
    return true;
}

FileState TestFiles::StateOf(const std::string& folder)
{
    FileState files;
    ForEachFile(folder, [&](const std::string& path) {
        std::string data;
        files[path.substr(folder.size() + 1)] = ReadFileText(path, data) ? data : "<unreadable>";
    });
    return files;
}

std::string UserSection()
{
    char name[100] = "";
    DWORD size = sizeof name;
    return GetUserNameA(name, &size) ? name : "";
}

const EngineEntry Engines[12] = {
    {"ウェブ検索", "http://one.test/search?q=%s"},
    {"画像検索", "https://two.test/images?q=%s&hl=ja"},
    {"辞書（表）", "https://three.test/dict?ie=Shift_JIS&q=%s&rate=100%%"},
    {"四", "http://four.test/?q=%s"},
    {"五", "http://five.test/?q=%s"},
    {"六", "http://six.test/?q=%s"},
    {"七", "http://seven.test/?q=%s"},
    {"八", "http://eight.test/?q=%s"},
    {"九", "http://nine.test/?q=%s"},
    {"十", "http://ten.test/?q=%s"},
    {"十一", "http://eleven.test/?q=%s"},
    {"空き", ""},
};

IniText& AddOptions(IniText& ini, const Options& options)
{
    const std::pair<const char*, int> later[] = {
        {"HTTPSURL", options.httpsUrl}, {"TRAYICON", options.trayIcon},
        {"AUTOSTART", options.autoStart}};
    ini.Key("HOTKEY", options.hotKey)
        .Key("IMEON", options.imeOn)
        .Key("SHOWCLIP", options.showClip)
        .Key("COPY", options.copy)
        .Key("AUTOURLOPEN", options.autoUrlOpen)
        .Key("SHIFTOPEN", options.shiftOpen)
        .Key("MAKEUPURL", options.makeupUrl)
        .Key("SAVEHISTORY", options.saveHistory)
        .Key("FUNCKEYTOUR", options.funcKeyTour)
        .Key("TOURFUNCKEY", options.tourFuncKey)
        .Key("TOURBARSHOW", options.tourBarShow)
        .Key("TOURAUTOSTART", options.tourAutoStart);
    for (const auto& key : later)
        if (key.second >= 0)
            ini.Key(key.first, key.second);
    return ini;
}

static IniText OptionsAndEngines(const std::string& section, const Options& options)
{
    IniText ini;
    AddOptions(ini.Section(section), options);
    for (int n = 1; n <= 12; ++n)
        ini.Key("EGNAME" + std::to_string(n), Engines[n - 1].name)
            .Key("ENGINE" + std::to_string(n), Engines[n - 1].url);
    return ini;
}

std::string DefaultsText() { return OptionsAndEngines("Default", Options()).Text(); }

IniText ResidentIni(const Options& options) { return OptionsAndEngines(UserSection(), options); }

Program::Program(const std::string& ini, const std::string& defaults)
    : folder_(NewTempFolder("kirapick-e2e-"))
{
    if (folder_.empty())
        return;
    exe_ = folder_ + "\\" + ProgramName;
    std::string recorder = folder_ + "\\" + RecorderName;
    std::string built = BuildFolder() + "\\kirapick\\" + ProgramName;
    if (!CopyFileA(built.c_str(), exe_.c_str(), FALSE))
        fprintf(stderr, "driver: cannot copy %s\n", built.c_str());
    if (!CopyFileA((ModuleFolder() + "\\" + RecorderName).c_str(), recorder.c_str(), FALSE))
        fprintf(stderr, "driver: cannot copy the recorder\n");
    if (!WriteFileText(folder_ + "\\kirapick.ini", ini)
        || !WriteFileText(folder_ + "\\kirapick.def", defaults))
        fprintf(stderr, "driver: cannot write the settings files\n");
    if (!RegisterRecorder(recorder))
        fprintf(stderr, "driver: cannot register the recorder\n");
    PrepareWineLooks();
}

Program::Program(const Existing& place)
    : owned_(false), folder_(place.folder), exe_(folder_ + "\\" + ProgramName)
{
}

Program::~Program()
{
    // the job ends the program and whatever it started (a second start, the recorder)
    if (job_)
        TerminateJobObject(job_, 99);
    if (process_) {
        TerminateProcess(process_, 99); // when it could not join the job
        WaitForSingleObject(process_, 5000);
        CloseHandle(process_);
    }
    if (job_)
        CloseHandle(job_);
    // a Runonce value left pointing into the test's folder would outlive the test
    if (!folder_.empty() && RunonceValue(ProgramName) == exe_)
        DeleteRunonceValue(ProgramName);
    if (owned_ && !folder_.empty())
        RemoveFolder(folder_);
}

static bool Launch(const std::string& exe, const std::string& folder, HANDLE job,
                   PROCESS_INFORMATION& info)
{
    std::string line = "\"" + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    // Wine on a loaded machine now and then refuses a start with an internal error while
    // an earlier process winds down; a moment later it starts
    for (int attempt = 0;; ++attempt) {
        if (CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                           nullptr, folder.c_str(), &startup, &info))
            break;
        DWORD error = GetLastError();
        fprintf(stderr, "driver: cannot start %s (error %lu)\n", exe.c_str(), error);
        if (error != ERROR_INTERNAL_ERROR || attempt == 2)
            return false;
        Sleep(500);
    }
    if (job)
        AssignProcessToJobObject(job, info.hProcess);
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    return true;
}

bool Program::Start()
{
    if (folder_.empty() || process_)
        return false;
    // the previous test's program may still be on its way out: give it a moment
    auto noOtherInstance = [] {
        HANDLE other = OpenMutexA(SYNCHRONIZE, FALSE, MutexName);
        if (other)
            CloseHandle(other);
        return other == nullptr;
    };
    if (!WaitFor(noOtherInstance)) {
        fprintf(stderr, "driver: another instance of the program is running\n");
        return false;
    }
    job_ = CreateJobObjectA(nullptr, nullptr);
    if (job_) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    PROCESS_INFORMATION info{};
    if (!Launch(exe_, folder_, job_, info))
        return false;
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
    return true;
}

HWND Program::StartResident() { return Start() ? WaitSearchWindow() : nullptr; }

bool Program::StartAgain(DWORD& exitCode, DWORD ms)
{
    PROCESS_INFORMATION info{};
    if (!Launch(exe_, folder_, job_, info))
        return false;
    bool ended = WaitForSingleObject(info.hProcess, ms) == WAIT_OBJECT_0
                 && GetExitCodeProcess(info.hProcess, &exitCode);
    if (!ended)
        TerminateProcess(info.hProcess, 99);
    CloseHandle(info.hProcess);
    return ended;
}

bool Program::WaitExit(DWORD& exitCode, DWORD ms)
{
    if (!process_ || WaitForSingleObject(process_, ms) != WAIT_OBJECT_0)
        return false;
    return GetExitCodeProcess(process_, &exitCode) != 0;
}

bool Program::Running() const
{
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

HWND Program::SearchWindow() const { return WaitSearchWindow(0); }

HWND Program::WaitSearchWindow(DWORD ms) const
{
    return WaitTopLevel(pid_, "#32770", IsSearchWindow, ms);
}

bool Program::ShowSearch(const char* clipboard) const
{
    HWND search = SearchWindow();
    return search && SetClipboard(clipboard) && Summon() && WaitVisible(search, true);
}

std::vector<HWND> Program::Dialogs() const { return TopLevelWindows(pid_, "#32770"); }

HWND Program::WaitMessageBox(DWORD ms) const
{
    return WaitTopLevel(pid_, "#32770", [](HWND window) {
        return IsVisible(window) && !GetDlgItem(window, SearchBox) && Text(window) == Title;
    }, ms);
}

std::string Program::AnswerMessage(int button, DWORD ms) const
{
    HWND box = WaitMessageBox(ms);
    if (!box)
        return "<no message box>";
    std::string text = MessageText(box);
    Answer(box, button);
    return WaitGone(box) ? text : "<not closed> " + text;
}

HWND Program::WaitDialog(const char* caption, DWORD ms) const
{
    return WaitTopLevel(pid_, "#32770", [&](HWND window) {
        return IsVisible(window) && Text(window) == caption;
    }, ms);
}

HWND Program::WaitMenu(DWORD ms) const { return WaitTopLevel(pid_, "#32768", IsVisible, ms); }

bool Program::Sync() const { return Answers(SearchWindow()); }

bool Program::Summon() const
{
    HWND window = SearchWindow();
    return window && PostMessageA(window, WM_HOTKEY, 0, 0);
}

std::vector<std::string> Program::Opened() const
{
    std::vector<std::string> lines;
    std::string text; // none before the first address
    ReadFileText(folder_ + "\\opened.log", text);
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

bool Program::WaitOpened(size_t count, DWORD ms) const
{
    return WaitFor([&] { return Opened().size() >= count; }, ms);
}

std::string Program::Ini(const std::string& key, const std::string& section) const
{
    char value[TextLimit] = "";
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "<missing>", value, sizeof value,
                             (folder_ + "\\kirapick.ini").c_str());
    return value;
}

bool IsVisible(HWND window) { return window && IsWindowVisible(window); }

bool WaitVisible(HWND window, bool visible, DWORD ms)
{
    return WaitFor([&] { return IsVisible(window) == visible; }, ms);
}

bool BringToFront(HWND window, DWORD ms)
{
    if (GetForegroundWindow() == window)
        return true;
    SetForegroundWindow(window);
    return WaitFor([&] { return GetForegroundWindow() == window; }, ms);
}

static INPUT KeyInput(WORD vk, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

bool PressKeys(HWND target, const std::vector<WORD>& keys)
{
    if (target && !BringToFront(target))
        return false;
    for (WORD vk : keys) {
        INPUT press[2] = {KeyInput(vk, false), KeyInput(vk, true)};
        if (SendInput(2, press, sizeof(INPUT)) != 2)
            return false;
    }
    return true;
}

bool Answers(HWND window)
{
    DWORD_PTR result = 0;
    return window && SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, Patience, &result);
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, Patience, &result)
               ? static_cast<LRESULT>(result)
               : 0;
}

void PostCommand(HWND window, int id)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

std::string Text(HWND window)
{
    char text[TextLimit] = "";
    Send(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    text[sizeof text - 1] = '\0';
    return text;
}

std::string MessageText(HWND box)
{
    for (HWND child : Children(box))
        if (ClassOf(child) == "Static") {
            std::string text = Text(child);
            if (!text.empty())
                return text;
        }
    return "";
}

bool Answer(HWND dialog, int button)
{
    if (dialog)
        PostCommand(dialog, button);
    return dialog != nullptr;
}

HWND SheetPage(HWND sheet, int id)
{
    for (HWND child : Children(sheet))
        if (ClassOf(child) == "#32770" && GetDlgItem(child, id))
            return child;
    return nullptr;
}

// The entries of a combo box or a list box, asked for with the messages of its kind.
static std::vector<std::string> Items(HWND dialog, int id, UINT getCount, UINT getLength,
                                      UINT getText)
{
    std::vector<std::string> items;
    HWND box = GetDlgItem(dialog, id);
    LRESULT count = Send(box, getCount, 0, 0);
    for (LRESULT i = 0; i < count && i < 200; ++i) {
        // Wine 8 hands the ANSI form of CB_GETLBTEXT and LB_GETTEXT across processes cut after
        // the first character; the wide form arrives whole
        wchar_t wide[TextLimit] = L"";
        DWORD_PTR length = 0;
        if (Send(box, getLength, i, 0) < TextLimit)
            SendMessageTimeoutW(box, getText, i, reinterpret_cast<LPARAM>(wide), SMTO_NORMAL,
                                Patience, &length);
        char item[TextLimit * 2] = ""; // room for a double-byte character for each
        WideCharToMultiByte(CP_ACP, 0, wide, -1, item, sizeof item, nullptr, nullptr);
        items.push_back(item);
    }
    return items;
}

std::vector<std::string> ComboItems(HWND dialog, int id)
{
    return Items(dialog, id, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

std::vector<std::string> ListItems(HWND dialog, int id)
{
    return Items(dialog, id, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

static bool OpenClipboardSoon()
{
    // the program may hold the clipboard for a moment
    return WaitFor([] { return OpenClipboard(nullptr) != 0; }, 3000);
}

bool SetClipboard(const char* text)
{
    if (!OpenClipboardSoon())
        return false;
    EmptyClipboard();
    bool set = true;
    if (text) {
        size_t size = strlen(text) + 1;
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
        void* block = memory ? GlobalLock(memory) : nullptr;
        if (block) {
            CopyMemory(block, text, size);
            GlobalUnlock(memory);
        }
        set = block && SetClipboardData(CF_TEXT, memory);
        if (!set && memory)
            GlobalFree(memory);
    }
    CloseClipboard();
    return set;
}

bool Clipboard(std::string& text)
{
    text.clear();
    if (!OpenClipboardSoon())
        return false;
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* block = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (block) {
        text.assign(block, strnlen(block, GlobalSize(data)));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return block != nullptr;
}

bool ClipboardEmpty()
{
    return !IsClipboardFormatAvailable(CF_TEXT) && !IsClipboardFormatAvailable(CF_UNICODETEXT);
}

std::string RunonceValue(const std::string& name)
{
    char value[TextLimit] = "";
    DWORD size = sizeof value;
    return RegGetValueA(HKEY_CURRENT_USER, RunonceKey, name.c_str(), RRF_RT_REG_SZ, nullptr,
                        value, &size) == ERROR_SUCCESS
               ? value
               : "<missing>";
}

void DeleteRunonceValue(const std::string& name)
{
    RegDeleteKeyValueA(HKEY_CURRENT_USER, RunonceKey, name.c_str());
}

bool GrabScreen(const RECT& rect, BITMAPINFOHEADER& header, std::string& bits)
{
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096)
        return false;
    DWORD size = ((static_cast<DWORD>(width) * 3 + 3) & ~3u) * static_cast<DWORD>(height);
    // a positive height: bottom-up, as a BMP file stores it
    header = {sizeof header, width, height, 1, 24, BI_RGB, size, 0, 0, 0, 0};

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* data = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                      DIB_RGB_COLORS, &data, nullptr, 0);
    bool copied = false;
    if (bitmap && data) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != 0;
        GdiFlush();
        SelectObject(memory, old);
        if (copied)
            bits.assign(static_cast<const char*>(data), header.biSizeImage);
    }
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return copied;
}

bool SaveScreenshot(HWND window, const std::string& name)
{
    // let the program paint everything before the screen is read
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Answers(window);

    RECT rect{};
    BITMAPINFOHEADER header;
    std::string bits;
    if (!GetWindowRect(window, &rect) || !GrabScreen(rect, header, bits))
        return false;
    std::string folder = BuildFolder() + "\\screenshots";
    CreateDirectoryA(folder.c_str(), nullptr);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    std::string data(reinterpret_cast<const char*>(&file), sizeof file);
    data.append(reinterpret_cast<const char*>(&header), sizeof header);
    return WriteFileText(folder + "\\" + name + ".bmp", data + bits);
}

std::vector<HWND> TopLevelWindows(DWORD pid, const char* className)
{
    std::vector<HWND> all, found;
    if (pid)
        EnumWindows(Collect, reinterpret_cast<LPARAM>(&all));
    for (HWND window : all) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == pid && ClassOf(window) == className)
            found.push_back(window);
    }
    return found;
}

int CountProcesses(const std::string& path)
{
    bool bare = path.find('\\') == std::string::npos;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    int count = 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more;
         more = Process32Next(snapshot, &entry)) {
        if (bare) {
            count += lstrcmpiA(entry.szExeFile, path.c_str()) == 0;
            continue;
        }
        HANDLE process =
            OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        if (!process)
            continue;
        char image[MAX_PATH] = "";
        DWORD size = sizeof image;
        if (QueryFullProcessImageNameA(process, 0, image, &size))
            count += lstrcmpiA(image, path.c_str()) == 0;
        CloseHandle(process);
    }
    CloseHandle(snapshot);
    return count;
}

} // namespace e2e
