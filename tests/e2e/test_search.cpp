#include "e2e.h"

using namespace e2e;

namespace {

constexpr int SearchBox = 1001, SearchButton = 1003, EngineMenuButton = 1007;
constexpr int MoreMenuButton = 1009;

std::string History(int n) { return "HISTORY" + std::to_string(n); }

// The program resident with the given settings, its search window found.
struct Resident {
    explicit Resident(const IniText& ini) : program(ini.Text()), search(program.StartResident())
    {
        REQUIRE(search);
    }

    // Puts the text on the clipboard and presses the hot key, as a user would.
    void SummonWith(const std::string& clipboard)
    {
        REQUIRE(program.ShowSearch(clipboard.c_str()));
        REQUIRE(WaitFor([&] { return GetForegroundWindow() == search; }));
        // ready for typing: the keyboard focus is in the box (its edit field)
        HWND box = GetDlgItem(search, SearchBox);
        CHECK(WaitFor([&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            return GetGUIThreadInfo(GetWindowThreadProcessId(search, nullptr), &info)
                   && (info.hwndFocus == box || GetParent(info.hwndFocus) == box);
        }));
    }

    std::vector<std::string> HistoryKeys() const
    {
        std::vector<std::string> values;
        for (int n = 0; n < 10; ++n)
            values.push_back(program.Ini(History(n)));
        return values;
    }

    Program program;
    HWND search;
};

} // namespace

TEST_CASE("the road of one search and of a query of full length and of HTTP in capitals")
{
    Resident app(ResidentIni());
    std::vector<std::string> opened;
    // The search with function key `key` opens `address`, hides the window, and leaves the
    // query as the newest history entry and back on the clipboard.
    auto search = [&](WORD key, const std::string& query, const std::string& address) {
        REQUIRE(PressKeys(app.search, {key}));
        opened.push_back(address);
        REQUIRE(app.program.WaitOpened(opened.size()));
        CHECK(app.program.Opened() == opened);
        CHECK(WaitVisible(app.search, false));
        CHECK(WaitFor([&] { return app.program.Ini("HISTORY0") == query; }));
        std::string clipboard;
        CHECK(Clipboard(clipboard));
        CHECK(clipboard == query);
    };

    // summoned over another program's window, it comes to the front all the same
    OtherWindow other;
    REQUIRE((other.window.load() && BringToFront(other.window)));
    app.SummonWith("abc 検索");
    CHECK(ControlText(app.search, SearchBox) == "abc 検索");
    CHECK(SaveScreenshot(app.search, "search-window"));
    // something else is copied meanwhile: the search puts the query back
    REQUIRE(SetClipboard("something else"));
    search(VK_F3, "abc 検索", "https://three.test/dict?ie=Shift_JIS&q=abc%20%8c%9f%8d%f5&rate=100%");
    for (int n = 1; n < 10; ++n)
        CHECK(app.program.Ini(History(n)) == "");

    // taken in at 299 bytes, which end on a character boundary here
    std::string text = "abc";
    std::string encoded = "abc";
    for (int n = 0; n < 100; ++n) {
        text += "検索";
        encoded += "%8c%9f%8d%f5";
    }
    app.SummonWith(text);
    CHECK(ControlText(app.search, SearchBox) == text.substr(0, 299));
    search(VK_F1, text.substr(0, 299),
           "http://one.test/search?q=" + encoded.substr(0, 3 + 74 * 12));
    CHECK(app.program.Running());

    // only "http:" as written opens at once
    app.SummonWith("HTTP://example.test/");
    REQUIRE(app.program.Sync());
    CHECK(app.program.Opened() == opened);
    CHECK(ControlText(app.search, SearchBox) == "HTTP://example.test/");
    search(VK_F2, "HTTP://example.test/",
           "https://two.test/images?q=HTTP%3a%2f%2fexample.test%2f&hl=ja");
}

TEST_CASE("an address on the clipboard opens at once and Enter and the search button use the engine of the hot key")
{
    Options options;
    options.hotKey = 0x2000 | 6; // Alt+F7: engine 7
    options.shiftOpen = 1;
    Resident app(ResidentIni(options));
    REQUIRE(SetClipboard("  www.example.test/path?a=1&b=%41 \r\n"));
    REQUIRE(app.program.Summon());
    REQUIRE(app.program.WaitOpened(1));
    REQUIRE(app.program.Sync());
    CHECK(app.program.Opened() ==
          std::vector<std::string>{"http://www.example.test/path?a=1&b=%41"});
    CHECK_FALSE(IsVisible(app.search));
    CHECK(ClipboardEmpty());
    // the emulated Shift was let go again
    CHECK((GetAsyncKeyState(VK_SHIFT) & 0x8000) == 0);
    // an opened address is neither a search nor history
    CHECK(app.program.Ini("HISTORY0") == "<missing>");

    // with the clipboard emptied, the next summons shows the window and opens nothing
    REQUIRE(app.program.Summon());
    REQUIRE(WaitVisible(app.search, true));
    REQUIRE(app.program.Sync());
    CHECK(app.program.Opened().size() == 1);

    app.SummonWith("enter key");
    REQUIRE(PressKeys(app.search, {VK_RETURN}));
    REQUIRE(app.program.WaitOpened(2));
    CHECK(app.program.Opened()[1] == "http://seven.test/?q=enter%20key");
    CHECK(WaitVisible(app.search, false));

    app.SummonWith("button");
    PostCommand(app.search, SearchButton);
    REQUIRE(app.program.WaitOpened(3));
    CHECK(app.program.Opened()[2] == "http://seven.test/?q=button");
    CHECK(WaitVisible(app.search, false));

    // a function key still picks its own engine
    app.SummonWith("five");
    REQUIRE(PressKeys(app.search, {VK_F5}));
    REQUIRE(app.program.WaitOpened(4));
    CHECK(app.program.Opened()[3] == "http://five.test/?q=five");
    CHECK(app.program.Opened().size() == 4);
}

TEST_CASE("the engine menu searches with the engine chosen and one without template leaves the window up")
{
    Resident app(ResidentIni());
    app.SummonWith("beep");
    // F12 has no template; what is typed after it proves the window kept the query
    REQUIRE(PressKeys(app.search, {VK_F12, VK_END, '2'}));
    REQUIRE(WaitFor([&] { return ControlText(app.search, SearchBox) == "beep2"; }));
    CHECK(IsVisible(app.search));
    CHECK(app.program.Opened().empty());
    CHECK(app.program.Ini("HISTORY0") == "<missing>");

    // the same engine chosen from the engine menu: its last item
    PostCommand(app.search, EngineMenuButton);
    REQUIRE(app.program.WaitMenu());
    REQUIRE(PressKeys(nullptr, {VK_END, VK_RETURN}));
    REQUIRE(app.program.WaitMenuGone());
    REQUIRE(PressKeys(app.search, {VK_END, '3'}));
    REQUIRE(WaitFor([&] { return ControlText(app.search, SearchBox) == "beep23"; }));
    CHECK(IsVisible(app.search));
    CHECK(app.program.Opened().empty());

    // Enter belongs to the menu here, not to the search window's default engine
    PostCommand(app.search, EngineMenuButton);
    REQUIRE(app.program.WaitMenu());
    REQUIRE(PressKeys(nullptr, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}));
    REQUIRE(app.program.WaitOpened(1));
    CHECK(app.program.Opened() == std::vector<std::string>{"http://five.test/?q=beep23"});
    CHECK(WaitVisible(app.search, false));
}

TEST_CASE("the history drops duplicates ignoring case and keeps ten until it is cleared")
{
    std::vector<std::string> start = {"q0", "q1", "word", "q3", "q4",
                                      "q5", "q6", "q7",   "q8", "q9"};
    IniText ini = ResidentIni();
    for (int n = 0; n < 10; ++n)
        ini.Key(History(n), start[n]);
    Resident app(ini);

    app.SummonWith("WORD");
    CHECK(ComboItems(app.search, SearchBox) == start);
    REQUIRE(PressKeys(app.search, {VK_F1}));
    REQUIRE(app.program.WaitOpened(1));
    CHECK(app.program.Opened()[0] == "http://one.test/search?q=WORD");
    std::vector<std::string> first = {"WORD", "q0", "q1", "q3", "q4",
                                      "q5",   "q6", "q7", "q8", "q9"};
    CHECK(WaitFor([&] { return app.HistoryKeys() == first; }));
    CHECK(app.HistoryKeys() == first); // shows them when they differ

    app.SummonWith("new");
    CHECK(ComboItems(app.search, SearchBox) == first);
    REQUIRE(PressKeys(app.search, {VK_F1}));
    REQUIRE(app.program.WaitOpened(2));
    std::vector<std::string> second = {"new", "WORD", "q0", "q1", "q3",
                                       "q4",  "q5",   "q6", "q7", "q8"};
    CHECK(WaitFor([&] { return app.HistoryKeys() == second; }));
    CHECK(app.HistoryKeys() == second);
    REQUIRE(WaitVisible(app.search, false));

    // nothing taken in: the newest entry is offered
    REQUIRE(app.program.ShowSearch());
    CHECK(ControlText(app.search, SearchBox) == "new");
    CHECK(ComboItems(app.search, SearchBox) == second);

    PostCommand(app.search, MoreMenuButton);
    REQUIRE(app.program.WaitMenu());
    // the item's mnemonic: "履歴を削除する(&D)"
    REQUIRE(PressKeys(nullptr, {'D'}));
    REQUIRE(app.program.WaitMenuGone());
    // the keys are written one by one: wait for the last of them
    CHECK(WaitFor([&] { return app.HistoryKeys() == std::vector<std::string>(10, ""); }));
    REQUIRE(app.program.Sync());
    CHECK(ComboItems(app.search, SearchBox).empty());
    CHECK(ControlText(app.search, SearchBox) == "new");
    CHECK(IsVisible(app.search));

    // the next summons finds no history to offer
    REQUIRE(PressKeys(app.search, {VK_ESCAPE}));
    REQUIRE(WaitVisible(app.search, false));
    REQUIRE(app.program.ShowSearch());
    CHECK(ComboItems(app.search, SearchBox).empty());
}
