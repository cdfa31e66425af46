#include <doctest.h>

#include "app/settings.h"
#include "app/textconv.h"
#include "testutil.h"
#include "tour/filelist.h"

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {
using Names = std::vector<std::string>; // filter entries in code page 932, file names in UTF-8

std::string Utf8(const wchar_t* name)
{
    char text[4 * MAX_PATH];
    WideToUtf8(name, text);
    return text;
}

ExtensionFilter Parsed(const char* text)
{
    ExtensionFilter filter;
    ParseExtensionFilter(text, &filter);
    return filter;
}

WideExtensionFilter Loaded(const char* text)
{
    WideExtensionFilter filter;
    LoadExtensionFilter(text, &filter);
    return filter;
}

// Files made with their UTF-16 names: sized, and last written `minutes` after a fixed moment.
void Make(const TempDir& folder, const wchar_t* name, DWORD size = 0, int minutes = 0)
{
    wchar_t path[MAX_PATH];
    REQUIRE(AnsiToWide((folder.dir + "\\").c_str(), path));
    lstrcatW(path, name);
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    REQUIRE(file != INVALID_HANDLE_VALUE);
    std::string bytes(size, 'x');
    DWORD written = 0;
    WriteFile(file, bytes.data(), size, &written, nullptr);
    const ULONGLONG when = 132000000000000000ULL + minutes * 600000000ULL;
    const FILETIME time = {static_cast<DWORD>(when), static_cast<DWORD>(when >> 32)};
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

// The files the filter accepts, in enumeration order, after checking that each entry's index
// is its own position; `ranked` gives them in rank order of `order` instead.
Names Collected(const std::string& pattern, const char* filter, int order = -1)
{
    TourFileList list = nullptr;
    const int count = CollectTourFiles(pattern.c_str(), Loaded(filter), &list);
    for (int i = 0; i < count; ++i)
        CHECK(list[i].index == i);
    if (order >= 0)
        SortTourFileList(list, count, order);
    Names names(count);
    for (int i = 0; i < count; ++i)
        names.at(order >= 0 ? list[i].index : i) = Utf8(list[i].findData.cFileName);
    FreeTourFileList(list);
    return names;
}
Names Sorted(Names names)
{
    std::sort(names.begin(), names.end());
    return names;
}

// An entry as a folder gives it: last written `minutes` after a fixed moment.
TourFileEntry Entry(const wchar_t* name, ULONGLONG size, int minutes)
{
    TourFileEntry e{};
    lstrcpynW(e.findData.cFileName, name, MAX_PATH);
    e.findData.nFileSizeLow = static_cast<DWORD>(size);
    e.findData.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    const ULONGLONG when = 132000000000000000ULL + minutes * 600000000ULL;
    e.findData.ftLastWriteTime = {static_cast<DWORD>(when), static_cast<DWORD>(when >> 32)};
    return e;
}

// The names in rank order.
Names Ranked(std::vector<TourFileEntry> entries, int order)
{
    SortTourFileList(entries.data(), static_cast<int>(entries.size()), order);
    Names names(entries.size());
    for (const auto& e : entries)
        names.at(e.index) = Utf8(e.findData.cFileName);
    return names;
}

// The ranking as the order table states it: pick the strictly best remaining entry per rank.
// `ansi` compares names as code page 932 text, as the program did before it kept names wide.
std::vector<int> SelectionRanks(const std::vector<TourFileEntry>& e, int order, bool ansi = false)
{
    auto byName = [ansi](const WIN32_FIND_DATAW& a, const WIN32_FIND_DATAW& b) {
        if (!ansi)
            return lstrcmpiW(a.cFileName, b.cFileName);
        char x[2 * MAX_PATH], y[2 * MAX_PATH];
        WideCharToMultiByte(932, 0, a.cFileName, -1, x, sizeof x, nullptr, nullptr);
        WideCharToMultiByte(932, 0, b.cFileName, -1, y, sizeof y, nullptr, nullptr);
        return lstrcmpiA(x, y);
    };
    auto replaces = [order, byName](const WIN32_FIND_DATAW& a, const WIN32_FIND_DATAW& best) {
        switch (order) {
        case 0: return byName(a, best) == -1;
        case 1: return byName(a, best) == 1;
        case 2: return CompareFileTime(&a.ftLastWriteTime, &best.ftLastWriteTime) == -1;
        case 3: return CompareFileTime(&a.ftLastWriteTime, &best.ftLastWriteTime) == 1;
        case 4: return a.nFileSizeLow < best.nFileSizeLow;
        default: return a.nFileSizeLow > best.nFileSizeLow;
        }
    };
    std::vector<int> rank(e.size(), -1);
    for (size_t r = 0; r < e.size(); ++r) {
        int best = -1;
        for (size_t i = 0; i < e.size(); ++i)
            if (rank[i] == -1 && (best < 0 || replaces(e[i].findData, e[best].findData)))
                best = static_cast<int>(i);
        rank[best] = static_cast<int>(r);
    }
    return rank;
}

// Names of few parts, or of many; `beyond` adds parts code page 932 has no place for.
std::vector<TourFileEntry> RandomEntries(std::mt19937& random, int count, bool fewKeys,
                                         bool beyond)
{
    static const wchar_t* const parts[] = {L"a", L"A",  L"b", L"B", L"1",  L"_",  L"-", L"表",
                                           L"ア", L"ｱ", L"z", L"é", L"É", L"😀", L"사"};
    int keys = fewKeys ? 4 : 1 << 30;
    int kinds = fewKeys ? 4 : beyond ? 15 : 11;
    std::vector<TourFileEntry> entries(count);
    for (auto& e : entries) {
        e = TourFileEntry{};
        std::wstring name;
        for (int n = random() % (fewKeys ? 3 : 12) + 1; n > 0; --n)
            name += parts[random() % kinds];
        lstrcpynW(e.findData.cFileName, name.c_str(), MAX_PATH);
        // high words vary too: only the low size word ranks, the whole time does
        e.findData.nFileSizeLow = 0x7FFFFFF0u + random() % keys * 8;
        e.findData.nFileSizeHigh = random() % 3;
        e.findData.ftLastWriteTime.dwLowDateTime = 0xFFFFFFF0u + random() % keys * 8;
        e.findData.ftLastWriteTime.dwHighDateTime = random() % 2;
    }
    return entries;
}
} // namespace

TEST_SUITE("filelist")
{
    TEST_CASE("a filter splits at ';' with the first character of each token never a separator")
    {
        const std::pair<const char*, Names> cases[] = {
            {"", {}}, {".jpg", {".jpg"}}, {".jpg;", {".jpg"}}, {";.jpg", {";.jpg"}},
            {".jpg;;.gif", {".jpg", ";.gif"}}, {";;", {";"}}, {".表;.jpg", {".表", ".jpg"}},
            {".abcdefghijk;.x", {".abcdefgh", ".x"}}, // cut to 9 bytes
        };
        for (const auto& [text, entries] : cases) {
            const ExtensionFilter filter = Parsed(text);
            CHECK_MESSAGE(Names(filter.ext, filter.ext + filter.count) == entries, text);
        }

        // 100 entries at most, the last one holding the rest of the text
        std::string text;
        for (int i = 0; i < 150; ++i)
            text += ".e" + std::to_string(i) + ";";
        const ExtensionFilter filter = Parsed(text.c_str());
        REQUIRE(filter.count == 100);
        CHECK(std::string(filter.ext[98]) == ".e98");
        CHECK(std::string(filter.ext[99]) == ".e99;.e10");
    }

    TEST_CASE("the extension after the last dot matches an entry ignoring case")
    {
        const struct { const char* filter; const wchar_t* name; bool accepted; } cases[] = {
            {".JPG;.gif", L"a.jpg", true}, {".JPG;.gif", L"b.GIF", true},
            {".JPG;.gif", L"c.jpeg", false}, {".JPG;.gif", L"readme", false},
            {".JPG;.gif", L".gif", false}, // its only dot is its first character
            {".gz", L"x.tar.gz", true}, {".abcdefghij", L"x.abcdefgh", true},
            {".abcdefghij", L"x.abcdefghij", false}, {".表", L"写真.表", true}, {"", L"readme", true},
            {".jpg", L"写真😀.jpg", true}, {".e", L"café.é", false}, {".jpeg", L"café.JPEG", true},
            {".JPG", L"사진.jpg", true}, {".jpg", L"x.jpg😀", false},
            // an entry cut inside a character does not match the character it was cut from
            {".abcdefg表", L"x.abcdefg表", false},
        };
        for (const auto& c : cases)
            CHECK_MESSAGE((ExtensionFilterAccepts(Loaded(c.filter), c.name) != FALSE) == c.accepted,
                          Utf8(c.name));
    }

    TEST_CASE("a folder lists its files, hidden and read-only too, but never a subfolder")
    {
        TempDir folder;
        for (const char* name : {"a.jpg", "b.GIF", "c.jpeg", "readme"})
            TempDir::Write(folder.dir + "\\" + name, "");
        SetFileAttributesA((folder.dir + "\\b.GIF").c_str(),
                           FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        SetFileAttributesA((folder.dir + "\\c.jpeg").c_str(), FILE_ATTRIBUTE_READONLY);
        CreateDirectoryA((folder.dir + "\\sub.jpg").c_str(), nullptr);
        TempDir::Write(folder.dir + "\\sub.jpg\\in.jpg", ""); // nor the subfolder's files
        const std::string all = folder.dir + "\\*.*";
        CHECK(Sorted(Collected(all, "")) == Names{"a.jpg", "b.GIF", "c.jpeg", "readme"});
        CHECK(Sorted(Collected(all, ".JPG;.gif")) == Names{"a.jpg", "b.GIF"});

        // the slot's filter comes from the settings file
        IniFolder ini;
        WriteUserString(Key::ExtFilter, 7, ".jpeg;.none");
        TourFileList list = nullptr;
        CHECK(BuildTourFileList(7, all.c_str(), &list) == 1);
        REQUIRE(list != nullptr);
        CHECK(Utf8(list[0].findData.cFileName) == "c.jpeg");
        FreeTourFileList(list);
    }

    TEST_CASE("names beyond code page 932 are listed whole and ranked in every order")
    {
        TempDir folder;
        // sizes and times rank them; "cafe.jpg" is what the ANSI listing made of "café.jpg"
        Make(folder, L"写真😀.jpg", 30, 4);
        Make(folder, L"café.jpg", 10, 2);
        Make(folder, L"사진.jpg", 50, 1);
        Make(folder, L"普通.jpg", 20, 5);
        Make(folder, L"cafe.jpg", 40, 3);
        Make(folder, L"表.JPG", 0, 0);
        Make(folder, L"사진.txt");
        const std::string all = folder.dir + "\\*.*";
        const Names names = Collected(all, ".jpg");
        const Names made = {u8"写真😀.jpg", u8"café.jpg", u8"사진.jpg", u8"普通.jpg", "cafe.jpg",
                            u8"表.JPG"};
        CHECK(Sorted(names) == Sorted(made));
        const Names bySize = {u8"사진.jpg", "cafe.jpg", u8"写真😀.jpg", u8"普通.jpg",
                              u8"café.jpg", u8"表.JPG"};
        CHECK(Collected(all, ".jpg", SizeDescending) == bySize);
        CHECK(Collected(all, ".jpg", SizeAscending) == Names(bySize.rbegin(), bySize.rend()));
        const Names byDate = {u8"表.JPG", u8"사진.jpg", u8"café.jpg", "cafe.jpg",
                              u8"写真😀.jpg", u8"普通.jpg"};
        CHECK(Collected(all, ".jpg", DateAscending) == byDate);
        CHECK(Collected(all, ".jpg", DateDescending) == Names(byDate.rbegin(), byDate.rend()));
        // by name: every name ranked (the order itself is the selection test's below)
        const Names byName = Collected(all, ".jpg", NameAscending);
        CHECK(Sorted(byName) == Sorted(made));
        CHECK(Collected(all, ".jpg", NameDescending) == Names(byName.rbegin(), byName.rend()));
    }

    TEST_CASE("nothing found gives count 0 and no list, nor does a pattern without its folder")
    {
        TempDir folder;
        TempDir::Write(folder.dir + "\\a.txt", "");
        char previous[MAX_PATH];
        GetCurrentDirectoryA(sizeof previous, previous);
        REQUIRE(SetCurrentDirectoryA(folder.dir.c_str()));
        // the relative ones would list the current folder, or the current drive's root
        const std::pair<std::string, const char*> searches[] = {
            {folder.dir + "\\missing\\*.*", ""}, {"", ""}, {folder.dir + "\\*.*", ".jpg"},
            {"*.*", ""}, {"C:*.*", ""}, {"\\*.*", ""}, {"\\\\*.*", ""},
            {folder.dir.substr(0, 2) + "/" + folder.dir.substr(3) + "\\*.*", ""},
            {folder.dir + "/*.*", ""}};
        for (const auto& [pattern, filter] : searches) {
            CAPTURE(pattern);
            TourFileList list = reinterpret_cast<TourFileList>(&folder);
            CHECK(CollectTourFiles(pattern.c_str(), Loaded(filter), &list) == 0);
            CHECK(list == nullptr);
        }
        SetCurrentDirectoryA(previous);
        FreeTourFileList(nullptr);
        SortTourFileList(nullptr, 0, NameAscending);
    }

    TEST_CASE("growing keeps the entries and zero-fills; a failed growth changes nothing")
    {
        TourFileList list = nullptr;
        int capacity = 0;
        REQUIRE(GrowTourFileList(&list, &capacity, 1));
        list[0].index = 7;
        REQUIRE(GrowTourFileList(&list, &capacity, 5000));
        CHECK(capacity >= 5000);
        CHECK(list[0].index == 7);
        CHECK((list[4999].index == 0 && list[4999].findData.cFileName[0] == L'\0'));
        list[4999].index = 9;
        // beyond the block's first address range: the entries move along
        REQUIRE(GrowTourFileList(&list, &capacity, 40000));
        CHECK((list[0].index == 7 && list[4999].index == 9 && list[39999].index == 0));
        TourFileList before = list;
        int held = capacity;
        CHECK_FALSE(GrowTourFileList(&list, &capacity, 0x7FFFFFFF));
        CHECK((list == before && capacity == held));
        FreeTourFileList(list);
    }

    TEST_CASE("each order ranks by its own key and keeps ties in enumeration order")
    {
        const std::vector<TourFileEntry> entries = {Entry(L"b.txt", 20, 2), Entry(L"A.txt", 10, 1),
                                                    Entry(L"c.txt", 20, 1), Entry(L"d.txt", 10, 3)};
        CHECK(Ranked(entries, NameAscending) == Names{"A.txt", "b.txt", "c.txt", "d.txt"});
        CHECK(Ranked(entries, NameDescending) == Names{"d.txt", "c.txt", "b.txt", "A.txt"});
        CHECK(Ranked(entries, DateAscending) == Names{"A.txt", "c.txt", "b.txt", "d.txt"});
        CHECK(Ranked(entries, DateDescending) == Names{"d.txt", "b.txt", "A.txt", "c.txt"});
        CHECK(Ranked(entries, SizeAscending) == Names{"A.txt", "d.txt", "b.txt", "c.txt"});
        CHECK(Ranked(entries, SizeDescending) == Names{"b.txt", "c.txt", "A.txt", "d.txt"});
        for (int order : {6, -1, 100}) {
            std::vector<TourFileEntry> copy = entries;
            SortTourFileList(copy.data(), static_cast<int>(copy.size()), order);
            for (const auto& e : copy)
                CHECK(e.index == -1);
        }

        // sizes that differ only above 32 bits (5 GiB and 1 GiB) rank as equal
        const std::vector<TourFileEntry> big = {
            Entry(L"five.bin", 5ULL << 30, 0), Entry(L"one.bin", 1ULL << 30, 0),
            Entry(L"small.bin", 100, 0)};
        CHECK(Ranked(big, SizeAscending) == Names{"small.bin", "five.bin", "one.bin"});
        CHECK(Ranked(big, SizeDescending) == Names{"five.bin", "one.bin", "small.bin"});
    }

    TEST_CASE("ranks equal those of the rank-by-rank selection")
    {
        // names code page 932 holds keep the order they had as ANSI names
        std::mt19937 random(4711);
        for (int round = 0; round < 60; ++round) {
            int count = round == 0 ? 600 : static_cast<int>(random() % 40);
            bool beyond = round % 3 != 2;
            std::vector<TourFileEntry> entries =
                RandomEntries(random, count, round % 2 == 1, beyond);
            for (int order = 0; order < TourFileOrderCount; ++order) {
                SortTourFileList(entries.data(), count, order);
                std::vector<int> ranks;
                for (const auto& e : entries)
                    ranks.push_back(e.index);
                CHECK(ranks == SelectionRanks(entries, order));
                if (!beyond)
                    CHECK(ranks == SelectionRanks(entries, order, true));
            }
        }
    }
}
