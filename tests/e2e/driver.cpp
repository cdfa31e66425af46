#include "driver.h"

#include <stdio.h>
#include <string.h>
#include <tlhelp32.h>

namespace e2e {

static const char RunonceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Runonce";

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

bool WriteFileText(const std::string& path, const std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == text.size();
}

bool ReadFileText(const std::string& path, std::string& text)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    char chunk[4096];
    DWORD got = 0;
    for (text.clear(); ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got;)
        text.append(chunk, got);
    CloseHandle(file);
    return file != INVALID_HANDLE_VALUE;
}

std::string NewTempFolder(const std::string& prefix)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    for (DWORD n = GetTickCount(), last = n + 100; n < last; ++n) {
        std::string candidate = temp + prefix + std::to_string(n);
        if (CreateDirectoryA(candidate.c_str(), nullptr))
            return candidate;
    }
    return "";
}

void RemoveFolder(const std::string& folder)
{
    // an ended process can hold its image a moment longer
    ForEachFile(folder, [&](const std::string& name) {
        WaitFor([&] { return DeleteFileA((folder + "\\" + name).c_str()) != 0; }, 3000);
    });
    RemoveDirectoryA(folder.c_str());
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
               ? static_cast<LRESULT>(result) : 0;
}

std::string Text(HWND window)
{
    char text[1200] = "";
    Send(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
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
            press[up].ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
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
    if (void* block = memory ? GlobalLock(memory) : nullptr) {
        memcpy(block, text, strlen(text) + 1);
        GlobalUnlock(memory);
    }
    bool set = !text || (memory && SetClipboardData(CF_TEXT, memory));
    CloseClipboard();
    return set;
}

static BOOL CALLBACK Collect(HWND window, LPARAM found)
{
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevel(DWORD pid, const char* className)
{
    std::vector<HWND> all, found;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&all));
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

int CountProcesses(const char* name)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        count += lstrcmpiA(entry.szExeFile, name) == 0;
    CloseHandle(snapshot);
    return count;
}

bool GrabScreen(RECT rect, std::string& bits, int& width, int& height)
{
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&rect, &rect, &screen); // a menu of long names can reach beyond it
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
    BITMAPINFOHEADER header = {sizeof header, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    HDC screenDc = GetDC(nullptr), memory = CreateCompatibleDC(screenDc);
    void* data = nullptr;
    HBITMAP bitmap = CreateDIBSection(screenDc, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &data, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    bool copied = data && BitBlt(memory, 0, 0, width, height, screenDc, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    if (copied)
        bits.assign(static_cast<const char*>(data), ((width * 3 + 3) & ~3) * height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screenDc);
    return copied;
}

bool SaveScreenshot(HWND window, const std::string& name)
{
    std::string folder = ModuleFolder() + "\\..\\..\\screenshots", last, picture;
    CreateDirectoryA(folder.c_str(), nullptr);
    DWORD since = 0;
    return WaitFor([&] {
        RECT rect{};
        std::string bits;
        int width = 0, height = 0;
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        if (!Answers(window) || !GetWindowRect(window, &rect) || !GrabScreen(rect, bits, width, height))
            return false;
        BITMAPINFOHEADER header = {sizeof header, width, height, 1, 24, BI_RGB, static_cast<DWORD>(bits.size()), 0, 0, 0, 0};
        BITMAPFILEHEADER file = {0x4D42 /* "BM" */, static_cast<DWORD>(sizeof file + sizeof header + bits.size()), 0, 0,
                                 sizeof file + sizeof header};
        picture = std::string(reinterpret_cast<const char*>(&file), sizeof file)
                  + std::string(reinterpret_cast<const char*>(&header), sizeof header) + bits;
        if (picture != last) {
            last = picture;
            since = GetTickCount();
        }
        return GetTickCount() - since >= 300;
    }) && WriteFileText(folder + "\\" + name + ".bmp", picture);
}

Program::Program(const std::string& existing)
    : folder(existing.empty() ? NewTempFolder("kirapick-e2e-") : existing), exe(folder + "\\kirapick.exe"),
      recorder(folder + "\\recorder.exe"), owned_(existing.empty())
{
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
    if (RegGetValueA(HKEY_CURRENT_USER, RunonceKey, "kirapick.exe", RRF_RT_REG_SZ, nullptr, value, &size)
            == ERROR_SUCCESS && exe == value)
        RegDeleteKeyValueA(HKEY_CURRENT_USER, RunonceKey, "kirapick.exe");
    RemoveFolder(folder);
}

bool Program::Start(bool suspended)
{
    // a fresh copy is a new test's: the previous test's program may still be on its way out
    auto noOtherInstance = [] {
        HANDLE other = OpenMutexA(SYNCHRONIZE, FALSE, "キラピック！:Mutex");
        if (other)
            CloseHandle(other);
        return other == nullptr;
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
    for (int attempt = 0; !CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                                          nullptr, folder.c_str(), &startup, &info); ++attempt) {
        if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == 2)
            return false;
        Sleep(500);
    }
    AssignProcessToJobObject(job_, info.hProcess);
    process_ = info.hProcess;
    thread_ = info.hThread;
    pid_ = info.dwProcessId;
    if (!suspended)
        Resume();
    return true;
}

void Program::End()
{
    if (job_)
        TerminateJobObject(job_, 99);
    if (process_) {
        TerminateProcess(process_, 99); // when it could not join the job
        WaitForSingleObject(process_, 5000);
        CloseHandle(process_);
        CloseHandle(thread_);
    }
    if (job_)
        CloseHandle(job_);
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
        if (GetDlgItem(window, 1001) && Text(window) == "キラピック！")
            return window;
    return nullptr;
}

HWND Program::WaitSearchWindow() const
{
    HWND found = nullptr;
    WaitFor([&] { return (found = SearchWindow()) != nullptr; });
    return found;
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
