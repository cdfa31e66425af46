#include <doctest.h>

#include "app/settings.h"
#include "testutil.h"
#include "tour/filelist.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {
using Names = std::vector<std::string>;

ExtensionFilter Parsed(const char* text)
{
    ExtensionFilter filter;
    ParseExtensionFilter(text, &filter);
    return filter;
}

// An entry as a folder gives it: last written `minutes` after a fixed moment.
TourFileEntry Entry(const char* name, ULONGLONG size, ULONGLONG minutes)
{
    TourFileEntry e{};
    lstrcpynA(e.findData.cFileName, name, MAX_PATH);
    ULONGLONG when = 132000000000000000ULL + minutes * 600000000ULL;
    e.findData.nFileSizeLow = DWORD(size), e.findData.nFileSizeHigh = DWORD(size >> 32);
    e.findData.ftLastWriteTime = {DWORD(when), DWORD(when >> 32)};
    return e;
}

// The names in rank order.
Names Ranked(std::vector<TourFileEntry> entries, int order)
{
    SortTourFileList(entries.data(), int(entries.size()), order);
    Names names(entries.size(), "<unranked>");
    for (const auto& e : entries)
        if (e.index >= 0)
            names.at(e.index) = e.findData.cFileName;
    return names;
}
} // namespace

TEST_SUITE("filelist")
{
    TEST_CASE("a filter splits at ';', the first character of a token never a separator, and ignores case")
    {
        const std::pair<const char*, Names> cases[] = {
            {"", {}}, {".jpg;", {".jpg"}}, {";.jpg", {";.jpg"}}, {".jpg;;.gif", {".jpg", ";.gif"}},
            {".表;.jpg", {".表", ".jpg"}}, {".abcdefghijk;.x", {".abcdefgh", ".x"}}, // cut to 9 bytes
        };
        for (const auto& [text, entries] : cases) {
            const ExtensionFilter filter = Parsed(text);
            CHECK_MESSAGE(Names(filter.ext, filter.ext + filter.count) == entries, text);
        }
        std::string many; // 100 entries at most, the last one holding the rest of the text
        for (int i = 0; i < 150; ++i)
            many += ".e" + std::to_string(i) + ";";
        CHECK((Parsed(many.c_str()).count == 100 && std::string(Parsed(many.c_str()).ext[99]) == ".e99;.e10"));
        const struct { const char *filter, *name; bool accepted; } files[] = {
            {".JPG;.gif", "b.GIF", true}, {".JPG;.gif", "c.jpeg", false}, {".JPG;.gif", ".gif", false},
            {".gz", "x.tar.gz", true}, {".表", "写真.表", true}, {"", "readme", true},
        };
        for (const auto& f : files)
            CHECK_MESSAGE((ExtensionFilterAccepts(Parsed(f.filter), f.name) != FALSE) == f.accepted, f.name);
    }

    TEST_CASE("a folder lists its files, hidden and read-only too, never a subfolder; nothing found is no list")
    {
        IniFolder folder; // a settings file of its own, which the filter leaves out
        for (const char* name : {"a.jpg", "b.GIF", "c.jpeg"})
            TempDir::Write(folder.dir + "\\" + name, "");
        SetFileAttributesA((folder.dir + "\\b.GIF").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        SetFileAttributesA((folder.dir + "\\c.jpeg").c_str(), FILE_ATTRIBUTE_READONLY);
        CreateDirectoryA((folder.dir + "\\sub.jpg").c_str(), nullptr);
        WriteUserString(Key::ExtFilter, 7, ".JPG;.gif;.jpeg");
        TourFileList list = nullptr;
        const int count = BuildTourFileList(7, (folder.dir + "\\*.*").c_str(), &list);
        Names names;
        for (int i = 0; i < count; ++i)
            names.push_back(list[i].index == i ? list[i].findData.cFileName : "<misplaced>");
        std::sort(names.begin(), names.end());
        CHECK(names == Names{"a.jpg", "b.GIF", "c.jpeg"});
        FreeTourFileList(list);
        for (std::string pattern : {folder.dir + "\\missing\\*.*", std::string(), folder.dir + "\\*.png"}) {
            list = reinterpret_cast<TourFileList>(&folder);
            CHECK((BuildTourFileList(7, pattern.c_str(), &list) == 0 && list == nullptr));
        }
    }

    TEST_CASE("each order ranks by its own key, ties in enumeration order, the size by its low word")
    {
        const std::vector<TourFileEntry> entries = {Entry("b.txt", 20, 2), Entry("A.txt", 10, 1), Entry("c.txt", 20, 1),
                                                    Entry("d.txt", 10, 3), Entry("e.txt", 5ULL << 32, 1ULL << 40)};
        CHECK(Ranked(entries, NameAscending) == Names{"A.txt", "b.txt", "c.txt", "d.txt", "e.txt"});
        CHECK(Ranked(entries, NameDescending) == Names{"e.txt", "d.txt", "c.txt", "b.txt", "A.txt"});
        CHECK(Ranked(entries, DateAscending) == Names{"A.txt", "c.txt", "b.txt", "d.txt", "e.txt"});
        CHECK(Ranked(entries, DateDescending) == Names{"e.txt", "d.txt", "b.txt", "A.txt", "c.txt"});
        CHECK(Ranked(entries, SizeAscending) == Names{"e.txt", "A.txt", "d.txt", "b.txt", "c.txt"}); // 5 GiB ranks as 0
        CHECK(Ranked(entries, SizeDescending) == Names{"b.txt", "c.txt", "A.txt", "d.txt", "e.txt"});
        for (int order : {6, -1})
            CHECK(Ranked(entries, order) == Names(5, "<unranked>"));
    }

    TEST_CASE("ranks equal those of the rank-by-rank selection, for many names, sizes and times with ties")
    {
        std::mt19937 random(4711);
        const char* const parts[] = {"a", "A", "b", "B", "1", "_", "表", "ア", "ｱ", "z"};
        for (int round = 0; round < 40; ++round) {
            std::vector<TourFileEntry> entries(round == 0 ? 600 : random() % 40);
            for (auto& e : entries) {
                std::string name;
                for (int n = random() % 4 + 1; n > 0; --n)
                    name += parts[random() % (round % 2 ? 4 : 10)];
                // the high words vary too: only the low size word ranks, the whole time does
                e = Entry(name.c_str(), (ULONGLONG(random() % 3) << 32) + random() % 4, random() % 4 + (ULONGLONG(random() % 2) << 33));
            }
            for (int order = 0; order < TourFileOrderCount; ++order) {
                SortTourFileList(entries.data(), int(entries.size()), order);
                // the order table: names ignoring case, whole times, sizes by their low word
                auto before = [order](const WIN32_FIND_DATAA& a, const WIN32_FIND_DATAA& b) {
                    auto time = [](const FILETIME& t) { return ULONGLONG(t.dwHighDateTime) << 32 | t.dwLowDateTime; };
                    int name = lstrcmpiA(a.cFileName, b.cFileName);
                    ULONGLONG at = time(a.ftLastWriteTime), bt = time(b.ftLastWriteTime);
                    return order == 0 ? name < 0 : order == 1 ? name > 0 : order == 2 ? at < bt : order == 3 ? at > bt
                         : order == 4 ? a.nFileSizeLow < b.nFileSizeLow : a.nFileSizeLow > b.nFileSizeLow;
                };
                // rank by rank, the first remaining entry that no other comes strictly before
                std::vector<bool> taken(entries.size());
                for (size_t rank = 0; rank < entries.size(); ++rank) {
                    size_t best = entries.size();
                    for (size_t i = 0; i < entries.size(); ++i)
                        if (!taken[i] && (best == entries.size() || before(entries[i].findData, entries[best].findData)))
                            best = i;
                    taken[best] = true;
                    CHECK(entries[best].index == int(rank));
                }
            }
        }
    }
}
