#include "driver.h"

#include <stdio.h>
#include <string.h>

namespace e2e {

std::string Ansi(const std::string& utf8)
{
    std::string out;
    for (size_t i = 0, n; i < utf8.size(); i += n) {
        const unsigned char c = utf8[i];
        n = std::min<size_t>(c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1, utf8.size() - i);
        wchar_t wide[2];
        char bytes[8];
        int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, &utf8[i], int(n), wide, 2);
        int got = units ? WideCharToMultiByte(932, 0, wide, units, bytes, sizeof bytes, nullptr, nullptr) : 0;
        out += got ? std::string(bytes, got) : (n = 1, utf8.substr(i, 1));
    }
    return out;
}

std::string Utf8(const std::wstring& wide)
{
    std::string out(wide.size() * 3, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), &out[0], int(out.size()), nullptr, nullptr));
    return out;
}

std::wstring Wide(const std::string& text, UINT codePage)
{
    std::wstring out(text.size(), L'\0');
    out.resize(MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), &out[0], int(out.size())));
    return out;
}

std::string ModuleFolder()
{
    char path[MAX_PATH] = "";
    std::string module(path, GetModuleFileNameA(nullptr, path, sizeof path));
    return module.substr(0, module.find_last_of("\\/"));
}

std::string UserSection()
{
    char name[100] = "";
    DWORD size = sizeof name;
    return GetUserNameA(name, &size) ? name : "";
}

bool WriteFileText(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
    return CloseHandle(file) && ok;
}

bool ReadFileText(const std::string& path, std::string& bytes)
{
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    char chunk[4096];
    DWORD got = 0;
    for (bytes.clear(); ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got;)
        bytes.append(chunk, got);
    CloseHandle(file);
    return file != INVALID_HANDLE_VALUE;
}

bool Answers(HWND window)
{
    DWORD_PTR result = 0;
    return window && SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, Patience, &result);
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, Patience, &result) ? LRESULT(result) : 0;
}

std::string Text(HWND window)
{
    wchar_t text[1200] = L"";
    Send(window, WM_GETTEXT, 1200, LPARAM(text));
    return Utf8(text);
}

bool PressKeys(HWND front, const std::vector<WORD>& keys)
{
    if (front && GetForegroundWindow() != front) {
        SetForegroundWindow(front);
        if (!WaitFor([&] { return GetForegroundWindow() == front; }))
            return false;
    }
    for (WORD vk : keys) {
        INPUT press[2] = {};
        for (int up = 0; up < 2; ++up) {
            press[up].type = INPUT_KEYBOARD;
            press[up].ki.wVk = vk;
            press[up].ki.wScan = WORD(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
            press[up].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        }
        if (SendInput(2, press, sizeof(INPUT)) != 2)
            return false;
    }
    return true;
}

bool SetClipboard(const char* text)
{
    // the program may hold the clipboard for a moment
    if (!WaitFor([] { return OpenClipboard(nullptr) != 0; }, 3000))
        return false;
    EmptyClipboard();
    HGLOBAL memory = text ? GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1) : nullptr;
    if (void* block = memory ? GlobalLock(memory) : nullptr)
        memcpy(block, text, strlen(text) + 1), GlobalUnlock(memory);
    bool set = !text || (memory && SetClipboardData(CF_TEXT, memory));
    return CloseClipboard() && set;
}

std::vector<HWND> TopLevel(DWORD pid, const char* className)
{
    std::vector<HWND> all, found;
    EnumWindows([](HWND window, LPARAM list) { return reinterpret_cast<std::vector<HWND>*>(list)->push_back(window), TRUE; },
                LPARAM(&all));
    for (HWND window : all) {
        DWORD owner = 0;
        char name[64] = "";
        GetWindowThreadProcessId(window, &owner);
        GetClassNameA(window, name, sizeof name);
        if (pid && owner == pid && strcmp(name, className) == 0)
            found.push_back(window);
    }
    return found;
}

OtherWindow::OtherWindow()
    : thread(CreateThread(nullptr, 0, [](void* self) -> DWORD {
          static_cast<OtherWindow*>(self)->window = CreateWindowExA(0, "STATIC", "another program", WS_POPUP | WS_VISIBLE,
                                                                    600, 600, 200, 60, nullptr, nullptr, nullptr, nullptr);
          for (MSG message; GetMessageA(&message, nullptr, 0, 0) > 0;)
              DispatchMessageA(&message);
          return 0;
      }, this, 0, nullptr))
{
    WaitFor([&] { return window != nullptr; });
}

OtherWindow::~OtherWindow()
{
    PostThreadMessageA(GetThreadId(thread), WM_QUIT, 0, 0);
    WaitForSingleObject(thread, Patience);
    CloseHandle(thread);
}

static const char RunonceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Runonce";

Program::Program(const std::string& existing) : folder(existing), owned_(existing.empty())
{
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    for (DWORD n = GetTickCount(), last = n + 100; owned_ && folder.empty() && n < last; ++n)
        if (CreateDirectoryA((temp + ("kirapick-e2e-" + std::to_string(n))).c_str(), nullptr))
            folder = temp + ("kirapick-e2e-" + std::to_string(n));
    exe = folder + "\\kirapick.exe";
    recorder = folder + "\\recorder.exe";
    if (!owned_)
        return;
    // the test program lives in <build>/tests/e2e, the program in <build>/kirapick
    if (!CopyFileA((ModuleFolder() + "\\..\\..\\kirapick\\kirapick.exe").c_str(), exe.c_str(), FALSE)
        || !CopyFileA((ModuleFolder() + "\\recorder.exe").c_str(), recorder.c_str(), FALSE))
        fprintf(stderr, "driver: cannot copy the program into %s\n", folder.c_str());
    // the recorder is the browser; without a window manager Wine draws the caption bars
    std::string command = "\"" + recorder + "\" \"%1\"";
    for (const char* key : {"http\\shell\\open\\command", "https\\shell\\open\\command"})
        RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, command.c_str(), 0);
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", "Decorated", REG_SZ, "N", 2);
}

Program::~Program()
{
    End();
    if (!owned_)
        return;
    // a Runonce value left pointing into the test's folder would outlive the test
    char value[MAX_PATH] = "";
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, RunonceKey, "kirapick.exe", RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS
        && exe == value)
        RegDeleteKeyValueA(HKEY_CURRENT_USER, RunonceKey, "kirapick.exe");
    RemoveFolder(folder);
}

void RemoveFolder(const std::string& folder)
{
    // wide: the names may lie beyond code page 932; an ended process can hold its image a
    // moment longer
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Wide(folder + "\\*").c_str(), &found);
    for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
        const std::wstring path = Wide(folder + "\\") + found.cFileName;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            WaitFor([&] { return DeleteFileW(path.c_str()) != 0; }, 3000);
        else if (found.cFileName[0] != L'.') // an empty subfolder
            RemoveDirectoryW(path.c_str());
    }
    FindClose(search);
    RemoveDirectoryW(Wide(folder).c_str());
}

bool Program::Start()
{
    // a fresh copy is a new test's: the previous test's program may still be on its way out
    auto noOtherInstance = [] {
        HANDLE other = OpenMutexW(SYNCHRONIZE, FALSE, L"キラピック！:Mutex");
        return !other || !CloseHandle(other);
    };
    if (folder.empty() || process_ || (owned_ && !WaitFor(noOtherInstance)))
        return false;
    // the job ends the program and whatever it started (a second start, the recorder)
    job_ = CreateJobObjectA(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    std::string line = "\"" + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    // Wine on a loaded machine now and then refuses a start with an internal error while an
    // earlier process winds down; a moment later it starts
    for (int attempt = 0; !CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                                          folder.c_str(), &startup, &info); ++attempt, Sleep(500))
        if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == 2)
            return false;
    AssignProcessToJobObject(job_, info.hProcess);
    process_ = info.hProcess;
    thread_ = info.hThread;
    pid_ = info.dwProcessId;
    ResumeThread(thread_);
    return true;
}

void Program::End()
{
    if (job_)
        TerminateJobObject(job_, 99), CloseHandle(job_);
    if (process_) {
        TerminateProcess(process_, 99); // when it could not join the job
        WaitForSingleObject(process_, 5000);
        CloseHandle(process_);
        CloseHandle(thread_);
    }
    job_ = process_ = thread_ = nullptr;
    pid_ = 0;
}

bool Program::WaitExit(DWORD& exitCode, DWORD ms)
{
    return process_ && WaitForSingleObject(process_, ms) == WAIT_OBJECT_0 && GetExitCodeProcess(process_, &exitCode);
}

HWND Program::SearchWindow() const
{
    for (HWND window : TopLevel(pid_, "#32770"))
        if (GetDlgItem(window, 1001) && Text(window) == u8"キラピック！")
            return window;
    return nullptr;
}

std::vector<std::string> Program::Opened() const
{
    std::vector<std::string> lines;
    std::string text; // no file before the first address
    ReadFileText(folder + "\\opened.log", text);
    for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

} // namespace e2e
