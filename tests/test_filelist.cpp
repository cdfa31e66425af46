#include <doctest.h>

#include "app/settings.h"
#include "testutil.h"
#include "tour/filelist.h"

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {
using Names = std::vector<std::string>;

ExtensionFilter Parsed(const char* text)
{
    ExtensionFilter filter;
    ParseExtensionFilter(text, &filter);
    return filter;
}

// The names of the files the filter accepts, sorted, after checking that each entry's index
// is its own position.
Names Collected(const TempDir& folder, const char* filter)
{
    TourFileList list = nullptr;
    const int count = CollectTourFiles((folder.dir + "\\*.*").c_str(), Parsed(filter), &list);
    Names names;
    for (int i = 0; i < count; ++i) {
        CHECK(list[i].index == i);
        names.push_back(list[i].findData.cFileName);
    }
    FreeTourFileList(list);
    std::sort(names.begin(), names.end());
    return names;
}

// An entry as a folder gives it: last written `minutes` after a fixed moment.
TourFileEntry Entry(const char* name, ULONGLONG size, int minutes)
{
    TourFileEntry e{};
    lstrcpynA(e.findData.cFileName, name, sizeof e.findData.cFileName);
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
        names.at(e.index) = e.findData.cFileName;
    return names;
}

// The ranking as the order table states it: pick the strictly best remaining entry per rank.
std::vector<int> SelectionRanks(const std::vector<TourFileEntry>& e, int order)
{
    auto replaces = [order](const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& best) {
        switch (order) {
        case 0: return lstrcmpiA(a.cFileName, best.cFileName) == -1;
        case 1: return lstrcmpiA(a.cFileName, best.cFileName) == 1;
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

std::vector<TourFileEntry> RandomEntries(std::mt19937& random, int count, bool fewKeys)
{
    static const char* const parts[] = {"a", "A", "b", "B", "1", "_", "-", "表", "ア", "ｱ", "z"};
    int keys = fewKeys ? 4 : 1 << 30;
    std::vector<TourFileEntry> entries(count);
    for (auto& e : entries) {
        e = TourFileEntry{};
        std::string name;
        for (int n = random() % (fewKeys ? 3 : 12) + 1; n > 0; --n)
            name += parts[random() % (fewKeys ? 4 : 11)];
        lstrcpynA(e.findData.cFileName, name.c_str(), sizeof e.findData.cFileName);
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
        const struct { const char *filter, *name; bool accepted; } cases[] = {
            {".JPG;.gif", "a.jpg", true}, {".JPG;.gif", "b.GIF", true},
            {".JPG;.gif", "c.jpeg", false}, {".JPG;.gif", "readme", false},
            {".JPG;.gif", ".gif", false}, // its only dot is its first character
            {".gz", "x.tar.gz", true}, {".abcdefghij", "x.abcdefgh", true},
            {".abcdefghij", "x.abcdefghij", false}, {".表", "写真.表", true}, {"", "readme", true},
        };
        for (const auto& c : cases)
            CHECK_MESSAGE((ExtensionFilterAccepts(Parsed(c.filter), c.name) != FALSE) == c.accepted,
                          c.name);
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
        CHECK(Collected(folder, "") == Names{"a.jpg", "b.GIF", "c.jpeg", "readme"});
        CHECK(Collected(folder, ".JPG;.gif") == Names{"a.jpg", "b.GIF"});

        // the slot's filter comes from the settings file
        IniFolder ini;
        WriteUserString(Key::ExtFilter, 7, ".jpeg;.none");
        TourFileList list = nullptr;
        CHECK(BuildTourFileList(7, (folder.dir + "\\*.*").c_str(), &list) == 1);
        REQUIRE(list != nullptr);
        CHECK(std::string(list[0].findData.cFileName) == "c.jpeg");
        FreeTourFileList(list);
    }

    TEST_CASE("nothing found gives count 0 and no list")
    {
        TempDir folder;
        TempDir::Write(folder.dir + "\\a.txt", "");
        const std::pair<std::string, const char*> searches[] = {
            {folder.dir + "\\missing\\*.*", ""}, {"", ""}, {folder.dir + "\\*.*", ".jpg"}};
        for (const auto& [pattern, filter] : searches) {
            TourFileList list = reinterpret_cast<TourFileList>(&folder);
            CHECK(CollectTourFiles(pattern.c_str(), Parsed(filter), &list) == 0);
            CHECK(list == nullptr);
        }
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
        CHECK((list[4999].index == 0 && list[4999].findData.cFileName[0] == '\0'));
        TourFileList before = list;
        int held = capacity;
        CHECK_FALSE(GrowTourFileList(&list, &capacity, 0x7FFFFFFF));
        CHECK((list == before && capacity == held));
        FreeTourFileList(list);
    }

    TEST_CASE("each order ranks by its own key and keeps ties in enumeration order")
    {
        const std::vector<TourFileEntry> entries = {Entry("b.txt", 20, 2), Entry("A.txt", 10, 1),
                                                    Entry("c.txt", 20, 1), Entry("d.txt", 10, 3)};
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
            Entry("five.bin", 5ULL << 30, 0), Entry("one.bin", 1ULL << 30, 0),
            Entry("small.bin", 100, 0)};
        CHECK(Ranked(big, SizeAscending) == Names{"small.bin", "five.bin", "one.bin"});
        CHECK(Ranked(big, SizeDescending) == Names{"five.bin", "one.bin", "small.bin"});
    }

    TEST_CASE("ranks equal those of the rank-by-rank selection")
    {
        std::mt19937 random(4711);
        for (int round = 0; round < 60; ++round) {
            int count = round == 0 ? 600 : static_cast<int>(random() % 40);
            std::vector<TourFileEntry> entries = RandomEntries(random, count, round % 2 == 1);
            for (int order = 0; order < TourFileOrderCount; ++order) {
                SortTourFileList(entries.data(), count, order);
                std::vector<int> ranks;
                for (const auto& e : entries)
                    ranks.push_back(e.index);
                CHECK(ranks == SelectionRanks(entries, order));
            }
        }
    }
}
