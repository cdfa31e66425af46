// The pages of the settings sheet and the file order dialog, driven as a user would: clicks,
// typed text and focus moves, then the settings file and the files on disk.
#include "e2e.h"

#include <prsht.h>

#include <algorithm>

using namespace e2e;

namespace {

constexpr int SettingsButton = 1005;
enum PageIndex { OptionsPage, EnginesPage, DestinationsPage, AboutPage };

// options page
constexpr int HotKeyList = 1018, CtrlBox = 1009, ShiftBox = 1010, ImeBox = 1007;
constexpr int CopyBox = 1013, AutoOpenBox = 1014, ShiftOpenBox = 1015;
// the lists of the engines and destinations pages share their buttons
constexpr int ListDown = 1202, ListUp = 1203, ListClear = 1009;
constexpr int EngineList = 1201, EngineName = 1051, EngineUrl = 1031;
constexpr int DestList = 1204, DestName = 1160, DestKind = 1208, DestPath = 1065;
constexpr int DestOrderBy = 1008, DestOrderButton = 1205, DestFilter = 1007, DestViewer = 1006;
// file order dialog
constexpr int OrderList = 1207, OrderUp = 1203, OrderDown = 1202, OrderTop = 1204;
constexpr int OrderBottom = 1206, OrderRelease = 1009;

constexpr int AskEachTimeKind = 1;

const char FirstRunText[] = "設定を読み込めませんでした。\n先に設定を行ってください。";
const char OrderCaption[] = "ファイル閲覧の順番";
const char ReleaseQuestion[] = "ファイルの順番付けを解除しますか？";
const char NoFilesText[] = "ファイルが1つもありません。";

std::string Numbered(const char* base, int n) { return base + std::to_string(n); }

std::vector<std::string> Sorted(std::vector<std::string> items)
{
    std::sort(items.begin(), items.end());
    return items;
}

// --- windows of the program --------------------------------------------------------------

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
    REQUIRE(WaitGone(sheet));
    // the caller's save has happened once the program is back in its loop
    REQUIRE(program.Sync());
}

// Moves the keyboard focus to a control, as a click or the Tab key would: the control that
// had it hears that it lost it.
void FocusControl(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    REQUIRE(control);
    Send(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(control, nullptr);
    REQUIRE(WaitFor([&] { return GetGUIThreadInfo(thread, &info) && info.hwndFocus == control; }));
}

// Types text into an edit, which keeps the focus.
void TypeInto(HWND dialog, int id, const std::string& text)
{
    FocusControl(dialog, id);
    Send(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Clicks entry `index` of a list box, or chooses item `index` of a drop-down list.
void Pick(HWND dialog, int id, int index, UINT select = LB_SETCURSEL)
{
    FocusControl(dialog, id);
    HWND control = GetDlgItem(dialog, id);
    Send(control, select, static_cast<WPARAM>(index), 0);
    static_assert(LBN_SELCHANGE == CBN_SELCHANGE, "one notification for both");
    Send(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(control));
}

int ListCursor(HWND dialog, int id)
{
    return static_cast<int>(Send(GetDlgItem(dialog, id), LB_GETCURSEL, 0, 0));
}

// What the program paints reaches the screen a moment later: the picture is saved again
// until it has stayed the same for a while.
void Shoot(HWND window, const std::string& name)
{
    const std::string bmp = BuildFolder() + "\\screenshots\\" + name + ".bmp";
    std::string last, picture;
    DWORD since = 0;
    CHECK(WaitFor([&] {
        if (!SaveScreenshot(window, name) || !ReadFileText(bmp, picture))
            return false;
        if (picture != last) {
            last = picture;
            since = GetTickCount();
            return false;
        }
        return GetTickCount() - since >= 300;
    }));
}

// --- settings ----------------------------------------------------------------------------

// A defaults file whose engines differ from those of the user's section.
std::string OtherDefaults()
{
    IniText ini;
    AddOptions(ini.Section("Default"));
    for (int n = 1; n <= 12; ++n)
        ini.Key(Numbered("EGNAME", n), Numbered("既定", n))
            .Key(Numbered("ENGINE", n), "http://default.test/" + std::to_string(n) + "?q=%s");
    return ini.Text();
}

std::vector<std::string> EngineLabels(const std::vector<std::string>& names)
{
    std::vector<std::string> labels;
    for (size_t i = 0; i < names.size(); ++i)
        labels.push_back("[F" + std::to_string(i + 1) + "] " + names[i]);
    return labels;
}

// The driver's engines 1 to 11; slot 12 has no keys at all.
const std::vector<std::string> ElevenNames = {"ウェブ検索", "画像検索", "辞書（表）", "四", "五",
                                              "六", "七", "八", "九", "十", "十一", ""};

struct Destination {
    std::string name, path;
    int kind, orderBy;
    std::string filter, viewer;
};

const char* const DestinationKeys[] = {"TOURNAME",    "TOURPATH",  "INPUTPATH",
                                       "TOURORDERBY", "EXTFILTER", "TOURAPP"};

std::vector<std::string> Values(const Destination& d)
{
    return {d.name, d.path, std::to_string(d.kind), std::to_string(d.orderBy), d.filter, d.viewer};
}

void AddDestination(IniText& ini, int slot, const Destination& d)
{
    for (int k = 0; k < 6; ++k)
        ini.Key(Numbered(DestinationKeys[k], slot), Values(d)[k]);
}

// Slots 1 to 4 and 30 set, the others without keys.
const Destination Photos = {"写真", "C:\\Photo\\*.jpg", 0, 2, ".jpg;.png;",
                            "C:\\Tools\\view.exe \"%s\""};
const Destination Walls = {"壁紙", "C:\\Wall\\*.*", 2, 5, "", ""};
const Destination Asked = {"毎回", "C:\\Ask", 1, 1, ".gif;", ""};
const Destination Notes = {"メモ", "C:\\Memo\\*.txt", 3, 0, "", "notepad.exe \"%s\""};
const Destination Last = {"最後", "D:\\Last\\*.bmp", 0, 4, "", "C:\\100%%\\v.exe \"%s\""};
const Destination Cleared = {"", "", 0, 0, "", ""};
const std::pair<int, const Destination*> FiveSlots[] = {
    {1, &Photos}, {2, &Walls}, {3, &Asked}, {4, &Notes}, {30, &Last}};

// The user's settings: the driver's options, engines 1 to 11 and the five destinations.
std::string PagesIni()
{
    IniText ini;
    Options options; // every key there, so that saving the options changes nothing
    options.httpsUrl = options.trayIcon = 0;
    options.autoStart = 1;
    AddOptions(ini.Section(UserSection()), options);
    for (int n = 1; n <= 11; ++n)
        ini.Key(Numbered("EGNAME", n), Engines[n - 1].name)
            .Key(Numbered("ENGINE", n), Engines[n - 1].url);
    for (const auto& slot : FiveSlots)
        AddDestination(ini, slot.first, *slot.second);
    return ini.Text();
}

std::vector<std::string> FiveDestinationEntries()
{
    std::vector<std::string> entries(30, "-");
    for (const auto& slot : FiveSlots)
        entries[slot.first - 1] = slot.second->name;
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
    for (int k = 0; k < 6; ++k) {
        INFO(Numbered(DestinationKeys[k], slot));
        CHECK(program.Ini(Numbered(DestinationKeys[k], slot)) == Values(d)[k]);
    }
}

// --- file order --------------------------------------------------------------------------

// Opens the file order dialog with the page's order button.
HWND OpenFileOrder(const Program& program, HWND page)
{
    REQUIRE(IsEnabled(page, DestOrderButton));
    PostCommand(page, DestOrderButton); // post: the dialog runs its own loop
    HWND dialog = program.WaitDialog(OrderCaption);
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
    CHECK(ListItems(dialog, OrderList) == expected);
    CHECK(ListCursor(dialog, OrderList) == to);
    CheckMoveButtons(dialog, to > 0, to < static_cast<int>(expected.size()) - 1);
}

} // namespace

TEST_CASE("engines and destinations page edits are written by OK")
{
    Program program(PagesIni(), OtherDefaults());
    REQUIRE(program.Start());
    HWND search = program.WaitSearchWindow();
    REQUIRE(search);
    HWND sheet = OpenSheetFrom(program, search);

    // opened from the search window: slot 1 selected and shown
    HWND page = ShowPage(sheet, DestinationsPage);
    std::vector<std::string> entries = FiveDestinationEntries();
    CHECK(ListItems(page, DestList) == entries);
    CHECK(ListCursor(page, DestList) == 0);
    CheckShown(page, Photos);
    CHECK_FALSE(IsEnabled(page, ListUp));
    Shoot(sheet, "destinations-page");
    CHECK(ComboItems(page, DestKind)
          == std::vector<std::string>{"見廻り先は固定", "見廻り先を毎回指定",
                                      "見廻り先は固定＋くいっくオープン",
                                      "見廻らない＋くいっくオープン"});
    CHECK(ComboItems(page, DestOrderBy)
          == std::vector<std::string>{"ファイル名（昇順）", "ファイル名（降順）",
                                      "更新日時（昇順）", "更新日時（降順）",
                                      "ファイルサイズ（昇順）", "ファイルサイズ（降順）"});
    // a destination asked for each time has nothing to put in order
    Pick(page, DestList, 2);
    CheckShown(page, Asked);
    Pick(page, DestList, 29);
    CheckShown(page, Last);
    CHECK(IsEnabled(page, ListUp));
    CHECK_FALSE(IsEnabled(page, ListDown));

    // rename slot 2: the list shows the name as soon as the focus moves on
    Pick(page, DestList, 1);
    TypeInto(page, DestName, "壁紙コレクション");
    CHECK(ListItems(page, DestList)[1] == "壁紙");
    FocusControl(page, DestPath);
    entries[1] = "壁紙コレクション";
    CHECK(ListItems(page, DestList) == entries);

    // the kind decides the order button at once
    CHECK(IsEnabled(page, DestOrderButton));
    Pick(page, DestKind, AskEachTimeKind, CB_SETCURSEL);
    CHECK_FALSE(IsEnabled(page, DestOrderButton));
    Pick(page, DestOrderBy, 4, CB_SETCURSEL);
    const Destination walls = {"壁紙コレクション", Walls.path, AskEachTimeKind, 4, "", ""};

    // down, then up twice: the destination travels whole and stays selected
    Click(page, ListDown);
    CHECK(ListCursor(page, DestList) == 2);
    Click(page, ListUp);
    Click(page, ListUp);
    std::swap(entries[0], entries[1]);
    CHECK(ListItems(page, DestList) == entries);
    CHECK(ListCursor(page, DestList) == 0);
    CheckShown(page, walls);

    // clear slot 4 without a question
    Pick(page, DestList, 3);
    Click(page, ListClear);
    entries[3] = "-";
    CHECK(ListItems(page, DestList) == entries);
    CHECK(ListCursor(page, DestList) == 3);
    CheckShown(page, Cleared);

    // a filter left by going to another page is kept
    Pick(page, DestList, 29);
    TypeInto(page, DestFilter, ".bmp;.dib;");

    // the user's own engines, not the defaults file's; F1 selected and shown
    page = ShowPage(sheet, EnginesPage);
    std::vector<std::string> names = ElevenNames;
    CHECK(ListItems(page, EngineList) == EngineLabels(names));
    CHECK(ControlText(page, EngineName) == Engines[0].name);
    CHECK(ControlText(page, EngineUrl) == Engines[0].url);
    Shoot(sheet, "engines-page");

    // rename F3: the list follows once the focus leaves the name, not while typing
    Pick(page, EngineList, 2);
    TypeInto(page, EngineName, "国語辞典");
    CHECK(ListItems(page, EngineList)[2] == "[F3] 辞書（表）");
    TypeInto(page, EngineUrl, "https://kokugo.test/?q=%s");
    names[2] = "国語辞典";
    CHECK(ListItems(page, EngineList) == EngineLabels(names));

    // up takes name and template to F2 (the destinations page moves both ways)
    Click(page, ListUp);
    std::swap(names[1], names[2]);
    CHECK(ListItems(page, EngineList) == EngineLabels(names));
    CHECK(ListCursor(page, EngineList) == 1);
    CHECK(ControlText(page, EngineUrl) == "https://kokugo.test/?q=%s");

    // clear F5: the entry ends with the blank
    Pick(page, EngineList, 4);
    Click(page, ListClear);
    names[4] = "";
    CHECK(ListItems(page, EngineList) == EngineLabels(names));

    // a name still being typed when OK is clicked is kept: the click takes the focus first
    Pick(page, EngineList, 5);
    TypeInto(page, EngineName, "六番目");
    CloseSheet(program, sheet, IDOK);

    names[5] = "六番目";
    const std::string urls[12] = {Engines[0].url, "https://kokugo.test/?q=%s", Engines[1].url,
                                  Engines[3].url, "", Engines[5].url, Engines[6].url,
                                  Engines[7].url, Engines[8].url, Engines[9].url,
                                  Engines[10].url, ""};
    for (int n = 1; n <= 12; ++n) {
        INFO("engine " << n);
        CHECK(program.Ini(Numbered("EGNAME", n)) == names[n - 1]);
        CHECK(program.Ini(Numbered("ENGINE", n)) == urls[n - 1]);
    }
    // all thirty slots written, the untouched empty ones too
    CheckSaved(program, 1, walls);
    CheckSaved(program, 2, Photos);
    CheckSaved(program, 3, Asked);
    for (int slot = 4; slot <= 29; ++slot)
        CheckSaved(program, slot, Cleared);
    Destination last = Last;
    last.filter = ".bmp;.dib;";
    CheckSaved(program, 30, last);
}

TEST_CASE("Cancel writes nothing from any page and the about page shows the version")
{
    Program program(PagesIni(), OtherDefaults());
    const std::string settings = program.Folder() + "\\kirapick.ini";
    REQUIRE(program.Start());
    HWND search = program.WaitSearchWindow();
    REQUIRE(search);
    REQUIRE(program.Sync());
    std::string before, after;
    REQUIRE(ReadFileText(settings, before));
    HWND sheet = OpenSheetFrom(program, search);

    // options: checking Ctrl+C enables the next box and, through it, the one after
    HWND page = ShowPage(sheet, OptionsPage);
    CHECK_FALSE(IsChecked(page, CopyBox));
    CHECK(IsChecked(page, AutoOpenBox));
    CHECK_FALSE(IsEnabled(page, AutoOpenBox));
    CHECK_FALSE(IsEnabled(page, ShiftOpenBox));
    Click(page, CopyBox);
    CHECK(IsEnabled(page, AutoOpenBox));
    CHECK(IsEnabled(page, ShiftOpenBox));
    SelectCombo(page, HotKeyList, 7);
    for (int box : {CtrlBox, ShiftBox, ImeBox})
        Click(page, box);

    page = ShowPage(sheet, EnginesPage);
    TypeInto(page, EngineName, "変えた名前");
    TypeInto(page, EngineUrl, "http://changed.test/?q=%s");
    Pick(page, EngineList, 1);
    Click(page, ListDown);
    Click(page, ListClear);
    CHECK(ListItems(page, EngineList)
          == EngineLabels({"変えた名前", "辞書（表）", "", "四", "五", "六", "七", "八", "九",
                           "十", "十一", ""}));

    page = ShowPage(sheet, DestinationsPage);
    TypeInto(page, DestName, "別の名前");
    TypeInto(page, DestPath, "C:\\Other\\*.png");
    Pick(page, DestKind, 2, CB_SETCURSEL);
    Click(page, ListDown);
    Pick(page, DestList, 4);
    TypeInto(page, DestName, "新しい見廻り先");
    Pick(page, DestList, 29);
    Click(page, ListClear);
    std::vector<std::string> entries = FiveDestinationEntries();
    entries[0] = Walls.name;
    entries[1] = "別の名前";
    entries[4] = "新しい見廻り先";
    entries[29] = "-";
    CHECK(ListItems(page, DestList) == entries);

    page = ShowPage(sheet, AboutPage);
    CHECK(MessageText(page) == "キラピック！ Ver.2.5.2");
    Shoot(sheet, "about-page");
    // the pages in their order, by the captions of their templates
    const char* const captions[] = {"オプション", "検索エンジン", "見廻り先", "バージョン情報"};
    for (int index = OptionsPage; index <= AboutPage; ++index)
        CHECK(Text(ShowPage(sheet, index)) == captions[index]);
    CloseSheet(program, sheet, IDCANCEL);

    // the program saves its options after the sheet from what it holds: the old ones, and
    // nothing else was written
    REQUIRE(ReadFileText(settings, after));
    CHECK(after == before);
}

TEST_CASE("engines page on a first run lists the engines of the defaults file")
{
    IniText others;
    others.Section("someone-else").Key("HOTKEY", 0x8000 | 11);
    Program program(others.Text(), OtherDefaults());
    REQUIRE(program.Start());
    CHECK(program.AnswerMessage() == FirstRunText);
    HWND sheet = program.WaitSheet();
    REQUIRE(sheet);

    // start-up copied the default engines to the user's section; change one there behind
    // the program's back: until the sheet is confirmed the page reads the defaults file
    REQUIRE(program.Ini("EGNAME1") == "既定1");
    REQUIRE(WritePrivateProfileStringA(UserSection().c_str(), "EGNAME1", "利用者の検索",
                                       (program.Folder() + "\\kirapick.ini").c_str()));
    HWND page = ShowPage(sheet, EnginesPage);
    std::vector<std::string> names;
    for (int n = 1; n <= 12; ++n)
        names.push_back(Numbered("既定", n));
    CHECK(ListItems(page, EngineList) == EngineLabels(names));
    CHECK(ControlText(page, EngineUrl) == "http://default.test/1?q=%s");

    Pick(page, EngineList, 11);
    TypeInto(page, EngineName, "十二番");
    TypeInto(page, EngineUrl, "http://twelve.test/?q=%s");
    // at first start the windows are made once the sheet has closed
    Click(sheet, IDOK);
    REQUIRE(WaitGone(sheet));
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

TEST_CASE("the order button counts the files then numbers them in the arranged order and release takes the numbers off")
{
    IniText ini = ResidentIni();
    // the saved filter counts, not the one being edited
    AddDestination(ini, 1, {"整理", "", 0, 0, ".jpg;", ""});
    Program program(ini.Text());
    const std::vector<std::string> original = {"[03] a.jpg", "b.jpg", "c.jpg", "d.jpg"};
    TestFiles pics, many;
    REQUIRE(pics.Add(original));
    REQUIRE(pics.Add({"note.txt"}));
    std::vector<std::string> hundred;
    for (int i = 0; i < 100; ++i)
        hundred.push_back("f" + std::to_string(1000 + i).substr(1) + ".jpg");
    REQUIRE(many.Add(hundred));
    REQUIRE(program.Start());
    HWND search = program.WaitSearchWindow();
    REQUIRE(search);
    HWND sheet = OpenSheetFrom(program, search);
    HWND page = ShowPage(sheet, DestinationsPage);

    // a folder without a pattern matches only itself, which is no file
    for (const std::string& path : {pics.Path(), pics.Path() + "\\*.png"}) {
        TypeInto(page, DestPath, path);
        PostCommand(page, DestOrderButton);
        CHECK(program.AnswerMessage() == NoFilesText);
    }
    TypeInto(page, DestPath, many.Path() + "\\*.*");
    PostCommand(page, DestOrderButton);
    CHECK(program.AnswerMessage() == "ファイルが100個あります。\n99個までしか順番付けできません。");
    CHECK_FALSE(program.WaitDialog(OrderCaption, 0));
    // 99 are allowed; Cancel renames nothing
    REQUIRE(DeleteFileA((many / hundred.back()).c_str()));
    hundred.pop_back();
    HWND dialog = OpenFileOrder(program, page);
    CHECK(Sorted(ListItems(dialog, OrderList)) == hundred);
    Click(dialog, OrderBottom);
    Answer(dialog, IDCANCEL);
    REQUIRE(WaitGone(dialog));
    CHECK(many.State() == TestFiles::Unchanged(hundred));

    TypeInto(page, DestFilter, ".txt;");
    // typed, not yet taken in: the button uses the text as it stands
    TypeInto(page, DestPath, pics.Path() + "\\*.*");
    dialog = OpenFileOrder(program, page);
    CHECK(ListCursor(dialog, OrderList) == 0);
    CheckMoveButtons(dialog, false, true);
    Shoot(dialog, "file-order-dialog");

    // arrange with all four buttons, from the folder's own order
    std::vector<std::string> order = ListItems(dialog, OrderList);
    REQUIRE(Sorted(order) == original);
    const int last = static_cast<int>(order.size()) - 1;
    MoveName(dialog, OrderBottom, order, last);
    MoveName(dialog, OrderUp, order, last - 1);
    Pick(dialog, OrderList, 1);
    CheckMoveButtons(dialog, true, true);
    MoveName(dialog, OrderTop, order, 0);
    MoveName(dialog, OrderDown, order, 1);
    Answer(dialog, IDOK);
    REQUIRE(WaitGone(dialog));

    // "[01] " to "[04] " in the arranged order; an old number is replaced, not kept
    FileState numbered = {{"note.txt", "note.txt"}};
    std::vector<std::string> listed;
    for (size_t i = 0; i < order.size(); ++i) {
        const std::string& name = order[i];
        listed.push_back("[0" + std::to_string(i + 1) + "] "
                         + (name[0] == '[' ? name.substr(5) : name));
        numbered[listed.back()] = name;
    }
    CHECK(pics.State() == numbered);

    // release: No keeps the dialog and the names, Yes takes the numbers off
    dialog = OpenFileOrder(program, page);
    CHECK(ListItems(dialog, OrderList) == listed);
    PostCommand(dialog, OrderRelease);
    CHECK(program.AnswerMessage(IDNO) == ReleaseQuestion);
    CHECK(IsVisible(dialog));
    CHECK(pics.State() == numbered);
    PostCommand(dialog, OrderRelease);
    CHECK(program.AnswerMessage(IDYES) == ReleaseQuestion);
    REQUIRE(WaitGone(dialog));
    CHECK(pics.State() == FileState{{"a.jpg", "[03] a.jpg"}, {"b.jpg", "b.jpg"},
                                    {"c.jpg", "c.jpg"}, {"d.jpg", "d.jpg"},
                                    {"note.txt", "note.txt"}});

    // the files changed at once; the destination's settings only with OK
    CloseSheet(program, sheet, IDCANCEL);
    CHECK(program.Ini("TOURPATH1").empty());
    CHECK(program.Ini("EXTFILTER1") == ".jpg;");
}
