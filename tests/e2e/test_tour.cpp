#include "e2e.h"

#include <commctrl.h>

#include <algorithm>
#include <initializer_list>
#include <memory>

using namespace e2e;

namespace {

// search window
constexpr int SearchTourButton = 1006;
constexpr int SearchDestinationsButton = 1008;
// tour bar
constexpr int BarHide = 1013;
constexpr int BarDestinations = 1014;
constexpr int BarPrevious = 1121;
constexpr int BarList = 1123;
constexpr int BarRandom = 1124;
constexpr int BarNext = 1120;
constexpr int KeysOffLight = 1126;
constexpr int KeysOnLight = 1125;
const int StepButtons[] = {BarPrevious, BarList, BarRandom, BarNext};
// hot-key ids of the tour keys
enum TourKey { KeyPrevious, KeyNext, KeyRandom, KeyOff };

const char NoFiles[] = "ファイルが1つもありません。";
const char NotFound[] = "ファイルが見つかりません。\n";
const char FileType[] = ".kpt";
const char FileClass[] = "kirapick.tourfile";

// Menus open at the mouse cursor: away from the bar, which stays at the top left.
constexpr POINT MenuSpot = {400, 300};
// Where the pointer waits, clear of every window the tests open.
constexpr POINT Parking = {1260, 1000};

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

// A folder of test files, removed with them at the end.
class FileFolder {
public:
    FileFolder()
    {
        char temp[MAX_PATH] = "";
        DWORD length = GetTempPathA(sizeof temp, temp);
        std::string base = length > 0 && length < sizeof temp ? std::string(temp, length) : ".\\";
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            std::string candidate = base + "kirapick-tour-" + std::to_string(GetCurrentProcessId())
                                    + "-" + std::to_string(GetTickCount() + attempt);
            if (CreateDirectoryA(candidate.c_str(), nullptr))
                path_ = candidate;
        }
        REQUIRE(!path_.empty());
    }
    ~FileFolder()
    {
        for (const std::string& name : names_)
            DeleteFileW(Long(name).c_str());
        RemoveDirectoryA(path_.c_str());
    }
    FileFolder(const FileFolder&) = delete;
    FileFolder& operator=(const FileFolder&) = delete;

    void Add(const std::string& name, size_t size)
    {
        names_.push_back(name);
        HANDLE file = CreateFileW(Long(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        REQUIRE(file != INVALID_HANDLE_VALUE);
        std::string data(size, 'x');
        DWORD written = 0;
        BOOL ok = WriteFile(file, data.data(), static_cast<DWORD>(size), &written, nullptr);
        CloseHandle(file);
        REQUIRE((ok && written == size));
    }
    bool Exists(const std::string& name) const
    {
        return GetFileAttributesA(File(name).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }
    // the same path in the form that may pass the usual length limit (the A functions
    // of Wine refuse it)
    std::wstring Long(const std::string& name) const
    {
        std::string path = "\\\\?\\" + File(name);
        wchar_t wide[1024] = L"";
        if (!MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, 1024))
            return L"";
        return wide;
    }
    std::string Pattern() const { return path_ + "\\*.*"; }

private:
    std::string path_;
    std::vector<std::string> names_;
};

// Five files whose sizes rank them c, e, a, d, b from the largest, and a larger one that the
// destination's filter leaves out.
struct Pictures : FileFolder {
    Pictures()
    {
        Add("a.kpt", 300);
        Add("b.kpt", 100);
        Add("c.kpt", 500);
        Add("d.kpt", 200);
        Add("e.kpt", 400);
        Add("big.txt", 900);
    }
};
const char* const Ranked[] = {"c.kpt", "e.kpt", "a.kpt", "d.kpt", "b.kpt"};

// Slot 1 tours the pictures by size, largest first (order 5).
IniText PicturesIni(const Pictures& pictures, const Options& options)
{
    IniText ini = ResidentIni(options);
    ini.Key("TOURNAME1", "Pictures")
        .Key("TOURPATH1", pictures.Pattern())
        .Key("EXTFILTER1", FileType)
        .Key("TOURORDERBY1", 5);
    return ini;
}

Options AutoStart(bool on)
{
    Options options;
    options.tourAutoStart = on;
    return options;
}

bool SetValue(const std::string& key, const std::string& value)
{
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &handle, nullptr)
        != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(handle, nullptr, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

// The recorder as the shell's "open" command of a file class (the test files' type, or every
// folder), taken out again at the end.
class ShellHandler {
public:
    ShellHandler(const std::string& recorder, const std::string& className, const char* type)
        : className_(className), type_(type ? type : "")
    {
        REQUIRE(SetValue(className + "\\shell\\open\\command", "\"" + recorder + "\" \"%1\""));
        if (type)
            REQUIRE(SetValue(type, className));
    }
    ~ShellHandler()
    {
        RegDeleteKeyA(HKEY_CLASSES_ROOT, (className_ + "\\shell\\open\\command").c_str());
        if (!type_.empty()) {
            RegDeleteTreeA(HKEY_CLASSES_ROOT, className_.c_str());
            RegDeleteKeyA(HKEY_CLASSES_ROOT, type_.c_str());
        }
    }
    ShellHandler(const ShellHandler&) = delete;
    ShellHandler& operator=(const ShellHandler&) = delete;

private:
    std::string className_;
    std::string type_;
};

// A window of another thread of the test process, standing for another program in front;
// its thread answers messages as a program's does.
class OtherWindow {
public:
    OtherWindow()
    {
        ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Run, this, 0, &threadId_);
        REQUIRE(thread_);
        WaitForSingleObject(ready_, Patience);
        REQUIRE(window);
    }
    ~OtherWindow()
    {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_, Patience);
        CloseHandle(thread_);
        CloseHandle(ready_);
    }
    OtherWindow(const OtherWindow&) = delete;
    OtherWindow& operator=(const OtherWindow&) = delete;

    HWND window = nullptr;

private:
    static DWORD WINAPI Run(void* parameter)
    {
        auto* self = static_cast<OtherWindow*>(parameter);
        HWND window = CreateWindowExA(0, "STATIC", "another program",
                                      WS_POPUP | WS_VISIBLE | WS_BORDER, 600, 600, 200, 60,
                                      nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        self->window = window;
        SetEvent(self->ready_);
        MSG message;
        while (GetMessageA(&message, nullptr, 0, 0) > 0)
            DispatchMessageA(&message);
        DestroyWindow(window);
        return 0;
    }

    HANDLE ready_ = nullptr;
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
};

bool OnWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

HWND FindBar(const Program& program)
{
    for (HWND window : program.Dialogs())
        if (GetDlgItem(window, BarNext))
            return window;
    return nullptr;
}

bool KeyTaken(UINT vk)
{
    // the tour keys are global: while the bar holds one, nobody else can register it
    constexpr int probe = 0x7000;
    if (!RegisterHotKey(nullptr, probe, 0, vk))
        return true;
    UnregisterHotKey(nullptr, probe);
    return false;
}

void SendMouse(std::initializer_list<DWORD> flags)
{
    std::vector<INPUT> inputs;
    for (DWORD flag : flags) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flag;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void ClickOn(HWND control)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMouse({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
}

// Moves the mouse as the hand does, through the input queue.
void MoveMouse(POINT to)
{
    SetCursorPos(to.x, to.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(to.x, 65536, GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = MulDiv(to.y, 65536, GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

// A spot of the bar's background: between "→" and the indicators.
POINT Background(HWND bar)
{
    RECT next{}, light{};
    GetWindowRect(GetDlgItem(bar, BarNext), &next);
    GetWindowRect(GetDlgItem(bar, KeysOffLight), &light);
    return {(next.right + light.left) / 2, (light.top + light.bottom) / 2};
}

void DoubleClick(POINT spot)
{
    SetCursorPos(spot.x, spot.y);
    SendMouse({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN,
               MOUSEEVENTF_LEFTUP});
}

// The pixels of a window as the screen shows them, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
    int Lightness(int x, int y) const
    {
        DWORD p = pixels[static_cast<size_t>(y) * width + x];
        return static_cast<int>((GetRValue(p) * 299 + GetGValue(p) * 587 + GetBValue(p) * 114)
                                / 1000);
    }
};

bool Capture(HWND window, Picture& picture)
{
    RECT rect{};
    if (!GetWindowRect(window, &rect))
        return false;
    // only what is on the screen: a menu of long names can reach beyond it
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!IntersectRect(&rect, &rect, &screen))
        return false;
    picture.width = rect.right - rect.left;
    picture.height = rect.bottom - rect.top;
    if (picture.width <= 0 || picture.height <= 0 || picture.width > 2048 || picture.height > 2048)
        return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC display = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(display);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(display, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, picture.width, picture.height, display, rect.left,
                        rect.top, SRCCOPY) != 0;
        GdiFlush();
        SelectObject(memory, old);
        if (copied) {
            // the DIB holds blue, green, red: turn each into a COLORREF
            const DWORD* source = static_cast<const DWORD*>(bits);
            picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
            for (size_t i = 0; i < picture.pixels.size(); ++i)
                picture.pixels[i] = RGB((source[i] >> 16) & 0xFF, (source[i] >> 8) & 0xFF,
                                        source[i] & 0xFF);
        }
    }
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, display);
    return copied;
}

// What a user sees of the rows of an open list menu, one character a row: '.' a plain item,
// 'v' the check mark, 'g' a grayed item, 'x' a grayed item with the check mark.
// Wine lets no other process read a menu's items, so the screen is read instead.
std::string MenuLook(HWND menu)
{
    Picture picture;
    if (!Capture(menu, picture))
        return "<no picture>";
    constexpr int Ink = 200;      // darker than the menu's background
    constexpr int Black = 80;     // the text of an item that can be chosen
    constexpr int Edge = 3;       // the menu's frame
    int textLeft = Edge + GetSystemMetrics(SM_CXMENUCHECK) + 2;
    int right = picture.width - Edge;
    auto inkInRow = [&](int y, int from, int to, int below) {
        for (int x = from; x < to; ++x)
            if (picture.Lightness(x, y) < below)
                return true;
        return false;
    };
    // each item's text is one band of rows holding ink
    std::vector<std::pair<int, int>> bands;
    for (int y = Edge; y < picture.height - Edge; ++y) {
        if (!inkInRow(y, textLeft, right, Ink))
            continue;
        if (!bands.empty() && bands.back().second == y)
            bands.back().second = y + 1;
        else
            bands.push_back({y, y + 1});
    }
    std::string look;
    for (size_t i = 0; i < bands.size(); ++i) {
        int top = i == 0 ? Edge : (bands[i - 1].second + bands[i].first) / 2;
        int bottom = i + 1 == bands.size() ? picture.height - Edge
                                           : (bands[i].second + bands[i + 1].first) / 2;
        bool black = false;
        for (int y = bands[i].first; y < bands[i].second && !black; ++y)
            black = inkInRow(y, textLeft, right, Black);
        bool mark = false;
        for (int y = top; y < bottom && !mark; ++y)
            mark = inkInRow(y, Edge, textLeft, Ink);
        look += mark ? (black ? 'v' : 'x') : (black ? '.' : 'g');
    }
    return look;
}

// The program resident with a tour configured, its search window and tour bar found.
struct Tour {
    enum Launch { Viewer, Shell };

    Tour(const std::string& settings, Launch launch = Viewer) : program(settings)
    {
        recorder = FolderOf(program.ExePath()) + "\\recorder.exe";
        if (launch == Viewer)
            for (int slot = 1; slot <= 3; ++slot)
                REQUIRE(SetKey("TOURAPP" + std::to_string(slot), recorder + " \"%s\""));
        else
            fileType.reset(new ShellHandler(recorder, FileClass, FileType));
        // Wine puts its cursor where the X pointer is whenever a window appears or moves
        // under it; SetCursorPos moves both, so they start together, out of the way
        SetCursorPos(Parking.x, Parking.y);
        REQUIRE(program.Start());
        search = program.WaitSearchWindow();
        REQUIRE(search);
        REQUIRE(WaitFor([&] { return (bar = FindBar(program)) != nullptr; }));
        GetWindowThreadProcessId(search, &processId);
    }

    std::string SettingsFile() const { return FolderOf(program.ExePath()) + "\\kirapick.ini"; }
    bool SetKey(const std::string& key, const std::string& value) const
    {
        return WritePrivateProfileStringA(UserSection().c_str(), key.c_str(), value.c_str(),
                                          SettingsFile().c_str())
               != 0;
    }
    // The settings file as the program left it.
    std::string SettingsText() const
    {
        std::string text;
        HANDLE file = CreateFileA(SettingsFile().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return text;
        char chunk[4096];
        DWORD got = 0;
        while (text.size() < (1u << 20) && ReadFile(file, chunk, sizeof chunk, &got, nullptr)
               && got)
            text.append(chunk, got);
        CloseHandle(file);
        return text;
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
        if (!program.WaitOpened(before + 1))
            return "<nothing opened>";
        return program.Opened().back();
    }
    std::string Step(int button)
    {
        return Opens([&] { PostCommand(bar, button); });
    }
    std::string Key(TourKey id)
    {
        return Opens([&] { PostMessageA(bar, WM_HOTKEY, id, 0); });
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
    // Opens the "*" list and returns its look once all `rows` are painted.
    std::string ListLook(size_t rows, HWND* list = nullptr)
    {
        HWND menu = OpenMenu(bar, BarList);
        if (list)
            *list = menu;
        std::string look;
        WaitFor([&] { return (look = MenuLook(menu)).size() == rows; });
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

    // Waits for the bar's message box and answers it; returns its text.
    std::string Reply(int button)
    {
        HWND box = program.WaitMessageBox();
        if (!box)
            return "<no message>";
        CHECK(GetWindow(box, GW_OWNER) == bar);
        std::string text = MessageText(box);
        Answer(box, button);
        CHECK(WaitFor([&] { return !IsWindow(box); }));
        return text;
    }
    // The program's menus on screen: the list, and the file menu over it.
    int Menus() const
    {
        int count = 0;
        for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
            char name[16] = "";
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            GetClassNameA(window, name, sizeof name);
            if (pid == processId && lstrcmpA(name, "#32768") == 0 && IsWindowVisible(window))
                ++count;
        }
        return count;
    }
    bool NoMessageBox() const { return program.Sync() && !program.WaitMessageBox(0); }

    // The indicator that is shown, whether or not the bar is.
    bool Lit(int light) const
    {
        return (GetWindowLongA(GetDlgItem(bar, light), GWL_STYLE) & WS_VISIBLE) != 0;
    }
    bool KeysOn() const
    {
        return Lit(KeysOnLight) && !Lit(KeysOffLight)
               && KeyTaken(VK_LEFT) && KeyTaken(VK_RIGHT) && KeyTaken(VK_SPACE)
               && KeyTaken(VK_ESCAPE);
    }
    bool KeysOff() const
    {
        return !Lit(KeysOnLight) && Lit(KeysOffLight)
               && !KeyTaken(VK_LEFT) && !KeyTaken(VK_RIGHT) && !KeyTaken(VK_SPACE)
               && !KeyTaken(VK_ESCAPE);
    }

    // Double-clicks the background until the tour keys are on, or off. A click can still
    // land where the X pointer was left behind (Wine does not move it while another program
    // holds it), and is then given again.
    bool DoubleClickFor(bool on)
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            BringToFront(bar);
            DoubleClick(Background(bar));
            if (WaitFor([&] { return on ? KeysOn() : KeysOff(); }, 3000))
                return true;
        }
        return false;
    }

    // Right-clicks the background and returns the settings sheet that opens.
    HWND RightClickForSheet()
    {
        HWND sheet = nullptr;
        for (int attempt = 0; attempt < 3 && !sheet; ++attempt) {
            POINT spot = Background(bar);
            SetCursorPos(spot.x, spot.y);
            SendMouse({MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
            sheet = program.WaitSheet(3000);
        }
        return sheet;
    }

    Program program;
    std::string recorder;
    std::unique_ptr<ShellHandler> fileType;
    HWND search = nullptr;
    HWND bar = nullptr;
    DWORD processId = 0;
};

// Runs a random step, sent so that it has been taken on return, and checks that it opened a
// file "!" may land on: the tick count in tenths of a second, modulo the number of files.
template <typename F> void CheckRandomStep(Tour& tour, const Pictures& pictures, F send)
{
    size_t before = tour.program.Opened().size();
    DWORD from = GetTickCount();
    send();
    DWORD to = GetTickCount();
    REQUIRE(tour.program.WaitOpened(before + 1));
    std::vector<std::string> possible;
    for (DWORD tenth = from / 100; tenth <= to / 100 && possible.size() < 5; ++tenth)
        possible.push_back(pictures.File(Ranked[tenth % 5]));
    INFO("ticks " << from << " to " << to);
    CHECK(std::find(possible.begin(), possible.end(), tour.program.Opened().back())
          != possible.end());
}

} // namespace

TEST_CASE("the tour button with auto-start opens the first file of the chosen order")
{
    Pictures pictures;
    Options options = AutoStart(true);
    options.funcKeyTour = 1;
    options.tourFuncKey = 10; // F11
    Tour tour(PicturesIni(pictures, options).Text());
    CHECK_FALSE(IsVisible(tour.bar));
    for (int id : StepButtons)
        CHECK_FALSE(IsEnabled(tour.bar, id));

    CHECK(tour.Opens([&] { tour.StartFromSearch(); }) == pictures.File("c.kpt"));
    for (int id : StepButtons)
        CHECK(IsEnabled(tour.bar, id));
    CHECK(tour.KeysOff());
    CHECK(SaveScreenshot(tour.bar, "tour-bar"));
    CHECK(tour.Step(BarNext) == pictures.File("e.kpt"));

    // the tour function key starts the tour afresh, and searches nothing
    CHECK(tour.Opens([&] {
        REQUIRE(tour.program.Summon());
        REQUIRE(WaitVisible(tour.search, true));
        REQUIRE(PressKeys(tour.search, {VK_F11}));
    }) == pictures.File("c.kpt"));
    CHECK(WaitVisible(tour.search, false));
    CHECK(IsVisible(tour.bar));
    CHECK(tour.Step(BarNext) == pictures.File("e.kpt"));
    CHECK(tour.program.Opened() ==
          std::vector<std::string>{pictures.File("c.kpt"), pictures.File("e.kpt"),
                                   pictures.File("c.kpt"), pictures.File("e.kpt")});
}

TEST_CASE("next and previous from a fresh tour and across both ends")
{
    Pictures pictures;
    Tour tour(PicturesIni(pictures, AutoStart(false)).Text());
    tour.StartFromSearch();
    CHECK(tour.NoMessageBox());

    CHECK(tour.Step(BarNext) == pictures.File("c.kpt"));
    CHECK(tour.Step(BarNext) == pictures.File("e.kpt"));
    CHECK(tour.Step(BarPrevious) == pictures.File("c.kpt"));
    CHECK(tour.Step(BarPrevious) == pictures.File("b.kpt"));
    CHECK(tour.Step(BarPrevious) == pictures.File("d.kpt"));
    CHECK(tour.Step(BarNext) == pictures.File("b.kpt"));
    CHECK(tour.Step(BarNext) == pictures.File("c.kpt"));

    // a new tour starts before the first file again: "←" opens the last
    tour.StartFromSearch();
    CHECK(tour.Step(BarPrevious) == pictures.File("b.kpt"));
    CHECK(tour.Step(BarNext) == pictures.File("c.kpt"));
    // nothing was opened between the steps
    CHECK(tour.program.Opened().size() == 9);

    for (int attempt = 0; attempt < 3; ++attempt)
        CheckRandomStep(tour, pictures, [&] { Send(tour.bar, WM_COMMAND, BarRandom, 0); });
}

TEST_CASE("the file list picks a file and marks the current one")
{
    Pictures pictures;
    Tour tour(PicturesIni(pictures, AutoStart(true)).Text(), Tour::Shell);
    // the shell opens each file with the handler of its type
    CHECK(tour.Opens([&] { tour.StartFromSearch(); }) == pictures.File("c.kpt"));
    CHECK(tour.ListLook(5) == "v....");
    CHECK(tour.Opens([&] { tour.Choose(2); }) == pictures.File("a.kpt"));
    CHECK(tour.ListLook(5) == "..v..");
    CHECK(tour.Opens([&] { tour.Choose(4); }) == pictures.File("b.kpt"));

    // dismissed: nothing opens and the place stays
    CHECK(tour.ListLook(5) == "....v");
    tour.Dismiss();
    CHECK(tour.Step(BarNext) == pictures.File("c.kpt"));
    CHECK(tour.program.Opened().size() == 4);
}

TEST_CASE("a file removed behind the back of the program is reported and grayed")
{
    Pictures pictures;
    Tour tour(PicturesIni(pictures, AutoStart(true)).Text());
    CHECK(tour.Opens([&] { tour.StartFromSearch(); }) == pictures.File("c.kpt"));
    REQUIRE(DeleteFileA(pictures.File("e.kpt").c_str()));

    PostCommand(tour.bar, BarNext);
    CHECK(tour.Reply(IDOK) == NotFound + pictures.File("e.kpt"));
    CHECK(tour.ListLook(5) == ".x...");
    // a grayed file cannot be picked: Enter on it chooses nothing (Esc closes the list if
    // Enter left it open)
    REQUIRE(PressKeys(nullptr, {VK_DOWN, VK_DOWN, VK_RETURN, VK_ESCAPE}));
    REQUIRE(tour.program.WaitMenuGone());
    CHECK(tour.NoMessageBox());

    // the steps still land on it and report it again
    CHECK(tour.Step(BarNext) == pictures.File("a.kpt"));
    PostCommand(tour.bar, BarPrevious);
    CHECK(tour.Reply(IDOK) == NotFound + pictures.File("e.kpt"));
    CHECK(tour.ListLook(5) == ".x...");
    tour.Dismiss();
    CHECK(tour.Step(BarPrevious) == pictures.File("c.kpt"));
    CHECK(tour.program.Opened() ==
          std::vector<std::string>{pictures.File("c.kpt"), pictures.File("a.kpt"),
                                   pictures.File("c.kpt")});
}

TEST_CASE("tour keys step and Esc switches them off")
{
    Pictures pictures;
    Tour tour(PicturesIni(pictures, AutoStart(true)).Text());
    CHECK(tour.Opens([&] { tour.StartFromSearch(); }) == pictures.File("c.kpt"));
    CHECK(tour.KeysOff());

    // a double click on the background switches them on
    CHECK(tour.DoubleClickFor(true));
    // the ids of the hot keys ←, →, space and Esc
    CHECK(tour.Key(KeyNext) == pictures.File("e.kpt"));
    CHECK(tour.Key(KeyPrevious) == pictures.File("c.kpt"));
    CHECK(tour.Key(KeyPrevious) == pictures.File("b.kpt"));
    CHECK(tour.Key(KeyNext) == pictures.File("c.kpt"));
    // the keys themselves reach the bar while another program's window is in front
    OtherWindow other;
    CHECK(tour.Opens([&] { REQUIRE(PressKeys(other.window, {VK_RIGHT})); })
          == pictures.File("e.kpt"));
    CHECK(tour.Opens([&] { REQUIRE(PressKeys(other.window, {VK_LEFT})); })
          == pictures.File("c.kpt"));
    CheckRandomStep(tour, pictures, [&] { Send(tour.bar, WM_HOTKEY, KeyRandom, 0); });
    PostMessageA(tour.bar, WM_HOTKEY, KeyOff, 0);
    CHECK(WaitFor([&] { return tour.KeysOff(); }));
    CHECK(tour.program.Opened().size() == 8);

    // Esc pressed in the other window, another double click, hiding the bar: each switches
    // them off; showing the bar again leaves them off
    CHECK(tour.DoubleClickFor(true));
    REQUIRE(PressKeys(other.window, {VK_ESCAPE}));
    CHECK(WaitFor([&] { return tour.KeysOff(); }));
    CHECK(tour.DoubleClickFor(true));
    CHECK(tour.DoubleClickFor(false));
    CHECK(tour.DoubleClickFor(true));
    PostCommand(tour.bar, BarHide);
    CHECK(WaitVisible(tour.bar, false));
    CHECK(WaitFor([&] { return tour.KeysOff(); }));
    CHECK(tour.Opens([&] { tour.StartFromSearch(); }) == pictures.File("c.kpt"));
    CHECK(tour.KeysOff());
}

TEST_CASE("deleting the current file from the list and stepping on")
{
    Pictures pictures;
    Tour tour(PicturesIni(pictures, AutoStart(true)).Text());
    CHECK(tour.Opens([&] { tour.StartFromSearch(); }) == pictures.File("c.kpt"));
    CHECK(tour.Step(BarNext) == pictures.File("e.kpt"));

    // Wine sends no WM_MENURBUTTONUP when the right button is let go over a menu item:
    // the test posts what Windows sends the menu's owner
    auto contextMenu = [&](int position) {
        HWND list = tour.OpenMenu(tour.bar, BarList);
        HMENU menu = reinterpret_cast<HMENU>(Send(list, MN_GETHMENU, 0, 0));
        REQUIRE(menu);
        PostMessageA(tour.bar, WM_MENURBUTTONUP, position, reinterpret_cast<LPARAM>(menu));
        REQUIRE(WaitFor([&] { return tour.Menus() == 2; }));
    };
    // "キャンセル" deletes nothing
    contextMenu(1);
    REQUIRE(PressKeys(nullptr, {'X'}));
    // Windows keeps the list open for a choice; in Wine the end of the nested file menu
    // ends the list as well
    CHECK(WaitFor([&] { return tour.Menus() == (OnWine() ? 0 : 1); }));
    if (tour.Menus())
        tour.Dismiss();
    CHECK(tour.NoMessageBox());

    // the question, answered No
    contextMenu(1);
    REQUIRE(PressKeys(nullptr, {'D'}));
    HWND box = tour.program.WaitMessageBox();
    REQUIRE(box);
    CHECK(GetDlgItem(box, IDYES));
    CHECK(GetDlgItem(box, IDNO));
    CHECK(tour.Reply(IDNO) == "e.kpt を削除してよろしいですか？");
    // Wine's EndMenu only posts the end to the list's loop, which goes on once the
    // question is answered: the list is still drawn beneath it
    CHECK(tour.program.WaitMenuGone());
    CHECK(pictures.Exists("e.kpt"));
    CHECK(tour.ListLook(5) == ".v...");
    tour.Dismiss();

    // answered Yes: gone from disk and list; "→" opens the file that followed
    contextMenu(1);
    REQUIRE(PressKeys(nullptr, {'D'}));
    CHECK(tour.Reply(IDYES) == "e.kpt を削除してよろしいですか？");
    CHECK_FALSE(pictures.Exists("e.kpt"));
    CHECK(tour.ListLook(4) == "....");
    tour.Dismiss();
    CHECK(tour.Step(BarNext) == pictures.File("a.kpt"));
    CHECK(tour.ListLook(4) == ".v..");
    tour.Dismiss();

    // after the current file is deleted "←" opens the one before it
    contextMenu(1);
    REQUIRE(PressKeys(nullptr, {'D'}));
    CHECK(tour.Reply(IDYES) == "a.kpt を削除してよろしいですか？");
    CHECK_FALSE(pictures.Exists("a.kpt"));
    CHECK(tour.Step(BarPrevious) == pictures.File("c.kpt"));
    CHECK(tour.Step(BarNext) == pictures.File("d.kpt"));

    // deleting another file keeps the place: c, d, b less c leaves d current
    contextMenu(0);
    REQUIRE(PressKeys(nullptr, {'D'}));
    CHECK(tour.Reply(IDYES) == "c.kpt を削除してよろしいですか？");
    CHECK(tour.ListLook(2) == "v.");
    tour.Dismiss();
    CHECK(tour.Step(BarNext) == pictures.File("b.kpt"));
    CHECK(tour.Step(BarNext) == pictures.File("d.kpt"));
    CHECK_FALSE(pictures.Exists("c.kpt"));
    CHECK(pictures.Exists("b.kpt"));
    CHECK(pictures.Exists("d.kpt"));
}

TEST_CASE("open folder hands the folder of the tour to the shell")
{
    Pictures pictures;
    Tour tour(PicturesIni(pictures, AutoStart(true)).Text());
    ShellHandler folders(tour.recorder, "Folder", nullptr);
    CHECK(tour.Opens([&] { tour.StartFromSearch(); }) == pictures.File("c.kpt"));

    HWND list = nullptr;
    CHECK(tour.ListLook(5, &list) == "v....");
    HMENU menu = reinterpret_cast<HMENU>(Send(list, MN_GETHMENU, 0, 0));
    REQUIRE(menu);
    CHECK(tour.Opens([&] {
        PostMessageA(tour.bar, WM_MENURBUTTONUP, 3, reinterpret_cast<LPARAM>(menu));
        REQUIRE(WaitFor([&] { return tour.Menus() == 2; }));
        REQUIRE(PressKeys(nullptr, {'F'}));
        REQUIRE(tour.program.WaitMenuGone());
    }) == FolderOf(pictures.File("c.kpt")));
    // the list closed without a step
    CHECK(tour.Step(BarNext) == pictures.File("e.kpt"));
    CHECK(tour.program.Opened().size() == 3);
}

TEST_CASE("quick open from the destinations menu leaves the running tour untouched")
{
    Pictures pictures;
    FileFolder quick;
    quick.Add("q.kpt", 10);
    quick.Add("skip.txt", 10);
    IniText ini = PicturesIni(pictures, AutoStart(true));
    ini.Key("TOURNAME2", "Quick")
        .Key("TOURPATH2", quick.Pattern())
        .Key("EXTFILTER2", FileType)
        .Key("INPUTPATH2", 2);
    Tour tour(ini.Text());
    CHECK(tour.Opens([&] { tour.StartFromSearch(); }) == pictures.File("c.kpt"));
    CHECK(tour.Step(BarNext) == pictures.File("e.kpt"));

    // the slot's submenu: "見廻る", a separator, its files
    auto openQuickMenu = [&] {
        HWND menu = tour.OpenMenu(tour.bar, BarDestinations);
        REQUIRE(PressKeys(nullptr, {VK_DOWN, VK_DOWN, VK_RIGHT}));
        REQUIRE(WaitFor([&] { return tour.Menus() == 2; }));
        return menu;
    };
    CHECK(tour.Opens([&] {
        HWND menu = tour.OpenMenu(tour.bar, BarDestinations);
        WaitFor([&] { return MenuLook(menu).size() == 2; });
        CHECK(SaveScreenshot(menu, "destinations-menu"));
        REQUIRE(PressKeys(nullptr, {VK_DOWN, VK_DOWN, VK_RIGHT}));
        REQUIRE(WaitFor([&] { return tour.Menus() == 2; }));
        REQUIRE(PressKeys(nullptr, {VK_END, VK_RETURN}));
    }) == quick.File("q.kpt"));
    CHECK(tour.NoMessageBox());
    CHECK(tour.Step(BarNext) == pictures.File("a.kpt"));
    CHECK(tour.ListLook(5) == "..v..");
    tour.Dismiss();

    // a quick open whose file has gone is reported and grays nothing of the tour
    openQuickMenu();
    REQUIRE(DeleteFileA(quick.File("q.kpt").c_str()));
    REQUIRE(PressKeys(nullptr, {VK_END, VK_RETURN}));
    CHECK(tour.Reply(IDOK) == NotFound + quick.File("q.kpt"));
    CHECK(tour.ListLook(5) == "..v..");
    tour.Dismiss();
    CHECK(tour.Step(BarNext) == pictures.File("d.kpt"));

    // "見廻る" tours the slot, here its one file
    quick.Add("q.kpt", 10);
    CHECK(tour.Opens([&] {
        openQuickMenu();
        REQUIRE(PressKeys(nullptr, {VK_RETURN}));
    }) == quick.File("q.kpt"));
    CHECK(tour.Step(BarNext) == quick.File("q.kpt"));
    CHECK(tour.ListLook(1) == "v");
    tour.Dismiss();
    CHECK(tour.program.Opened().size() == 7);
}

TEST_CASE("the bar position is written on hiding and used at the next start")
{
    Pictures pictures;
    IniText ini = PicturesIni(pictures, AutoStart(false));
    ini.Key("TOURDLG_XPOS", 300).Key("TOURDLG_YPOS", 200);
    std::string settings;
    {
        Tour tour(ini.Text());
        RECT rect{};
        GetWindowRect(tour.bar, &rect);
        CHECK(rect.left == 300);
        CHECK(rect.top == 200);
        tour.StartFromSearch();
        GetWindowRect(tour.bar, &rect);
        CHECK(rect.left == 300);
        CHECK(rect.top == 200);

        // dragged by its background: each move once the last one has been followed
        DWORD thread = GetWindowThreadProcessId(tour.bar, nullptr);
        auto moving = [&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            return GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMOVESIZE);
        };
        POINT from = Background(tour.bar);
        bool started = false;
        for (int attempt = 0; attempt < 3 && !started; ++attempt) {
            SetCursorPos(from.x, from.y);
            SendMouse({MOUSEEVENTF_LEFTDOWN});
            started = WaitFor(moving, 3000);
            if (!started)
                SendMouse({MOUSEEVENTF_LEFTUP});
        }
        REQUIRE(started);
        for (int step = 1; step <= 5; ++step) {
            // a move is sent again when a late event from the X pointer undid it
            auto followed = [&] {
                GetWindowRect(tour.bar, &rect);
                return rect.left == 300 + 30 * step && rect.top == 200 + 20 * step;
            };
            bool moved = false;
            for (int attempt = 0; attempt < 3 && !moved; ++attempt) {
                MoveMouse({from.x + 30 * step, from.y + 20 * step});
                moved = WaitFor(followed, 3000);
            }
            CHECK(moved);
        }
        SendMouse({MOUSEEVENTF_LEFTUP});
        CHECK(WaitFor([&] { return !moving(); }));
        GetWindowRect(tour.bar, &rect);
        CHECK(rect.left == 450);
        CHECK(rect.top == 300);
        CHECK(tour.program.Ini("TOURDLG_XPOS") == "300");

        PostCommand(tour.bar, BarHide);
        CHECK(WaitVisible(tour.bar, false));
        CHECK(WaitFor([&] { return tour.program.Ini("TOURDLG_XPOS") == "450"; }));
        CHECK(tour.program.Ini("TOURDLG_YPOS") == "300");
        settings = tour.SettingsText();
    }

    Tour again(settings);
    RECT rect{};
    GetWindowRect(again.bar, &rect);
    CHECK(rect.left == 450);
    CHECK(rect.top == 300);
    again.StartFromSearch();
    GetWindowRect(again.bar, &rect);
    CHECK(rect.left == 450);
    CHECK(rect.top == 300);
}

TEST_CASE("a destination with no files is reported")
{
    Pictures pictures;
    FileFolder empty;
    IniText ini = PicturesIni(pictures, AutoStart(true));
    ini.Key("TOURNAME3", "Empty").Key("TOURPATH3", empty.Pattern());
    Tour tour(ini.Text());
    CHECK(tour.Opens([&] { tour.StartFromSearch(); }) == pictures.File("c.kpt"));

    // chosen from the search window's destinations menu: slot 1, a separator, slot 3
    REQUIRE(tour.program.Summon());
    REQUIRE(WaitVisible(tour.search, true));
    tour.OpenMenu(tour.search, SearchDestinationsButton);
    REQUIRE(PressKeys(nullptr, {VK_END, VK_RETURN}));
    CHECK(tour.Reply(IDOK) == NoFiles);
    CHECK(WaitVisible(tour.search, false));
    CHECK(WaitVisible(tour.bar, true));
    for (int id : StepButtons)
        CHECK_FALSE(IsEnabled(tour.bar, id));
    CHECK(IsEnabled(tour.bar, BarHide));
    CHECK(IsEnabled(tour.bar, BarDestinations));

    // the old tour is gone: steps, the tour keys and a double click do nothing
    Send(tour.bar, WM_COMMAND, BarNext, 0);
    Send(tour.bar, WM_HOTKEY, KeyNext, 0);
    CHECK(tour.NoMessageBox());
    REQUIRE(BringToFront(tour.bar));
    DoubleClick(Background(tour.bar));
    // input is handled in order: once the menu of a later click on ">" is up, so was the
    // double click
    bool menu = false;
    for (int attempt = 0; attempt < 3 && !menu; ++attempt) {
        ClickOn(GetDlgItem(tour.bar, BarDestinations));
        menu = tour.program.WaitMenu(3000) != nullptr;
    }
    REQUIRE(menu);
    tour.Dismiss();
    CHECK(tour.KeysOff());
    // the search window's tour button starts slot 1 again
    CHECK(tour.Opens([&] { tour.StartFromSearch(); }) == pictures.File("c.kpt"));
    CHECK(tour.program.Opened().size() == 2);
}

TEST_CASE("with the bar shown at start-up slot 1 waits for a step")
{
    Pictures pictures;
    Options options = AutoStart(true);
    options.tourBarShow = 1;
    Tour tour(PicturesIni(pictures, options).Text());
    REQUIRE(WaitVisible(tour.bar, true));
    CHECK(tour.NoMessageBox());
    for (int id : StepButtons)
        CHECK(IsEnabled(tour.bar, id));
    CHECK(tour.Step(BarNext) == pictures.File("c.kpt"));
    CHECK(tour.program.Opened().size() == 1);
}

TEST_CASE("a destination asked each time finds no files when the folder browser is cancelled")
{
    Pictures pictures;
    IniText ini = PicturesIni(pictures, AutoStart(true));
    ini.Key("INPUTPATH1", 1);
    Tour tour(ini.Text());
    REQUIRE(tour.program.Summon());
    REQUIRE(WaitVisible(tour.search, true));
    PostCommand(tour.search, SearchTourButton);
    HWND browser = nullptr;
    REQUIRE(WaitFor([&] {
        for (HWND dialog : tour.program.Dialogs())
            if (IsVisible(dialog) && dialog != tour.search && dialog != tour.bar)
                browser = dialog;
        return browser != nullptr;
    }));
    CHECK(GetWindow(browser, GW_OWNER) == tour.bar);
    bool prompt = false;
    for (HWND child = GetWindow(browser, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT))
        prompt = prompt || Text(child) == "見廻りたいフォルダを選択してください。";
    CHECK(prompt);
    // Wine's folder browser does not select the folder it is given, so OK would return
    // nothing: only the cancelled road is driven here
    Answer(browser, IDCANCEL);
    CHECK(tour.Reply(IDOK) == NoFiles);
    CHECK(WaitVisible(tour.search, false));
    CHECK(WaitVisible(tour.bar, true));
    for (int id : StepButtons)
        CHECK_FALSE(IsEnabled(tour.bar, id));
    CHECK(tour.program.Opened().empty());
}

TEST_CASE("a right click on the bar opens the settings at the destinations page")
{
    Pictures pictures;
    FileFolder second;
    second.Add("s.kpt", 10);
    IniText ini = PicturesIni(pictures, AutoStart(true));
    ini.Key("TOURNAME2", "Second").Key("TOURPATH2", second.Pattern());
    Tour tour(ini.Text());
    CHECK(tour.Opens([&] { tour.StartFromSearch(); }) == pictures.File("c.kpt"));
    // slot 2 chosen from the bar's destinations menu
    CHECK(tour.Opens([&] {
        tour.OpenMenu(tour.bar, BarDestinations);
        REQUIRE(PressKeys(nullptr, {VK_DOWN, VK_DOWN, VK_RETURN}));
    }) == second.File("s.kpt"));

    HWND sheet = tour.RightClickForSheet();
    REQUIRE(sheet);
    CHECK(GetWindow(sheet, GW_OWNER) == tour.bar);
    constexpr int SheetTabs = 0x3020;
    constexpr int DestinationName = 1160;
    CHECK(Send(GetDlgItem(sheet, SheetTabs), TCM_GETCURSEL, 0, 0) == 2);
    HWND page = SheetPage(sheet, DestinationName);
    REQUIRE(page);
    CHECK(ControlText(page, DestinationName) == "Second");
    Answer(sheet, IDCANCEL);
    REQUIRE(WaitFor([&] { return !IsWindow(sheet); }));

    // the running tour goes on, and the sheet opens again
    CHECK(tour.Step(BarNext) == second.File("s.kpt"));
    sheet = tour.RightClickForSheet();
    REQUIRE(sheet);
    Answer(sheet, IDCANCEL);
    REQUIRE(WaitFor([&] { return !IsWindow(sheet); }));
    CHECK(tour.program.Ini("TOURNAME2") == "Second");
}

TEST_CASE("a name too long for its folder is reported and never cut into another name")
{
    FileFolder folder;
    // the first name makes a path of 259 bytes, the longest there is; the second begins
    // with the first
    std::string longest = folder.File("");
    longest = std::string(259 - longest.size() - 4, 'p') + ".kpt";
    std::string longer = longest + ".kpt";
    folder.Add(longest, 10);
    folder.Add(longer, 10);
    REQUIRE(folder.File(longest).size() == 259);
    IniText ini = ResidentIni(AutoStart(false));
    ini.Key("TOURPATH1", folder.Pattern()).Key("EXTFILTER1", FileType);
    Tour tour(ini.Text());
    // a viewer command with conversions besides "%s": they are passed on as they stand
    REQUIRE(tour.SetKey("TOURAPP1", tour.recorder + " %d %n \"%s\""));
    tour.StartFromSearch();

    CHECK(tour.Step(BarNext) == "%d %n \"" + folder.File(longest) + "\"");
    PostCommand(tour.bar, BarNext);
    std::string message = tour.Reply(IDOK);
    CHECK(message.rfind(NotFound, 0) == 0);
    CHECK(message.size() >= longer.size());
    CHECK(message.compare(message.size() - longer.size(), longer.size(), longer) == 0);
    CHECK(tour.ListLook(2) == ".x");
    tour.Dismiss();
    CHECK(tour.Step(BarNext) == "%d %n \"" + folder.File(longest) + "\"");
    CHECK(tour.program.Opened().size() == 2);
    CHECK(tour.program.Running());
}
