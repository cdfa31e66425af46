// The engines, destinations and about pages of the settings sheet and the file order
// dialog, driven as a user would: clicks, typed text and focus moves, then the settings
// file and the files on disk.
#include "e2e.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>
#include <ctype.h>
#include <stdio.h>

using namespace e2e;

namespace {

constexpr int SettingsButton = 1005;

enum PageIndex { OptionsPage = 0, EnginesPage = 1, DestinationsPage = 2, AboutPage = 3 };

// engines page
constexpr int EngineList = 1201;
constexpr int EngineDown = 1202;
constexpr int EngineUp = 1203;
constexpr int EngineClear = 1009;
constexpr int EngineNameEdit = 1051;
constexpr int EngineUrlEdit = 1031;

// destinations page
constexpr int DestList = 1204;
constexpr int DestDown = 1202;
constexpr int DestUp = 1203;
constexpr int DestClear = 1009;
constexpr int DestName = 1160;
constexpr int DestKind = 1208;
constexpr int DestPath = 1065;
constexpr int DestOrderBy = 1008;
constexpr int DestOrderButton = 1205;
constexpr int DestFilter = 1007;
constexpr int DestViewer = 1006;

// file order dialog
constexpr int OrderList = 1207;
constexpr int OrderUp = 1203;
constexpr int OrderDown = 1202;
constexpr int OrderTop = 1204;
constexpr int OrderBottom = 1206;
constexpr int OrderRelease = 1009;

constexpr int AskEachTimeKind = 1;
constexpr int SlotCount = 30;
constexpr int ItemLimit = 200; // every list here is shorter
constexpr int ItemTextLimit = 400;

const char FirstRunText[] = "設定を読み込めませんでした。\n先に設定を行ってください。";
const char OrderCaption[] = "ファイル閲覧の順番";
const char ReleaseQuestion[] = "ファイルの順番付けを解除しますか？";
const char NoFilesText[] = "ファイルが1つもありません。";

const std::vector<std::string> KindItems = {
    "見廻り先は固定", "見廻り先を毎回指定", "見廻り先は固定＋くいっくオープン",
    "見廻らない＋くいっくオープン"};
const std::vector<std::string> OrderItems = {
    "ファイル名（昇順）", "ファイル名（降順）",     "更新日時（昇順）",
    "更新日時（降順）",   "ファイルサイズ（昇順）", "ファイルサイズ（降順）"};

std::string Numbered(const char* base, int n) { return base + std::to_string(n); }

std::string FolderOf(const Program& program)
{
    const std::string& exe = program.ExePath();
    return exe.substr(0, exe.find_last_of('\\'));
}

// --- windows of the program --------------------------------------------------------------

void WaitGone(HWND window) { REQUIRE(WaitFor([&] { return !IsWindow(window); })); }

HWND OpenSheetFrom(const Program& program, HWND search)
{
    REQUIRE(program.Summon());
    REQUIRE(WaitVisible(search, true));
    PostCommand(search, SettingsButton);
    HWND sheet = program.WaitSheet();
    REQUIRE(sheet);
    return sheet;
}

// Brings page `index` to the front, as its tab would, and returns it.
HWND ShowPage(HWND sheet, int index)
{
    Send(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
    HWND page = reinterpret_cast<HWND>(Send(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    REQUIRE(page);
    REQUIRE(Send(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0) == index);
    REQUIRE(WaitVisible(page, true));
    return page;
}

void CloseSheet(const Program& program, HWND sheet, int button)
{
    if (button == IDOK)
        Click(sheet, IDOK); // as the mouse does: the button takes the focus first
    else
        Answer(sheet, button);
    WaitGone(sheet);
    // the caller's save has happened once the program is back in its loop
    REQUIRE(program.Sync());
}

HWND FindDialog(const Program& program, const char* caption)
{
    for (HWND window : program.Dialogs())
        if (IsVisible(window) && Text(window) == caption)
            return window;
    return nullptr;
}

HWND WaitDialog(const Program& program, const char* caption)
{
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = FindDialog(program, caption)) != nullptr; });
    return dialog;
}

// Answers the message box that must come up, after checking its text.
void ExpectMessage(const Program& program, const std::string& text, int answer = IDOK)
{
    HWND box = program.WaitMessageBox();
    REQUIRE(box);
    CHECK(MessageText(box) == text);
    Answer(box, answer);
    WaitGone(box);
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// Moves the keyboard focus to a control, as a click or the Tab key would: the control that
// had it hears that it lost it.
void FocusControl(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    REQUIRE(control);
    Send(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    REQUIRE(WaitFor([&] { return FocusOf(control) == control; }));
}

// Types text into an edit, which keeps the focus.
void TypeInto(HWND dialog, int id, const std::string& text)
{
    FocusControl(dialog, id);
    Send(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Clicks entry `index` of a list box.
void PickEntry(HWND dialog, int id, int index)
{
    FocusControl(dialog, id);
    HWND list = GetDlgItem(dialog, id);
    Send(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Send(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

// Chooses item `index` of a drop-down list.
void PickItem(HWND dialog, int id, int index)
{
    FocusControl(dialog, id);
    HWND combo = GetDlgItem(dialog, id);
    SelectCombo(dialog, id, index);
    Send(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

int ListCursor(HWND dialog, int id)
{
    return static_cast<int>(Send(GetDlgItem(dialog, id), LB_GETCURSEL, 0, 0));
}

// The entries of a list box, read across the process boundary.
std::vector<std::string> ListTexts(HWND dialog, int id)
{
    std::vector<std::string> items;
    HWND list = GetDlgItem(dialog, id);
    LRESULT count = Send(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count && i < ItemLimit; ++i) {
        // the wide form, as for combo boxes: Wine cuts the ANSI one between processes
        wchar_t wide[ItemTextLimit] = L"";
        DWORD_PTR length = 0;
        if (Send(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) < ItemTextLimit)
            SendMessageTimeoutW(list, LB_GETTEXT, static_cast<WPARAM>(i),
                                reinterpret_cast<LPARAM>(wide), SMTO_NORMAL, Patience, &length);
        wide[ItemTextLimit - 1] = L'\0';
        char item[ItemTextLimit * 2] = "";
        WideCharToMultiByte(CP_ACP, 0, wide, -1, item, sizeof item, nullptr, nullptr);
        item[sizeof item - 1] = '\0';
        items.push_back(item);
    }
    return items;
}

std::vector<std::string> Sorted(std::vector<std::string> items)
{
    std::sort(items.begin(), items.end());
    return items;
}

// The static texts of a dialog, in the order of its controls.
std::vector<std::string> StaticTexts(HWND dialog)
{
    std::vector<std::string> texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child && texts.size() < ItemLimit;
         child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = "";
        GetClassNameA(child, name, sizeof name);
        std::string text = Text(child);
        if (lstrcmpiA(name, "Static") == 0 && !text.empty())
            texts.push_back(text);
    }
    return texts;
}

// --- files -------------------------------------------------------------------------------

std::string ReadWhole(const std::string& path, DWORD limit)
{
    std::string data;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return data;
    char chunk[4096];
    DWORD got = 0;
    while (data.size() < limit && ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got)
        data.append(chunk, got);
    CloseHandle(file);
    return data;
}

bool MakeFile(const std::string& path, const std::string& content)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written,
                        nullptr);
    CloseHandle(file);
    return ok && written == content.size();
}

// What a small file holds.
std::string FileContent(const std::string& path) { return ReadWhole(path, 4096); }

// The names in a folder, sorted.
std::vector<std::string> FileNames(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != ".." && names.size() < 1000)
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return Sorted(names);
}

// A folder of files inside the program's folder; removed with everything in it at the end.
// Declared after the program, so that it goes first: the program's own clean-up removes
// files only.
class FileFolder {
public:
    FileFolder(const Program& program, const char* name) : path_(FolderOf(program) + "\\" + name)
    {
        REQUIRE(CreateDirectoryA(path_.c_str(), nullptr));
    }
    ~FileFolder()
    {
        for (const std::string& name : FileNames(path_))
            DeleteFileA((path_ + "\\" + name).c_str());
        RemoveDirectoryA(path_.c_str());
    }
    FileFolder(const FileFolder&) = delete;
    FileFolder& operator=(const FileFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

    // Each file holds its own first name, so that a renamed file can be told apart.
    void Add(const std::vector<std::string>& names) const
    {
        for (const std::string& name : names)
            REQUIRE(MakeFile(*this / name, name));
    }

private:
    std::string path_;
};

// --- screenshots -------------------------------------------------------------------------

// What the program paints reaches the screen a moment later: the picture is saved again
// until it has stayed the same for a while.
void Shoot(HWND window, const std::string& name)
{
    char exe[MAX_PATH] = "";
    DWORD length = GetModuleFileNameA(nullptr, exe, sizeof exe);
    REQUIRE((length > 0 && length < sizeof exe));
    std::string folder(exe, length);
    folder = folder.substr(0, folder.find_last_of('\\'));
    // beside the driver's: the test executable lives in <build>/tests/e2e
    const std::string bmp = folder + "\\..\\..\\screenshots\\" + name + ".bmp";
    std::string last;
    DWORD since = 0;
    bool steady = WaitFor([&] {
        if (!SaveScreenshot(window, name))
            return false;
        std::string picture = ReadWhole(bmp, 16u << 20);
        if (picture.empty() || picture != last) {
            last = picture;
            since = GetTickCount();
            return false;
        }
        return GetTickCount() - since >= 300;
    });
    CHECK(steady);
}

// --- settings ----------------------------------------------------------------------------

// A defaults file whose engines differ from those of the user's section.
std::string OtherDefaults()
{
    IniText ini;
    ini.Section("Default");
    AddOptions(ini);
    for (int n = 1; n <= 12; ++n)
        ini.Key(Numbered("EGNAME", n), Numbered("既定", n))
            .Key(Numbered("ENGINE", n), "http://default.test/" + std::to_string(n) + "?q=%s");
    return ini.Text();
}

// The user's settings with the driver's engines 1 to 11; slot 12 has no keys at all.
IniText ElevenEngines()
{
    IniText ini;
    ini.Section(UserSection());
    AddOptions(ini);
    for (int n = 1; n <= 11; ++n)
        ini.Key(Numbered("EGNAME", n), Engines[n - 1].name)
            .Key(Numbered("ENGINE", n), Engines[n - 1].url);
    return ini;
}

std::vector<std::string> EngineLabels(const std::vector<std::string>& names)
{
    std::vector<std::string> labels;
    for (size_t i = 0; i < names.size(); ++i)
        labels.push_back("[F" + std::to_string(i + 1) + "] " + names[i]);
    return labels;
}

std::vector<std::string> ElevenEngineLabels()
{
    std::vector<std::string> names;
    for (int n = 1; n <= 11; ++n)
        names.push_back(Engines[n - 1].name);
    names.push_back("");
    return EngineLabels(names);
}

struct Destination {
    std::string name, path;
    int kind, orderBy;
    std::string filter, viewer;
};

const char* const DestinationKeys[] = {"TOURNAME", "TOURPATH", "INPUTPATH",
                                       "TOURORDERBY", "EXTFILTER", "TOURAPP"};

std::vector<std::string> Values(const Destination& d)
{
    return {d.name, d.path, std::to_string(d.kind), std::to_string(d.orderBy), d.filter, d.viewer};
}

IniText& AddDestination(IniText& ini, int slot, const Destination& d)
{
    std::vector<std::string> values = Values(d);
    for (int k = 0; k < 6; ++k)
        ini.Key(Numbered(DestinationKeys[k], slot), values[k]);
    return ini;
}

// Slots 1 to 4 and 30 set, the others without keys.
const Destination Photos = {"写真", "C:\\Photo\\*.jpg", 0, 2, ".jpg;.png;",
                            "C:\\Tools\\view.exe \"%s\""};
const Destination Walls = {"壁紙", "C:\\Wall\\*.*", 2, 5, "", ""};
const Destination Asked = {"毎回", "C:\\Ask", 1, 1, ".gif;", ""};
const Destination Notes = {"メモ", "C:\\Memo\\*.txt", 3, 0, "", "notepad.exe \"%s\""};
const Destination Last = {"最後", "D:\\Last\\*.bmp", 0, 4, "", "C:\\100%%\\v.exe \"%s\""};

IniText FiveDestinations()
{
    IniText ini = ResidentIni();
    AddDestination(ini, 1, Photos);
    AddDestination(ini, 2, Walls);
    AddDestination(ini, 3, Asked);
    AddDestination(ini, 4, Notes);
    AddDestination(ini, 30, Last);
    return ini;
}

std::vector<std::string> FiveDestinationEntries()
{
    std::vector<std::string> entries(SlotCount, "-");
    entries[0] = Photos.name;
    entries[1] = Walls.name;
    entries[2] = Asked.name;
    entries[3] = Notes.name;
    entries[29] = Last.name;
    return entries;
}

void CheckShown(HWND page, const Destination& d)
{
    CHECK(ControlText(page, DestName) == d.name);
    CHECK(ControlText(page, DestPath) == d.path);
    CHECK(ComboSelection(page, DestKind) == d.kind);
    CHECK(ComboSelection(page, DestOrderBy) == d.orderBy);
    CHECK(ControlText(page, DestFilter) == d.filter);
    CHECK(ControlText(page, DestViewer) == d.viewer);
    CHECK(IsEnabled(page, DestOrderButton) == (d.kind != AskEachTimeKind));
}

void CheckSaved(const Program& program, int slot, const Destination& d)
{
    std::vector<std::string> values = Values(d);
    for (int k = 0; k < 6; ++k) {
        std::string key = Numbered(DestinationKeys[k], slot);
        INFO(key);
        CHECK(program.Ini(key) == values[k]);
    }
}

void CheckNoKeys(const Program& program, int slot)
{
    for (const char* base : DestinationKeys) {
        std::string key = Numbered(base, slot);
        INFO(key);
        CHECK(program.Ini(key) == "<missing>");
    }
}

// --- file order --------------------------------------------------------------------------

// Opens the file order dialog with the page's order button.
HWND OpenFileOrder(const Program& program, HWND page)
{
    REQUIRE(IsEnabled(page, DestOrderButton));
    PostCommand(page, DestOrderButton); // post: the dialog runs its own loop
    HWND dialog = WaitDialog(program, OrderCaption);
    REQUIRE(dialog);
    return dialog;
}

void CheckMoveButtons(HWND dialog, bool upward, bool downward)
{
    CHECK(IsEnabled(dialog, OrderUp) == upward);
    CHECK(IsEnabled(dialog, OrderTop) == upward);
    CHECK(IsEnabled(dialog, OrderDown) == downward);
    CHECK(IsEnabled(dialog, OrderBottom) == downward);
}

// Presses a move button and checks the list against the same move made on `expected`.
void MoveName(HWND dialog, int button, std::vector<std::string>& expected, int to)
{
    int from = ListCursor(dialog, OrderList);
    REQUIRE(from >= 0);
    REQUIRE(IsEnabled(dialog, button));
    Click(dialog, button);
    std::string name = expected[from];
    expected.erase(expected.begin() + from);
    expected.insert(expected.begin() + to, name);
    CHECK(ListTexts(dialog, OrderList) == expected);
    CHECK(ListCursor(dialog, OrderList) == to);
    CheckMoveButtons(dialog, to > 0, to < static_cast<int>(expected.size()) - 1);
}

// The name without its "[nn] " in front, if it has one.
std::string WithoutNumber(const std::string& name)
{
    auto digit = [&](size_t i) { return isdigit(static_cast<unsigned char>(name[i])) != 0; };
    bool numbered = name.size() > 5 && name[0] == '[' && digit(1) && digit(2) && name[3] == ']'
                    && name[4] == ' ';
    return numbered ? name.substr(5) : name;
}

} // namespace

TEST_CASE("engines page edits are written by OK")
{
    Program program(ElevenEngines().Text(), OtherDefaults());
    REQUIRE(program.Start());
    HWND search = program.WaitSearchWindow();
    REQUIRE(search);
    HWND sheet = OpenSheetFrom(program, search);
    HWND page = ShowPage(sheet, EnginesPage);

    // the user's own engines, not the defaults file's; F1 selected and shown
    CHECK(ListTexts(page, EngineList) == ElevenEngineLabels());
    CHECK(ListCursor(page, EngineList) == 0);
    CHECK(ControlText(page, EngineNameEdit) == Engines[0].name);
    CHECK(ControlText(page, EngineUrlEdit) == Engines[0].url);
    CHECK_FALSE(IsEnabled(page, EngineUp));
    CHECK(IsEnabled(page, EngineDown));
    Shoot(sheet, "engines-page");

    PickEntry(page, EngineList, 11);
    CHECK(ControlText(page, EngineNameEdit).empty());
    CHECK(ControlText(page, EngineUrlEdit).empty());
    CHECK(IsEnabled(page, EngineUp));
    CHECK_FALSE(IsEnabled(page, EngineDown));

    // rename F3: the list follows once the focus leaves the name, not while typing
    PickEntry(page, EngineList, 2);
    CHECK(ControlText(page, EngineNameEdit) == Engines[2].name);
    CHECK(ControlText(page, EngineUrlEdit) == Engines[2].url);
    TypeInto(page, EngineNameEdit, "国語辞典");
    CHECK(ListTexts(page, EngineList)[2] == "[F3] 辞書（表）");
    TypeInto(page, EngineUrlEdit, "https://kokugo.test/?q=%s");
    std::vector<std::string> names = {"ウェブ検索", "画像検索", "国語辞典", "四", "五", "六",
                                      "七", "八", "九", "十", "十一", ""};
    CHECK(ListTexts(page, EngineList) == EngineLabels(names));
    FocusControl(page, EngineList);
    CHECK(ListTexts(page, EngineList) == EngineLabels(names));

    // up takes name and template to F2; down twice takes them on to F4
    Click(page, EngineUp);
    names = {"ウェブ検索", "国語辞典", "画像検索", "四", "五", "六",
             "七",         "八",       "九",       "十", "十一", ""};
    CHECK(ListTexts(page, EngineList) == EngineLabels(names));
    CHECK(ListCursor(page, EngineList) == 1);
    CHECK(ControlText(page, EngineNameEdit) == "国語辞典");
    CHECK(ControlText(page, EngineUrlEdit) == "https://kokugo.test/?q=%s");
    Click(page, EngineDown);
    Click(page, EngineDown);
    names = {"ウェブ検索", "画像検索", "四", "国語辞典", "五", "六",
             "七",         "八",       "九", "十",       "十一", ""};
    CHECK(ListTexts(page, EngineList) == EngineLabels(names));
    CHECK(ListCursor(page, EngineList) == 3);
    CHECK(ControlText(page, EngineUrlEdit) == "https://kokugo.test/?q=%s");

    // clear F5: both fields empty, the entry ends with the blank
    PickEntry(page, EngineList, 4);
    Click(page, EngineClear);
    names[4] = "";
    CHECK(ListTexts(page, EngineList) == EngineLabels(names));
    CHECK(ListCursor(page, EngineList) == 4);
    CHECK(ControlText(page, EngineNameEdit).empty());
    CHECK(ControlText(page, EngineUrlEdit).empty());

    // a name still being typed when OK is clicked is kept: the click takes the focus first
    PickEntry(page, EngineList, 5);
    TypeInto(page, EngineNameEdit, "六番目");
    CloseSheet(program, sheet, IDOK);

    const std::string urls[12] = {Engines[0].url, Engines[1].url, Engines[3].url,
                                  "https://kokugo.test/?q=%s", "", Engines[5].url,
                                  Engines[6].url, Engines[7].url, Engines[8].url,
                                  Engines[9].url, Engines[10].url, ""};
    names[5] = "六番目";
    for (int n = 1; n <= 12; ++n) {
        INFO("engine " << n);
        CHECK(program.Ini(Numbered("EGNAME", n)) == names[n - 1]);
        CHECK(program.Ini(Numbered("ENGINE", n)) == urls[n - 1]);
    }
}

TEST_CASE("engines page cancel writes nothing")
{
    Program program(ElevenEngines().Text(), OtherDefaults());
    REQUIRE(program.Start());
    HWND search = program.WaitSearchWindow();
    REQUIRE(search);
    HWND sheet = OpenSheetFrom(program, search);
    HWND page = ShowPage(sheet, EnginesPage);

    TypeInto(page, EngineNameEdit, "変えた名前");
    TypeInto(page, EngineUrlEdit, "http://changed.test/?q=%s");
    PickEntry(page, EngineList, 1);
    Click(page, EngineDown);
    Click(page, EngineClear);
    CHECK(ListTexts(page, EngineList)
          == EngineLabels({"変えた名前", "辞書（表）", "", "四", "五", "六", "七", "八", "九",
                           "十", "十一", ""}));
    CloseSheet(program, sheet, IDCANCEL);

    for (int n = 1; n <= 11; ++n) {
        INFO("engine " << n);
        CHECK(program.Ini(Numbered("EGNAME", n)) == Engines[n - 1].name);
        CHECK(program.Ini(Numbered("ENGINE", n)) == Engines[n - 1].url);
    }
    CHECK(program.Ini("EGNAME12") == "<missing>");
    CHECK(program.Ini("ENGINE12") == "<missing>");

    // the edits are gone: the sheet opened again shows the saved engines
    sheet = OpenSheetFrom(program, search);
    page = ShowPage(sheet, EnginesPage);
    CHECK(ListTexts(page, EngineList) == ElevenEngineLabels());
    CloseSheet(program, sheet, IDCANCEL);
}

TEST_CASE("engines page on a first run lists the engines of the defaults file")
{
    IniText others;
    others.Section("someone-else").Key("HOTKEY", 0x8000 | 11);
    Program program(others.Text(), OtherDefaults());
    REQUIRE(program.Start());
    HWND box = program.WaitMessageBox();
    REQUIRE(box);
    CHECK(MessageText(box) == FirstRunText);
    Answer(box, IDOK);
    HWND sheet = program.WaitSheet();
    REQUIRE(sheet);

    // start-up copied the default engines to the user's section; change one there behind
    // the program's back: until the sheet is confirmed the page reads the defaults file
    REQUIRE(program.Ini("EGNAME1") == "既定1");
    REQUIRE(WritePrivateProfileStringA(UserSection().c_str(), "EGNAME1", "利用者の検索",
                                       (FolderOf(program) + "\\kirapick.ini").c_str()));
    HWND page = ShowPage(sheet, EnginesPage);
    std::vector<std::string> names;
    for (int n = 1; n <= 12; ++n)
        names.push_back(Numbered("既定", n));
    CHECK(ListTexts(page, EngineList) == EngineLabels(names));
    CHECK(ControlText(page, EngineUrlEdit) == "http://default.test/1?q=%s");

    PickEntry(page, EngineList, 11);
    TypeInto(page, EngineNameEdit, "十二番");
    TypeInto(page, EngineUrlEdit, "http://twelve.test/?q=%s");
    // at first start the windows are made once the sheet has closed
    Click(sheet, IDOK);
    WaitGone(sheet);
    REQUIRE(program.WaitSearchWindow());
    REQUIRE(program.Sync());

    // OK wrote the page's engines, taken from the defaults file, to the user's section
    for (int n = 1; n <= 11; ++n) {
        INFO("engine " << n);
        CHECK(program.Ini(Numbered("EGNAME", n)) == names[n - 1]);
        CHECK(program.Ini(Numbered("ENGINE", n))
              == "http://default.test/" + std::to_string(n) + "?q=%s");
    }
    CHECK(program.Ini("EGNAME12") == "十二番");
    CHECK(program.Ini("ENGINE12") == "http://twelve.test/?q=%s");
}

TEST_CASE("destinations page edits are written by OK")
{
    Program program(FiveDestinations().Text());
    REQUIRE(program.Start());
    HWND search = program.WaitSearchWindow();
    REQUIRE(search);
    HWND sheet = OpenSheetFrom(program, search);
    HWND page = ShowPage(sheet, DestinationsPage);

    // opened from the search window: slot 1 selected and shown
    CHECK(ComboItems(page, DestKind) == KindItems);
    CHECK(ComboItems(page, DestOrderBy) == OrderItems);
    std::vector<std::string> entries = FiveDestinationEntries();
    CHECK(ListTexts(page, DestList) == entries);
    CHECK(ListCursor(page, DestList) == 0);
    CheckShown(page, Photos);
    CHECK_FALSE(IsEnabled(page, DestUp));
    CHECK(IsEnabled(page, DestDown));
    Shoot(sheet, "destinations-page");

    // a destination asked for each time has nothing to put in order
    PickEntry(page, DestList, 2);
    CheckShown(page, Asked);
    PickEntry(page, DestList, 29);
    CheckShown(page, Last);
    CHECK(IsEnabled(page, DestUp));
    CHECK_FALSE(IsEnabled(page, DestDown));

    // rename slot 2: the list shows the name as soon as the focus moves on
    PickEntry(page, DestList, 1);
    CheckShown(page, Walls);
    TypeInto(page, DestName, "壁紙コレクション");
    CHECK(ListTexts(page, DestList)[1] == "壁紙");
    FocusControl(page, DestPath);
    entries[1] = "壁紙コレクション";
    CHECK(ListTexts(page, DestList) == entries);
    CHECK(ControlText(page, DestName) == "壁紙コレクション");

    // the kind decides the order button
    PickItem(page, DestKind, AskEachTimeKind);
    CHECK_FALSE(IsEnabled(page, DestOrderButton));
    PickItem(page, DestKind, 3);
    CHECK(IsEnabled(page, DestOrderButton));
    PickItem(page, DestKind, AskEachTimeKind);
    CHECK_FALSE(IsEnabled(page, DestOrderButton));
    PickItem(page, DestOrderBy, 4);
    Destination walls = {"壁紙コレクション", Walls.path, AskEachTimeKind, 4, "", ""};

    // down, then up twice: the destination travels whole and stays selected
    Click(page, DestDown);
    std::swap(entries[1], entries[2]);
    CHECK(ListTexts(page, DestList) == entries);
    CHECK(ListCursor(page, DestList) == 2);
    CheckShown(page, walls);
    Click(page, DestUp);
    Click(page, DestUp);
    std::swap(entries[1], entries[2]);
    std::swap(entries[0], entries[1]);
    CHECK(ListTexts(page, DestList) == entries);
    CHECK(ListCursor(page, DestList) == 0);
    CheckShown(page, walls);
    CHECK_FALSE(IsEnabled(page, DestUp));
    PickEntry(page, DestList, 1);
    CheckShown(page, Photos);

    // clear slot 4 without a question
    PickEntry(page, DestList, 3);
    CheckShown(page, Notes);
    Click(page, DestClear);
    entries[3] = "-";
    CHECK(ListTexts(page, DestList) == entries);
    CHECK(ListCursor(page, DestList) == 3);
    const Destination cleared = {"", "", 0, 0, "", ""};
    CheckShown(page, cleared);

    // a filter still being typed when OK is clicked is kept
    PickEntry(page, DestList, 29);
    TypeInto(page, DestFilter, ".bmp;.dib;");
    CloseSheet(program, sheet, IDOK);

    // all thirty slots written, the untouched empty ones too
    CheckSaved(program, 1, walls);
    CheckSaved(program, 2, Photos);
    CheckSaved(program, 3, Asked);
    for (int slot = 4; slot <= 29; ++slot) {
        INFO("slot " << slot);
        CheckSaved(program, slot, cleared);
    }
    Destination last = Last;
    last.filter = ".bmp;.dib;";
    CheckSaved(program, 30, last);
}

TEST_CASE("destinations page cancel writes nothing")
{
    Program program(FiveDestinations().Text());
    REQUIRE(program.Start());
    HWND search = program.WaitSearchWindow();
    REQUIRE(search);
    HWND sheet = OpenSheetFrom(program, search);
    HWND page = ShowPage(sheet, DestinationsPage);

    TypeInto(page, DestName, "別の名前");
    TypeInto(page, DestPath, "C:\\Other\\*.png");
    PickItem(page, DestKind, 2);
    Click(page, DestDown);
    PickEntry(page, DestList, 4);
    TypeInto(page, DestName, "新しい見廻り先");
    PickEntry(page, DestList, 29);
    Click(page, DestClear);
    CHECK(ListTexts(page, DestList)[1] == "別の名前");
    CHECK(ListTexts(page, DestList)[4] == "新しい見廻り先");
    CHECK(ListTexts(page, DestList)[29] == "-");
    CloseSheet(program, sheet, IDCANCEL);

    CheckSaved(program, 1, Photos);
    CheckSaved(program, 2, Walls);
    CheckSaved(program, 3, Asked);
    CheckSaved(program, 4, Notes);
    for (int slot = 5; slot <= 29; ++slot) {
        INFO("slot " << slot);
        CheckNoKeys(program, slot);
    }
    CheckSaved(program, 30, Last);

    sheet = OpenSheetFrom(program, search);
    page = ShowPage(sheet, DestinationsPage);
    CHECK(ListTexts(page, DestList) == FiveDestinationEntries());
    CheckShown(page, Photos);
    CloseSheet(program, sheet, IDCANCEL);
}

TEST_CASE("the order button numbers files in the arranged order and release takes the numbers off")
{
    IniText ini = ResidentIni();
    // the saved filter counts, not the one being edited
    AddDestination(ini, 1, {"整理", "", 0, 0, ".jpg;", ""});
    Program program(ini.Text());
    FileFolder pics(program, "pics");
    const std::vector<std::string> original = {"[03] a.jpg", "b.jpg", "c.jpg", "d.jpg"};
    pics.Add(original);
    pics.Add({"note.txt"});
    REQUIRE(program.Start());
    HWND search = program.WaitSearchWindow();
    REQUIRE(search);
    HWND sheet = OpenSheetFrom(program, search);
    HWND page = ShowPage(sheet, DestinationsPage);

    TypeInto(page, DestFilter, ".txt;");
    // typed, not yet taken in: the button uses the text as it stands
    TypeInto(page, DestPath, pics.Path() + "\\*.*");

    // cancel renames nothing
    HWND dialog = OpenFileOrder(program, page);
    CHECK(Sorted(ListTexts(dialog, OrderList)) == original);
    CHECK(ListCursor(dialog, OrderList) == 0);
    CheckMoveButtons(dialog, false, true);
    Click(dialog, OrderBottom);
    Answer(dialog, IDCANCEL);
    WaitGone(dialog);
    std::vector<std::string> onDisk = original;
    onDisk.push_back("note.txt");
    CHECK(FileNames(pics.Path()) == onDisk);

    // arrange with all four buttons, from the folder's own order
    dialog = OpenFileOrder(program, page);
    std::vector<std::string> order = ListTexts(dialog, OrderList);
    REQUIRE(Sorted(order) == original);
    Shoot(dialog, "file-order-dialog");
    const int last = static_cast<int>(order.size()) - 1;
    PickEntry(dialog, OrderList, 0);
    CheckMoveButtons(dialog, false, true);
    MoveName(dialog, OrderBottom, order, last);
    MoveName(dialog, OrderUp, order, last - 1);
    PickEntry(dialog, OrderList, 1);
    CheckMoveButtons(dialog, true, true);
    MoveName(dialog, OrderTop, order, 0);
    MoveName(dialog, OrderDown, order, 1);
    Answer(dialog, IDOK);
    WaitGone(dialog);

    // "[01] " to "[04] " in the arranged order; an old number is replaced, not kept
    std::vector<std::string> numbered;
    for (size_t i = 0; i < order.size(); ++i) {
        std::string name = "[0" + std::to_string(i + 1) + "] " + WithoutNumber(order[i]);
        numbered.push_back(name);
        INFO(name);
        CHECK(FileContent(pics / name) == order[i]);
    }
    onDisk = numbered;
    onDisk.push_back("note.txt");
    CHECK(FileNames(pics.Path()) == Sorted(onDisk));

    // release: No keeps the dialog and the names, Yes takes the numbers off
    dialog = OpenFileOrder(program, page);
    CHECK(ListTexts(dialog, OrderList) == numbered);
    PostCommand(dialog, OrderRelease);
    ExpectMessage(program, ReleaseQuestion, IDNO);
    CHECK(IsVisible(dialog));
    CHECK(ListTexts(dialog, OrderList) == numbered);
    CHECK(FileNames(pics.Path()) == Sorted(onDisk));
    PostCommand(dialog, OrderRelease);
    ExpectMessage(program, ReleaseQuestion, IDYES);
    WaitGone(dialog);
    onDisk = {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "note.txt"};
    CHECK(FileNames(pics.Path()) == onDisk);
    CHECK(FileContent(pics / "a.jpg") == "[03] a.jpg");

    // the files changed at once; the destination's settings only with OK
    CloseSheet(program, sheet, IDCANCEL);
    CHECK(program.Ini("TOURPATH1").empty());
    CHECK(program.Ini("EXTFILTER1") == ".jpg;");
}

TEST_CASE("the order button counts the files first")
{
    IniText ini = ResidentIni();
    AddDestination(ini, 1, {"数える", "", 0, 0, "", ""});
    Program program(ini.Text());
    FileFolder pics(program, "pics");
    pics.Add({"x.jpg", "y.jpg"});
    FileFolder many(program, "many");
    std::vector<std::string> names;
    for (int i = 0; i < 100; ++i) {
        char name[16];
        snprintf(name, sizeof name, "f%03d.dat", i);
        names.push_back(name);
    }
    many.Add(names);
    REQUIRE(program.Start());
    HWND search = program.WaitSearchWindow();
    REQUIRE(search);
    HWND sheet = OpenSheetFrom(program, search);
    HWND page = ShowPage(sheet, DestinationsPage);

    // a folder without a pattern matches only itself, which is no file
    TypeInto(page, DestPath, pics.Path());
    PostCommand(page, DestOrderButton);
    ExpectMessage(program, NoFilesText);
    TypeInto(page, DestPath, pics.Path() + "\\*.png");
    PostCommand(page, DestOrderButton);
    ExpectMessage(program, NoFilesText);

    TypeInto(page, DestPath, many.Path() + "\\*.dat");
    PostCommand(page, DestOrderButton);
    ExpectMessage(program, "ファイルが100個あります。\n99個までしか順番付けできません。");
    CHECK(FindDialog(program, OrderCaption) == nullptr);

    // 99 are allowed
    REQUIRE(DeleteFileA((many / names.back()).c_str()));
    names.pop_back();
    HWND dialog = OpenFileOrder(program, page);
    CHECK(Sorted(ListTexts(dialog, OrderList)) == names);
    Answer(dialog, IDCANCEL);
    WaitGone(dialog);
    CHECK(FileNames(many.Path()) == names);
    CloseSheet(program, sheet, IDCANCEL);
}

TEST_CASE("the about page shows the version")
{
    Program program(ResidentIni().Text());
    REQUIRE(program.Start());
    HWND search = program.WaitSearchWindow();
    REQUIRE(search);
    HWND sheet = OpenSheetFrom(program, search);
    HWND page = ShowPage(sheet, AboutPage);
    std::vector<std::string> texts = StaticTexts(page);
    REQUIRE(texts.size() == 3);
    CHECK(texts[0] == "キラピック！ Ver.2.5.2");
    Shoot(sheet, "about-page");
    // the pages in their order, by the captions of their templates
    const char* const captions[] = {"オプション", "検索エンジン", "見廻り先", "バージョン情報"};
    for (int index = OptionsPage; index <= AboutPage; ++index) {
        INFO("page " << index);
        CHECK(Text(ShowPage(sheet, index)) == captions[index]);
    }
    CloseSheet(program, sheet, IDCANCEL);
}
