// Runs one scenario of tests/e2e/scenarios.txt (beside this program), which says what each
// step means: e2e_tests <scenario name>. Every check waits until it holds or Patience is over;
// the first step that fails ends the scenario with its line and what was seen instead. Texts
// are UTF-8 here, as in the scenarios, and code page 932 where the program takes them.
#include "driver.h"

#include <commctrl.h>
#include <prsht.h>
#include <shellapi.h>
#include <stdio.h>
#include <string.h>
#include <tlhelp32.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <regex>

using namespace e2e;

namespace {

using Words = std::vector<std::string>;
struct Failure { std::string what; };
void Require(bool ok, const std::string& what)
{
    if (!ok)
        throw Failure{what};
}

const std::string Title = u8"キラピック！";
constexpr int HistoryBox = 1001;

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
    for (size_t i = 0; i < words.size(); ++i)
        text += (i ? separator : "") + words[i];
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
    PostMessageA(window, WM_COMMAND, id, LPARAM(GetDlgItem(window, id)));
}

// The message of a message box, a page or the folder browser: its first static text.
std::string MessageText(HWND window)
{
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == "Static" && !Text(child).empty())
            return Text(child);
    return "";
}

// The entries of a combo box or list box, asked for wide: Wine hands the ANSI ones across
// processes cut after one character.
Words Items(HWND box)
{
    bool combo = ClassOf(box) == "ComboBox";
    Words items;
    for (LRESULT i = 0, n = Send(box, combo ? CB_GETCOUNT : LB_GETCOUNT); i < n; ++i) {
        wchar_t item[1200] = L"";
        if (Send(box, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i) < 1200)
            Send(box, combo ? CB_GETLBTEXT : LB_GETTEXT, i, LPARAM(item));
        items.push_back(Utf8(item));
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

// Tells the shell `message` about the program's icon in the notification area, that of `owner`.
bool Icon(HWND owner, DWORD message)
{
    NOTIFYICONDATAA icon{};
    icon.cbSize = sizeof icon, icon.hWnd = owner, icon.uID = 1;
    return Shell_NotifyIconA(message, &icon) != 0;
}

// What the screen shows of a window, as a BMP file's bytes, and its pixels' brightness.
struct Picture {
    explicit Picture(HWND window, HWND also = nullptr) // also: a second window, both in one picture
    {
        RECT rect{}, own{}, more{}, screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        GetWindowRect(window, &own);
        also = also && GetWindowRect(also, &more) ? also : nullptr;
        UnionRect(&rect, &own, also ? &more : &own);
        IntersectRect(&rect, &rect, &screen); // a menu of long names can reach beyond it
        width = rect.right - rect.left, height = rect.bottom - rect.top;
        BITMAPINFOHEADER header = {sizeof header, width, height, 1, 24, BI_RGB, DWORD(Stride() * height), 0, 0, 0, 0};
        BITMAPFILEHEADER file = {0x4D42 /* "BM" */, DWORD(sizeof file + sizeof header + header.biSizeImage), 0, 0,
                                 sizeof file + sizeof header};
        HDC screenDc = GetDC(nullptr), memory = CreateCompatibleDC(screenDc);
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(screenDc, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, bitmap);
        auto copy = [&](const RECT& part) {
            return BitBlt(memory, part.left - rect.left, part.top - rect.top, part.right - part.left, part.bottom - part.top,
                          screenDc, part.left, part.top, SRCCOPY);
        };
        // beside two windows lies the desktop, which is not theirs: white
        if (bits && PatBlt(memory, 0, 0, width, height, WHITENESS) && copy(own) && (!also || copy(more)) && GdiFlush())
            bytes = std::string(reinterpret_cast<const char*>(&file), sizeof file)
                    + std::string(reinterpret_cast<const char*>(&header), sizeof header)
                    + std::string(static_cast<const char*>(bits), header.biSizeImage);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(nullptr, screenDc);
    }
    int Stride() const { return (width * 3 + 3) & ~3; }
    unsigned Brightness(int x, int y) const
    {
        auto p = reinterpret_cast<const unsigned char*>(&bytes[bytes.size() - (y + 1) * Stride() + x * 3]);
        return (p[2] * 299u + p[1] * 587u + p[0] * 114u) / 1000;
    }
    int width = 0, height = 0;
    std::string bytes;
};

// What a user sees of an open menu's rows, a character a row: '.' an item, 'v' the check
// mark, 'g' a grayed item, 'x' a grayed one with the mark. Wine lets no other process read a
// menu's items, so the screen is read: each item's text is a band of rows holding ink.
std::string MenuLook(HWND menu)
{
    Picture picture(menu);
    const int edge = 3, textLeft = edge + GetSystemMetrics(SM_CXMENUCHECK) + 2, bottom = picture.height - edge;
    auto darkest = [&](int from, int to, int left, int right) { // the darkest pixel of those rows and columns
        unsigned dark = 255;
        for (int y = std::max(edge, from); y < std::min(bottom, to); ++y)
            for (int x = left; x < right; ++x)
                dark = std::min(dark, picture.Brightness(x, y));
        return dark;
    };
    std::string look;
    for (int y = edge, top = -1; y < bottom && !picture.bytes.empty(); ++y) {
        const bool ink = darkest(y, y + 1, textLeft, picture.width - edge) < 200;
        if (ink && top < 0) {
            top = y;
        } else if (!ink && top >= 0) { // a band of rows ends: an item's text, its mark beside it
            const bool black = darkest(top, y, textLeft, picture.width - edge) < 80;
            look += darkest(top - 3, y + 3, edge, textLeft) < 200 ? (black ? 'v' : 'x') : (black ? '.' : 'g');
            top = -1;
        }
    }
    return look;
}

// The state of the scenario running.
std::map<std::string, LONG_PTR> Symbols;
std::map<std::string, Words> Blocks;
std::map<std::string, std::string> Vars;
std::unique_ptr<Program> Prog;
std::unique_ptr<OtherWindow> Other;
size_t Seen = 0;            // lines of opened.log already checked
std::string Pristine;       // the settings file before the first damage
Words Said;                 // what the message boxes the driver answered said
std::vector<HWND> Answered; // and those boxes
std::map<std::string, HANDLE> Held;
Words Keys, Folders;        // registry keys and folders to remove at the end
int CrashHandlers = CountProcesses("winedbg.exe"); // Wine starts one when a program crashes

void CleanUp()
{
    Other.reset();
    Prog.reset();
    for (auto& held : Held)
        CloseHandle(held.second);
    for (const std::string& key : Keys)
        RegDeleteTreeA(HKEY_CLASSES_ROOT, key.c_str());
    for (const std::string& folder : Folders)
        RemoveFolder(folder), RemoveFolder(folder + "-away");
}

void Use(const std::string& existing)
{
    Prog.reset(new Program(existing));
    Vars["prog"] = Prog->folder;
    Vars["rec"] = Prog->recorder;
    Vars["exe"] = Prog->exe;
    Vars["tests"] = ModuleFolder();
}

// $name is a variable ("$" before anything else stands for itself); {N*text} the text N times, "##" in it the count from 00; {N:c} c until
// the text so far is N bytes long; \n, \r, \t, \xHH and \\ the bytes they stand for.
std::string Expand(const std::string& raw)
{
    std::string out;
    for (size_t i = 0; i < raw.size(); ++i) {
        const size_t close = raw.find('}', i), star = raw.find('*', i), colon = raw.find(':', i);
        if (raw[i] == '$' && islower(raw[i + 1])) {
            const size_t end = std::min(raw.find_first_not_of("abcdefghijklmnopqrstuvwxyz", i + 1), raw.size());
            Require(Vars.count(raw.substr(i + 1, end - i - 1)) > 0, "no variable in " + raw);
            out += Vars.at(raw.substr(i + 1, end - i - 1));
            i = end - 1;
        } else if (raw[i] == '{' && isdigit(raw[i + 1]) && std::min(star, colon) < close) {
            for (int n = 0, count = atoi(&raw[i + 1]); n < count; ++n) {
                std::string text = raw.substr(star + 1, close - star - 1);
                for (size_t at; star < colon && (at = text.find("##")) != std::string::npos;)
                    text.replace(at, 2, std::to_string(100 + n).substr(1));
                out = star < colon ? out + Expand(text) : out.size() < size_t(count) ? out + raw[colon + 1] : out;
            }
            i = close;
        } else if (raw[i] == '\\' && i + 1 < raw.size() && strchr("nrtx\\", raw[i + 1])) {
            const char c = raw[++i];
            out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c == '\\' ? '\\' : char(strtol(raw.substr(i + 1, 2).c_str(), nullptr, 16));
            i += c == 'x' ? 2 : 0;
        } else {
            out += raw[i];
        }
    }
    return out;
}

// A number, a name of resource.h or of a "define" step, or else a registered message's name
// (none for an empty word: 0).
LONG_PTR Value(const std::string& word)
{
    const std::string value = Expand(word);
    return Symbols.count(value) ? Symbols.at(value) : isdigit(value[0]) || value[0] == '-' ? strtoll(value.c_str(), nullptr, 0)
                                                                                           : RegisterWindowMessageA(value.c_str());
}

// A window of the program by its name in the scenarios, or null.
HWND Find(const std::string& name)
{
    if (name == "search" || name == "other" || name == "page" || name == "tray") {
        std::vector<HWND> tray = TopLevel(Prog->Id(), "KirapickTray");
        HWND sheet = Find("sheet");
        return name == "search" ? Prog->SearchWindow() : name == "other" ? (Other ? HWND(Other->window) : nullptr)
             : name == "page" ? (sheet ? HWND(Send(sheet, PSM_GETCURRENTPAGEHWND)) : nullptr) : tray.empty() ? nullptr : tray[0];
    }
    if (name == "menu" || name == "menus") { // one menu, or a submenu over a menu
        std::vector<HWND> menus = TopLevel(Prog->Id(), "#32768");
        menus.erase(std::remove_if(menus.begin(), menus.end(), [](HWND m) { return !IsWindowVisible(m); }), menus.end());
        return menus.size() == (name == "menu" ? 1u : 2u) ? menus.back() : nullptr;
    }
    for (HWND w : TopLevel(Prog->Id(), "#32770")) {
        std::string text = IsWindowVisible(w) ? Text(w) : "<hidden>";
        if ((name == "bar" && GetDlgItem(w, int(Value("IDC_TOUR_NEXT")))) || (name == "sheet" && text == u8"キラピック！の設定")
            || (name == "order" && text == u8"ファイル閲覧の順番") || (name == "box" && text == Title && !GetDlgItem(w, HistoryBox))
            || (name == "browser" && text.rfind(Title, 0) != 0 && text != "<hidden>" && !text.empty()))
            return w;
    }
    return nullptr;
}

HWND Win(const std::string& name)
{
    HWND found = nullptr;
    Require(WaitFor([&] { return (found = Find(name)) != nullptr; }), "no " + name + " window");
    return found;
}

// A message box of the program, shown or not yet (a modal box shows itself only once its
// queue goes empty), and not yet answered by the driver unless `answeredToo`.
HWND FindBox(bool answeredToo = false)
{
    for (HWND w : TopLevel(Prog->Id(), "#32770"))
        if ((GetDlgItem(w, IDOK) || GetDlgItem(w, IDYES)) && !GetDlgItem(w, HistoryBox) && Text(w) == Title
            && (answeredToo || std::find(Answered.begin(), Answered.end(), w) == Answered.end()))
            return w;
    return nullptr;
}

// Waits for `done`, answering every message box with OK and noting what it said.
template <typename F> bool Until(F done)
{
    return WaitFor([&] {
        HWND box = FindBox();
        if (!box)
            return done();
        Said.push_back(MessageText(box));
        Answered.push_back(box);
        PostCommand(box, IDOK);
        return false;
    });
}

// Commands posted to the program are handled in turn, also inside a message box's loop: once
// the menu asked for last is up, all posted before it have been handled. The menu is then
// dismissed (its loop takes every key) and every box answered.
bool Settled(const char* menuButton)
{
    PostCommand(Find("search"), int(Value(menuButton)));
    HWND menu = nullptr;
    return Until([&] { return (menu = Find("menu")) != nullptr; }) && PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0)
           && Until([&] { return !Find("menu"); }) && Until([&] { return !FindBox(true); });
}

// Starts the program as a user would: a first run, if it comes, gone through with OK.
void StartAuto()
{
    Require(Prog->Start() && Until([&] {
        if (HWND sheet = Find("sheet"))
            Send(GetDlgItem(sheet, IDOK), BM_CLICK);
        return Find("search") && Find("bar");
    }), "the program did not come up");
}

// One round as a user makes it: the search button, the tour button and "→", both menus
// opened on the way, the search window hidden (in Wine without a window manager each hiding
// of a window with a caption waits two seconds), then a summons. `expect`: what must open,
// "search" (engine 3) or "tour" (a file of $tour); "destinations" (there is one to list).
void Round(const Words& expect)
{
    auto wants = [&](const char* what) { return std::count(expect.begin(), expect.end(), what) > 0; };
    const size_t before = Prog->Opened().size();
    auto opened = [&](const std::string& prefix) {
        Words all = Prog->Opened();
        return std::any_of(all.begin() + before, all.end(), [&](const std::string& item) { return item.rfind(prefix, 0) == 0; });
    };
    HWND search = Find("search"), bar = Find("bar");
    PostCommand(search, int(Value("IDC_SEARCH_GO")));
    PostCommand(search, int(Value("IDC_SEARCH_TOUR")));
    Require(Settled(wants("destinations") ? "IDC_SEARCH_DEST_MENU" : "IDC_SEARCH_ENGINE_MENU")
            && Until([&] { return IsWindowVisible(bar) != 0; }), "the program did not settle");
    if (IsWindowEnabled(GetDlgItem(bar, int(Value("IDC_TOUR_NEXT")))))
        PostCommand(bar, int(Value("IDC_TOUR_NEXT")));
    Require(Settled("IDC_SEARCH_ENGINE_MENU"), "the program did not settle");
    Require(!wants("search") || Until([&] { return opened("https://three.test/"); }), "no search opened");
    Require(!wants("tour") || Until([&] { return opened(Vars["tour"]); }), "no file of the tour opened");
    Require(SetClipboard("faults") && PostMessageA(search, WM_HOTKEY, 0, 0) && Until([&] { return IsWindowVisible(search) != 0; }),
            "a summons showed nothing");
}

// What a check compares: a property of the program, a window or the files, as text.
std::string Read(Words w)
{
    const size_t n = w.size(); // words past the end read as empty
    w.resize(n + 6);
    const std::string& what = w[0];
    auto control = [&](size_t at) { return w[at].empty() || w[at] == "0" ? Win(w[1]) : GetDlgItem(Win(w[1]), int(Value(w[at]))); };
    auto flags = [&](auto test) {
        Words values;
        for (size_t i = 2; i < n; ++i)
            values.push_back(test(GetDlgItem(Win(w[1]), int(Value(w[i])))) ? "1" : "0");
        return Join(values, " ");
    };
    auto name = [&](HWND window) {
        for (const char* known : {"search", "bar", "sheet", "other"})
            if (window && Find(known) == window)
                return std::string(known);
        return std::string(window ? "another window" : "none");
    };
    RECT rect{};
    std::string text;
    if (what == "text" || what == "message" || what == "items" || what == "owner" || what == "place")
        return GetWindowRect(control(2), &rect), what == "text" ? Text(control(2)) : what == "message" ? MessageText(control(2))
             : what == "items" ? Join(Items(control(2)), "|") : what == "owner" ? name(GetWindow(control(2), GW_OWNER))
             : std::to_string(rect.left) + "," + std::to_string(rect.top);
    if (what == "result") // RESULT WINDOW ID|0 MESSAGE [WPARAM [LPARAM]]: what the window answers
        return std::to_string(Send(control(2), UINT(Value(w[3])), Value(w[4]), Value(w[5])));
    if (what == "checked")
        return flags([](HWND c) { return Send(c, BM_GETCHECK) == BST_CHECKED; });
    if (what == "enabled")
        return flags([](HWND c) { return IsWindowEnabled(c) != 0; });
    if (what == "shown") // a control's own visibility, whether or not its window shows
        return flags([](HWND c) { return (GetWindowLongA(c, GWL_STYLE) & WS_VISIBLE) != 0; });
    if (what == "visible" || what == "exists" || what == "menus") // without waiting for the window
        return what == "menus" ? (Find("menus") ? "2" : Find("menu") ? "1" : "0")
                               : Find(w[1]) && (what == "exists" || IsWindowVisible(Find(w[1]))) ? "1" : "0";
    if (what == "ini" || what == "def") { // [section] KEY...
        Words values;
        const bool named = w[1][0] == '[';
        const std::string section = named ? w[1].substr(1, w[1].size() - 2) : what == "ini" ? UserSection() : "Default";
        for (size_t i = 1 + named; i < n; ++i) {
            char value[1200] = "";
            GetPrivateProfileStringA(section.c_str(), w[i].c_str(), "<missing>", value, sizeof value,
                                     (Prog->folder + "\\kirapick." + (what == "ini" ? "ini" : "def")).c_str());
            values.push_back(Utf8(Wide(value, 932)));
        }
        return Join(values, "|");
    }
    if (what == "clipboard") {
        if (!WaitFor([] { return OpenClipboard(nullptr) != 0; }, 3000))
            return "<busy>";
        HANDLE data = GetClipboardData(CF_TEXT);
        text = data ? Utf8(Wide(static_cast<const char*>(GlobalLock(data)), 932)) : "<empty>";
        return data && GlobalUnlock(data), CloseClipboard(), text;
    }
    if (what == "files") { // each file by name, "=what it holds" when that is short and another name
        Words files;
        WIN32_FIND_DATAW found;
        const std::string& folder = w[1];
        HANDLE search = FindFirstFileW(Wide(folder + "\\*").c_str(), &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && ReadFileText(folder + "\\" + Utf8(found.cFileName), text))
                files.push_back(text == Utf8(found.cFileName) || text.size() >= 100 ? Utf8(found.cFileName) : Utf8(found.cFileName) + "=" + text);
        FindClose(search);
        std::sort(files.begin(), files.end());
        return Join(files, "|");
    }
    if (what == "file") // what it holds
        return ReadFileText(w[1], text) ? text : "<missing>";
    if (what == "reg") { // HKLM|HKCU KEY VALUE
        char value[MAX_PATH] = "<missing>";
        DWORD size = sizeof value;
        RegGetValueA(w[1] == "HKLM" ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, w[2].c_str(), w[3].c_str(), RRF_RT_REG_SZ, nullptr, value, &size);
        return value;
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
    if (what == "icon") // a change of nothing succeeds only while the icon is there
        return Icon(Find("tray"), NIM_MODIFY) ? "1" : "0";
    if (what == "said" || what == "look" || what == "shift")
        return what == "said" ? Join(Said, "|") : what == "look" ? MenuLook(Win("menu")) : GetAsyncKeyState(VK_SHIFT) & 0x8000 ? "down" : "up";
    Require(what == "alive", "no property " + what); // answering, and no crash handler started
    return Prog->Running() && Answers(Find("search")) && Answers(Find("bar")) && CountProcesses("winedbg.exe") == CrashHandlers ? "1" : "0";
}

void Step(const std::string& line)
{
    Words w = Split(line, ' ');
    for (std::string& word : w)
        word = Expand(word);
    const size_t n = w.size(); // words past the end read as empty
    w.resize(n + 4);
    const std::string& verb = w[0];
    auto rest = [&](size_t skip) { // the line after its first words, expanded
        size_t at = 0;
        for (size_t i = 0; i < skip && at != std::string::npos; ++i)
            at = line.find_first_not_of(' ', line.find(' ', at));
        return at == std::string::npos ? std::string() : Expand(line.substr(at));
    };
    auto keys = [&](size_t from) { // a letter as itself, a longer word by its "define"
        std::vector<WORD> vks;
        for (size_t i = from; i < n; ++i)
            vks.push_back(w[i].size() > 1 ? WORD(Value(w[i])) : WORD(w[i][0]));
        return vks;
    };
    auto opened = [&](const std::function<void()>& action, const std::string& expected) { // the next one opened
        action();
        Words all;
        WaitFor([&] { return (all = Prog->Opened()).size() > Seen; });
        std::string got = all.size() > Seen ? all[Seen++] : "<nothing opened>";
        const bool pattern = expected.rfind("~ ", 0) == 0; // of a file's name
        if (pattern || expected.find_first_of(":\\") == std::string::npos) // a name alone: that of the file
            got = got.substr(got.find_last_of('\\') + 1);
        Require(pattern ? std::regex_match(got, std::regex(expected.substr(2))) : got == expected, "opened: " + got);
    };
    auto path = [](const std::string& expanded) { return Wide("\\\\?\\" + expanded); }; // past the usual length limit too
    if (verb == "is") { // PROPERTY... = VALUE, or ~ a regular expression the whole value matches
        const size_t equals = std::min((line + " ").find(" = "), line.find(" ~ ")); // a value may be empty
        const std::string expected = Expand(line.substr(std::min(line.size(), equals + 3)));
        std::string seen;
        const bool holds = equals != std::string::npos && WaitFor([&] {
            seen = Read(Split(Expand(line.substr(3, equals - 3)), ' '));
            return line[equals + 1] == '=' ? seen == expected : std::regex_match(seen, std::regex(expected));
        });
        Require(holds, "seen: " + seen);
        if (w[1] == "said")
            Said.clear();
    } else if (verb == "let") { // NAME = PROPERTY..., or NAME TEXT
        Vars[w[1]] = w[2] == "=" ? Read(Split(rest(3), ' ')) : rest(2);
    } else if (verb == "do" || verb == "each") { // each NAME A|B|... do BLOCK: the block with $NAME each of them
        const size_t at = line.find(" do ");
        const std::string block = verb == "do" ? rest(1) : line.substr(at + 4);
        Require(Blocks.count(block) > 0, "no block " + block);
        for (const std::string& value : verb == "do" ? Words{""} : Split(line.substr(line.find(' ', 5) + 1, at - line.find(' ', 5) - 1), '|')) {
            if (verb == "each") // shown, for a step of the block that fails
                printf("  $%s = \"%.40s\"\n", w[1].c_str(), (Vars[w[1]] = Expand(value)).c_str());
            for (const std::string& step : Blocks[block])
                printf("  %s\n", step.c_str()), fflush(stdout), Step(step);
        }
    } else if (verb == "define") { // NAME VALUE, for the words of later steps
        Symbols[w[1]] = Value(w[2]);
    } else if (verb == "ini" || verb == "def") { // [section] KEY=value, KEY (removed), or "clear" (the file)
        const std::string file = Prog->folder + (verb == "ini" ? "\\kirapick.ini" : "\\kirapick.def");
        const std::string section = w[1][0] == '[' ? w[1].substr(1, w[1].find(']') - 1) : verb == "ini" ? UserSection() : "Default";
        const std::string entry = rest(w[1][0] == '[' ? 2 : 1), key = entry.substr(0, entry.find('='));
        const std::string value = Ansi(entry.substr(std::min(entry.size(), key.size() + 1)));
        Require(entry == "clear" ? DeleteFileA(file.c_str()) : WritePrivateProfileStringA(section.c_str(), key.c_str(),
                key == entry ? nullptr : value.c_str(), file.c_str()), "cannot " + line);
    } else if (verb == "damage") { // KEY VALUE: the settings file as it was before the first damage,
        // with the key's value replaced byte for byte; the program ended first, so that it writes
        // nothing over it
        Prog->End();
        const std::string file = Prog->folder + "\\kirapick.ini";
        if (Pristine.empty())
            ReadFileText(file, Pristine);
        std::string text = Pristine;
        const size_t start = text.find("\n" + w[1] + "=") + w[1].size() + 2;
        Require(start > w[1].size() + 1 && text.find("\r\n", start) != std::string::npos
                && WriteFileText(file, text.replace(start, text.find("\r\n", start) - start, Ansi(rest(2)))), "cannot " + line);
    } else if (verb == "folder" || verb == "file") {
        // folder NAME file[:size]|...: $NAME made, with files that hold their own name, padded
        // to the size; file NAME PATH: that file made, $NAME its name
        if (verb == "folder" && Vars[w[1]].empty()) {
            char temp[MAX_PATH] = "";
            GetTempPathA(sizeof temp, temp);
            Folders.push_back(Vars[w[1]] = temp + ("kirapick-" + w[1] + std::to_string(GetTickCount())));
            CreateDirectoryA(Vars[w[1]].c_str(), nullptr);
        }
        for (const std::string& entry : verb == "file" ? Words{rest(2)} : Split(rest(2), '|')) {
            const size_t colon = verb == "file" ? std::string::npos : entry.find(':');
            const std::string where = verb == "file" ? entry : Vars[w[1]] + "\\" + entry.substr(0, colon);
            std::string data = where.substr(where.find_last_of('\\') + 1);
            data.resize(std::max<size_t>(data.size(), colon == std::string::npos ? 0 : atoi(&entry[colon + 1])), 'x');
            Require(entry.empty() || WriteFileText("\\\\?\\" + where, data), "cannot make " + where);
            if (verb == "file")
                Vars[w[1]] = where.substr(where.find_last_of('\\') + 1);
        }
    } else if (verb == "copy") {
        Require(CopyFileW(path(w[1]).c_str(), path(w[2]).c_str(), FALSE), "cannot " + line);
    } else if (verb == "delete" || verb == "mkdir") {
        Require(verb == "delete" ? DeleteFileW(path(rest(1)).c_str()) : CreateDirectoryW(path(rest(1)).c_str(), nullptr), "cannot " + line);
    } else if (verb == "move") { // NAME away|back: the folder beside itself, as NAME-away
        const std::string here = Vars[w[1]], away = here + "-away";
        Require(w[2] == "away" ? MoveFileA(here.c_str(), away.c_str()) : MoveFileA(away.c_str(), here.c_str()), "cannot " + line);
    } else if (verb == "hold" || verb == "unhold") { // none|read|readwrite PATH: open, as another program would hold it
        const DWORD share = w[1] == "none" ? 0 : w[1] == "read" ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
        HANDLE& file = Held[verb == "hold" ? rest(2) : rest(1)];
        if (verb == "unhold")
            return CloseHandle(file), Held.erase(rest(1)), void();
        file = CreateFileW(path(rest(2)).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
        Require(file != INVALID_HANDLE_VALUE, "cannot open " + rest(2));
    } else if (verb == "handler") { // .TYPE|Folder: the recorder opens such files for the shell
        const std::string name = w[1] == "Folder" ? "Folder" : "kirapick" + w[1], command = name + "\\shell\\open\\command";
        Require(!RegSetValueA(HKEY_CLASSES_ROOT, command.c_str(), REG_SZ, ("\"" + Prog->recorder + "\" \"%1\"").c_str(), 0)
                && (name == "Folder" || !RegSetValueA(HKEY_CLASSES_ROOT, w[1].c_str(), REG_SZ, name.c_str(), 0)), "cannot " + line);
        Keys.push_back(name == "Folder" ? command : name); // Folder itself stays, only its command goes
        if (name != "Folder")
            Keys.push_back(w[1]);
    } else if (verb == "reg") { // KEY VALUE [TEXT]: a value of the user's registry set, or removed
        const Words r = Split(rest(1), ' ');
        if (r.size() > 2)
            Require(!RegSetKeyValueA(HKEY_CURRENT_USER, r[0].c_str(), r[1].c_str(), REG_SZ, r[2].c_str(), DWORD(r[2].size() + 1)), "cannot " + line);
        else
            RegDeleteKeyValueA(HKEY_CURRENT_USER, r[0].c_str(), r[1].c_str());
    } else if (verb == "manifest") {
        // the program as Windows 10 starts it on another system locale, which ignores the
        // manifest's code page: a manifest without one (windres files it under US English)
        static const char manifest[] = "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\"/>";
        HANDLE update = BeginUpdateResourceA(Prog->exe.c_str(), FALSE);
        Require(update && UpdateResourceA(update, RT_MANIFEST, MAKEINTRESOURCEA(1), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                          const_cast<char*>(manifest), sizeof manifest - 1)
                && EndUpdateResourceA(update, FALSE), "cannot replace the manifest");
    } else if (verb == "clipboard" || verb == "show") { // show [TEXT]: copied, the hot key, the window ready
        Require(SetClipboard(n > 1 ? Ansi(rest(1)).c_str() : nullptr), "no clipboard");
        Require(verb == "clipboard" || (PostMessageA(Win("search"), WM_HOTKEY, 0, 0)
                                        && WaitFor([&] { return Read({"focus"}) == "search box"; })), "not ready: " + Read({"focus"}));
    } else if (verb == "use") { // the program of an existing folder
        Use(rest(1));
    } else if (verb == "start") { // [auto]: a first run gone through with OK
        SetCursorPos(1260, 1000); // the pointer waits clear of every window
        Prog->End();
        Seen = Prog->Opened().size();
        if (n > 1)
            return StartAuto();
        Require(Prog->Start(), "the program did not start");
    } else if (verb == "again" || verb == "exit") { // CODE: a second start, or the program, ends so
        DWORD code = 99;
        Program again(Prog->folder);
        Require(verb == "exit" ? Prog->WaitExit(code) : again.Start() && again.WaitExit(code), "no end");
        Require(code == std::stoul(w[1]), "exit code " + std::to_string(code));
    } else if (verb == "other") { // another program's window, in front
        Other.reset(new OtherWindow);
        Require(PressKeys(Other->window, {}), "no other window in front");
    } else if (verb == "click") { // WINDOW ID: posted, as a click is
        PostCommand(Win(w[1]), int(Value(w[2])));
    } else if (verb == "press") { // WINDOW ID...: each clicked and handled in turn
        for (size_t i = 2; i < n; ++i)
            Send(GetDlgItem(Win(w[1]), int(Value(w[i]))), BM_CLICK);
    } else if (verb == "post" || verb == "send") { // WINDOW MESSAGE [WPARAM [LPARAM]]: send returns once handled
        verb == "post" ? PostMessageA(Win(w[1]), UINT(Value(w[2])), Value(w[3]), Value(w[4])) // an empty word is 0
                       : Send(Win(w[1]), UINT(Value(w[2])), Value(w[3]), Value(w[4]));
    } else if (verb == "keys" || verb == "choose") { // [WINDOW] KEY...: typed, the window in front;
        // choose: typed into the menus, which close
        const bool front = w[1] == "search" || w[1] == "bar" || w[1] == "other";
        Require(PressKeys(front ? Win(w[1]) : nullptr, keys(front ? 2 : 1)), "keys not taken");
        Require(verb == "keys" || WaitFor([&] { return !Find("menu") && !Find("menus"); }), "the menu stayed");
    } else if (verb == "menu") { // WINDOW ID: the button's menu, which opens at the cursor
        Require(PressKeys(Win(w[1]), {}), "not in front");
        SetCursorPos(400, 300); // away from the bar
        PostCommand(Win(w[1]), int(Value(w[2])));
        Win("menu");
    } else if (verb == "type" || verb == "focus") { // WINDOW ID [TEXT]: the focus moved there, the text set
        HWND control = GetDlgItem(Win(w[1]), int(Value(w[2])));
        Send(Win(w[1]), WM_NEXTDLGCTL, WPARAM(control), TRUE);
        Require(WaitFor([&] { return ThreadOf(control).hwndFocus == control || GetParent(ThreadOf(control).hwndFocus) == control; }), "no focus");
        if (verb == "type")
            Send(control, WM_SETTEXT, 0, LPARAM(Wide(rest(3)).c_str()));
    } else if (verb == "pick") { // WINDOW ID INDEX|TEXT: an entry clicked, or an item chosen
        HWND box = GetDlgItem(Win(w[1]), int(Value(w[2])));
        const bool combo = ClassOf(box) == "ComboBox";
        const Words items = Items(box);
        const WPARAM index = isdigit(w[3][0]) ? atoi(w[3].c_str()) : std::find(items.begin(), items.end(), rest(3)) - items.begin();
        Send(Win(w[1]), WM_NEXTDLGCTL, WPARAM(box), TRUE);
        Send(box, combo ? CB_SETCURSEL : LB_SETCURSEL, index);
        Send(Win(w[1]), WM_COMMAND, MAKEWPARAM(Value(w[2]), combo ? CBN_SELCHANGE : LBN_SELCHANGE), LPARAM(box));
    } else if (verb == "answer") { // ok|yes|no TEXT: the message box says TEXT and is answered
        HWND box = Win("box");
        Require(MessageText(box) == rest(2), "the message: " + MessageText(box));
        PostCommand(box, w[1] == "yes" ? IDYES : w[1] == "no" ? IDNO : IDOK);
        Require(WaitFor([&] { return !IsWindow(box); }), "the message box stayed");
    } else if (verb == "sync" || (verb == "opened" && rest(1) == "nothing")) { // back in its message loop
        Require(Answers(Win("search")) && (verb == "sync" || Prog->Opened().size() == Seen), "something opened, or no answer");
    } else if (verb == "opened") { // WHAT: the next address or file the shell or viewer opened
        opened([] {}, rest(1));
    } else if (verb == "step") { // ID NAME: the bar's button opens the file NAME
        opened([&] { PostCommand(Win("bar"), int(Value(w[1]))); }, rest(2));
    } else if (verb == "moveto") { // WINDOW X Y: moved there, as a drag by its background moves it
        Require(SetWindowPos(Win(w[1]), nullptr, std::stoi(w[2]), std::stoi(w[3]), 0, 0, SWP_NOSIZE | SWP_NOZORDER), "not moved");
    } else if (verb == "shot") { // WINDOW NAME: its picture for the README, once it stays the same a while;
        // "menus": the submenu and the menu it opened from
        HWND window = Win(w[1]), also = nullptr;
        for (HWND menu : w[1] == "menus" ? TopLevel(Prog->Id(), "#32768") : std::vector<HWND>())
            also = menu != window && IsWindowVisible(menu) ? menu : also;
        std::string last, folder = ModuleFolder() + "\\..\\..\\screenshots";
        DWORD since = 0;
        CreateDirectoryA(folder.c_str(), nullptr);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Require(WaitFor([&] {
            Picture picture(window, also);
            if (picture.bytes != last)
                last = picture.bytes, since = GetTickCount();
            return Answers(window) && !last.empty() && GetTickCount() - since >= 300;
        }) && WriteFileText(folder + "\\" + w[2] + ".bmp", last), "no picture of " + w[2]);
    } else if (verb == "noicon") { // the icon taken away, as a taskbar that ended takes it
        Require(Icon(Win("tray"), NIM_DELETE), "no icon to take away");
    } else {
        Require(verb == "round", "no step " + verb); // [search] [tour] [destinations]
        Round(Split(rest(1), ' '));
    }
}

} // namespace

int main(int argc, char** argv)
{
    // the program's texts are Shift-JIS: the manifest asks for code page 932 here too
    std::string file, header, name = argc > 1 ? argv[1] : "", line, section;
    if (GetACP() != 932 || argc != 2 || !ReadFileText(ModuleFolder() + "\\scenarios.txt", file)) {
        fprintf(stderr, "usage: e2e_tests <scenario name>, beside scenarios.txt, in code page 932 (not %u)\n", GetACP());
        return 2;
    }
    // the control ids of resources/resource.h, copied beside this program by the build
    Symbols = {{"IDOK", IDOK}, {"IDCANCEL", IDCANCEL}};
    ReadFileText(ModuleFolder() + "\\resource.h", header);
    for (const std::string& definition : Split(header, '\n')) {
        const Words words = Split(definition, ' ');
        if (words.size() > 2 && words[0] == "#define" && isdigit(words[2][0]))
            Symbols[words[1]] = atoi(words[2].c_str());
    }
    // the lines before the first scenario or block come first, then the scenario's own
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
            Blocks[section.substr(6)].push_back(raw);
        else if (!raw.empty() && raw[0] != '#' && (section.empty() || section == "scenario " + name))
            steps.push_back({number, raw});
    }
    try {
        Require(found, "no scenario " + name);
        Use("");
        for (const auto& step : steps) { // each step shown first: a step that hangs is the last one shown
            printf("%d: %s\n", number = step.first, (line = step.second).c_str());
            fflush(stdout);
            Step(line);
        }
    } catch (const Failure& failure) {
        fprintf(stderr, "tests/e2e/scenarios.txt:%d: %s\n  %s\n", number, line.c_str(), failure.what.c_str());
        return CleanUp(), 1;
    }
    printf("%s: passed\n", name.c_str());
    return CleanUp(), 0;
}
