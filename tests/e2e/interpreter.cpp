// Runs one scenario of tests/e2e/scenarios.txt (beside this program), which says what each
// step means: e2e_tests <scenario name>. Every check waits until it holds or Patience is over;
// the first step that fails ends the scenario with its line and what was seen instead.
#include "driver.h"

#include <commctrl.h>
#include <prsht.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>

using namespace e2e;

namespace {

using Words = std::vector<std::string>;
struct Failure { std::string what; };
void Require(bool ok, const std::string& what)
{
    if (!ok)
        throw Failure{what};
}

const char Title[] = "キラピック！";
const char RunonceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Runonce";
constexpr int HistoryBox = 1001;

std::string Convert(const std::string& text, UINT from, UINT to)
{
    std::wstring wide(text.size() + 1, L'\0');
    wide.resize(MultiByteToWideChar(from, 0, text.data(), static_cast<int>(text.size()), &wide[0], static_cast<int>(wide.size())));
    std::string out(wide.size() * 3 + 1, '\0');
    out.resize(WideCharToMultiByte(to, 0, wide.data(), static_cast<int>(wide.size()), &out[0], static_cast<int>(out.size()), nullptr, nullptr));
    return out;
}

// Blanks between words count once; other separators always.
Words Split(const std::string& text, char separator)
{
    Words words;
    for (size_t start = 0, end; start <= text.size(); start = end + 1)
        if ((end = std::min(text.find(separator, start), text.size())) > start || separator != ' ')
            words.push_back(text.substr(start, end - start));
    return words;
}

std::string Join(const Words& words, const char* separator)
{
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() && &word == &words[0] ? "" : separator) + word;
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

void PostCommand(HWND window, int id)
{
    PostMessageA(window, WM_COMMAND, id, reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

// The message of a message box, a page or the folder browser: its first static text.
std::string MessageText(HWND window)
{
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == "Static" && !Text(child).empty())
            return Text(child);
    return "";
}

// The entries of a combo box or list box. Wine hands the ANSI CB_GETLBTEXT and LB_GETTEXT
// across processes cut after one character: the wide ones arrive whole.
Words Items(HWND box)
{
    bool combo = ClassOf(box) == "ComboBox";
    Words items;
    for (LRESULT i = 0, n = Send(box, combo ? CB_GETCOUNT : LB_GETCOUNT); i < n; ++i) {
        wchar_t item[1200] = L"";
        char ansi[2400] = "";
        DWORD_PTR ignored;
        if (Send(box, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i) < 1200)
            SendMessageTimeoutW(box, combo ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(item), SMTO_NORMAL, Patience, &ignored);
        WideCharToMultiByte(CP_ACP, 0, item, -1, ansi, sizeof ansi, nullptr, nullptr);
        items.push_back(ansi);
    }
    return items;
}

// The GUI state of a window's thread: its focus, whether it is moving a window.
GUITHREADINFO ThreadOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info;
}

// What a user sees of an open menu's rows, a character a row: '.' an item, 'v' the check
// mark, 'g' a grayed item, 'x' a grayed one with the mark. Wine lets no other process read a
// menu's items, so the screen is read: each item's text is a band of rows holding ink.
std::string MenuLook(HWND menu)
{
    RECT rect{};
    std::string bits, look;
    int width = 0, height = 0;
    if (!GetWindowRect(menu, &rect) || !GrabScreen(rect, bits, width, height))
        return "<no picture>";
    const int edge = 3, textLeft = edge + GetSystemMetrics(SM_CXMENUCHECK) + 2;
    auto ink = [&](int y, int from, int to, unsigned below) { // darker than `below` in that row
        for (int x = from; x < to; ++x) {
            auto p = reinterpret_cast<const unsigned char*>(&bits[(height - 1 - y) * ((width * 3 + 3) & ~3) + x * 3]);
            if ((p[2] * 299u + p[1] * 587u + p[0] * 114u) / 1000 < below)
                return true;
        }
        return false;
    };
    std::vector<std::pair<int, int>> bands;
    for (int y = edge; y < height - edge; ++y)
        if (ink(y, textLeft, width - edge, 200)) {
            if (bands.empty() || bands.back().second != y)
                bands.push_back({y, y});
            bands.back().second = y + 1;
        }
    for (size_t i = 0; i < bands.size(); ++i) {
        bool black = false, mark = false;
        for (int y = bands[i].first; y < bands[i].second; ++y)
            black = black || ink(y, textLeft, width - edge, 80);
        for (int y = i ? (bands[i - 1].second + bands[i].first) / 2 : edge;
             y < (i + 1 < bands.size() ? (bands[i].second + bands[i + 1].first) / 2 : height - edge); ++y)
            mark = mark || ink(y, edge, textLeft, 200);
        look += mark ? (black ? 'v' : 'x') : (black ? '.' : 'g');
    }
    return look;
}

// Gives mouse input at `spot`, as the hand gives it, until `done` holds, three times at most:
// it can land where the X pointer was left behind.
template <typename D> bool Mouse(POINT spot, std::vector<DWORD> flags, D done)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        SetCursorPos(spot.x, spot.y);
        for (DWORD flag : flags) {
            INPUT input{};
            input.type = INPUT_MOUSE;
            input.mi = {MulDiv(spot.x, 65536, GetSystemMetrics(SM_CXSCREEN)), MulDiv(spot.y, 65536, GetSystemMetrics(SM_CYSCREEN)),
                        0, flag | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, 0};
            SendInput(1, &input, sizeof input);
        }
        if (WaitFor(done, 3000))
            return true;
    }
    return false;
}

class Scenario {
public:
    Scenario(std::map<std::string, int> ids, std::map<std::string, Words> blocks)
        : ids_(std::move(ids)), blocks_(std::move(blocks)) { Use(""); }
    ~Scenario();
    void Step(const std::string& line);

private:
    void Use(const std::string& existing);
    std::string Expand(const std::string& raw) const;
    int Id(const std::string& word) const { return ids_.count(word) ? ids_.at(word) : atoi(word.c_str()); }
    HWND Find(const std::string& name) const;
    HWND Win(const std::string& name) const;
    std::string Read(const Words& what);
    std::string Ini(const char* file, const std::string& section, const std::string& key) const;
    HWND FindBox(bool answeredToo = false) const;
    template <typename F> bool Until(F done);
    bool Settled(const char* menuButton);
    void StartAuto();
    void Round(const Words& expect);
    void Damaged(const std::string& key, Words expect);
    void Race(int pairs);
    std::string Opens(const std::function<void()>& action);

    std::map<std::string, int> ids_;
    std::map<std::string, Words> blocks_;
    std::map<std::string, std::string> vars_;
    std::unique_ptr<Program> program_;
    std::unique_ptr<OtherWindow> other_;
    std::string snapshot_;    // of the settings file
    size_t seen_ = 0;         // addresses of opened.log already checked
    HWND page_ = nullptr;
    Words said_;              // what the message boxes the driver answered said
    std::vector<HWND> boxes_; // and those boxes
    std::map<std::string, HANDLE> held_;
    Words keys_, folders_;    // registry keys and folders to remove at the end
    int crashHandlers_ = CountProcesses("winedbg.exe"); // Wine starts one when a program crashes
};

Scenario::~Scenario()
{
    other_.reset();
    program_.reset();
    for (auto& held : held_)
        CloseHandle(held.second);
    for (const std::string& key : keys_)
        RegDeleteTreeA(HKEY_CLASSES_ROOT, key.c_str());
    for (const std::string& folder : folders_)
        RemoveFolder(folder), RemoveFolder(folder + "-away");
}

void Scenario::Use(const std::string& existing)
{
    program_.reset(new Program(existing));
    vars_["prog"] = program_->folder;
    vars_["rec"] = program_->recorder;
    vars_["exe"] = program_->exe;
}

// Scenario text is UTF-8, the program's code page 932. $name is a variable; {N*text} the text
// N times, "##" in it the count from 00; {N|c} c until the word is N bytes long; \n, \r, \t,
// \xHH and \\ the bytes they stand for.
std::string Scenario::Expand(const std::string& raw) const
{
    std::string out, literal;
    auto flush = [&] { out += Convert(literal, CP_UTF8, CP_ACP), literal.clear(); };
    for (size_t i = 0; i < raw.size(); ++i) {
        size_t close = raw.find('}', i), star = raw.find('*', i), bar = raw.find('|', i);
        if (raw[i] == '$') {
            size_t end = std::min(raw.find_first_not_of("abcdefghijklmnopqrstuvwxyz", i + 1), raw.size());
            Require(vars_.count(raw.substr(i + 1, end - i - 1)) > 0, "no variable in " + raw);
            flush();
            out += vars_.at(raw.substr(i + 1, end - i - 1));
            i = end - 1;
        } else if (raw[i] == '{' && std::min(star, bar) < close) {
            flush();
            for (int n = 0, count = atoi(&raw[i + 1]); n < count; ++n) {
                std::string text = raw.substr(star + 1, close - star - 1);
                for (size_t at; star < bar && (at = text.find("##")) != std::string::npos;)
                    text.replace(at, 2, std::to_string(100 + n).substr(1));
                out = star < bar ? out + Expand(text) : out.size() < size_t(count) ? out + raw[bar + 1] : out;
            }
            i = close;
        } else if (raw[i] == '\\' && i + 1 < raw.size() && strchr("nrtx\\", raw[i + 1])) {
            flush();
            const char c = raw[++i];
            out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c == '\\' ? '\\' : char(strtol(raw.substr(i + 1, 2).c_str(), nullptr, 16));
            i += c == 'x' ? 2 : 0;
        } else {
            literal += raw[i];
        }
    }
    flush();
    return out;
}

// A window of the program by its name in the scenarios, or null.
HWND Scenario::Find(const std::string& name) const
{
    if (name == "search" || name == "page" || name == "other")
        return name == "search" ? program_->SearchWindow() : name == "other" ? (other_ ? HWND(other_->window) : nullptr)
                                : IsWindow(page_) ? page_ : nullptr;
    if (name == "menu" || name == "menus") { // one menu, or a submenu over a menu
        std::vector<HWND> menus = TopLevel(program_->Id(), "#32768");
        menus.erase(std::remove_if(menus.begin(), menus.end(), [](HWND m) { return !IsWindowVisible(m); }), menus.end());
        return menus.size() == (name == "menu" ? 1u : 2u) ? menus.back() : nullptr;
    }
    for (HWND w : TopLevel(program_->Id(), "#32770")) {
        std::string text = IsWindowVisible(w) ? Text(w) : "<hidden>";
        if ((name == "bar" && GetDlgItem(w, Id("IDC_TOUR_NEXT"))) || (name == "sheet" && text == "キラピック！の設定")
            || (name == "order" && text == "ファイル閲覧の順番") || (name == "box" && text == Title && !GetDlgItem(w, HistoryBox))
            || (name == "browser" && text.rfind(Title, 0) != 0 && text != "<hidden>" && !text.empty()))
            return w;
    }
    return nullptr;
}

HWND Scenario::Win(const std::string& name) const
{
    HWND found = nullptr;
    Require(WaitFor([&] { return (found = Find(name)) != nullptr; }), "no " + name + " window");
    return found;
}

std::string Scenario::Ini(const char* file, const std::string& section, const std::string& key) const
{
    char value[1200] = "";
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "<missing>", value, sizeof value, (program_->folder + "\\" + file).c_str());
    return value;
}

// A message box of the program, shown or not yet (a modal box shows itself only once its
// queue goes empty), and not yet answered by the driver unless `answeredToo`.
HWND Scenario::FindBox(bool answeredToo) const
{
    for (HWND w : TopLevel(program_->Id(), "#32770"))
        if ((GetDlgItem(w, IDOK) || GetDlgItem(w, IDYES)) && !GetDlgItem(w, HistoryBox) && Text(w) == Title
            && (answeredToo || std::find(boxes_.begin(), boxes_.end(), w) == boxes_.end()))
            return w;
    return nullptr;
}

// Waits for `done`, answering every message box with OK and noting what it said.
template <typename F> bool Scenario::Until(F done)
{
    return WaitFor([&] {
        HWND box = FindBox();
        if (!box)
            return done();
        said_.push_back(MessageText(box));
        boxes_.push_back(box);
        PostCommand(box, IDOK);
        return false;
    });
}

// Commands posted to the program are handled in turn, also inside a message box's loop: once
// the menu asked for last is up, all posted before it have been handled. The menu is then
// dismissed (its loop takes every key) and every box answered.
bool Scenario::Settled(const char* menuButton)
{
    PostCommand(Find("search"), Id(menuButton));
    HWND menu = nullptr;
    return Until([&] { return (menu = Find("menu")) != nullptr; }) && PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0)
           && Until([&] { return !Find("menu"); }) && Until([&] { return !FindBox(true); });
}

// Starts the program as a user would: a first run, if it comes, gone through with OK.
void Scenario::StartAuto()
{
    Require(program_->Start() && Until([&] {
        if (HWND sheet = Find("sheet"))
            Send(GetDlgItem(sheet, IDOK), BM_CLICK);
        return Find("search") && Find("bar");
    }), "the program did not come up");
}

// One round as a user makes it: the search button, the tour button and "→", both menus
// opened on the way, the search window hidden (in Wine without a window manager each hiding
// of a window with a caption waits two seconds), then a summons. `expect`: what must open,
// "search" (engine 3) or "tour" (a file of $tour); "destinations" (there is one to list).
void Scenario::Round(const Words& expect)
{
    auto wants = [&](const char* what) { return std::count(expect.begin(), expect.end(), what) > 0; };
    size_t before = program_->Opened().size();
    auto opened = [&](const std::string& prefix) {
        Words all = program_->Opened();
        return std::any_of(all.begin() + before, all.end(), [&](const std::string& item) { return item.rfind(prefix, 0) == 0; });
    };
    HWND search = Find("search"), bar = Find("bar");
    PostCommand(search, Id("IDC_SEARCH_GO"));
    PostCommand(search, Id("IDC_SEARCH_TOUR"));
    Require(Settled(wants("destinations") ? "IDC_SEARCH_DEST_MENU" : "IDC_SEARCH_ENGINE_MENU")
            && Until([&] { return IsWindowVisible(bar) != 0; }), "the program did not settle");
    if (IsWindowEnabled(GetDlgItem(bar, Id("IDC_TOUR_NEXT"))))
        PostCommand(bar, Id("IDC_TOUR_NEXT"));
    Require(Settled("IDC_SEARCH_ENGINE_MENU"), "the program did not settle");
    Require(!wants("search") || Until([&] { return opened("https://three.test/"); }), "no search opened");
    Require(!wants("tour") || Until([&] { return opened(vars_["tour"]); }), "no file of the tour opened");
    Require(SetClipboard("faults") && PostMessageA(search, WM_HOTKEY, 0, 0) && Until([&] { return IsWindowVisible(search) != 0; }),
            "a summons showed nothing");
}

// The settings with `key` damaged in each way in turn, one start each: the program comes up,
// makes its round, answers, and says nothing but its own messages.
void Scenario::Damaged(const std::string& key, Words expect)
{
    const std::string file = program_->folder + "\\kirapick.ini";
    std::string sound, damaged, highBytes;
    ReadFileText(file, sound);
    size_t start = sound.find("\n" + key + "=") + key.size() + 2, end = sound.find("\r\n", start);
    Require(start > key.size() + 1 && end != std::string::npos, "no key " + key);
    for (int i = 0; i < 300; ++i)
        highBytes += char(0x80 + i % 0x80);
    const std::string value = sound.substr(start, end - start);
    expect.push_back("destinations");
    for (const std::string& damage : {std::string(), std::string("abc"), std::string("99999999999"), std::string("-99"),
                                      value + std::string(2000 - value.size(), 'x'), highBytes, value + "\x81"}) {
        program_->End();
        said_.clear();
        try {
            Require(WriteFileText(file, (damaged = sound).replace(start, end - start, damage)), "cannot write the settings");
            StartAuto();
            Round(expect);
            Require(Read({"alive"}) == "1", "the program no longer answers");
            for (const std::string& text : said_)
                Require(text == "設定を読み込めませんでした。\n先に設定を行ってください。" || text == "起動キーを設定できませんでした。"
                        || text == "ファイルが1つもありません。" || text.rfind("ファイルが見つかりません。\n", 0) == 0,
                        "a message not of the program's own: " + text);
        } catch (const Failure& failure) {
            throw Failure{key + " damaged to \"" + damage.substr(0, 20) + "\": " + failure.what};
        }
    }
    WriteFileText(file, sound);
}

// Pairs of starts at the same moment, both created suspended and let go one right after the
// other: each pair leaves one instance, summoned by the other, which ends with 0.
void Scenario::Race(int pairs)
{
    for (int pair = 1; pair <= pairs; ++pair) {
        std::string what = "pair " + std::to_string(pair) + ": ";
        Program first(program_->folder), second(program_->folder);
        Require(first.Start(true) && second.Start(true), what + "no start");
        first.Resume();
        second.Resume();
        Require(WaitFor([&] { return !first.Running() || !second.Running(); }), what + "both stayed");
        Program &left = first.Running() ? first : second, &gone = first.Running() ? second : first;
        DWORD code = 99;
        int windows = 0;
        HWND search = nullptr;
        Require(WaitFor([&] { // one search window, shown, of the one instance left
            windows = 0;
            for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, nullptr, Title));)
                windows += GetDlgItem(w, HistoryBox) ? (search = w, 1) : 0;
            return IsWindowVisible(search) != 0;
        }) && windows == 1 && search == left.SearchWindow() && CountProcesses("kirapick.exe") == 1, what + "not one instance shown");
        Require(gone.WaitExit(code) && code == 0, what + "the other ended with " + std::to_string(code));
    }
}

// The one address or file `action` makes the shell or the viewer open.
std::string Scenario::Opens(const std::function<void()>& action)
{
    action();
    Words opened;
    WaitFor([&] { return (opened = program_->Opened()).size() > seen_; });
    return opened.size() > seen_ ? opened[seen_++] : "<nothing opened>";
}

// What a check compares: a property of the program, a window or the files, as text.
std::string Scenario::Read(const Words& w)
{
    const std::string& what = w[0];
    auto flags = [&](auto test) {
        Words values;
        for (size_t i = 2; i < w.size(); ++i)
            values.push_back(test(GetDlgItem(Win(w[1]), Id(w[i]))) ? "1" : "0");
        return Join(values, " ");
    };
    auto name = [&](HWND window) {
        for (const char* known : {"search", "bar", "sheet", "other"})
            if (window && Find(known) == window)
                return std::string(known);
        return std::string(window ? "another window" : "none");
    };
    bool ofWindow = std::string(" text message items owner place sel ").find(" " + what + " ") != std::string::npos;
    HWND control = !ofWindow ? nullptr : w.size() > 2 ? GetDlgItem(Win(w[1]), Id(w[2])) : Win(w[1]);
    if (what == "text" || what == "message" || what == "items" || what == "owner" || what == "place") {
        RECT rect{};
        GetWindowRect(control, &rect);
        return what == "text" ? Text(control) : what == "message" ? MessageText(control) : what == "items" ? Join(Items(control), "|")
             : what == "owner" ? name(GetWindow(control, GW_OWNER)) : std::to_string(rect.left) + "," + std::to_string(rect.top);
    }
    if (what == "sel") // of a combo box, list box or the sheet's tabs
        return std::to_string(int(Send(control, ClassOf(control) == "ComboBox" ? CB_GETCURSEL
                                                : ClassOf(control) == "ListBox" ? LB_GETCURSEL : TCM_GETCURSEL)));
    if (what == "checked")
        return flags([](HWND c) { return Send(c, BM_GETCHECK) == BST_CHECKED; });
    if (what == "enabled")
        return flags([](HWND c) { return IsWindowEnabled(c) != 0; });
    if (what == "shown") // a control's own visibility, whether or not its window shows
        return flags([](HWND c) { return (GetWindowLongA(c, GWL_STYLE) & WS_VISIBLE) != 0; });
    if (what == "visible" || what == "exists" || what == "menus") // without waiting for the window
        return what == "menus" ? (Find("menus") ? "2" : Find("menu") ? "1" : "0")
                               : Find(w[1]) && (what == "exists" || IsWindowVisible(Find(w[1]))) ? "1" : "0";
    if (what == "ini" || what == "history" || what == "copied") { // copied: as the defaults file has it
        Words keys(w.begin() + 1, w.end()), values;
        std::string section = keys.size() && keys[0][0] == '[' ? keys[0].substr(1, keys[0].size() - 2) : UserSection();
        keys.erase(keys.begin(), keys.begin() + (keys.size() && keys[0][0] == '['));
        for (int n = 0; what == "history" && n < 10; ++n)
            keys.push_back("HISTORY" + std::to_string(n));
        for (const std::string& key : keys)
            values.push_back(what != "copied" ? Ini("kirapick.ini", section, key)
                             : Ini("kirapick.ini", section, key) == Ini("kirapick.def", "Default", key) && Ini("kirapick.def", "Default", key) != "" ? "yes" : "no");
        return Join(values, "|");
    }
    if (what == "clipboard") {
        std::string text = "<empty>";
        if (!WaitFor([] { return OpenClipboard(nullptr) != 0; }, 3000))
            return "<busy>";
        if (HANDLE data = GetClipboardData(CF_TEXT))
            text = std::string(static_cast<const char*>(GlobalLock(data)), GlobalSize(data)).c_str(), GlobalUnlock(data);
        CloseClipboard();
        return text;
    }
    if (what == "files") { // each file by name, "=what it holds" when that is short and another name
        Words files;
        std::string folder = Expand(w[1]), data;
        ForEachFile(folder, [&](const std::string& file) {
            ReadFileText(folder + "\\" + file, data);
            files.push_back(data == file || data.size() >= 100 ? file : file + "=" + data);
        });
        std::sort(files.begin(), files.end());
        return Join(files, "|");
    }
    if (what == "tourkeys") { // the indicator, and the four global keys held, or free for anyone
        bool on = Read({"shown", "bar", "IDC_TOUR_KEYS_ON", "IDC_TOUR_KEYS_OFF"}) == "1 0";
        for (UINT vk : {VK_LEFT, VK_RIGHT, VK_SPACE, VK_ESCAPE})
            if ((RegisterHotKey(nullptr, 0x7000, 0, vk) && UnregisterHotKey(nullptr, 0x7000)) == on)
                return "mixed";
        return on ? "on" : "off";
    }
    if (what == "focus") { // the window in front, and whether the keyboard focus is in the box
        HWND box = GetDlgItem(Find("search"), HistoryBox), focus = ThreadOf(box).hwndFocus;
        return name(GetForegroundWindow()) + (focus == box || GetParent(focus) == box ? " box" : "");
    }
    std::string text;
    char runonce[MAX_PATH] = "<missing>";
    DWORD size = sizeof runonce;
    if (what == "said" || what == "look" || what == "shift" || what == "unchanged")
        return what == "said" ? Join(said_, "|") : what == "look" ? MenuLook(Win("menu"))
             : what == "shift" ? (GetAsyncKeyState(VK_SHIFT) & 0x8000 ? "down" : "up")
             : ReadFileText(program_->folder + "\\kirapick.ini", text) && text == snapshot_ ? "1" : "0";
    if (what == "runonce")
        return RegGetValueA(HKEY_CURRENT_USER, RunonceKey, "kirapick.exe", RRF_RT_REG_SZ, nullptr, runonce, &size), runonce;
    Require(what == "alive", "no property " + what); // answering, and no crash handler started
    return program_->Running() && Answers(Find("search")) && Answers(Find("bar"))
           && CountProcesses("winedbg.exe") == crashHandlers_ ? "1" : "0";
}

void Scenario::Step(const std::string& line)
{
    Words w = Split(line, ' ');
    const size_t n = w.size(); // words past the end read as empty
    w.resize(n + 4);
    const std::string& verb = w[0];
    auto rest = [&](size_t skip) { // the line after its first words, expanded
        size_t at = 0;
        for (size_t i = 0; i < skip && at != std::string::npos; ++i)
            at = line.find_first_not_of(' ', line.find(' ', at));
        return at == std::string::npos ? std::string() : Expand(line.substr(at));
    };
    auto keys = [&](size_t from) {
        std::vector<WORD> vks;
        for (auto key = w.begin() + from; key < w.begin() + n; ++key)
            vks.push_back(*key == "Return" ? VK_RETURN : *key == "Escape" ? VK_ESCAPE : *key == "End" ? VK_END
                        : *key == "Down" ? VK_DOWN : *key == "Left" ? VK_LEFT : *key == "Right" ? VK_RIGHT
                        : key->size() > 1 ? WORD(VK_F1 + atoi(key->c_str() + 1) - 1) : WORD((*key)[0]));
        return vks;
    };
    auto opened = [&](const std::function<void()>& action, const std::string& expected) {
        std::string got = Opens(action);
        if (expected.find_first_of(":\\") == std::string::npos) // a name alone: that of the file
            got = got.substr(got.find_last_of('\\') + 1);
        Require(got == expected, "opened: " + got);
    };
    if (verb == "is") {
        size_t equals = line.find(" =");
        std::string expected = Expand(line.substr(std::min(line.size(), equals + 3))), seen;
        Words what = Split(line.substr(3, equals - 3), ' ');
        bool holds = equals != std::string::npos && WaitFor([&] { return (seen = Read(what)) == expected; });
        Require(holds, "seen: " + seen);
        if (what[0] == "said")
            said_.clear();
    } else if (verb == "do") {
        Require(blocks_.count(rest(1)) > 0, "no block " + rest(1));
        for (const std::string& step : blocks_[rest(1)])
            Step(step);
    } else if (verb == "ini" || verb == "def") { // [section] KEY=value, or "clear"
        std::string file = program_->folder + (verb == "ini" ? "\\kirapick.ini" : "\\kirapick.def");
        std::string section = w[1][0] == '[' ? rest(1).substr(1, rest(1).find(']') - 1) : verb == "ini" ? UserSection() : "Default";
        std::string entry = rest(w[1][0] == '[' ? 2 : 1), key = entry.substr(0, entry.find('='));
        Require(entry == "clear" ? DeleteFileA(file.c_str()) : WritePrivateProfileStringA(section.c_str(), key.c_str(),
                                                                   entry.substr(key.size() + 1).c_str(), file.c_str()), "cannot " + line);
    } else if (verb == "folder" || verb == "file") {
        // folder NAME file[:size]|...: $NAME made, with files that hold their own name, padded
        // to the size; file VAR PATH: that file made, $VAR its name. By the "\\?\" form of the
        // path, which may pass the usual length limit
        if (verb == "folder" && vars_[w[1]].empty())
            folders_.push_back(vars_[w[1]] = NewTempFolder("kirapick-" + w[1]));
        for (const std::string& spec : verb == "file" ? Words{rest(2)} : Split(rest(2), '|')) {
            size_t colon = verb == "file" ? std::string::npos : spec.find(':');
            std::string path = verb == "file" ? spec : vars_[w[1]] + "\\" + spec.substr(0, colon);
            std::string data = path.substr(path.find_last_of('\\') + 1);
            wchar_t wide[1024] = L"";
            MultiByteToWideChar(CP_ACP, 0, ("\\\\?\\" + path).c_str(), -1, wide, 1024);
            data.resize(std::max<size_t>(data.size(), colon == std::string::npos ? 0 : atoi(&spec[colon + 1])), 'x');
            HANDLE file = spec.empty() ? nullptr : CreateFileW(wide, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD written = 0;
            Require(spec.empty() || (WriteFile(file, data.data(), DWORD(data.size()), &written, nullptr) && CloseHandle(file)),
                    "cannot make " + path);
            if (verb == "file")
                vars_[w[1]] = path.substr(path.find_last_of('\\') + 1);
        }
    } else if (verb == "delete" || verb == "mkdir") {
        Require(verb == "delete" ? DeleteFileA(rest(1).c_str()) : CreateDirectoryA(rest(1).c_str(), nullptr), "cannot " + line);
    } else if (verb == "move") { // NAME away|back: the folder beside itself, as NAME-away
        std::string here = vars_[w[1]], away = here + "-away";
        Require(w[2] == "away" ? MoveFileA(here.c_str(), away.c_str()) : MoveFileA(away.c_str(), here.c_str()), "cannot " + line);
    } else if (verb == "hold" || verb == "unhold") { // none|read|readwrite PATH: open, as another program would hold it
        DWORD share = w[1] == "none" ? 0 : w[1] == "read" ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
        HANDLE& file = held_[verb == "hold" ? rest(2) : rest(1)];
        if (verb == "unhold")
            return CloseHandle(file), held_.erase(rest(1)), void();
        file = CreateFileA(rest(2).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
        Require(file != INVALID_HANDLE_VALUE, "cannot open " + rest(2));
    } else if (verb == "handler") { // .TYPE|Folder: the recorder opens such files for the shell
        std::string name = w[1] == "Folder" ? "Folder" : "kirapick" + w[1], command = name + "\\shell\\open\\command";
        Require(!RegSetValueA(HKEY_CLASSES_ROOT, command.c_str(), REG_SZ, ("\"" + program_->recorder + "\" \"%1\"").c_str(), 0)
                && (name == "Folder" || !RegSetValueA(HKEY_CLASSES_ROOT, w[1].c_str(), REG_SZ, name.c_str(), 0)), "cannot " + line);
        keys_.push_back(name == "Folder" ? command : name); // Folder itself stays, only its command goes
        if (name != "Folder")
            keys_.push_back(w[1]);
    } else if (verb == "clipboard" || verb == "show") { // show [TEXT]: copied, the hot key, the window ready
        Require(SetClipboard(n > 1 ? rest(1).c_str() : nullptr), "no clipboard");
        Require(verb == "clipboard" || (PostMessageA(Win("search"), WM_HOTKEY, 0, 0)
                                        && WaitFor([&] { return Read({"focus"}) == "search box"; })), "not ready: " + Read({"focus"}));
    } else if (verb == "snapshot") {
        ReadFileText(program_->folder + "\\kirapick.ini", snapshot_);
    } else if (verb == "use") { // the program of an existing folder
        Use(rest(1));
    } else if (verb == "start" || verb == "restart") { // [auto]: a first run gone through with OK
        SetCursorPos(1260, 1000); // the pointer waits clear of every window
        program_->End();
        seen_ = program_->Opened().size();
        if (n > 1)
            return StartAuto();
        Require(program_->Start(), "the program did not start");
    } else if (verb == "again" || verb == "exit") { // CODE: a second start, or the program, ends so
        DWORD code = 99;
        Program again(program_->folder);
        Require(verb == "exit" ? program_->WaitExit(code) : again.Start() && again.WaitExit(code), "no end");
        Require(code == std::stoul(w[1]), "exit code " + std::to_string(code));
    } else if (verb == "summon") { // as the hot key, or a second start, does
        PostMessageA(Win("search"), WM_HOTKEY, 0, 0);
    } else if (verb == "other") { // another program's window, in front
        other_.reset(new OtherWindow);
        Require(PressKeys(other_->window, {}), "no other window in front");
    } else if (verb == "click") { // WINDOW ID: posted, as a click is
        PostCommand(Win(w[1]), Id(w[2]));
    } else if (verb == "press") { // WINDOW ID...: each clicked and handled in turn
        for (size_t i = 2; i < n; ++i)
            Send(GetDlgItem(Win(w[1]), Id(w[i])), BM_CLICK);
    } else if (verb == "send" || verb == "hotkey") { // WINDOW ID|N: handled on return
        Send(Win(w[1]), verb == "send" ? WM_COMMAND : WM_HOTKEY, Id(w[2]));
    } else if (verb == "keys" || verb == "choose") { // [WINDOW] KEY...: typed, the window in front;
        // choose: typed into the menus, which close
        bool front = w[1] == "search" || w[1] == "bar" || w[1] == "other";
        Require(PressKeys(front ? Win(w[1]) : nullptr, keys(front ? 2 : 1)), "keys not taken");
        Require(verb == "keys" || WaitFor([&] { return !Find("menu") && !Find("menus"); }), "the menu stayed");
    } else if (verb == "menu") { // WINDOW ID: the button's menu, which opens at the cursor
        Require(PressKeys(Win(w[1]), {}), "not in front");
        SetCursorPos(400, 300); // away from the bar
        PostCommand(Win(w[1]), Id(w[2]));
        Win("menu");
    } else if (verb == "filemenu") { // N: the file menu of the list's item N, as a right click
        // gives it; Wine sends no WM_MENURBUTTONUP for SendInput's right button: it is posted
        PostMessageA(Win("bar"), WM_MENURBUTTONUP, std::stoi(w[1]), Send(Win("menu"), MN_GETHMENU));
        Win("menus");
    } else if (verb == "type" || verb == "focus") { // WINDOW ID [TEXT]: the focus moved there, the text set
        HWND control = GetDlgItem(Win(w[1]), Id(w[2]));
        Send(Win(w[1]), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
        Require(WaitFor([&] { return ThreadOf(control).hwndFocus == control; }), "no focus");
        if (verb == "type")
            Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(rest(3).c_str()));
    } else if (verb == "pick") { // WINDOW ID INDEX|TEXT: an entry clicked, or an item chosen
        HWND box = GetDlgItem(Win(w[1]), Id(w[2]));
        bool combo = ClassOf(box) == "ComboBox";
        Words items = Items(box);
        WPARAM index = isdigit(static_cast<unsigned char>(w[3][0])) ? atoi(w[3].c_str()) : std::find(items.begin(), items.end(), rest(3)) - items.begin();
        Send(Win(w[1]), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
        Send(box, combo ? CB_SETCURSEL : LB_SETCURSEL, index);
        Send(Win(w[1]), WM_COMMAND, MAKEWPARAM(Id(w[2]), combo ? CBN_SELCHANGE : LBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
    } else if (verb == "page") { // N: the sheet's page N in front, as its tab puts it
        Send(Win("sheet"), PSM_SETCURSEL, std::stoi(w[1]));
        page_ = reinterpret_cast<HWND>(Send(Win("sheet"), PSM_GETCURRENTPAGEHWND));
        Require(Send(Win("sheet"), PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page_)) == std::stoi(w[1])
                && WaitFor([&] { return IsWindowVisible(page_) != 0; }), "no page " + w[1]);
    } else if (verb == "answer") { // ok|yes|no TEXT: the message box says TEXT and is answered
        HWND box = Win("box");
        Require(MessageText(box) == rest(2), "the message: " + MessageText(box));
        PostCommand(box, w[1] == "yes" ? IDYES : w[1] == "no" ? IDNO : IDOK);
        Require(WaitFor([&] { return !IsWindow(box); }), "the message box stayed");
    } else if (verb == "sync" || (verb == "opened" && rest(1) == "nothing")) { // back in its message loop
        Require(Answers(Win("search")) && (verb == "sync" || program_->Opened().size() == seen_), "something opened, or no answer");
    } else if (verb == "opened") { // WHAT: the next address or file the shell or viewer opened
        opened([] {}, rest(1));
    } else if (verb == "step") { // ID NAME: the bar's button opens the file NAME
        opened([&] { PostCommand(Win("bar"), Id(w[1])); }, rest(2));
    } else if (verb == "random") { // command|hotkey ID NAME...: "!" in a tour ranked NAME...
        // opens the file of the tick count in tenths of a second, modulo the count
        DWORD from = GetTickCount() / 100;
        std::string got = Opens([&] { Send(Win("bar"), w[1] == "hotkey" ? WM_HOTKEY : WM_COMMAND, Id(w[2])); });
        bool possible = false;
        for (DWORD tenth = from; tenth <= GetTickCount() / 100; ++tenth)
            possible = possible || got.substr(got.find_last_of('\\') + 1) == w[3 + tenth % (n - 3)];
        Require(possible, "opened: " + got);
    } else if (verb == "post") { // WINDOW MESSAGE: posted, as the system posts a click on its background
        PostMessageA(Win(w[1]), w[2] == "WM_LBUTTONDBLCLK" ? WM_LBUTTONDBLCLK : WM_RBUTTONDOWN, 0, 0);
    } else if (verb == "drag") { // DX DY: the bar dragged by its background, between "→" and the indicators
        HWND bar = Win("bar");
        RECT place{}, next{}, light{};
        GetWindowRect(bar, &place);
        GetWindowRect(GetDlgItem(bar, Id("IDC_TOUR_NEXT")), &next);
        GetWindowRect(GetDlgItem(bar, Id("IDC_TOUR_KEYS_OFF")), &light);
        POINT from = {(next.right + light.left) / 2, (light.top + light.bottom) / 2};
        POINT to = {from.x + std::stoi(w[1]), from.y + std::stoi(w[2])};
        std::string there = std::to_string(place.left + to.x - from.x) + "," + std::to_string(place.top + to.y - from.y);
        auto moving = [&] { return (ThreadOf(bar).flags & GUI_INMOVESIZE) != 0; };
        Require(PressKeys(bar, {}) && Mouse(from, {MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN}, moving)
                && Mouse(to, {0}, [&] { return Read({"place", "bar"}) == there; })
                && Mouse(to, {MOUSEEVENTF_LEFTUP}, [&] { return !moving(); }), "not dragged to " + there);
    } else if (verb == "shot") { // WINDOW NAME: its picture for the README
        Require(SaveScreenshot(Win(w[1]), w[2]), "no picture of " + w[2]);
    } else if (verb == "runonce-delete") {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, RunonceKey, "kirapick.exe");
    } else if (verb == "round" || verb == "damaged") { // damaged KEY [search] [tour]: what must still open
        verb == "round" ? Round(Words(w.begin() + 1, w.begin() + n)) : Damaged(w[1], Words(w.begin() + 2, w.begin() + n));
    } else {
        Require(verb == "race", "no step " + verb);
        Race(std::stoi(w[1]));
    }
}

} // namespace

int main(int argc, char** argv)
{
    // the program's texts are Shift-JIS: without the ja_JP locale Wine runs in code page 1252
    std::string file, header, name = argc > 1 ? argv[1] : "", line, section;
    if (GetACP() != 932 || argc != 2 || !ReadFileText(ModuleFolder() + "\\scenarios.txt", file)) {
        fprintf(stderr, "usage: e2e_tests <scenario name>, beside scenarios.txt, in code page 932 (not %u)\n", GetACP());
        return 2;
    }
    // the control ids of resources/resource.h, copied beside this program by the build
    std::map<std::string, int> ids = {{"IDOK", IDOK}, {"IDCANCEL", IDCANCEL}};
    ReadFileText(ModuleFolder() + "\\resource.h", header);
    for (const std::string& definition : Split(header, '\n'))
        if (Split(definition, ' ').size() > 2 && Split(definition, ' ')[0] == "#define" && isdigit(Split(definition, ' ')[2][0]))
            ids[Split(definition, ' ')[1]] = atoi(Split(definition, ' ')[2].c_str());
    // the lines before the first scenario or block come first, then the scenario's own
    std::map<std::string, Words> blocks;
    std::vector<std::pair<int, std::string>> steps;
    int number = 0;
    bool found = false;
    for (std::string raw : Split(file, '\n')) {
        ++number;
        raw = raw.substr(0, raw.find_last_not_of(" \r") + 1);
        raw.erase(0, std::min(raw.find_first_not_of(' '), raw.size()));
        found = found || raw == "scenario " + name;
        if (raw.rfind("scenario ", 0) == 0 || raw.rfind("block ", 0) == 0)
            section = raw;
        else if (!raw.empty() && raw[0] != '#' && section.rfind("block ", 0) == 0)
            blocks[section.substr(6)].push_back(raw);
        else if (!raw.empty() && raw[0] != '#' && (section.empty() || section == "scenario " + name))
            steps.push_back({number, raw});
    }
    try {
        Require(found, "no scenario " + name);
        Scenario scenario(ids, blocks);
        for (const auto& step : steps) { // each step shown first: a step that hangs is the last one shown
            printf("%d: %s\n", number = step.first, (line = step.second).c_str());
            fflush(stdout);
            scenario.Step(line);
        }
    } catch (const Failure& failure) {
        fprintf(stderr, "tests/e2e/scenarios.txt:%d: %s\n  %s\n", number, line.c_str(), Convert(failure.what, CP_ACP, CP_UTF8).c_str());
        return 1;
    }
    printf("%s: passed\n", name.c_str());
    return 0;
}
