#include "e2e.h"

using namespace e2e;

namespace {

constexpr int SearchBox = 1001;
constexpr int SearchButton = 1003;
constexpr int EngineMenuButton = 1007;
constexpr int MoreMenuButton = 1009;

std::string History(int n) { return "HISTORY" + std::to_string(n); }

// The program resident with the given settings, its search window found.
struct Resident {
    explicit Resident(const IniText& ini) : program(ini.Text())
    {
        REQUIRE(program.Start());
        search = program.WaitSearchWindow();
        REQUIRE(search);
    }

    // Puts the text on the clipboard and presses the hot key, as a user would.
    void SummonWith(const std::string& clipboard)
    {
        REQUIRE(SetClipboard(clipboard));
        REQUIRE(program.Summon());
        REQUIRE(WaitVisible(search, true));
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
    HWND search = nullptr;
};

IniText WithHistory(const std::vector<std::string>& entries, const Options& options = Options())
{
    IniText ini = ResidentIni(options);
    for (size_t n = 0; n < entries.size(); ++n)
        ini.Key(History(static_cast<int>(n)), entries[n]);
    return ini;
}

} // namespace

TEST_CASE("the road of one search")
{
    Resident app(ResidentIni());
    // summoned over another program's window, it comes to the front all the same
    OtherWindow other;
    REQUIRE((other.window.load() && BringToFront(other.window)));
    app.SummonWith("abc 検索");
    CHECK(ControlText(app.search, SearchBox) == "abc 検索");
    CHECK(SaveScreenshot(app.search, "search-window"));

    // something else is copied meanwhile: the search puts the query back
    REQUIRE(SetClipboard("something else"));
    REQUIRE(PressKeys(app.search, {VK_F3}));
    REQUIRE(app.program.WaitOpened(1));
    CHECK(app.program.Opened() == std::vector<std::string>{
              "https://three.test/dict?ie=Shift_JIS&q=abc%20%8c%9f%8d%f5&rate=100%"});
    CHECK(WaitVisible(app.search, false));
    CHECK(WaitFor([&] { return app.program.Ini("HISTORY0") == "abc 検索"; }));
    for (int n = 1; n < 10; ++n)
        CHECK(app.program.Ini(History(n)) == "");
    std::string clipboard;
    CHECK(Clipboard(clipboard));
    CHECK(clipboard == "abc 検索");
}

TEST_CASE("a query of full length reaches the browser whole")
{
    std::string text = "abc";
    std::string encoded = "abc";
    for (int n = 0; n < 100; ++n) {
        text += "検索";
        encoded += "%8c%9f%8d%f5";
    }
    // taken in at 299 bytes, which end on a character boundary here
    std::string query = text.substr(0, 299);
    std::string address = "http://one.test/search?q=" + encoded.substr(0, 3 + 74 * 12);

    Resident app(ResidentIni());
    app.SummonWith(text);
    CHECK(ControlText(app.search, SearchBox) == query);
    REQUIRE(PressKeys(app.search, {VK_F1}));
    REQUIRE(app.program.WaitOpened(1));
    CHECK(app.program.Opened() == std::vector<std::string>{address});
    CHECK(WaitFor([&] { return app.program.Ini("HISTORY0") == query; }));
    std::string clipboard;
    CHECK(Clipboard(clipboard));
    CHECK(clipboard == query);
    CHECK(app.program.Running());
}

TEST_CASE("Enter and the search button use the engine of the hot key")
{
    Options options;
    options.hotKey = 0x2000 | 6; // Alt+F7: engine 7
    Resident app(ResidentIni(options));

    app.SummonWith("enter key");
    REQUIRE(PressKeys(app.search, {VK_RETURN}));
    REQUIRE(app.program.WaitOpened(1));
    CHECK(app.program.Opened()[0] == "http://seven.test/?q=enter%20key");
    CHECK(WaitVisible(app.search, false));

    app.SummonWith("button");
    PostCommand(app.search, SearchButton);
    REQUIRE(app.program.WaitOpened(2));
    CHECK(app.program.Opened()[1] == "http://seven.test/?q=button");
    CHECK(WaitVisible(app.search, false));

    // a function key still picks its own engine
    app.SummonWith("five");
    REQUIRE(PressKeys(app.search, {VK_F5}));
    REQUIRE(app.program.WaitOpened(3));
    CHECK(app.program.Opened()[2] == "http://five.test/?q=five");
    CHECK(app.program.Opened().size() == 3);
}

TEST_CASE("an address on the clipboard opens at once")
{
    Options options;
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
}

TEST_CASE("HTTP in capitals is searched and not opened")
{
    Resident app(ResidentIni());
    app.SummonWith("HTTP://example.test/");
    REQUIRE(app.program.Sync());
    CHECK(app.program.Opened().empty());
    CHECK(ControlText(app.search, SearchBox) == "HTTP://example.test/");

    REQUIRE(PressKeys(app.search, {VK_F2}));
    REQUIRE(app.program.WaitOpened(1));
    CHECK(app.program.Opened()[0] ==
          "https://two.test/images?q=HTTP%3a%2f%2fexample.test%2f&hl=ja");
    CHECK(WaitVisible(app.search, false));
    CHECK(WaitFor([&] { return app.program.Ini("HISTORY0") == "HTTP://example.test/"; }));
}

TEST_CASE("an engine without template leaves the window up")
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

    // and the window still searches
    REQUIRE(PressKeys(app.search, {VK_F1}));
    REQUIRE(app.program.WaitOpened(1));
    CHECK(app.program.Opened() == std::vector<std::string>{"http://one.test/search?q=beep23"});
}

TEST_CASE("the engine menu chosen with the keyboard searches with that engine")
{
    Resident app(ResidentIni());
    app.SummonWith("menu");
    PostCommand(app.search, EngineMenuButton);
    REQUIRE(app.program.WaitMenu());
    // Enter belongs to the menu here, not to the search window's default engine
    REQUIRE(PressKeys(nullptr, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}));
    REQUIRE(app.program.WaitOpened(1));
    CHECK(app.program.Opened() == std::vector<std::string>{"http://five.test/?q=menu"});
    CHECK(WaitVisible(app.search, false));
}

TEST_CASE("the history drops duplicates ignoring case and keeps ten")
{
    std::vector<std::string> start = {"q0", "q1", "word", "q3", "q4",
                                      "q5", "q6", "q7",   "q8", "q9"};
    Resident app(WithHistory(start));

    app.SummonWith("WORD");
    CHECK(ComboItems(app.search, SearchBox) == start);
    REQUIRE(PressKeys(app.search, {VK_F1}));
    REQUIRE(app.program.WaitOpened(1));
    CHECK(app.program.Opened()[0] == "http://one.test/search?q=WORD");
    std::vector<std::string> first = {"WORD", "q0", "q1", "q3", "q4",
                                      "q5",   "q6", "q7", "q8", "q9"};
    CHECK(WaitFor([&] { return app.HistoryKeys() == first; }));
    CHECK(app.HistoryKeys() == first);

    app.SummonWith("new");
    CHECK(ComboItems(app.search, SearchBox) == first);
    REQUIRE(PressKeys(app.search, {VK_F1}));
    REQUIRE(app.program.WaitOpened(2));
    std::vector<std::string> second = {"new", "WORD", "q0", "q1", "q3",
                                       "q4",  "q5",   "q6", "q7", "q8"};
    CHECK(WaitFor([&] { return app.HistoryKeys() == second; }));
    CHECK(app.HistoryKeys() == second);
}

TEST_CASE("clearing the history")
{
    Resident app(WithHistory({"eins", "zwei", "drei"}));
    REQUIRE(ClearClipboard());
    REQUIRE(app.program.Summon());
    REQUIRE(WaitVisible(app.search, true));
    // nothing taken in: the newest entry is offered
    CHECK(ControlText(app.search, SearchBox) == "eins");
    CHECK(ComboItems(app.search, SearchBox) == std::vector<std::string>{"eins", "zwei", "drei"});

    PostCommand(app.search, MoreMenuButton);
    REQUIRE(app.program.WaitMenu());
    // the item's mnemonic: "履歴を削除する(&D)"
    REQUIRE(PressKeys(nullptr, {'D'}));
    REQUIRE(app.program.WaitMenuGone());
    // the keys are written one by one: wait for the last of them
    CHECK(WaitFor([&] { return app.HistoryKeys() == std::vector<std::string>(10, ""); }));
    REQUIRE(app.program.Sync());
    CHECK(ComboItems(app.search, SearchBox).empty());
    CHECK(ControlText(app.search, SearchBox) == "eins");
    CHECK(IsVisible(app.search));

    // the next summons finds no history to offer
    REQUIRE(PressKeys(app.search, {VK_ESCAPE}));
    REQUIRE(WaitVisible(app.search, false));
    REQUIRE(app.program.Summon());
    REQUIRE(WaitVisible(app.search, true));
    CHECK(ComboItems(app.search, SearchBox).empty());
}
