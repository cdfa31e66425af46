#include <doctest.h>

#include "app/settings.h"
#include "tour/filelist.h"

#include <random>
#include <string>
#include <vector>

namespace {
using Names = std::vector<std::string>;

void RemoveTree(const std::string& dir)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName, path = dir + "\\" + name;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(dir.c_str());
}

// A fresh folder in the temp folder, removed with everything in it at the end.
struct TempFolder {
    std::string dir;
    TempFolder()
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        static int serial;
        dir = std::string(temp) + "kpfl" + std::to_string(GetCurrentProcessId()) + "_" +
              std::to_string(++serial);
        CreateDirectoryA(dir.c_str(), nullptr);
    }
    ~TempFolder() { RemoveTree(dir); }
    std::string Pattern() const { return dir + "\\*.*"; }
    // minutesLate: last-write time in minutes after a fixed moment
    void File(const char* name, LONGLONG size = 0, int minutesLate = 0, DWORD attributes = 0)
    {
        std::string path = dir + "\\" + name;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        REQUIRE(file != INVALID_HANDLE_VALUE);
        LARGE_INTEGER end;
        end.QuadPart = size;
        CHECK(SetFilePointerEx(file, end, nullptr, FILE_BEGIN));
        CHECK(SetEndOfFile(file));
        ULONGLONG when = 132000000000000000ULL + minutesLate * 600000000ULL;
        FILETIME time = {static_cast<DWORD>(when), static_cast<DWORD>(when >> 32)};
        CHECK(SetFileTime(file, nullptr, nullptr, &time));
        CloseHandle(file);
        if (attributes)
            SetFileAttributesA(path.c_str(), attributes);
    }
};

// Builds, optionally sorts and frees a list; gives the names in enumeration or rank order.
struct Listed {
    TourFileList list = nullptr;
    int count = 0;
    Listed(const TempFolder& folder, const char* filter)
    {
        ExtensionFilter parsed;
        ParseExtensionFilter(filter, &parsed);
        count = CollectTourFiles(folder.Pattern().c_str(), parsed, &list);
    }
    ~Listed() { FreeTourFileList(list); }
    Names Enumerated() const
    {
        Names names;
        for (int i = 0; i < count; ++i)
            names.push_back(list[i].findData.cFileName);
        return names;
    }
    Names Ranked(int order) const
    {
        SortTourFileList(list, count, order);
        Names names(count);
        for (int i = 0; i < count; ++i)
            names.at(list[i].index) = list[i].findData.cFileName;
        return names;
    }
    // files with equal keys, in the order the folder delivered them
    Names InFolderOrder(Names tied) const
    {
        Names all = Enumerated(), names;
        for (const auto& name : all)
            for (const auto& t : tied)
                if (t == name)
                    names.push_back(name);
        return names;
    }
};

Names Filter(const char* text)
{
    ExtensionFilter filter;
    ParseExtensionFilter(text, &filter);
    return Names(filter.ext, filter.ext + filter.count);
}

bool Accepts(const char* filter, const char* name)
{
    ExtensionFilter parsed;
    ParseExtensionFilter(filter, &parsed);
    return ExtensionFilterAccepts(parsed, name) != FALSE;
}

Names operator+(Names a, const Names& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
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
        CHECK(Filter("").empty());
        CHECK(Filter(".jpg") == Names{".jpg"});
        CHECK(Filter(".jpg;") == Names{".jpg"});
        CHECK(Filter(";.jpg") == Names{";.jpg"});
        CHECK(Filter(".jpg;;.gif") == Names{".jpg", ";.gif"});
        CHECK(Filter(";;") == Names{";"});
        CHECK(Filter(".表;.jpg") == Names{".表", ".jpg"});
        CHECK(Filter(".abcdefghijk;.x") == Names{".abcdefgh", ".x"}); // cut to 9 bytes
    }

    TEST_CASE("a filter keeps 100 entries, the last one holding the rest of the text")
    {
        std::string text;
        for (int i = 0; i < 150; ++i)
            text += ".e" + std::to_string(i) + ";";
        Names entries = Filter(text.c_str());
        REQUIRE(entries.size() == 100);
        CHECK(entries[98] == ".e98");
        CHECK(entries[99] == ".e99;.e10");
    }

    TEST_CASE("the extension after the last dot matches an entry ignoring case")
    {
        CHECK(Accepts(".JPG;.gif", "a.jpg"));
        CHECK(Accepts(".JPG;.gif", "b.GIF"));
        CHECK_FALSE(Accepts(".JPG;.gif", "c.jpeg"));
        CHECK_FALSE(Accepts(".JPG;.gif", "readme"));
        CHECK_FALSE(Accepts(".JPG;.gif", ".gif")); // its only dot is its first character
        CHECK(Accepts(".gz", "x.tar.gz"));
        CHECK(Accepts(".abcdefghij", "x.abcdefgh"));
        CHECK_FALSE(Accepts(".abcdefghij", "x.abcdefghij"));
        CHECK(Accepts(".表", "写真.表"));
        CHECK(Accepts("", "readme"));
    }

    TEST_CASE("a folder lists its files, hidden and read-only too, but never a subfolder")
    {
        TempFolder folder;
        folder.File("a.jpg");
        folder.File("b.GIF", 0, 0, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        folder.File("c.jpeg", 0, 0, FILE_ATTRIBUTE_READONLY);
        folder.File("readme");
        CreateDirectoryA((folder.dir + "\\sub.jpg").c_str(), nullptr);
        // nor may the subfolder's own files appear
        HANDLE inner = CreateFileA((folder.dir + "\\sub.jpg\\in.jpg").c_str(), GENERIC_WRITE, 0,
                                   nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(inner);

        Listed all(folder, "");
        CHECK(all.InFolderOrder({"a.jpg", "b.GIF", "c.jpeg", "readme"}) == all.Enumerated());
        for (int i = 0; i < all.count; ++i)
            CHECK(all.list[i].index == i);
        Listed pictures(folder, ".JPG;.gif");
        CHECK(pictures.InFolderOrder({"a.jpg", "b.GIF"}) == pictures.Enumerated());

        // the slot's filter comes from the settings file
        std::string savedIni = IniPath, savedSection = SectionName;
        lstrcpynA(IniPath, (folder.dir + "\\sub.jpg\\" + IniFileName).c_str(), sizeof IniPath);
        lstrcpynA(SectionName, "tester", sizeof SectionName);
        WritePrivateProfileStringA(SectionName, "EXTFILTER7", ".jpeg;.none", IniPath);
        TourFileList list = nullptr;
        CHECK(BuildTourFileList(7, folder.Pattern().c_str(), &list) == 1);
        REQUIRE(list != nullptr);
        CHECK(std::string(list[0].findData.cFileName) == "c.jpeg");
        FreeTourFileList(list);
        lstrcpynA(IniPath, savedIni.c_str(), sizeof IniPath);
        lstrcpynA(SectionName, savedSection.c_str(), sizeof SectionName);
    }

    TEST_CASE("nothing found gives count 0 and no list")
    {
        TempFolder folder;
        folder.File("a.txt");
        ExtensionFilter all{};
        TourFileList list = reinterpret_cast<TourFileList>(&folder);
        CHECK(CollectTourFiles((folder.dir + "\\missing\\*.*").c_str(), all, &list) == 0);
        CHECK(list == nullptr);
        CHECK(CollectTourFiles("", all, &list) == 0);
        Listed none(folder, ".jpg");
        CHECK((none.count == 0 && none.list == nullptr));
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
        CHECK(list[4999].index == 0);
        CHECK(list[4999].findData.cFileName[0] == '\0');
        TourFileList before = list;
        int held = capacity;
        CHECK_FALSE(GrowTourFileList(&list, &capacity, 0x7FFFFFFF));
        CHECK(list == before);
        CHECK(capacity == held);
        FreeTourFileList(list);
    }

    TEST_CASE("each order ranks by its own key and keeps ties in folder order")
    {
        TempFolder folder;
        folder.File("b.txt", 20, 2);
        folder.File("A.txt", 10, 1);
        folder.File("c.txt", 20, 1);
        folder.File("d.txt", 10, 3);
        Listed l(folder, "");
        REQUIRE(l.count == 4);
        CHECK(l.Ranked(NameAscending) == Names{"A.txt", "b.txt", "c.txt", "d.txt"});
        CHECK(l.Ranked(NameDescending) == Names{"d.txt", "c.txt", "b.txt", "A.txt"});
        CHECK(l.Ranked(DateAscending) == l.InFolderOrder({"A.txt", "c.txt"}) + Names{"b.txt", "d.txt"});
        CHECK(l.Ranked(DateDescending) == Names{"d.txt", "b.txt"} + l.InFolderOrder({"A.txt", "c.txt"}));
        CHECK(l.Ranked(SizeAscending) == l.InFolderOrder({"A.txt", "d.txt"}) + l.InFolderOrder({"b.txt", "c.txt"}));
        CHECK(l.Ranked(SizeDescending) == l.InFolderOrder({"b.txt", "c.txt"}) + l.InFolderOrder({"A.txt", "d.txt"}));
        for (int order : {6, -1, 100}) {
            SortTourFileList(l.list, l.count, order);
            for (int i = 0; i < l.count; ++i)
                CHECK(l.list[i].index == -1);
        }
    }

    TEST_CASE("sizes that differ only above 32 bits rank as equal")
    {
        TempFolder folder;
        folder.File("five.bin", 5LL << 30); // sparse: low words of 5 GiB and 1 GiB are equal
        folder.File("one.bin", 1LL << 30);
        folder.File("small.bin", 100);
        Listed l(folder, "");
        REQUIRE(l.count == 3);
        for (int i = 0; i < l.count; ++i)
            if (std::string(l.list[i].findData.cFileName) == "five.bin")
                CHECK(l.list[i].findData.nFileSizeHigh == 1);
        Names big = l.InFolderOrder({"five.bin", "one.bin"});
        CHECK(l.Ranked(SizeAscending) == Names{"small.bin"} + big);
        CHECK(l.Ranked(SizeDescending) == big + Names{"small.bin"});
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
