// Tours over files whose names hold characters code page 932 has no place for: each is opened,
// listed, deleted and renumbered by its exact name. Names and what the recorder logs are
// compared in UTF-8; such names never stand inside a check's own text, which is code page 932.
#include "e2e.h"

#include <prsht.h>

#include <algorithm>

using namespace e2e;

namespace {

constexpr int SearchSettings = 1005, SearchTour = 1006;
constexpr int BarDestinations = 1014, BarNext = 1120, BarList = 1123;
constexpr int DestinationsPage = 2, OrderButton = 1205, OrderList = 1207, OrderRelease = 1009;
const char OrderCaption[] = "ファイル閲覧の順番";
const char NoFolder[] = "見廻り先のフォルダが見つかりません。\n";
constexpr POINT MenuSpot = {400, 300};

// The four names of a new user's folder, and "cafe.jpg", which is what the ANSI listing made
// of "café.jpg": the wrong file to open or delete.
const wchar_t* const Names[] = {L"写真😀.jpg", L"café.jpg", L"사진.jpg", L"普通.jpg", L"cafe.jpg"};

using Texts = std::vector<std::string>;

Texts Sorted(Texts texts)
{
    std::sort(texts.begin(), texts.end());
    return texts;
}

std::string Utf8(const std::wstring& text)
{
    char out[4096] = "";
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out, sizeof out, nullptr, nullptr);
    return out;
}

// A text of another process's window, asked for wide (`get` with `index`), as UTF-8: the ANSI
// form would lose such names.
std::string WideText(HWND window, UINT get = WM_GETTEXT, WPARAM index = 2048)
{
    wchar_t text[2048] = L"";
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, get, index, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, Patience,
                        &length);
    return Utf8(text);
}

// Waits for the program's message box, answers it and returns its text (control 0xFFFF).
std::string Reply(const Program& program, int button)
{
    HWND box = program.WaitMessageBox();
    if (!box)
        return "<no message box>";
    std::string text = WideText(GetDlgItem(box, 0xFFFF));
    Answer(box, button);
    return WaitGone(box) ? text : "<not closed> " + text;
}

Texts WideItems(HWND dialog, int id)
{
    Texts items;
    for (LRESULT i = 0, count = Send(GetDlgItem(dialog, id), LB_GETCOUNT, 0, 0); i < count; ++i)
        items.push_back(WideText(GetDlgItem(dialog, id), LB_GETTEXT, i));
    return items;
}

// A folder of empty files made by their UTF-16 names; removed with them at the end.
class WideFolder {
public:
    explicit WideFolder(std::initializer_list<const wchar_t*> names)
    {
        wchar_t temp[MAX_PATH] = L"";
        GetTempPathW(MAX_PATH, temp);
        static int serial;
        path_ = temp + (L"kirapick-names-" + std::to_wstring(GetTickCount()) + L"-"
                        + std::to_wstring(++serial));
        REQUIRE(CreateDirectoryW(path_.c_str(), nullptr));
        for (const wchar_t* name : names)
            CloseHandle(CreateFileW(File(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0,
                                    nullptr));
        REQUIRE(State().size() == names.size());
    }
    ~WideFolder()
    {
        for (const std::wstring& name : Files())
            DeleteFileW(File(name).c_str());
        RemoveDirectoryW(path_.c_str());
    }
    std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
    // the folder as the settings file names it: code page 932, here plain ASCII
    std::string Pattern(const char* mask) const
    {
        char ansi[MAX_PATH] = "";
        WideCharToMultiByte(CP_ACP, 0, path_.c_str(), -1, ansi, sizeof ansi, nullptr, nullptr);
        return ansi + std::string("\\") + mask;
    }
    std::vector<std::wstring> Files() const
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(File(L"*").c_str(), &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        return names;
    }
    // the names of its files in UTF-8, sorted
    Texts State() const
    {
        Texts names;
        for (const std::wstring& name : Files())
            names.push_back(Utf8(name));
        return Sorted(names);
    }

private:
    std::wstring path_;
};

Texts AllNames()
{
    Texts names;
    for (const wchar_t* name : Names)
        names.push_back(Utf8(name));
    return Sorted(names);
}

// The program resident with the settings given and the recorder as every slot's viewer.
struct Resident {
    explicit Resident(IniText ini) : program(ini.Text())
    {
        const std::string viewer = program.Folder() + "\\recorder.exe \"%s\"";
        for (const char* key : {"TOURAPP1", "TOURAPP2"})
            SetKey(key, viewer);
        SetCursorPos(1260, 1000);
        REQUIRE(program.Start());
        REQUIRE((search = program.WaitSearchWindow()) != nullptr);
        REQUIRE(WaitFor([&] {
            for (HWND dialog : program.Dialogs())
                if (GetDlgItem(dialog, BarNext))
                    bar = dialog;
            return bar != nullptr;
        }));
    }
    void SetKey(const char* key, const std::string& value) const
    {
        REQUIRE(WritePrivateProfileStringA(UserSection().c_str(), key, value.c_str(),
                                           (program.Folder() + "\\kirapick.ini").c_str()));
    }
    // The menus of the program on screen.
    int Menus() const
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(bar, &pid);
        std::vector<HWND> menus = TopLevelWindows(pid, "#32768");
        return static_cast<int>(std::count_if(menus.begin(), menus.end(), IsVisible));
    }
    // The search window's tour button: slot 1. The bar shows once its tour has started,
    // after any message of the start has been answered.
    void PressTourButton()
    {
        REQUIRE(program.Summon());
        REQUIRE(WaitVisible(search, true));
        PostCommand(search, SearchTour);
    }
    // What the viewer got for `action`, in UTF-8.
    template <typename F> std::string Opens(F action)
    {
        size_t before = program.Opened().size();
        action();
        return program.WaitOpened(before + 1) ? program.Opened().back() : "<nothing opened>";
    }
    HWND OpenMenu(HWND owner, int button)
    {
        REQUIRE(BringToFront(owner));
        SetCursorPos(MenuSpot.x, MenuSpot.y);
        PostCommand(owner, button);
        HWND menu = program.WaitMenu();
        REQUIRE(menu);
        return menu;
    }
    // Item `n` of the "*" list.
    void Choose(int n)
    {
        OpenMenu(bar, BarList);
        std::vector<WORD> keys(static_cast<size_t>(n) + 1, VK_DOWN);
        keys.push_back(VK_RETURN);
        REQUIRE(PressKeys(nullptr, keys));
        REQUIRE(program.WaitMenuGone());
    }
    // The settings sheet from the search window, at the destinations page.
    HWND DestinationsPageOpened(HWND& sheet)
    {
        REQUIRE(program.Summon());
        REQUIRE(WaitVisible(search, true));
        PostCommand(search, SearchSettings);
        REQUIRE((sheet = program.WaitSheet()) != nullptr);
        Send(sheet, PSM_SETCURSEL, DestinationsPage, 0);
        HWND page = reinterpret_cast<HWND>(Send(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        REQUIRE(page);
        REQUIRE(WaitVisible(page, true));
        return page;
    }

    Program program;
    HWND search = nullptr;
    HWND bar = nullptr;
};

} // namespace

TEST_CASE("a tour over names beyond code page 932 opens and deletes and quick-opens each by its exact name")
{
    WideFolder folder{Names[0], Names[1], Names[2], Names[3], Names[4], L"사진.txt"};
    WideFolder quick{L"写真😀.jpg"};
    Options options;
    options.tourAutoStart = 1;
    IniText ini = ResidentIni(options);
    ini.Key("TOURNAME1", "名前").Key("TOURPATH1", folder.Pattern("*.*")).Key("EXTFILTER1", ".jpg")
        .Key("TOURNAME2", "すぐ開く").Key("TOURPATH2", quick.Pattern("*.jpg")).Key("INPUTPATH2", 3);
    Resident app(ini);

    // the first file at once, then every other by "→": each exactly once, by its own name
    std::vector<std::string> tour = {app.Opens([&] { app.PressTourButton(); })};
    REQUIRE(WaitVisible(app.bar, true));
    for (int step = 1; step < 5; ++step)
        tour.push_back(app.Opens([&] { PostCommand(app.bar, BarNext); }));
    Texts paths;
    for (const wchar_t* name : Names)
        paths.push_back(Utf8(folder.File(name)));
    CHECK(Sorted(tour) == Sorted(paths));

    // the "*" list holds them in that order
    CHECK(app.Opens([&] { app.Choose(2); }) == tour[2]);

    // deleting "café.jpg" asks with its name whole and removes exactly that file
    const std::string cafe = Utf8(Names[1]);
    const auto at = std::find(tour.begin(), tour.end(), Utf8(folder.File(Names[1])));
    REQUIRE(at != tour.end());
    HWND list = app.OpenMenu(app.bar, BarList);
    HMENU items = reinterpret_cast<HMENU>(Send(list, MN_GETHMENU, 0, 0));
    REQUIRE(items);
    // Wine sends no WM_MENURBUTTONUP for a right click in a menu: posted as Windows sends it
    PostMessageA(app.bar, WM_MENURBUTTONUP, static_cast<WPARAM>(at - tour.begin()),
                 reinterpret_cast<LPARAM>(items));
    REQUIRE(WaitFor([&] { return app.Menus() == 2; }));
    REQUIRE(PressKeys(nullptr, {'D'}));
    CHECK(Reply(app.program, IDYES) == cafe + u8" を削除してよろしいですか？");
    REQUIRE(app.program.WaitMenuGone());
    Texts left = AllNames();
    left.erase(std::find(left.begin(), left.end(), cafe));
    left.push_back(u8"사진.txt");
    CHECK(folder.State() == Sorted(left));
    tour.erase(at);

    // a file gone behind the program's back is reported by its whole path
    const auto gone = std::find(tour.begin(), tour.end(), Utf8(folder.File(Names[0])));
    REQUIRE(gone != tour.end());
    REQUIRE(DeleteFileW(folder.File(Names[0]).c_str()));
    app.Choose(static_cast<int>(gone - tour.begin()));
    CHECK(Reply(app.program, IDOK) == u8"ファイルが見つかりません。\n" + *gone);

    // quick open: slot 2's one file, from the bar's destinations menu
    const std::string quickFile = Utf8(quick.File(L"写真😀.jpg"));
    CHECK(app.Opens([&] {
        app.OpenMenu(app.bar, BarDestinations);
        REQUIRE(PressKeys(nullptr, {VK_DOWN, VK_DOWN, VK_RIGHT}));
        REQUIRE(WaitFor([&] { return app.Menus() == 2; }));
        REQUIRE(PressKeys(nullptr, {VK_RETURN}));
    }) == quickFile);
    CHECK(app.program.Opened().size() == 7);
}

TEST_CASE("the order dialog numbers names beyond code page 932 and release takes the numbers off")
{
    WideFolder folder{Names[0], Names[1], Names[2], Names[3], Names[4]};
    IniText ini = ResidentIni();
    ini.Key("TOURNAME1", "整理").Key("TOURPATH1", folder.Pattern("*.*")).Key("EXTFILTER1", ".jpg");
    Resident app(ini);
    HWND sheet = nullptr;
    HWND page = app.DestinationsPageOpened(sheet);

    PostCommand(page, OrderButton); // posted: the dialog runs its own loop
    HWND dialog = app.program.WaitDialog(OrderCaption);
    REQUIRE(dialog);
    const Texts listed = WideItems(dialog, OrderList);
    CHECK(Sorted(listed) == AllNames());
    Answer(dialog, IDOK);
    REQUIRE(WaitGone(dialog));
    std::vector<std::string> numbered;
    for (size_t i = 0; i < listed.size(); ++i)
        numbered.push_back("[0" + std::to_string(i + 1) + "] " + listed[i]);
    CHECK(folder.State() == Sorted(numbered));

    PostCommand(page, OrderButton);
    REQUIRE((dialog = app.program.WaitDialog(OrderCaption)) != nullptr);
    CHECK(WideItems(dialog, OrderList) == numbered);
    PostCommand(dialog, OrderRelease);
    CHECK(app.program.AnswerMessage(IDYES) == "ファイルの順番付けを解除しますか？");
    REQUIRE(WaitGone(dialog));
    CHECK(folder.State() == AllNames());
    Answer(sheet, IDCANCEL);
    REQUIRE(WaitGone(sheet));
}

TEST_CASE("a pattern without a folder of its own lists nothing and touches nothing")
{
    // the program's current folder is its own; the root of its drive is the other place the
    // names of such a listing were looked for
    IniText ini = ResidentIni();
    ini.Key("TOURNAME1", "相対").Key("TOURPATH1", "*.jpg");
    Resident app(ini);
    struct Victim {
        std::string path;
        ~Victim() { DeleteFileA(path.c_str()); }
    } here{app.program.Folder() + "\\kirapick-victim.jpg"}, root{"C:\\kirapick-victim.jpg"};
    REQUIRE(WriteFileText(here.path, "here"));
    REQUIRE(WriteFileText(root.path, "root"));

    for (const std::string pattern : {"*.jpg", "C:*.jpg", "\\*.jpg"}) {
        INFO(pattern);
        app.SetKey("TOURPATH1", pattern);
        app.PressTourButton();
        const std::string said = app.program.AnswerMessage();
        CHECK(said.compare(0, sizeof NoFolder - 1, NoFolder) == 0);
        CHECK(said.find(pattern) != std::string::npos);
        CHECK(WaitVisible(app.bar, true));
        CHECK_FALSE(IsWindowEnabled(GetDlgItem(app.bar, BarNext)));
    }
    // nor does the order button number anything there
    HWND sheet = nullptr;
    HWND page = app.DestinationsPageOpened(sheet);
    PostCommand(page, OrderButton);
    CHECK(app.program.AnswerMessage().compare(0, sizeof NoFolder - 1, NoFolder) == 0);
    CHECK_FALSE(app.program.WaitDialog(OrderCaption, 0));
    Answer(sheet, IDCANCEL);
    REQUIRE(WaitGone(sheet));

    REQUIRE(app.program.Sync());
    CHECK(app.program.Opened().empty());
    std::string text;
    CHECK((ReadFileText(here.path, text) && text == "here"));
    CHECK((ReadFileText(root.path, text) && text == "root"));
}
