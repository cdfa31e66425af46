// Faults a user's machine can throw at the program: damaged or unreadable settings, files that
// cannot be renamed or deleted, folders that vanish, two starts at the same moment. After each
// the program answers with its own messages, loses no file, and stays usable; nothing crashes
// (a crash would start Wine's crash handler, winedbg) and nothing hangs.
#include "e2e.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

using namespace e2e;

namespace {

// search window
constexpr int SearchBox = 1001, SearchButton = 1003, SearchButtonTour = 1006;
constexpr int SettingsButton = 1005, EngineMenuButton = 1007, DestinationsButton = 1008;
// tour bar
constexpr int BarNext = 1120, BarList = 1123;
// destinations page (the sheet's third) and the file order dialog
constexpr int DestinationsPage = 2, DestPath = 1065, DestOrderButton = 1205;
constexpr int OrderList = 1207, OrderTop = 1204, OrderBottom = 1206;

const char FirstRunText[] = "設定を読み込めませんでした。\n先に設定を行ってください。";
const char HotKeyFailed[] = "起動キーを設定できませんでした。";
const char NoFiles[] = "ファイルが1つもありません。";
const char NotFound[] = "ファイルが見つかりません。\n";
const char NoFolder[] = "見廻り先のフォルダが見つかりません。\n"; // a pattern without its folder
const char RenameFailed[] = "ファイル名を変更できませんでした。\n";
const char DeleteFailed[] = "ファイルを削除できませんでした。";
const char OrderCaption[] = "ファイル閲覧の順番";
const char CrashHandler[] = "winedbg.exe";

using Texts = std::vector<std::string>;

// A file held open for reading by the test, as another program would hold it, with the given
// sharing.
struct HeldOpen {
    HeldOpen(const std::string& path, DWORD share)
        : handle(CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr))
    {
        REQUIRE(handle != INVALID_HANDLE_VALUE);
    }
    ~HeldOpen() { CloseHandle(handle); }
    HeldOpen(const HeldOpen&) = delete;
    const HANDLE handle;
};

// What a round must come to: an address opened by the search, a file by the tour; whether
// there is a destination to list (an empty menu never shows).
struct Expect {
    bool search, tour, destinations;
};

// The program in a folder of its own, started as a user would: a first run, if it comes,
// gone through with OK on the notice and the sheet. Every message box of the program is
// answered with OK once and its text noted.
struct App {
    App() : program(""), handlers(CountProcesses(CrashHandler)) {}

    std::string File(const char* name) const { return program.Folder() + "\\" + name; }
    // as a viewer command: not in quotes, the profile functions strip a pair around a value
    std::string Viewer() const { return File("recorder.exe") + " \"%s\""; }

    void Start(const std::string& settings)
    {
        REQUIRE(WriteFileText(File("kirapick.ini"), settings));
        Launch();
    }
    // Starts the program on its folder as it is.
    void Launch()
    {
        REQUIRE(program.Start());
        REQUIRE(Until([&] {
            if (HWND sheet = program.WaitSheet(0)) {
                Click(sheet, IDOK);
                WaitGone(sheet);
            }
            return (search = program.SearchWindow()) && (bar = Bar());
        }));
    }

    HWND Bar() const
    {
        for (HWND window : program.Dialogs())
            if (GetDlgItem(window, BarNext))
                return window;
        return nullptr;
    }

    // A message box, shown or not yet (a modal box shows itself only once the queue it runs
    // goes empty), and not yet answered unless `answered`. Its buttons tell it from a search
    // window being made.
    HWND FindBox(bool answered = false) const
    {
        for (HWND window : program.Dialogs())
            if ((GetDlgItem(window, IDOK) || GetDlgItem(window, IDYES))
                && !GetDlgItem(window, SearchBox) && Text(window) == Title
                && (answered || std::find(boxes.begin(), boxes.end(), window) == boxes.end()))
                return window;
        return nullptr;
    }

    // Waits for `done` while answering message boxes. A box answered inside a menu's loop
    // closes only when the menu has gone.
    template <typename F> bool Until(F done, DWORD ms = Patience)
    {
        return WaitFor([&] {
            if (HWND box = FindBox()) {
                texts.push_back(MessageText(box));
                boxes.push_back(box);
                Answer(box, IDOK);
                return false;
            }
            return done();
        }, ms);
    }

    // Commands posted to the program are handled in turn, also inside a message box's loop:
    // once the menu asked for last is up, everything posted before it has been handled. The
    // menu is dismissed again.
    bool Settled(int menuButton = EngineMenuButton)
    {
        PostCommand(search, menuButton);
        HWND menu = nullptr;
        if (!Until([&] { return (menu = program.WaitMenu(0)) != nullptr; }))
            return false;
        // the menu's own loop takes every key of the thread
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        return Until([&] { return program.WaitMenuGone(0); })
               && Until([&] { return FindBox(true) == nullptr; });
    }

    // One round as a user makes it: the search button, the tour button and "→", both menus
    // opened on the way, with the search window hidden (in Wine without a window manager each
    // hiding of a window with a caption waits two seconds); then a summons.
    void Round(const TestFiles& tour, Expect expect)
    {
        size_t before = program.Opened().size();
        auto opened = [&](const std::string& prefix) {
            Texts since = program.Opened();
            return std::any_of(since.begin() + before, since.end(), [&](const std::string& item) {
                return item.compare(0, prefix.size(), prefix) == 0;
            });
        };
        PostCommand(search, SearchButton);
        PostCommand(search, SearchButtonTour);
        REQUIRE(Settled(expect.destinations ? DestinationsButton : EngineMenuButton));
        REQUIRE(Until([&] { return IsVisible(bar); }));
        if (IsEnabled(bar, BarNext))
            PostCommand(bar, BarNext);
        REQUIRE(Settled());
        if (expect.search)
            CHECK(Until([&] { return opened("https://three.test/"); }));
        if (expect.tour)
            CHECK(Until([&] { return opened(tour.Path()); }));
        CHECK(Usable());
    }

    // Posts a command of the search window or the bar and returns, once it has been handled,
    // what it opened: "<nothing>" unless `opens`.
    std::string Run(HWND window, int command, bool opens = true)
    {
        size_t before = program.Opened().size();
        PostCommand(window, command);
        REQUIRE(Settled());
        if (!Until([&] { return program.Opened().size() > before; }, opens ? Patience : 0))
            return "<nothing>";
        return program.Opened().back();
    }
    std::string Tour(bool opens = true)
    {
        std::string opened = Run(search, SearchButtonTour, opens);
        CHECK(Until([&] { return IsVisible(bar); }));
        return opened;
    }
    std::string Next(bool opens = true) { return Run(bar, BarNext, opens); }

    // The messages since the last call.
    Texts Said()
    {
        Texts said;
        said.swap(texts);
        return said;
    }
    // Answering, and no crash handler started (a crash would start one).
    bool Alive() const
    {
        return program.Running() && program.Sync() && Answers(bar)
               && CountProcesses(CrashHandler) == handlers;
    }
    // A summons shows the search window.
    bool Usable()
    {
        return SetClipboard("faults") && program.Summon()
               && Until([&] { return IsVisible(search); });
    }

    Program program;
    const int handlers;
    Texts texts;
    std::vector<HWND> boxes;
    HWND search = nullptr;
    HWND bar = nullptr;
};

// The user's section, sound: the driver's options (Ctrl+F3) and engines, one history entry,
// and slot 1 touring the files of `tour` with the recorder as its viewer.
std::string SoundSettings(const TestFiles& tour, const App& app)
{
    return ResidentIni()
        .Key("HISTORY0", "前回の検索")
        .Key("TOURNAME1", "巡回")
        .Key("TOURPATH1", tour.Path() + "\\*.*")
        .Key("INPUTPATH1", 0)
        .Key("TOURORDERBY1", 0)
        .Key("EXTFILTER1", ".kpt;")
        .Key("TOURAPP1", app.Viewer())
        .Key("TOURDLG_XPOS", 40)
        .Key("TOURDLG_YPOS", 40)
        .Text();
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
    {"bytes above 0x7F", [](const std::string&) {
         std::string bytes(300, '\0');
         for (size_t i = 0; i < bytes.size(); ++i)
             bytes[i] = static_cast<char>(0x80 + i % 0x80);
         return bytes;
     }},
    {"ending in a lead byte", [](const std::string& sound) { return sound + '\x81'; }},
};

// The settings with the value of `key` damaged.
std::string Damaged(std::string text, const std::string& key, const Damage& damage)
{
    size_t start = text.find("\n" + key + "=");
    REQUIRE(start != std::string::npos);
    start += key.size() + 2;
    size_t end = text.find("\r\n", start);
    return text.replace(start, end - start, damage.value(text.substr(start, end - start)));
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

// One start for each damaged value; only the program's own messages may come.
void DamagedKeys(size_t first, size_t last)
{
    TestFiles tour;
    REQUIRE(tour.Add({"a.kpt", "b.kpt"}));
    for (size_t k = first; k < last && k < std::size(Keys); ++k) {
        for (const Damage& damage : Damages) {
            INFO(std::string(Keys[k].key) << " " << std::string(damage.name));
            App app;
            app.Start(Damaged(SoundSettings(tour, app), Keys[k].key, damage));
            app.Round(tour, {Keys[k].searchOpens, Keys[k].tourOpens, true});
            CHECK(app.Alive());
            for (const std::string& message : app.texts) {
                INFO(message);
                CHECK((message == FirstRunText || message == HotKeyFailed || message == NoFiles
                       || message.compare(0, sizeof NotFound - 1, NotFound) == 0
                       || message.compare(0, sizeof NoFolder - 1, NoFolder) == 0));
            }
        }
    }
}

} // namespace

// in five parts, each well within the time limit: a start takes about half a second, one
// with a damaged key of the tour about three times that
TEST_CASE("damaged settings 1") { DamagedKeys(0, 6); }
TEST_CASE("damaged settings 2") { DamagedKeys(6, 12); }
TEST_CASE("damaged settings 3") { DamagedKeys(12, 18); }
TEST_CASE("damaged settings 4") { DamagedKeys(18, 20); }
TEST_CASE("damaged settings 5") { DamagedKeys(20, 23); }

TEST_CASE("a missing or unreadable defaults file gives a first run without engines")
{
    TestFiles tour;
    REQUIRE(tour.Add({"a.kpt", "b.kpt"}));
    for (const std::string fault : {"missing", "locked", "a folder"}) {
        INFO("defaults file " << fault);
        App app;
        const std::string defaults = app.File("kirapick.def");
        REQUIRE(DeleteFileA(defaults.c_str()));
        std::unique_ptr<HeldOpen> held;
        if (fault == "locked") {
            REQUIRE(WriteFileText(defaults, DefaultsText()));
            held.reset(new HeldOpen(defaults, 0));
        } else if (fault == "a folder") {
            REQUIRE(CreateDirectoryA(defaults.c_str(), nullptr));
        }
        // the user's section without HOTKEY: a first run
        IniText ini;
        ini.Section(UserSection())
            .Key("TOURPATH1", tour.Path() + "\\*.kpt")
            .Key("TOURAPP1", app.Viewer());
        app.Start(ini.Text());
        // F1 and twelve empty engines: the search button has nothing to search with
        CHECK(app.program.Ini("HOTKEY") == "0");
        for (int n = 1; n <= 12; ++n) {
            CHECK(app.program.Ini("EGNAME" + std::to_string(n)) == "");
            CHECK(app.program.Ini("ENGINE" + std::to_string(n)) == "");
        }
        app.Round(tour, {false, true, true});
        CHECK(app.program.Opened() == Texts{tour / "a.kpt"});
        CHECK(app.Said() == Texts{FirstRunText});
        CHECK(app.Alive());
        held.reset();
        RemoveDirectoryA(defaults.c_str());
    }
}

// Under Wine the tests run as root, whom the read-only attribute of a folder or a file does not
// stop; a settings file held open by another program is what stops the writes here.
TEST_CASE("a settings file that cannot be written or read")
{
    TestFiles tour;
    REQUIRE(tour.Add({"a.kpt", "b.kpt"}));
    for (const std::string fault : {"held open for reading only", "locked", "a folder"}) {
        INFO("settings file " << fault);
        App app;
        const std::string settings = app.File("kirapick.ini");
        const std::string sound = SoundSettings(tour, app);
        REQUIRE(WriteFileText(settings, sound));
        std::unique_ptr<HeldOpen> held;
        if (fault == "a folder") {
            REQUIRE(DeleteFileA(settings.c_str()));
            REQUIRE(CreateDirectoryA(settings.c_str(), nullptr));
        } else {
            held.reset(new HeldOpen(settings, fault == "locked" ? 0 : FILE_SHARE_READ));
        }
        app.Launch();
        if (fault == "held open for reading only") {
            // read as always; the history and the bar's place are not kept, without a word
            app.Round(tour, {true, true, true});
            CHECK(app.Said().empty());
        } else {
            // nothing readable: a first run, whose settings stay in memory only
            app.Round(tour, {false, false, false});
            CHECK(app.program.Opened().empty());
            CHECK(app.Said() == Texts{FirstRunText, NoFiles});
        }
        CHECK(app.Alive());
        held.reset();
        std::string text;
        if (fault == "a folder") {
            CHECK(GetFileAttributesA(settings.c_str()) == FILE_ATTRIBUTE_DIRECTORY);
            RemoveDirectoryA(settings.c_str());
        } else {
            CHECK((ReadFileText(settings, text) && text == sound));
        }
    }
}

// --- file faults -------------------------------------------------------------------------

TEST_CASE("a tour keeps a file in use and goes on when its folder vanishes and comes back")
{
    TestFiles tour;
    REQUIRE(tour.Add({"a.kpt", "b.kpt"}));
    const FileState sound = TestFiles::Unchanged({"a.kpt", "b.kpt"});
    App app;
    // slot 1 tours the .kpt files with the recorder as its viewer, the first opened at once
    Options options;
    options.tourAutoStart = 1;
    app.Start(ResidentIni(options)
                  .Key("TOURNAME1", "巡回")
                  .Key("TOURPATH1", tour.Path() + "\\*.kpt")
                  .Key("TOURAPP1", app.Viewer())
                  .Text());
    CHECK(app.Tour() == tour / "a.kpt");
    {
        HeldOpen held(tour / "b.kpt", FILE_SHARE_READ | FILE_SHARE_WRITE);
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
        CHECK(app.Until([&] { return !IsWindow(question); }));
        CHECK(app.Until([&] { return app.program.WaitMenuGone(0); }));
        CHECK(app.Said() == Texts{DeleteFailed});
    }
    // kept on disk and in the tour
    CHECK(tour.State() == sound);
    CHECK(app.Next() == tour / "b.kpt");

    // the folder gone, the next file is reported; back, the tour goes on
    REQUIRE(tour.MoveAway());
    CHECK(app.Next(false) == "<nothing>");
    CHECK(app.Said() == Texts{NotFound + (tour / "a.kpt")});
    REQUIRE(tour.MoveBack());
    CHECK(app.Next() == tour / "b.kpt");

    // a tour started while the folder is gone finds nothing; once it is back, all
    REQUIRE(tour.MoveAway());
    CHECK(app.Tour(false) == "<nothing>");
    CHECK(app.Said() == Texts{NoFiles});
    CHECK_FALSE(IsEnabled(app.bar, BarNext));
    CHECK(TestFiles::StateOf(tour.Away()) == sound);
    REQUIRE(tour.MoveBack());
    CHECK(app.Tour() == tour / "a.kpt");
    CHECK(app.Next() == tour / "b.kpt");

    CHECK(app.Said().empty());
    CHECK(tour.State() == sound);
    CHECK(app.Alive());
    CHECK(app.Usable());
}

TEST_CASE("the order dialog stops at a name it cannot take and loses no file")
{
    App app;
    app.Start(ResidentIni().Key("TOURNAME1", "整理").Text());
    const Program& program = app.program;
    REQUIRE(app.Usable());
    PostCommand(app.search, SettingsButton);
    HWND sheet = program.WaitSheet();
    REQUIRE(sheet);
    Send(sheet, PSM_SETCURSEL, DestinationsPage, 0);
    HWND page = reinterpret_cast<HWND>(Send(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    REQUIRE(GetDlgItem(page, DestOrderButton));

    // The .jpg files of `folder` arranged with `moves` (a name to the top or the bottom) and
    // confirmed: the message that brings.
    auto order = [&](const TestFiles& folder, const Texts& arranged,
                     const std::vector<std::pair<const char*, int>>& moves) {
        std::string pattern = folder.Path() + "\\*.jpg";
        Send(GetDlgItem(page, DestPath), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pattern.c_str()));
        PostCommand(page, DestOrderButton);
        HWND dialog = program.WaitDialog(OrderCaption);
        REQUIRE(dialog);
        HWND list = GetDlgItem(dialog, OrderList);
        for (const auto& move : moves) {
            Texts names = ListItems(dialog, OrderList);
            auto at = std::find(names.begin(), names.end(), move.first);
            REQUIRE(at != names.end());
            Send(list, LB_SETCURSEL, static_cast<WPARAM>(at - names.begin()), 0);
            Send(dialog, WM_COMMAND, MAKEWPARAM(OrderList, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
            Click(dialog, move.second);
        }
        REQUIRE(ListItems(dialog, OrderList) == arranged);
        Answer(dialog, IDOK);
        std::string said = program.AnswerMessage();
        CHECK(WaitGone(dialog));
        return said;
    };

    // b.jpg cannot become "[01] b.jpg", which exists: nothing is renamed
    TestFiles taken;
    REQUIRE(taken.Add({"b.jpg", "[01] b.jpg", "c.jpg"}));
    const Texts arranged = {"b.jpg", "[01] b.jpg", "c.jpg"};
    CHECK(order(taken, arranged, {{"b.jpg", OrderTop}, {"c.jpg", OrderBottom}})
          == RenameFailed + std::string("b.jpg"));
    CHECK(taken.State() == TestFiles::Unchanged({"b.jpg", "[01] b.jpg", "c.jpg"}));

    // a file held open by another program without delete sharing: the names before it are
    // numbered, it and the later ones keep theirs
    TestFiles busy;
    REQUIRE(busy.Add({"a.jpg", "b.jpg", "c.jpg"}));
    {
        HeldOpen held(busy / "b.jpg", FILE_SHARE_READ | FILE_SHARE_WRITE);
        CHECK(order(busy, {"a.jpg", "b.jpg", "c.jpg"},
                    {{"a.jpg", OrderTop}, {"c.jpg", OrderBottom}})
              == RenameFailed + std::string("b.jpg"));
    }
    CHECK(busy.State()
          == FileState{{"[01] a.jpg", "a.jpg"}, {"b.jpg", "b.jpg"}, {"c.jpg", "c.jpg"}});

    // still usable: the sheet closes and the search window searches
    Answer(sheet, IDCANCEL);
    REQUIRE(WaitGone(sheet));
    size_t before = program.Opened().size();
    REQUIRE(PressKeys(app.search, {VK_F1}));
    CHECK(program.WaitOpened(before + 1));
    CHECK(program.Opened().back() == "http://one.test/search?q=faults");
    CHECK(app.Alive());
}

// --- racing starts -----------------------------------------------------------------------

// Pairs of starts of one program file at the same moment: both created suspended, then let go
// one right after the other. Each pair must leave one resident instance, summoned by the other,
// which ends with 0; the survivor is ended before the next pair.
TEST_CASE("twenty pairs of racing starts leave one instance each")
{
    Program program(ResidentIni().Text()); // its folder only: the pairs start it themselves
    const std::string exe = program.ExePath();
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    REQUIRE(job);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    REQUIRE(SetClipboard("race"));

    for (int pair = 1; pair <= 20; ++pair) {
        INFO("pair " << pair);
        PROCESS_INFORMATION started[2] = {};
        for (PROCESS_INFORMATION& info : started) {
            std::string line = "\"" + exe + "\"";
            STARTUPINFOA startup{};
            startup.cb = sizeof startup;
            REQUIRE(CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE,
                                   CREATE_SUSPENDED, nullptr, program.Folder().c_str(), &startup,
                                   &info));
            AssignProcessToJobObject(job, info.hProcess);
        }
        for (const PROCESS_INFORMATION& info : started)
            ResumeThread(info.hThread);

        HANDLE processes[2] = {started[0].hProcess, started[1].hProcess};
        DWORD ended = WaitForMultipleObjects(2, processes, FALSE, Patience) - WAIT_OBJECT_0;
        CHECK(ended < 2);
        if (ended < 2) {
            DWORD exitCode = 1;
            GetExitCodeProcess(processes[ended], &exitCode);
            CHECK(exitCode == 0);
            // one search window, shown, of one instance: the survivor's
            HWND search = nullptr;
            int windows = 0;
            CHECK(WaitFor([&] {
                windows = 0;
                for (HWND window = nullptr;
                     (window = FindWindowExA(nullptr, window, nullptr, Title));)
                    if (GetDlgItem(window, SearchBox)) {
                        search = window;
                        ++windows;
                    }
                return IsVisible(search);
            }));
            CHECK(windows == 1);
            DWORD owner = 0;
            GetWindowThreadProcessId(search, &owner);
            CHECK(owner == GetProcessId(processes[1 - ended]));
            CHECK(CountProcesses(exe) == 1);
        }
        for (const PROCESS_INFORMATION& info : started) {
            TerminateProcess(info.hProcess, 99);
            CHECK(WaitForSingleObject(info.hProcess, Patience) == WAIT_OBJECT_0);
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
        }
    }
    CloseHandle(job);
}
