#include "e2e.h"

#include <commctrl.h>

#include <algorithm>
#include <initializer_list>

using namespace e2e;

namespace {

constexpr int SearchTourButton = 1006, SearchDestinationsButton = 1008;
constexpr int BarHide = 1013, BarDestinations = 1014, BarNext = 1120, BarPrevious = 1121,
              BarList = 1123, BarRandom = 1124, KeysOnLight = 1125, KeysOffLight = 1126;
const int StepButtons[] = {BarPrevious, BarList, BarRandom, BarNext};
// the ids of the tour keys' hot keys: ←, →, space, Esc
enum TourKey { KeyPrevious, KeyNext, KeyRandom, KeyOff };

const char NoFiles[] = "ファイルが1つもありません。";
const char NotFound[] = "ファイルが見つかりません。\n";
const char FileType[] = ".kpt";

// Menus open at the mouse cursor: away from the bar, which stays at the top left.
constexpr POINT MenuSpot = {400, 300};
// Where the pointer waits, clear of every window the tests open.
constexpr POINT Parking = {1260, 1000};

// A folder of test files, removed with them at the end. The files go by the "\\?\" form of
// their paths, which may pass the usual length limit (Wine's A functions refuse it).
class FileFolder {
public:
    explicit FileFolder(std::initializer_list<std::pair<std::string, size_t>> files = {})
    {
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        for (DWORD n = 0; n < 100 && path_.empty(); ++n) {
            std::string candidate = temp + ("kirapick-tour-" + std::to_string(GetTickCount() + n));
            if (CreateDirectoryA(candidate.c_str(), nullptr))
                path_ = candidate;
        }
        REQUIRE(!path_.empty());
        for (const auto& file : files)
            Add(file.first, file.second);
    }
    ~FileFolder()
    {
        for (const std::string& name : names_)
            DeleteFileW(Long(name).c_str());
        RemoveDirectoryA(path_.c_str());
    }
    void Add(const std::string& name, size_t size)
    {
        names_.push_back(name);
        HANDLE file = CreateFileW(Long(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(file, std::string(size, 'x').data(), static_cast<DWORD>(size), &written, nullptr);
        CloseHandle(file);
        REQUIRE(written == size);
    }
    bool Exists(const std::string& name) const
    {
        return GetFileAttributesW(Long(name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }
    const std::string& Path() const { return path_; }
    std::string Pattern() const { return path_ + "\\*.*"; }

private:
    std::wstring Long(const std::string& name) const
    {
        wchar_t wide[1024] = L"";
        MultiByteToWideChar(CP_ACP, 0, ("\\\\?\\" + File(name)).c_str(), -1, wide, 1024);
        return wide;
    }
    std::string path_;
    std::vector<std::string> names_;
};

// Five files whose sizes rank them c, e, a, d, b from the largest, and a larger one that the
// destination's filter leaves out.
struct Pictures : FileFolder {
    Pictures()
        : FileFolder({{"a.kpt", 300}, {"b.kpt", 100}, {"c.kpt", 500}, {"d.kpt", 200},
                      {"e.kpt", 400}, {"big.txt", 900}})
    {
    }
};
const char* const Ranked[] = {"c.kpt", "e.kpt", "a.kpt", "d.kpt", "b.kpt"};

// Slot 1 tours the pictures by size, largest first (order 5); auto-start opens the first.
IniText PicturesIni(const Pictures& pictures, Options options = Options())
{
    options.tourAutoStart = 1;
    IniText ini = ResidentIni(options);
    ini.Key("TOURNAME1", "Pictures").Key("TOURPATH1", pictures.Pattern())
        .Key("EXTFILTER1", FileType).Key("TOURORDERBY1", 5);
    return ini;
}

// The recorder as the shell's "open" command of a class of files of type `type`, or of every
// folder (no type); taken out again at the end.
class ShellHandler {
public:
    ShellHandler(const std::string& recorder, const std::string& name, const std::string& type = "")
        : command_(name + "\\shell\\open\\command"), name_(name), type_(type)
    {
        auto set = [](const std::string& key, const std::string& value) {
            return RegSetValueA(HKEY_CLASSES_ROOT, key.c_str(), REG_SZ, value.c_str(), 0);
        };
        REQUIRE(set(command_, "\"" + recorder + "\" \"%1\"") == ERROR_SUCCESS);
        REQUIRE((type.empty() || set(type, name) == ERROR_SUCCESS));
    }
    ~ShellHandler()
    {
        RegDeleteKeyA(HKEY_CLASSES_ROOT, command_.c_str());
        if (!type_.empty()) {
            RegDeleteTreeA(HKEY_CLASSES_ROOT, name_.c_str());
            RegDeleteKeyA(HKEY_CLASSES_ROOT, type_.c_str());
        }
    }

private:
    std::string command_, name_, type_;
};

std::string Place(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return std::to_string(rect.left) + "," + std::to_string(rect.top);
}

// A spot of the bar's background: between "→" and the indicators.
POINT Background(HWND bar)
{
    RECT next{}, light{};
    GetWindowRect(GetDlgItem(bar, BarNext), &next);
    GetWindowRect(GetDlgItem(bar, KeysOffLight), &light);
    return {(next.right + light.left) / 2, (light.top + light.bottom) / 2};
}

// Mouse input at `spot` through the input queue, as the hand gives it.
constexpr DWORD MoveThere = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
void Mouse(POINT spot, std::initializer_list<DWORD> flags)
{
    SetCursorPos(spot.x, spot.y);
    std::vector<INPUT> inputs;
    for (DWORD flag : flags) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(spot.x, 65536, GetSystemMetrics(SM_CXSCREEN));
        input.mi.dy = MulDiv(spot.y, 65536, GetSystemMetrics(SM_CYSCREEN));
        input.mi.dwFlags = flag;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Gives mouse input until `done` holds, three times at most: it can land where the X pointer
// was left behind (Wine does not move it while another program holds it), and a late event
// of the pointer can undo a move.
template <typename G, typename D> bool Retry(G give, D done)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        give();
        if (WaitFor(done, 3000))
            return true;
    }
    return false;
}

// What a user sees of the rows of an open list menu, one character a row: '.' a plain item,
// 'v' the check mark, 'g' a grayed item, 'x' a grayed item with the check mark.
// Wine lets no other process read a menu's items, so the screen is read instead.
std::string MenuLook(HWND menu)
{
    RECT rect{};
    // only what is on the screen: a menu of long names can reach beyond it
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!GetWindowRect(menu, &rect) || !IntersectRect(&rect, &rect, &screen))
        return "<no picture>";
    BITMAPINFOHEADER header;
    std::string bits;
    if (!GrabScreen(rect, header, bits))
        return "<no picture>";
    int width = header.biWidth, height = header.biHeight;
    size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t(3);

    constexpr DWORD Ink = 200;  // darker than the menu's background
    constexpr DWORD Black = 80; // the text of an item that can be chosen
    constexpr int Edge = 3;     // the menu's frame
    int textLeft = Edge + GetSystemMetrics(SM_CXMENUCHECK) + 2;
    auto inkInRow = [&](int y, int from, int to, DWORD below) {
        for (int x = from; x < to; ++x) {
            auto p = reinterpret_cast<const unsigned char*>(bits.data())
                     + (height - 1 - y) * stride + x * 3; // blue, green, red
            if ((p[2] * 299u + p[1] * 587u + p[0] * 114u) / 1000 < below)
                return true;
        }
        return false;
    };
    // each item's text is one band of rows holding ink
    std::vector<std::pair<int, int>> bands;
    for (int y = Edge; y < height - Edge; ++y)
        if (!inkInRow(y, textLeft, width - Edge, Ink))
            continue;
        else if (!bands.empty() && bands.back().second == y)
            bands.back().second = y + 1;
        else
            bands.push_back({y, y + 1});
    std::string look;
    for (size_t i = 0; i < bands.size(); ++i) {
        int top = i == 0 ? Edge : (bands[i - 1].second + bands[i].first) / 2;
        int bottom = i + 1 == bands.size() ? height - Edge
                                           : (bands[i].second + bands[i + 1].first) / 2;
        bool black = false, mark = false;
        for (int y = bands[i].first; y < bands[i].second && !black; ++y)
            black = inkInRow(y, textLeft, width - Edge, Black);
        for (int y = top; y < bottom && !mark; ++y)
            mark = inkInRow(y, Edge, textLeft, Ink);
        look += mark ? (black ? 'v' : 'x') : (black ? '.' : 'g');
    }
    return look;
}

// The program resident with a tour configured and the recorder as the viewer command of
// slots 1 to 3; its search window and tour bar found.
struct Tour {
    explicit Tour(const std::string& settings)
        : program(settings), recorder(program.Folder() + "\\recorder.exe")
    {
        for (int slot = 1; slot <= 3; ++slot)
            REQUIRE(SetKey("TOURAPP" + std::to_string(slot), recorder + " \"%s\""));
        // Wine puts its cursor where the X pointer is whenever a window appears or moves
        // under it; SetCursorPos moves both, so they start together, out of the way
        SetCursorPos(Parking.x, Parking.y);
        REQUIRE(program.Start());
        REQUIRE((search = program.WaitSearchWindow()) != nullptr);
        REQUIRE(WaitFor([&] {
            for (HWND dialog : program.Dialogs())
                if (GetDlgItem(dialog, BarNext))
                    bar = dialog;
            return bar != nullptr;
        }));
    }

    std::string SettingsFile() const { return program.Folder() + "\\kirapick.ini"; }
    bool SetKey(const std::string& key, const std::string& value) const
    {
        return WritePrivateProfileStringA(UserSection().c_str(), key.c_str(), value.c_str(),
                                          SettingsFile().c_str());
    }

    // The search window's tour button, as a user clicks it.
    void StartFromSearch()
    {
        REQUIRE(program.Summon());
        REQUIRE(WaitVisible(search, true));
        PostCommand(search, SearchTourButton);
        REQUIRE(WaitVisible(search, false));
        REQUIRE(WaitVisible(bar, true));
    }

    // Runs `action` and returns the one thing the viewer or the shell was given for it.
    template <typename F> std::string Opens(F action)
    {
        size_t before = program.Opened().size();
        action();
        return program.WaitOpened(before + 1) ? program.Opened().back() : "<nothing opened>";
    }
    std::string Step(int button) { return Opens([&] { PostCommand(bar, button); }); }
    std::string Key(TourKey id) { return Opens([&] { PostMessageA(bar, WM_HOTKEY, id, 0); }); }
    // Takes the steps in turn; returns the names of the files they opened.
    std::string Steps(std::initializer_list<int> buttons)
    {
        std::string names;
        for (int button : buttons) {
            std::string path = Step(button);
            names += (names.empty() ? "" : " ") + path.substr(path.find_last_of('\\') + 1);
        }
        return names;
    }
    // Takes a random step, sent so that it has been taken on return, and checks that it opened
    // a file "!" may land on: the tick count in tenths of a second, modulo the number of files.
    void CheckRandomStep(const Pictures& pictures, UINT message, WPARAM id)
    {
        size_t before = program.Opened().size();
        DWORD from = GetTickCount();
        Send(bar, message, id, 0);
        DWORD to = GetTickCount();
        REQUIRE(program.WaitOpened(before + 1));
        std::vector<std::string> possible;
        for (DWORD tenth = from / 100; tenth <= to / 100 && possible.size() < 5; ++tenth)
            possible.push_back(pictures.File(Ranked[tenth % 5]));
        INFO("ticks " << from << " to " << to);
        CHECK(std::count(possible.begin(), possible.end(), program.Opened().back()) > 0);
    }

    // Clicks a button that opens a menu, of the bar or the search window; returns the menu.
    HWND OpenMenu(HWND owner, int button)
    {
        // the keys that follow go to the menu of the window in front, as after a click
        REQUIRE(BringToFront(owner));
        SetCursorPos(MenuSpot.x, MenuSpot.y);
        PostCommand(owner, button);
        HWND menu = program.WaitMenu();
        REQUIRE(menu);
        return menu;
    }
    // Opens the "*" list and returns its look once all `rows` are painted; ListLook closes
    // the list again.
    std::string OpenList(size_t rows)
    {
        HWND menu = OpenMenu(bar, BarList);
        std::string look;
        WaitFor([&] { return (look = MenuLook(menu)).size() == rows; });
        return look;
    }
    std::string ListLook(size_t rows)
    {
        std::string look = OpenList(rows);
        Dismiss();
        return look;
    }
    // Chooses the n-th item (0-based) of the open menu with the keyboard.
    void Choose(int n)
    {
        std::vector<WORD> keys(static_cast<size_t>(n) + 1, VK_DOWN);
        keys.push_back(VK_RETURN);
        REQUIRE(PressKeys(nullptr, keys));
        REQUIRE(program.WaitMenuGone());
    }
    void Dismiss()
    {
        REQUIRE(PressKeys(nullptr, {VK_ESCAPE}));
        REQUIRE(program.WaitMenuGone());
    }
    // The program's menus on screen: the list, and the file menu over it.
    int Menus() const
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(bar, &pid);
        std::vector<HWND> menus = TopLevelWindows(pid, "#32768");
        return static_cast<int>(std::count_if(menus.begin(), menus.end(), IsVisible));
    }

    // Waits for the bar's message box and answers it; returns its text.
    std::string Reply(int button)
    {
        HWND box = program.WaitMessageBox();
        CHECK((box && GetWindow(box, GW_OWNER) == bar));
        return program.AnswerMessage(button);
    }
    bool NoMessageBox() const { return program.Sync() && !program.WaitMessageBox(0); }

    // The tour keys on or off: their indicator shown, whether or not the bar is, and the
    // four keys held, or free for anyone to register (they are global).
    bool KeysAre(bool on) const
    {
        auto lit = [&](int light) {
            return (GetWindowLongA(GetDlgItem(bar, light), GWL_STYLE) & WS_VISIBLE) != 0;
        };
        if (lit(KeysOnLight) != on || lit(KeysOffLight) == on)
            return false;
        for (UINT vk : {VK_LEFT, VK_RIGHT, VK_SPACE, VK_ESCAPE}) {
            bool free = RegisterHotKey(nullptr, 0x7000, 0, vk) && UnregisterHotKey(nullptr, 0x7000);
            if (free == on)
                return false;
        }
        return true;
    }
    // A double click on the background, as often as it takes to switch the tour keys.
    bool DoubleClickFor(bool on)
    {
        return Retry([&] {
            BringToFront(bar);
            Mouse(Background(bar), {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP,
                                    MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
        }, [&] { return KeysAre(on); });
    }
    // Right-clicks the background and returns the settings sheet that opens.
    HWND RightClickForSheet()
    {
        HWND sheet = nullptr;
        Retry([&] { Mouse(Background(bar), {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP}); },
              [&] { return (sheet = program.WaitSheet(0)) != nullptr; });
        return sheet;
    }

    Program program;
    std::string recorder;
    HWND search = nullptr;
    HWND bar = nullptr;
};

} // namespace

TEST_CASE("the bar steps through the chosen order across both ends and at random")
{
    Pictures pictures;
    Options options;
    options.tourBarShow = 1;
    options.funcKeyTour = 1;
    options.tourFuncKey = 10; // F11
    Tour tour(PicturesIni(pictures, options).Text());
    // shown at start-up, slot 1 waits for a step even with auto-start
    REQUIRE(WaitVisible(tour.bar, true));
    CHECK(tour.NoMessageBox());
    for (int id : StepButtons)
        CHECK(IsEnabled(tour.bar, id));
    // before the first file "←" opens the last; both ends wrap
    CHECK(tour.Steps({BarPrevious, BarNext, BarNext, BarPrevious, BarPrevious})
          == "b.kpt c.kpt e.kpt c.kpt b.kpt");
    for (int attempt = 0; attempt < 3; ++attempt)
        tour.CheckRandomStep(pictures, WM_COMMAND, BarRandom);

    // the tour button starts slot 1 afresh and, with auto-start, opens its first file
    CHECK(tour.Opens([&] { tour.StartFromSearch(); }) == pictures.File("c.kpt"));
    CHECK(SaveScreenshot(tour.bar, "tour-bar"));
    CHECK(tour.Step(BarNext) == pictures.File("e.kpt"));
    // so does the tour function key, which searches nothing
    CHECK(tour.Opens([&] {
        REQUIRE(tour.program.Summon());
        REQUIRE(WaitVisible(tour.search, true));
        REQUIRE(PressKeys(tour.search, {VK_F11}));
    }) == pictures.File("c.kpt"));
    CHECK(WaitVisible(tour.search, false));
    CHECK(tour.Step(BarNext) == pictures.File("e.kpt"));
    CHECK(tour.program.Opened().size() == 12);
}

TEST_CASE("the file list picks a file and marks the current one and grays a missing one")
{
    Pictures pictures;
    Tour tour(PicturesIni(pictures).Text());
    // without a viewer command the shell opens each file with the handler of its type
    REQUIRE(tour.SetKey("TOURAPP1", ""));
    ShellHandler files(tour.recorder, "kirapick.tourfile", FileType);
    CHECK(tour.Opens([&] { tour.StartFromSearch(); }) == pictures.File("c.kpt"));
    CHECK(tour.OpenList(5) == "v....");
    CHECK(tour.Opens([&] { tour.Choose(2); }) == pictures.File("a.kpt"));
    CHECK(tour.OpenList(5) == "..v..");
    CHECK(tour.Opens([&] { tour.Choose(4); }) == pictures.File("b.kpt"));
    // dismissed: nothing opens and the place stays
    CHECK(tour.ListLook(5) == "....v");
    CHECK(tour.Step(BarNext) == pictures.File("c.kpt"));

    // a file removed behind the program's back is reported, and grayed with the mark on it
    REQUIRE(DeleteFileA(pictures.File("e.kpt").c_str()));
    PostCommand(tour.bar, BarNext);
    CHECK(tour.Reply(IDOK) == NotFound + pictures.File("e.kpt"));
    CHECK(tour.OpenList(5) == ".x...");
    // a grayed file cannot be picked: Enter on it chooses nothing (Esc closes the list if
    // Enter left it open)
    REQUIRE(PressKeys(nullptr, {VK_DOWN, VK_DOWN, VK_RETURN, VK_ESCAPE}));
    REQUIRE(tour.program.WaitMenuGone());
    CHECK(tour.NoMessageBox());
    // the steps still land on it and report it again
    CHECK(tour.Step(BarNext) == pictures.File("a.kpt"));
    PostCommand(tour.bar, BarPrevious);
    CHECK(tour.Reply(IDOK) == NotFound + pictures.File("e.kpt"));
    CHECK(tour.Step(BarPrevious) == pictures.File("c.kpt"));
    CHECK(tour.program.Opened().size() == 6);
}

TEST_CASE("the file list opens the folder and deletes files and the tour steps on")
{
    Pictures pictures;
    Tour tour(PicturesIni(pictures).Text());
    ShellHandler folders(tour.recorder, "Folder");
    CHECK(tour.Opens([&] { tour.StartFromSearch(); }) == pictures.File("c.kpt"));

    // a key pressed in the file menu of the list's item at `position`. Wine sends no
    // WM_MENURBUTTONUP when the right button is let go over an item: the test posts it
    auto fileMenu = [&](int position, WORD key) {
        HWND list = tour.OpenMenu(tour.bar, BarList);
        HMENU menu = reinterpret_cast<HMENU>(Send(list, MN_GETHMENU, 0, 0));
        REQUIRE(menu);
        PostMessageA(tour.bar, WM_MENURBUTTONUP, position, reinterpret_cast<LPARAM>(menu));
        REQUIRE(WaitFor([&] { return tour.Menus() == 2; }));
        REQUIRE(PressKeys(nullptr, {key}));
    };
    auto deleteAt = [&](int position, int answer) {
        fileMenu(position, 'D');
        return tour.Reply(answer);
    };
    // "フォルダを開く" hands the tour's folder to the shell, and closes the list without a step
    CHECK(tour.Opens([&] {
        fileMenu(3, 'F');
        REQUIRE(tour.program.WaitMenuGone());
    }) == pictures.Path());
    CHECK(tour.Step(BarNext) == pictures.File("e.kpt"));

    // "キャンセル" deletes nothing. Windows keeps the list open for a choice; in Wine the end
    // of the nested file menu ends the list as well
    fileMenu(1, 'X');
    bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    CHECK(WaitFor([&] { return tour.Menus() == (wine ? 0 : 1); }));
    if (tour.Menus())
        tour.Dismiss();
    CHECK(tour.NoMessageBox());

    // the question has Yes and No; No keeps the file
    fileMenu(1, 'D');
    HWND box = tour.program.WaitMessageBox();
    CHECK((GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO)));
    CHECK(tour.Reply(IDNO) == "e.kpt を削除してよろしいですか？");
    // Wine's EndMenu only posts the end to the list's loop, which goes on once the question
    // is answered: the list is still drawn beneath it
    CHECK(tour.program.WaitMenuGone());
    CHECK(pictures.Exists("e.kpt"));
    CHECK(tour.ListLook(5) == ".v...");

    // Yes: gone from disk and list; "→" opens the file that followed
    CHECK(deleteAt(1, IDYES) == "e.kpt を削除してよろしいですか？");
    CHECK_FALSE(pictures.Exists("e.kpt"));
    CHECK(tour.ListLook(4) == "....");
    CHECK(tour.Step(BarNext) == pictures.File("a.kpt"));
    // after the current file is deleted "←" opens the one before it
    CHECK(deleteAt(1, IDYES) == "a.kpt を削除してよろしいですか？");
    CHECK(tour.Steps({BarPrevious, BarNext}) == "c.kpt d.kpt");
    // deleting another file keeps the place: c, d, b less c leaves d current
    CHECK(deleteAt(0, IDYES) == "c.kpt を削除してよろしいですか？");
    CHECK(tour.ListLook(2) == "v.");
    CHECK(tour.Steps({BarNext, BarNext}) == "b.kpt d.kpt");
    CHECK_FALSE((pictures.Exists("a.kpt") || pictures.Exists("c.kpt")));
    CHECK((pictures.Exists("b.kpt") && pictures.Exists("d.kpt")));
    CHECK(tour.program.Opened().size() == 8);
}

TEST_CASE("tour keys step and Esc switches them off")
{
    Pictures pictures;
    Tour tour(PicturesIni(pictures).Text());
    CHECK(tour.Opens([&] { tour.StartFromSearch(); }) == pictures.File("c.kpt"));
    CHECK(tour.KeysAre(false));

    // a double click on the background switches them on
    CHECK(tour.DoubleClickFor(true));
    CHECK(tour.Key(KeyNext) == pictures.File("e.kpt"));
    CHECK(tour.Key(KeyPrevious) == pictures.File("c.kpt"));
    // the keys themselves reach the bar while another program's window is in front
    OtherWindow other;
    REQUIRE(other.window.load());
    CHECK(tour.Opens([&] { REQUIRE(PressKeys(other.window, {VK_RIGHT})); })
          == pictures.File("e.kpt"));
    CHECK(tour.Opens([&] { REQUIRE(PressKeys(other.window, {VK_LEFT})); })
          == pictures.File("c.kpt"));
    tour.CheckRandomStep(pictures, WM_HOTKEY, KeyRandom);
    PostMessageA(tour.bar, WM_HOTKEY, KeyOff, 0);
    CHECK(WaitFor([&] { return tour.KeysAre(false); }));
    CHECK(tour.program.Opened().size() == 6);

    // Esc pressed in the other window, another double click, hiding the bar: each switches
    // them off; showing the bar again leaves them off
    CHECK(tour.DoubleClickFor(true));
    REQUIRE(PressKeys(other.window, {VK_ESCAPE}));
    CHECK(WaitFor([&] { return tour.KeysAre(false); }));
    CHECK(tour.DoubleClickFor(true));
    CHECK(tour.DoubleClickFor(false));
    CHECK(tour.DoubleClickFor(true));
    PostCommand(tour.bar, BarHide);
    CHECK(WaitVisible(tour.bar, false));
    CHECK(WaitFor([&] { return tour.KeysAre(false); }));
    CHECK(tour.Opens([&] { tour.StartFromSearch(); }) == pictures.File("c.kpt"));
    CHECK(tour.KeysAre(false));
}

TEST_CASE("quick open and the settings from the bar leave the running tour untouched")
{
    Pictures pictures;
    FileFolder quick({{"q.kpt", 10}, {"skip.txt", 10}});
    IniText ini = PicturesIni(pictures);
    ini.Key("TOURNAME2", "Quick").Key("TOURPATH2", quick.Pattern()).Key("EXTFILTER2", FileType)
        .Key("INPUTPATH2", 2);
    Tour tour(ini.Text());
    CHECK(tour.Opens([&] { tour.StartFromSearch(); }) == pictures.File("c.kpt"));
    CHECK(tour.Step(BarNext) == pictures.File("e.kpt"));

    // the bar's destinations menu: slot 1, and slot 2, whose submenu holds "見廻る", a
    // separator and its files
    auto openQuickMenu = [&](bool screenshot) {
        HWND menu = tour.OpenMenu(tour.bar, BarDestinations);
        if (screenshot) {
            WaitFor([&] { return MenuLook(menu).size() == 2; });
            CHECK(SaveScreenshot(menu, "destinations-menu"));
        }
        REQUIRE(PressKeys(nullptr, {VK_DOWN, VK_DOWN, VK_RIGHT}));
        REQUIRE(WaitFor([&] { return tour.Menus() == 2; }));
    };
    CHECK(tour.Opens([&] {
        openQuickMenu(true);
        REQUIRE(PressKeys(nullptr, {VK_END, VK_RETURN}));
    }) == quick.File("q.kpt"));
    CHECK(tour.NoMessageBox());
    CHECK(tour.Step(BarNext) == pictures.File("a.kpt"));

    // a quick open whose file has gone is reported and grays nothing of the tour
    openQuickMenu(false);
    REQUIRE(DeleteFileA(quick.File("q.kpt").c_str()));
    REQUIRE(PressKeys(nullptr, {VK_END, VK_RETURN}));
    CHECK(tour.Reply(IDOK) == NotFound + quick.File("q.kpt"));
    CHECK(tour.ListLook(5) == "..v..");
    CHECK(tour.Step(BarNext) == pictures.File("d.kpt"));

    // "見廻る" tours the slot, here its one file
    quick.Add("q.kpt", 10);
    CHECK(tour.Opens([&] {
        openQuickMenu(false);
        REQUIRE(PressKeys(nullptr, {VK_RETURN}));
    }) == quick.File("q.kpt"));
    CHECK(tour.Step(BarNext) == quick.File("q.kpt"));

    // a right click on the bar opens the settings at the destinations page, on the slot of
    // the tour; the tour goes on, and the sheet opens again
    constexpr int SheetTabs = 0x3020, DestinationName = 1160;
    HWND sheet = tour.RightClickForSheet();
    REQUIRE(sheet);
    CHECK(GetWindow(sheet, GW_OWNER) == tour.bar);
    CHECK(Send(GetDlgItem(sheet, SheetTabs), TCM_GETCURSEL, 0, 0) == 2);
    CHECK(ControlText(SheetPage(sheet, DestinationName), DestinationName) == "Quick");
    Answer(sheet, IDCANCEL);
    REQUIRE(WaitFor([&] { return !IsWindow(sheet); }));
    CHECK(tour.Step(BarNext) == quick.File("q.kpt"));
    sheet = tour.RightClickForSheet();
    REQUIRE(sheet);
    Answer(sheet, IDCANCEL);
    REQUIRE(WaitFor([&] { return !IsWindow(sheet); }));
    CHECK(tour.program.Ini("TOURNAME2") == "Quick");
    CHECK(tour.program.Opened().size() == 8);
}

TEST_CASE("a destination with no files or a cancelled folder browser is reported")
{
    Pictures pictures;
    FileFolder empty;
    IniText ini = PicturesIni(pictures);
    ini.Key("TOURNAME2", "Ask").Key("TOURPATH2", pictures.Pattern()).Key("INPUTPATH2", 1)
        .Key("TOURNAME3", "Empty").Key("TOURPATH3", empty.Pattern());
    Tour tour(ini.Text());
    CHECK(tour.Opens([&] { tour.StartFromSearch(); }) == pictures.File("c.kpt"));

    // the empty slot 3, the last item of the search window's destinations menu
    REQUIRE(tour.program.Summon());
    REQUIRE(WaitVisible(tour.search, true));
    tour.OpenMenu(tour.search, SearchDestinationsButton);
    REQUIRE(PressKeys(nullptr, {VK_END, VK_RETURN}));
    CHECK(tour.Reply(IDOK) == NoFiles);
    CHECK(WaitVisible(tour.search, false));
    CHECK(WaitVisible(tour.bar, true));
    for (int id : StepButtons)
        CHECK_FALSE(IsEnabled(tour.bar, id));
    CHECK((IsEnabled(tour.bar, BarHide) && IsEnabled(tour.bar, BarDestinations)));

    // the old tour is gone: steps, the tour keys and a double click do nothing
    Send(tour.bar, WM_COMMAND, BarNext, 0);
    Send(tour.bar, WM_HOTKEY, KeyNext, 0);
    CHECK(tour.NoMessageBox());
    REQUIRE(BringToFront(tour.bar));
    Mouse(Background(tour.bar), {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN,
                                 MOUSEEVENTF_LEFTUP});
    // input is handled in order: once the menu of a later click on ">" is up, so was the
    // double click
    RECT button{};
    GetWindowRect(GetDlgItem(tour.bar, BarDestinations), &button);
    POINT centre = {(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    REQUIRE(Retry([&] { Mouse(centre, {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}); },
                  [&] { return tour.program.WaitMenu(0) != nullptr; }));
    // slot 2 of this menu asks for its folder each time
    REQUIRE(PressKeys(nullptr, {VK_DOWN, VK_DOWN, VK_RETURN}));
    CHECK(tour.KeysAre(false));
    HWND browser = nullptr;
    REQUIRE(WaitFor([&] {
        for (HWND dialog : tour.program.Dialogs())
            if (IsVisible(dialog) && dialog != tour.search && dialog != tour.bar)
                browser = dialog;
        return browser != nullptr;
    }));
    CHECK(GetWindow(browser, GW_OWNER) == tour.bar);
    bool prompt = false;
    for (HWND child = GetWindow(browser, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        prompt = prompt || Text(child) == "見廻りたいフォルダを選択してください。";
    CHECK(prompt);
    // Wine's folder browser does not select the folder it is given, so OK would return
    // nothing: only the cancelled road is driven here
    Answer(browser, IDCANCEL);
    CHECK(tour.Reply(IDOK) == NoFiles);

    // the search window's tour button starts slot 1 again
    CHECK(tour.Opens([&] { tour.StartFromSearch(); }) == pictures.File("c.kpt"));
    CHECK(tour.program.Opened().size() == 2);
}

TEST_CASE("the bar keeps its place across starts and a name too long for its folder is not cut")
{
    FileFolder folder;
    // the first name makes a path of 259 bytes, the longest there is; the second begins
    // with the first
    std::string longest = std::string(259 - folder.File("").size() - 4, 'p') + ".kpt";
    std::string longer = longest + ".kpt";
    folder.Add(longest, 10);
    folder.Add(longer, 10);
    REQUIRE(folder.File(longest).size() == 259);
    IniText ini = ResidentIni(); // no auto-start
    ini.Key("TOURPATH1", folder.Pattern()).Key("EXTFILTER1", FileType)
        .Key("TOURDLG_XPOS", 300).Key("TOURDLG_YPOS", 200);
    std::string settings;
    {
        Tour tour(ini.Text());
        // hidden until asked for, with no tour to step through
        CHECK_FALSE(IsVisible(tour.bar));
        for (int id : StepButtons)
            CHECK_FALSE(IsEnabled(tour.bar, id));
        CHECK(Place(tour.bar) == "300,200");
        // a viewer command with conversions besides "%s": they are passed on as they stand
        REQUIRE(tour.SetKey("TOURAPP1", tour.recorder + " %d %n \"%s\""));
        const std::string first = "%d %n \"" + folder.File(longest) + "\"";
        tour.StartFromSearch();
        CHECK(Place(tour.bar) == "300,200");
        for (int id : StepButtons)
            CHECK(IsEnabled(tour.bar, id));

        // the tour waits for "→"
        CHECK(tour.Step(BarNext) == first);
        PostCommand(tour.bar, BarNext);
        std::string message = tour.Reply(IDOK);
        CHECK(message.rfind(NotFound, 0) == 0);
        CHECK(message.size() >= longer.size());
        CHECK(message.compare(message.size() - longer.size(), longer.size(), longer) == 0);
        CHECK(tour.ListLook(2) == ".x");
        CHECK(tour.Step(BarNext) == first);
        // a new tour starts before the first file again
        tour.StartFromSearch();
        CHECK(tour.Step(BarNext) == first);
        CHECK(tour.program.Opened().size() == 3);

        // dragged by its background, each move once the last one has been followed
        DWORD thread = GetWindowThreadProcessId(tour.bar, nullptr);
        auto moving = [&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            return GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMOVESIZE);
        };
        POINT from = Background(tour.bar), to = from;
        REQUIRE(Retry([&] { Mouse(from, {MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN}); }, moving));
        for (int step = 1; step <= 5; ++step) {
            to = {from.x + 30 * step, from.y + 20 * step};
            std::string place =
                std::to_string(300 + 30 * step) + "," + std::to_string(200 + 20 * step);
            CHECK(Retry([&] { Mouse(to, {MoveThere}); }, [&] { return Place(tour.bar) == place; }));
        }
        Mouse(to, {MOUSEEVENTF_LEFTUP});
        CHECK(WaitFor([&] { return !moving(); }));
        CHECK(Place(tour.bar) == "450,300");
        // written on hiding, not before
        CHECK(tour.program.Ini("TOURDLG_XPOS") == "300");
        PostCommand(tour.bar, BarHide);
        CHECK(WaitVisible(tour.bar, false));
        CHECK(WaitFor([&] { return tour.program.Ini("TOURDLG_XPOS") == "450"; }));
        CHECK(tour.program.Ini("TOURDLG_YPOS") == "300");
        REQUIRE(ReadFileText(tour.SettingsFile(), settings));
    }

    Tour again(settings);
    CHECK(Place(again.bar) == "450,300");
    again.StartFromSearch();
    CHECK(Place(again.bar) == "450,300");
}
