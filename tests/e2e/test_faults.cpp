// Faults a user's machine can throw at the program: damaged or unreadable settings, files that
// cannot be renamed or deleted, folders that vanish, two starts at the same moment. After each
// the program answers with its own messages, loses no file, and stays usable; nothing crashes
// (a crash would start Wine's crash handler, winedbg) and nothing hangs.
#include "e2e.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <memory>

using namespace e2e;

namespace {

// search window
constexpr int SearchBox = 1001;
constexpr int SearchButton = 1003;
constexpr int SearchButtonTour = 1006;
constexpr int EngineMenuButton = 1007;
constexpr int DestinationsButton = 1008;
constexpr int SettingsButton = 1005;
// tour bar
constexpr int BarNext = 1120;
constexpr int BarList = 1123;
// destinations page (the sheet's third) and the file order dialog
constexpr int DestinationsPage = 2;
constexpr int DestPath = 1065;
constexpr int DestOrderButton = 1205;
constexpr int OrderList = 1207;
constexpr int OrderTop = 1204;
constexpr int OrderBottom = 1206;

const char FirstRunText[] = "設定を読み込めませんでした。\n先に設定を行ってください。";
const char HotKeyFailed[] = "起動キーを設定できませんでした。";
const char NoFiles[] = "ファイルが1つもありません。";
const char NotFound[] = "ファイルが見つかりません。\n";
const char RenameFailed[] = "ファイル名を変更できませんでした。\n";
const char DeleteFailed[] = "ファイルを削除できませんでした。";
const char OrderCaption[] = "ファイル閲覧の順番";
const char CrashHandler[] = "winedbg.exe";

// A file beside the program.
std::string Beside(const Program& program, const char* name)
{
    const std::string& exe = program.ExePath();
    return exe.substr(0, exe.find_last_of('\\') + 1) + name;
}
std::string SettingsFile(const Program& program) { return Beside(program, "kirapick.ini"); }
std::string DefaultsFile(const Program& program) { return Beside(program, "kirapick.def"); }
std::string Recorder(const Program& program) { return Beside(program, "recorder.exe"); }

bool WriteWhole(const std::string& path, const std::string& data)
{
    return WriteFileText(path, data);
}

// What a file holds, at most 1 MB; "<unreadable>" when it cannot be opened.
std::string ReadWhole(const std::string& path)
{
    std::string data;
    return ReadFileText(path, data) ? data : "<unreadable>";
}

// A file held open by the test, as another program would hold it, with the given sharing.
class HeldOpen {
public:
    HeldOpen(const std::string& path, DWORD access, DWORD share)
        : handle_(CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr))
    {
        REQUIRE(handle_ != INVALID_HANDLE_VALUE);
    }
    ~HeldOpen() { CloseHandle(handle_); }
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;

private:
    HANDLE handle_;
};

// A folder of small files in the temp folder, each holding its own name, so that a file lost,
// overwritten or swapped shows in State(). Removed at the end from wherever a test moved it.
class Files {
public:
    explicit Files(const std::vector<std::string>& names)
    {
        char temp[MAX_PATH] = "";
        DWORD length = GetTempPathA(sizeof temp, temp);
        REQUIRE((length > 0 && length < sizeof temp));
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            std::string candidate = std::string(temp, length) + "kirapick-faults-"
                                    + std::to_string(GetCurrentProcessId()) + "-"
                                    + std::to_string(GetTickCount() + attempt);
            if (CreateDirectoryA(candidate.c_str(), nullptr))
                path_ = candidate;
        }
        REQUIRE(!path_.empty());
        for (const std::string& name : names)
            REQUIRE(WriteWhole(*this / name, name));
    }
    ~Files()
    {
        for (const std::string& folder : {path_, Away()}) {
            for (const auto& entry : StateOf(folder))
                DeleteFileA((folder + "\\" + entry.first).c_str());
            RemoveDirectoryA(folder.c_str());
        }
    }
    Files(const Files&) = delete;
    Files& operator=(const Files&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }
    // Where MoveAway puts the folder: beside it, under another name.
    std::string Away() const { return path_ + "-away"; }
    bool MoveAway() const { return MoveFileA(path_.c_str(), Away().c_str()) != 0; }
    bool MoveBack() const { return MoveFileA(Away().c_str(), path_.c_str()) != 0; }

    // Each file's name and content, from the folder or from where it was moved.
    std::map<std::string, std::string> State() const { return StateOf(path_); }
    std::map<std::string, std::string> AwayState() const { return StateOf(Away()); }

private:
    static std::map<std::string, std::string> StateOf(const std::string& folder)
    {
        std::map<std::string, std::string> files;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return files;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && files.size() < 200)
                files[found.cFileName] = ReadWhole(folder + "\\" + found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return files;
    }

    std::string path_;
};

// The program's message boxes seen so far: each answered with OK once, its text noted.
struct Replies {
    std::vector<std::string> texts;
    std::vector<HWND> boxes;
};

// A message box of the program not in `answered`, shown or not yet: a modal box shows itself
// only once the queue it runs goes empty. Its buttons tell it from a search window still
// being made.
HWND FindMessageBox(const Program& program, const std::vector<HWND>& answered = {})
{
    for (HWND window : program.Dialogs())
        if ((GetDlgItem(window, IDOK) || GetDlgItem(window, IDYES))
            && !GetDlgItem(window, SearchBox) && Text(window) == Title
            && std::find(answered.begin(), answered.end(), window) == answered.end())
            return window;
    return nullptr;
}

// Waits for `done` while answering the program's message boxes. A box answered inside a
// menu's loop closes only when the menu has gone.
template <typename F>
bool Until(const Program& program, Replies& replies, F done, DWORD ms = Patience)
{
    return WaitFor([&] {
        if (HWND box = FindMessageBox(program, replies.boxes)) {
            replies.texts.push_back(MessageText(box));
            replies.boxes.push_back(box);
            Answer(box, IDOK);
            return false;
        }
        return done();
    }, ms);
}

// Commands posted to the program are handled in turn, also inside a message box's loop: once
// the menu asked for last is up, everything posted before it has been handled. The menu is
// dismissed again.
bool Settled(const Program& program, Replies& replies,
             int menuButton = EngineMenuButton)
{
    PostCommand(program.SearchWindow(), menuButton);
    HWND menu = nullptr;
    if (!Until(program, replies, [&] { return (menu = program.WaitMenu(0)) != nullptr; }))
        return false;
    // the menu's own loop takes every key of the thread
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    return Until(program, replies, [&] { return program.WaitMenuGone(0); })
           && Until(program, replies, [&] { return FindMessageBox(program) == nullptr; });
}

HWND FindBar(const Program& program)
{
    for (HWND window : program.Dialogs())
        if (GetDlgItem(window, BarNext))
            return window;
    return nullptr;
}

// Answering, and no crash handler started since `handlers` were counted.
bool Alive(const Program& program, int handlers)
{
    DWORD_PTR result = 0;
    return program.Running() && program.Sync()
           && SendMessageTimeoutA(FindBar(program), WM_NULL, 0, 0, SMTO_NORMAL, Patience, &result)
           && CountProcesses(CrashHandler) == handlers;
}

bool OpenedSince(const Program& program, size_t before, const std::string& prefix)
{
    std::vector<std::string> opened = program.Opened();
    for (size_t i = before; i < opened.size(); ++i)
        if (opened[i].compare(0, prefix.size(), prefix) == 0)
            return true;
    return false;
}

// --- damaged settings --------------------------------------------------------------------

using KeyList = std::vector<std::pair<std::string, std::string>>;

// Every key of the user's section, sound: Ctrl+F3, engines, one history entry, and slot 1
// touring two files with the recorder as its viewer.
KeyList SoundKeys(const Files& tour, const std::string& recorder)
{
    KeyList keys = {{"HOTKEY", "32770"},  {"IMEON", "1"},       {"SHOWCLIP", "1"},
                    {"COPY", "0"},        {"AUTOURLOPEN", "1"}, {"SHIFTOPEN", "0"},
                    {"MAKEUPURL", "1"},   {"SAVEHISTORY", "1"}, {"FUNCKEYTOUR", "0"},
                    {"TOURFUNCKEY", "0"}, {"TOURBARSHOW", "0"}, {"TOURAUTOSTART", "0"}};
    for (int n = 1; n <= 12; ++n) {
        keys.push_back({"EGNAME" + std::to_string(n), Engines[n - 1].name});
        keys.push_back({"ENGINE" + std::to_string(n), Engines[n - 1].url});
    }
    KeyList more = {{"HISTORY0", "前回の検索"},
                    {"TOURNAME1", "巡回"},
                    {"TOURPATH1", tour.Path() + "\\*.*"},
                    {"INPUTPATH1", "0"},
                    {"TOURORDERBY1", "0"},
                    {"EXTFILTER1", ".kpt;"},
                    // not in quotes: the profile functions strip a pair around a value
                    {"TOURAPP1", recorder + " \"%s\""},
                    {"TOURDLG_XPOS", "40"},
                    {"TOURDLG_YPOS", "40"}};
    keys.insert(keys.end(), more.begin(), more.end());
    return keys;
}

std::string HighBytes()
{
    std::string bytes;
    for (int i = 0; i < 300; ++i)
        bytes += static_cast<char>(0x80 + i % 0x80);
    return bytes;
}

struct Damage {
    const char* name;
    std::string (*value)(const std::string& sound);
};
const Damage Damages[] = {
    {"empty", [](const std::string&) { return std::string(); }},
    {"non-numeric", [](const std::string&) { return std::string("abc"); }},
    {"huge", [](const std::string&) { return std::string("99999999999"); }},
    {"negative", [](const std::string&) { return std::string("-99"); }},
    {"2,000 bytes long",
     [](const std::string& sound) { return sound + std::string(2000 - sound.size(), 'x'); }},
    {"bytes above 0x7F", [](const std::string&) { return HighBytes(); }},
    {"ending in a lead byte", [](const std::string& sound) { return sound + '\x81'; }},
};

// The settings text, with the value of `key` damaged if a damage is given.
std::string SettingsText(const KeyList& keys, const std::string& key = "",
                         const Damage* damage = nullptr)
{
    std::string text = "[" + UserSection() + "]\r\n";
    for (const auto& entry : keys) {
        bool damaged = damage && entry.first == key;
        text += entry.first + "=" + (damaged ? damage->value(entry.second) : entry.second) + "\r\n";
    }
    return text;
}

// The program's own messages that damaged settings may bring.
bool OwnMessage(const std::string& message)
{
    return message == FirstRunText || message == HotKeyFailed || message == NoFiles
           || message.compare(0, sizeof NotFound - 1, NotFound) == 0;
}

// What a round must come to: an address opened by the search, a file by the tour; whether
// there is a destination to list (an empty menu never shows).
struct Expect {
    bool search;
    bool tour;
    bool destinations;
};

// One round as a user makes it: the search button, the tour button and "→", both menus
// opened on the way, with the search window hidden (in Wine without a window manager each
// hiding of a window with a caption waits two seconds); then a summons.
void Round(const Program& program, const Files& tour, Expect expect, Replies& replies)
{
    HWND search = program.SearchWindow();
    HWND bar = FindBar(program);
    REQUIRE(search);
    REQUIRE(bar);
    size_t before = program.Opened().size();
    PostCommand(search, SearchButton);
    PostCommand(search, SearchButtonTour);
    REQUIRE(
        Settled(program, replies, expect.destinations ? DestinationsButton : EngineMenuButton));
    REQUIRE(Until(program, replies, [&] { return IsVisible(bar); }));
    if (IsEnabled(bar, BarNext))
        PostCommand(bar, BarNext);
    REQUIRE(Settled(program, replies));
    if (expect.search)
        CHECK(Until(program, replies,
                    [&] { return OpenedSince(program, before, "https://three.test/"); }));
    if (expect.tour)
        CHECK(Until(program, replies, [&] { return OpenedSince(program, before, tour.Path()); }));
    REQUIRE(SetClipboard("faults"));
    REQUIRE(program.Summon());
    CHECK(Until(program, replies, [&] { return IsVisible(search); }));
}

void CheckReplies(const Replies& replies)
{
    for (const std::string& message : replies.texts) {
        INFO(message);
        CHECK(OwnMessage(message));
    }
}

// Every key, each damaged in every way in turn, and whether the search (with engine 3, the
// hot key's) and the tour must still open something. Where they need not, they may refuse,
// with the program's message or the silence it keeps for a failed launch.
struct KeyCase {
    const char* key;
    bool searchOpens;
    bool tourOpens;
};
const KeyCase Keys[] = {
    {"HOTKEY", false, true},       {"IMEON", true, true},        {"SHOWCLIP", true, true},
    {"COPY", true, true},          {"AUTOURLOPEN", true, true},  {"SHIFTOPEN", true, true},
    {"MAKEUPURL", true, true},     {"SAVEHISTORY", true, true},  {"FUNCKEYTOUR", true, true},
    {"TOURFUNCKEY", true, true},   {"TOURBARSHOW", true, true},  {"TOURAUTOSTART", true, true},
    {"TOURDLG_XPOS", true, true},  {"TOURDLG_YPOS", true, true}, {"EGNAME3", true, true},
    {"ENGINE3", false, true},      {"HISTORY0", true, true},     {"TOURNAME1", true, true},
    {"TOURPATH1", true, false},    {"INPUTPATH1", true, false},  {"TOURORDERBY1", true, false},
    {"EXTFILTER1", true, false},   {"TOURAPP1", true, false}};

// Starts the program and goes through a first run if it comes, as a user would: the notice
// and the sheet answered with OK.
void StartThrough(Program& program, Replies& replies)
{
    REQUIRE(program.Start());
    REQUIRE(Until(program, replies, [&] {
        if (HWND sheet = program.WaitSheet(0)) {
            Click(sheet, IDOK);
            WaitFor([&] { return !IsWindow(sheet); });
        }
        return program.SearchWindow() && FindBar(program);
    }));
}

// One start for each damaged value.
void DamagedKeys(size_t first, size_t last)
{
    Files tour({"a.kpt", "b.kpt"});
    const int handlers = CountProcesses(CrashHandler);
    for (size_t k = first; k < last && k < std::size(Keys); ++k) {
        for (const Damage& damage : Damages) {
            INFO(std::string(Keys[k].key) << " " << std::string(damage.name));
            Program program("");
            KeyList keys = SoundKeys(tour, Recorder(program));
            REQUIRE(WriteWhole(SettingsFile(program), SettingsText(keys, Keys[k].key, &damage)));
            Replies replies;
            StartThrough(program, replies);
            Round(program, tour, {Keys[k].searchOpens, Keys[k].tourOpens, true}, replies);
            CHECK(Alive(program, handlers));
            CheckReplies(replies);
        }
    }
}

// The user's section without HOTKEY, so that the program starts with a first run, and with
// slot 1 touring `tour`.
std::string FirstRunWithTour(const Files& tour, const Program& program)
{
    IniText ini;
    ini.Section(UserSection())
        .Key("TOURPATH1", tour.Path() + "\\*.kpt")
        .Key("TOURAPP1", Recorder(program) + " \"%s\"");
    return ini.Text();
}

} // namespace

TEST_CASE("damaged settings 1")
{
    DamagedKeys(0, 6);
}

TEST_CASE("damaged settings 2")
{
    DamagedKeys(6, 12);
}

TEST_CASE("damaged settings 3")
{
    DamagedKeys(12, 18);
}

TEST_CASE("damaged settings 4")
{
    DamagedKeys(18, 20);
}

TEST_CASE("damaged settings 5")
{
    DamagedKeys(20, 23);
}

TEST_CASE("a missing or unreadable defaults file gives a first run without engines")
{
    Files tour({"a.kpt", "b.kpt"});
    const int handlers = CountProcesses(CrashHandler);
    const char* const faults[] = {"missing", "locked", "a folder"};
    for (int f = 0; f < 3; ++f) {
        INFO("defaults file " << std::string(faults[f]));
        Program program("");
        REQUIRE(WriteWhole(SettingsFile(program), FirstRunWithTour(tour, program)));
        const std::string defaults = DefaultsFile(program);
        REQUIRE(DeleteFileA(defaults.c_str()));
        std::unique_ptr<HeldOpen> held;
        if (f == 1) {
            REQUIRE(WriteWhole(defaults, DefaultsText()));
            held.reset(new HeldOpen(defaults, GENERIC_READ, 0));
        } else if (f == 2) {
            REQUIRE(CreateDirectoryA(defaults.c_str(), nullptr));
        }
        Replies replies;
        StartThrough(program, replies);
        // F1 and twelve empty engines: the search button has nothing to search with
        CHECK(program.Ini("HOTKEY") == "0");
        for (int n = 1; n <= 12; ++n) {
            CHECK(program.Ini("EGNAME" + std::to_string(n)) == "");
            CHECK(program.Ini("ENGINE" + std::to_string(n)) == "");
        }
        Round(program, tour, {false, true, true}, replies);
        CHECK(program.Opened() == std::vector<std::string>{tour / "a.kpt"});
        CHECK(replies.texts == std::vector<std::string>{FirstRunText});
        CHECK(Alive(program, handlers));
        held.reset();
        RemoveDirectoryA(defaults.c_str());
    }
}

// Under Wine the tests run as root, whom the read-only attribute of a folder or a file does not
// stop; a settings file held open by another program is what stops the writes here.
TEST_CASE("a settings file that cannot be written or read")
{
    Files tour({"a.kpt", "b.kpt"});
    const int handlers = CountProcesses(CrashHandler);
    const char* const faults[] = {"held open for reading only", "locked", "a folder"};
    for (int f = 0; f < 3; ++f) {
        INFO("settings file " << std::string(faults[f]));
        Program program("");
        const std::string settings = SettingsFile(program);
        const std::string sound = SettingsText(SoundKeys(tour, Recorder(program)));
        REQUIRE(WriteWhole(settings, sound));
        std::unique_ptr<HeldOpen> held;
        if (f == 2) {
            REQUIRE(DeleteFileA(settings.c_str()));
            REQUIRE(CreateDirectoryA(settings.c_str(), nullptr));
        } else {
            held.reset(new HeldOpen(settings, GENERIC_READ, f == 0 ? FILE_SHARE_READ : 0));
        }
        Replies replies;
        StartThrough(program, replies);
        if (f == 0) {
            // read as always; the history and the bar's place are not kept, without a word
            Round(program, tour, {true, true, true}, replies);
            CHECK(replies.texts.empty());
        } else {
            // nothing readable: a first run, whose settings stay in memory only
            Round(program, tour, {false, false, false}, replies);
            CHECK(program.Opened().empty());
            CHECK(replies.texts == std::vector<std::string>{FirstRunText, NoFiles});
        }
        CHECK(Alive(program, handlers));
        held.reset();
        if (f == 2) {
            CHECK(GetFileAttributesA(settings.c_str()) == FILE_ATTRIBUTE_DIRECTORY);
            RemoveDirectoryA(settings.c_str());
        } else {
            CHECK(ReadWhole(settings) == sound);
        }
    }
}

// --- file faults -------------------------------------------------------------------------

namespace {

std::map<std::string, std::string> Sound(const std::vector<std::string>& names)
{
    std::map<std::string, std::string> state;
    for (const std::string& name : names)
        state[name] = name;
    return state;
}

// The program resident, slot 1 touring the .kpt files of `tour` with the recorder as its
// viewer and the first file opened at once.
struct Touring {
    explicit Touring(const Files& tour) : program(""), handlers(CountProcesses(CrashHandler))
    {
        Options options;
        options.tourAutoStart = 1;
        IniText ini = ResidentIni(options);
        ini.Key("TOURNAME1", "巡回")
            .Key("TOURPATH1", tour.Path() + "\\*.kpt")
            .Key("TOURAPP1", Recorder(program) + " \"%s\"");
        REQUIRE(WriteWhole(SettingsFile(program), ini.Text()));
        StartThrough(program, replies);
        search = program.SearchWindow();
        bar = FindBar(program);
    }

    // Posts a command of the search window or the bar and returns, once it has been handled,
    // what it opened: "<nothing>" unless `opens`.
    std::string Run(HWND window, int command, bool opens)
    {
        size_t before = program.Opened().size();
        PostCommand(window, command);
        REQUIRE(Settled(program, replies));
        if (!Until(program, replies, [&] { return program.Opened().size() > before; },
                   opens ? Patience : 0))
            return "<nothing>";
        return program.Opened().back();
    }
    std::string Tour(bool opens = true)
    {
        std::string opened = Run(search, SearchButtonTour, opens);
        CHECK(Until(program, replies, [&] { return IsVisible(bar); }));
        return opened;
    }
    std::string Next(bool opens = true) { return Run(bar, BarNext, opens); }
    // The messages since the last call.
    std::vector<std::string> Said()
    {
        std::vector<std::string> texts;
        texts.swap(replies.texts);
        return texts;
    }
    // Still answering, no crash, and a summons shows the search window.
    bool Usable()
    {
        return Alive(program, handlers) && SetClipboard("faults") && program.Summon()
               && Until(program, replies, [&] { return IsVisible(search); });
    }

    Program program;
    const int handlers;
    Replies replies;
    HWND search = nullptr;
    HWND bar = nullptr;
};

} // namespace

TEST_CASE("a tour whose folder vanishes reports its files and goes on when it is back")
{
    Files tour({"a.kpt", "b.kpt"});
    Touring app(tour);
    CHECK(app.Tour() == tour / "a.kpt");

    REQUIRE(tour.MoveAway());
    CHECK(app.Next(false) == "<nothing>");
    CHECK(app.Said() == std::vector<std::string>{NotFound + (tour / "b.kpt")});
    REQUIRE(tour.MoveBack());
    CHECK(app.Next() == tour / "a.kpt");

    // a tour started while the folder is gone finds nothing; once it is back, all
    REQUIRE(tour.MoveAway());
    CHECK(app.Tour(false) == "<nothing>");
    CHECK(app.Said() == std::vector<std::string>{NoFiles});
    CHECK_FALSE(IsEnabled(app.bar, BarNext));
    CHECK(tour.AwayState() == Sound({"a.kpt", "b.kpt"}));
    REQUIRE(tour.MoveBack());
    CHECK(app.Tour() == tour / "a.kpt");
    CHECK(app.Next() == tour / "b.kpt");

    CHECK(app.Said().empty());
    CHECK(tour.State() == Sound({"a.kpt", "b.kpt"}));
    CHECK(app.Usable());
}

TEST_CASE("a tour file in use is not deleted")
{
    Files tour({"a.kpt", "b.kpt", "c.kpt"});
    Touring app(tour);
    CHECK(app.Tour() == tour / "a.kpt");
    HeldOpen held(tour / "b.kpt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);

    // the file menu of b.kpt over the "*" list: Wine sends no WM_MENURBUTTONUP for a right
    // click in a menu, so the test posts what Windows sends the owner
    REQUIRE(BringToFront(app.bar));
    SetCursorPos(400, 300);
    PostCommand(app.bar, BarList);
    HWND list = app.program.WaitMenu();
    REQUIRE(list);
    HMENU items = reinterpret_cast<HMENU>(Send(list, MN_GETHMENU, 0, 0));
    REQUIRE(items);
    PostMessageA(app.bar, WM_MENURBUTTONUP, 1, reinterpret_cast<LPARAM>(items));
    DWORD pid = 0;
    GetWindowThreadProcessId(app.bar, &pid);
    REQUIRE(WaitFor([&] {
        std::vector<HWND> menus = TopLevelWindows(pid, "#32768");
        return std::count_if(menus.begin(), menus.end(), IsVisible) == 2;
    }));
    REQUIRE(PressKeys(nullptr, {'D'}));
    HWND question = app.program.WaitMessageBox();
    REQUIRE(question);
    CHECK(MessageText(question) == "b.kpt を削除してよろしいですか？");
    Answer(question, IDYES);
    CHECK(Until(app.program, app.replies, [&] { return !IsWindow(question); }));
    CHECK(Until(app.program, app.replies, [&] { return app.program.WaitMenuGone(0); }));
    CHECK(app.Said() == std::vector<std::string>{DeleteFailed});

    // kept on disk and in the tour
    CHECK(tour.State() == Sound({"a.kpt", "b.kpt", "c.kpt"}));
    CHECK(app.Next() == tour / "b.kpt");
    CHECK(app.Usable());
}

namespace {

// The names of a list box, read across the process boundary in their wide form (Wine cuts
// the ANSI one between processes).
std::vector<std::string> ListNames(HWND dialog, int id)
{
    std::vector<std::string> names;
    HWND list = GetDlgItem(dialog, id);
    LRESULT count = Send(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count && i < 100; ++i) {
        wchar_t wide[MAX_PATH] = L"";
        DWORD_PTR length = 0;
        if (Send(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) < MAX_PATH)
            SendMessageTimeoutW(list, LB_GETTEXT, static_cast<WPARAM>(i),
                                reinterpret_cast<LPARAM>(wide), SMTO_NORMAL, Patience, &length);
        wide[MAX_PATH - 1] = L'\0';
        char name[MAX_PATH * 2] = "";
        WideCharToMultiByte(CP_ACP, 0, wide, -1, name, sizeof name, nullptr, nullptr);
        name[sizeof name - 1] = '\0';
        names.push_back(name);
    }
    return names;
}

// The settings sheet on the destinations page, with the file order dialog a click away.
struct Ordering {
    Ordering()
        : program(ResidentIni().Key("TOURNAME1", "整理").Text()),
          handlers(CountProcesses(CrashHandler))
    {
        StartThrough(program, replies);
        search = program.SearchWindow();
        REQUIRE(SetClipboard("faults"));
        REQUIRE(program.Summon());
        REQUIRE(Until(program, replies, [&] { return IsVisible(search); }));
        PostCommand(search, SettingsButton);
        sheet = program.WaitSheet();
        REQUIRE(sheet);
        Send(sheet, PSM_SETCURSEL, DestinationsPage, 0);
        page = reinterpret_cast<HWND>(Send(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        REQUIRE(GetDlgItem(page, DestOrderButton));
    }

    // The order button with the path being edited set to the .jpg files of `folder`.
    HWND Open(const Files& folder)
    {
        std::string pattern = folder.Path() + "\\*.jpg";
        Send(GetDlgItem(page, DestPath), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pattern.c_str()));
        PostCommand(page, DestOrderButton);
        HWND dialog = nullptr;
        REQUIRE(WaitFor([&] {
            for (HWND window : program.Dialogs())
                if (IsVisible(window) && Text(window) == OrderCaption)
                    dialog = window;
            return dialog != nullptr;
        }));
        return dialog;
    }
    // Selects `name` and presses a move button: to the top, or to the bottom.
    static void Move(HWND dialog, const std::string& name, int button)
    {
        std::vector<std::string> order = ListNames(dialog, OrderList);
        auto at = std::find(order.begin(), order.end(), name);
        REQUIRE(at != order.end());
        HWND list = GetDlgItem(dialog, OrderList);
        Send(list, LB_SETCURSEL, static_cast<WPARAM>(at - order.begin()), 0);
        Send(dialog, WM_COMMAND, MAKEWPARAM(OrderList, LBN_SELCHANGE),
             reinterpret_cast<LPARAM>(list));
        Click(dialog, button);
    }
    // OK, and the messages it brought once the dialog has closed.
    std::vector<std::string> Confirm(HWND dialog)
    {
        Answer(dialog, IDOK);
        CHECK(Until(program, replies, [&] { return !IsWindow(dialog); }));
        std::vector<std::string> texts;
        texts.swap(replies.texts);
        return texts;
    }

    Program program;
    const int handlers;
    Replies replies;
    HWND search = nullptr;
    HWND sheet = nullptr;
    HWND page = nullptr;
};

std::vector<std::string> RenameFailure(const std::string& name)
{
    return {RenameFailed + name};
}

} // namespace

TEST_CASE("the order dialog stops at a name it cannot take and loses no file")
{
    Ordering app;

    // b.jpg cannot become "[01] b.jpg", which exists: nothing is renamed
    Files taken({"b.jpg", "[01] b.jpg", "c.jpg"});
    HWND dialog = app.Open(taken);
    Ordering::Move(dialog, "b.jpg", OrderTop);
    REQUIRE(ListNames(dialog, OrderList).front() == "b.jpg");
    CHECK(app.Confirm(dialog) == RenameFailure("b.jpg"));
    CHECK(taken.State() == Sound({"b.jpg", "[01] b.jpg", "c.jpg"}));

    // a file held open by another program without delete sharing: the names before it are
    // numbered, it and the later ones keep theirs
    Files busy({"a.jpg", "b.jpg", "c.jpg"});
    {
        HeldOpen held(busy / "b.jpg", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
        dialog = app.Open(busy);
        Ordering::Move(dialog, "a.jpg", OrderTop);
        Ordering::Move(dialog, "c.jpg", OrderBottom);
        REQUIRE(ListNames(dialog, OrderList)
                == std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg"});
        CHECK(app.Confirm(dialog) == RenameFailure("b.jpg"));
    }
    CHECK(busy.State() == std::map<std::string, std::string>{
                              {"[01] a.jpg", "a.jpg"}, {"b.jpg", "b.jpg"}, {"c.jpg", "c.jpg"}});

    // the folder moved away while the dialog is open: nothing renamed, nothing made
    Files gone({"x.jpg", "y.jpg"});
    dialog = app.Open(gone);
    std::string first = ListNames(dialog, OrderList).front();
    REQUIRE(gone.MoveAway());
    CHECK(app.Confirm(dialog) == RenameFailure(first));
    CHECK(GetFileAttributesA(gone.Path().c_str()) == INVALID_FILE_ATTRIBUTES);
    CHECK(gone.AwayState() == Sound({"x.jpg", "y.jpg"}));

    // still usable: the sheet closes and the search window searches
    Answer(app.sheet, IDCANCEL);
    REQUIRE(WaitFor([&] { return !IsWindow(app.sheet); }));
    size_t before = app.program.Opened().size();
    REQUIRE(PressKeys(app.search, {VK_F1}));
    CHECK(app.program.WaitOpened(before + 1));
    CHECK(app.program.Opened().back() == "http://one.test/search?q=faults");
    CHECK(Alive(app.program, app.handlers));
}

// --- racing starts -----------------------------------------------------------------------

namespace {

// Search windows of any process: titled "キラピック！" and holding the history box.
int SearchWindows()
{
    int count = 0;
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, nullptr, Title));)
        count += GetDlgItem(window, SearchBox) != nullptr;
    return count;
}

HWND SearchWindowOf(DWORD pid)
{
    for (HWND window : TopLevelWindows(pid, "#32770"))
        if (GetDlgItem(window, SearchBox) && Text(window) == Title)
            return window;
    return nullptr;
}

// Pairs of starts of one program file at the same moment: both created suspended, then let go
// one right after the other. Each pair must leave one resident instance, summoned by the other,
// which ends with 0; the survivor is ended before the next pair.
void RacingStarts(int pairs)
{
    Program program(ResidentIni().Text()); // its folder only: the pairs start it themselves
    const std::string exe = program.ExePath();
    const std::string folder = exe.substr(0, exe.find_last_of('\\'));
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    REQUIRE(job);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    REQUIRE(SetClipboard("race"));

    for (int pair = 1; pair <= pairs; ++pair) {
        INFO("pair " << pair);
        HANDLE processes[2] = {};
        HANDLE threads[2] = {};
        for (int i = 0; i < 2; ++i) {
            std::string line = "\"" + exe + "\"";
            std::vector<char> commandLine(line.begin(), line.end());
            commandLine.push_back('\0');
            STARTUPINFOA startup{};
            startup.cb = sizeof startup;
            PROCESS_INFORMATION info{};
            REQUIRE(CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                   CREATE_SUSPENDED, nullptr, folder.c_str(), &startup, &info));
            AssignProcessToJobObject(job, info.hProcess);
            processes[i] = info.hProcess;
            threads[i] = info.hThread;
        }
        for (HANDLE thread : threads)
            ResumeThread(thread);

        DWORD ended = WaitForMultipleObjects(2, processes, FALSE, Patience) - WAIT_OBJECT_0;
        CHECK(ended < 2);
        if (ended < 2) {
            DWORD exitCode = 1;
            GetExitCodeProcess(processes[ended], &exitCode);
            CHECK(exitCode == 0);
            HANDLE survivor = processes[1 - ended];
            HWND search = nullptr;
            CHECK(WaitFor([&] { return (search = SearchWindowOf(GetProcessId(survivor))); }));
            CHECK(WaitVisible(search, true));
            CHECK(WaitForSingleObject(survivor, 0) == WAIT_TIMEOUT);
            CHECK(CountProcesses(exe) == 1);
            CHECK(SearchWindows() == 1);
        }
        for (int i = 0; i < 2; ++i) {
            if (WaitForSingleObject(processes[i], 0) == WAIT_TIMEOUT)
                TerminateProcess(processes[i], 99);
            CHECK(WaitForSingleObject(processes[i], Patience) == WAIT_OBJECT_0);
            CloseHandle(processes[i]);
            CloseHandle(threads[i]);
        }
    }
    CloseHandle(job);
}

} // namespace

TEST_CASE("twenty pairs of racing starts leave one instance each")
{
    RacingStarts(20);
}
