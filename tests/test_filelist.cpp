#include <doctest.h>

#include "app/settings.h"
#include "testutil.h"
#include "tour/filelist.h"

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {
using Names = std::vector<std::string>; // filter entries in code page 932, file names in UTF-8

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
            ExtensionFilter filter;
            ParseExtensionFilter(text, &filter);
            CHECK_MESSAGE(Names(filter.ext, filter.ext + filter.count) == entries, text);
        }
        auto loaded = [](const char* text) { WideExtensionFilter filter; return LoadExtensionFilter(text, &filter), filter; };
        std::string many; // 100 entries at most, the last one holding the rest of the text
        for (int i = 0; i < 150; ++i)
            many += ".e" + std::to_string(i) + ";";
        const WideExtensionFilter& most = loaded(many.c_str());
        CHECK((most.count == 100 && Utf8(most.ext[99]) == ".e99;.e10"));
        const struct { const char* filter; const wchar_t* name; bool accepted; } files[] = {
            {".JPG;.gif", L"b.GIF", true}, {".JPG;.gif", L"c.jpeg", false}, {".JPG;.gif", L".gif", false},
            {".gz", L"x.tar.gz", true}, {".表", L"写真.表", true}, {"", L"readme", true},
            {".jpg", L"写真😀.jpg", true}, {".e", L"café.é", false}, {".jpg", L"x.jpg😀", false},
            // an entry cut inside a character does not match the character it was cut from
            {".abcdefg表", L"x.abcdefg表", false},
        };
        for (const auto& f : files)
            CHECK_MESSAGE((ExtensionFilterAccepts(loaded(f.filter), f.name) != FALSE) == f.accepted, Utf8(f.name));
    }

    TEST_CASE("a folder lists every file by its whole name, hidden and read-only too, never a subfolder")
    {
        IniFolder folder; // a settings file of its own, which the filter leaves out
        // "cafe.jpg" is what the ANSI listing made of "café.jpg"
        for (const wchar_t* name : {L"写真😀.jpg", L"café.jpg", L"사진.jpg", L"普通.jpg", L"cafe.jpg", L"表.JPG", L"사진.txt"})
            folder.Put(name);
        SetFileAttributesA((folder.dir + "\\表.JPG").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
        CreateDirectoryA((folder.dir + "\\sub.jpg").c_str(), nullptr);
        WriteUserString(Key::ExtFilter, 7, ".jpg");
        TourFileList list = nullptr;
        Names names;
        for (int i = 0, count = BuildTourFileList(7, (folder.dir + "\\*.*").c_str(), &list); i < count; ++i)
            names.push_back(Utf8(list[i].findData.cFileName) + (list[i].index == i ? "" : " out of place"));
        std::sort(names.begin(), names.end());
        const Names listed = {u8"cafe.jpg", u8"café.jpg", u8"写真😀.jpg", u8"普通.jpg", u8"表.JPG", u8"사진.jpg"};
        CHECK(names == listed);
        FreeTourFileList(list);
        // nothing found is no list; nor is a pattern without a folder of its own, which would
        // list the current folder or the root of the current drive
        char previous[MAX_PATH];
        GetCurrentDirectoryA(sizeof previous, previous);
        SetCurrentDirectoryA(folder.dir.c_str());
        for (std::string pattern : {folder.dir + "\\missing\\*.*", std::string(), folder.dir + "\\*.png", std::string("*.*"),
                                    std::string("C:*.*"), std::string("\\*.*"), folder.dir + "/*.*"}) {
            list = reinterpret_cast<TourFileList>(&folder);
            CHECK_MESSAGE((BuildTourFileList(7, pattern.c_str(), &list) == 0 && list == nullptr), pattern);
        }
        SetCurrentDirectoryA(previous);
    }

    TEST_CASE("ranks equal those of the rank-by-rank selection, for many names, sizes and times with ties")
    {
        std::mt19937 random(4711);
        const wchar_t* const parts[] = {L"a", L"A", L"b", L"B", L"1", L"_", L"表", L"ア", L"ｱ", L"z", L"é", L"É", L"😀", L"사"};
        for (int round = 0; round < 40; ++round) {
            std::vector<TourFileEntry> entries(round == 0 ? 600 : random() % 40);
            for (auto& e : entries) {
                std::wstring name;
                for (int n = random() % 4 + 1; n > 0; --n)
                    name += parts[random() % (round % 2 ? 4 : 14)];
                lstrcpynW(e.findData.cFileName, name.c_str(), MAX_PATH);
                // the high words vary too: only the low size word ranks, the whole time does
                e.findData.nFileSizeLow = random() % 4, e.findData.nFileSizeHigh = random() % 3;
                e.findData.ftLastWriteTime = {DWORD(random() % 4), DWORD(random() % 2)};
            }
            for (int order = 0; order < TourFileOrderCount; ++order) {
                SortTourFileList(entries.data(), int(entries.size()), order);
                // rank by rank, the first remaining entry that no other comes strictly before by the
                // order's comparison (names ignoring case, whole times, sizes by their low word)
                std::vector<bool> taken(entries.size());
                for (size_t rank = 0; rank < entries.size(); ++rank) {
                    size_t best = entries.size();
                    for (size_t i = 0; i < entries.size(); ++i)
                        if (!taken[i]
                            && (best == entries.size() || TourFileComesBefore(entries[i].findData, entries[best].findData, order)))
                            best = i;
                    taken[best] = true;
                    CHECK(entries[best].index == int(rank));
                }
            }
        }
    }
}
