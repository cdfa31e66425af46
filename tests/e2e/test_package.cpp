#include "e2e.h"

#include <algorithm>

using namespace e2e;

namespace {

// The fixture package.unpack makes this folder empty and unpacks the release zip into it
// (<prefix>/drive_c/kirapick-package under Wine).
const char PackageFolder[] = "C:\\kirapick-package";
constexpr int SearchBox = 1001;
constexpr int HotKeyList = 1018;
constexpr int CtrlBox = 1009;

std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

std::string Profile(const std::string& file, const char* section, const char* key)
{
    char value[300] = "";
    GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, file.c_str());
    return value;
}

// The program started as a user starts it, from the unpacked folder; the job ends it and
// whatever it started when the test ends, however it ends.
class Unpacked {
public:
    explicit Unpacked(const std::string& exe) : exe_(exe)
    {
        job_ = CreateJobObjectA(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        std::string line = "\"" + exe + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                            nullptr, PackageFolder, &startup, &info))
            return;
        AssignProcessToJobObject(job_, info.hProcess);
        ResumeThread(info.hThread);
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        pid_ = info.dwProcessId;
    }
    ~Unpacked()
    {
        if (process_) {
            TerminateJobObject(job_, 99);
            WaitForSingleObject(process_, 5000);
            CloseHandle(process_);
        }
        CloseHandle(job_);
        // the start registered the unpacked program for the next logon
        if (RunonceValue("kirapick.exe") == exe_)
            DeleteRunonceValue("kirapick.exe");
    }
    Unpacked(const Unpacked&) = delete;
    Unpacked& operator=(const Unpacked&) = delete;

    bool Started() const { return process_ != nullptr; }
    // The first visible dialog of the program titled `title` for which `has(window)` holds.
    template <typename F> HWND WaitDialog(const char* title, F has) const
    {
        HWND dialog = nullptr;
        WaitFor([&] {
            for (HWND window : TopLevelWindows(pid_, "#32770"))
                if (IsVisible(window) && Text(window) == title && has(window)) {
                    dialog = window;
                    return true;
                }
            return false;
        });
        return dialog;
    }
    HWND WaitSearchWindow() const
    {
        HWND search = nullptr;
        WaitFor([&] {
            for (HWND window : TopLevelWindows(pid_, "#32770"))
                if (GetDlgItem(window, SearchBox) && Text(window) == Title)
                    search = window;
            return search != nullptr;
        });
        return search;
    }

private:
    std::string exe_;
    HANDLE job_ = nullptr;
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

} // namespace

TEST_CASE("the package unpacked into an empty folder starts with its own defaults")
{
    const std::string folder = PackageFolder;
    const std::string exe = folder + "\\kirapick.exe";
    const std::string def = folder + "\\kirapick.def";
    const std::string ini = folder + "\\kirapick.ini";
    // the zip holds the program and its two files, and nothing else
    REQUIRE(FolderEntries(folder)
            == std::vector<std::string>{"kirapick.def", "kirapick.exe", "readme.txt"});
    if (HANDLE other = OpenMutexA(SYNCHRONIZE, FALSE, "キラピック！:Mutex")) {
        CloseHandle(other);
        FAIL("another instance of the program is running");
    }

    Unpacked program(exe);
    REQUIRE(program.Started());
    // a user's first start: the notice, then the sheet with the shipped defaults (Ctrl+F1)
    HWND notice = program.WaitDialog(Title, [](HWND box) { return !GetDlgItem(box, SearchBox); });
    REQUIRE(notice);
    Answer(notice, IDOK);
    HWND sheet = program.WaitDialog(SheetCaption, [](HWND) { return true; });
    REQUIRE(sheet);
    HWND page = SheetPage(sheet, HotKeyList);
    REQUIRE(page);
    CHECK(ComboSelection(page, HotKeyList) == 0);
    CHECK(IsChecked(page, CtrlBox));
    Answer(sheet, IDOK);

    CHECK(program.WaitSearchWindow() != nullptr);
    CHECK(Profile(ini, UserSection().c_str(), "HOTKEY") == "32768");
    const std::string engine = Profile(def, "Default", "ENGINE1");
    CHECK(engine.find("%s") != std::string::npos);
    CHECK(Profile(ini, UserSection().c_str(), "ENGINE1") == engine);
}
