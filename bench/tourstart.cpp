// Tour start as the bar does it on TourStart (settings read, list, filter, rank, the bar's
// own list filled in rank order), in this process and with the program's own code, against
// bare enumeration of the same folder with the wide function and against the literal
// rank-by-rank selection.
#include "bench.h"

#include "app/settings.h"
#include "app/textconv.h"
#include "app/textpath.h"
#include "tour/filelist.h"
#include "tour/tourlist.h"

#include <stdio.h>

namespace bench {
namespace {

const int FolderSizes[] = {1000, 10000, 100000};
const char* const OrderNames[TourFileOrderCount] = {"name ↑", "name ↓", "date ↑",
                                                     "date ↓", "size ↑", "size ↓"};

// One destination slot per folder and order: 1..18.
int SlotOf(int folder, int order) { return 1 + folder * TourFileOrderCount + order; }

// When a later entry replaces the best one so far: only when strictly better.
bool Replaces(const WIN32_FIND_DATAW& entry, const WIN32_FIND_DATAW& best, int order)
{
    switch (order) {
    case NameAscending: return lstrcmpiW(entry.cFileName, best.cFileName) == -1;
    case NameDescending: return lstrcmpiW(entry.cFileName, best.cFileName) == 1;
    case DateAscending: return CompareFileTime(&entry.ftLastWriteTime, &best.ftLastWriteTime) == -1;
    case DateDescending: return CompareFileTime(&entry.ftLastWriteTime, &best.ftLastWriteTime) == 1;
    case SizeAscending: return entry.nFileSizeLow < best.nFileSizeLow;
    case SizeDescending: return entry.nFileSizeLow > best.nFileSizeLow;
    default: return false;
    }
}

// The literal algorithm: for each rank, scan every entry for the best unranked one.
void RankBySelection(TourFileList list, int count, int order)
{
    for (int i = 0; i < count; ++i)
        list[i].index = -1;
    if (order < 0 || order >= TourFileOrderCount)
        return;
    for (int rank = 0; rank < count; ++rank) {
        int best = -1;
        for (int i = 0; i < count; ++i) {
            if (list[i].index == -1 && (best < 0 || Replaces(list[i].findData, list[best].findData, order)))
                best = i;
        }
        list[best].index = rank;
    }
}

struct Phases {
    double list = 0, rank = 0, fill = 0;
    double Total() const { return list + rank + fill; }
};

// The bar's tour start for `slot` without its windows; `tour` is the bar's list, replaced.
Phases StartTour(int slot, bool literal, TourList& tour, int& count)
{
    Phases phases;
    double start = NowMs();
    char pattern[TextSize];
    ReadUserString(Key::TourPath, slot, pattern);
    ReadUserInt(Key::InputPath, slot, 0); // the bar asks for a folder when this is 1
    char folder[PathSize];
    wchar_t wideFolder[PathSize];
    if (HasAbsoluteFolder(pattern) && GetDirPart(pattern, folder))
        AnsiToWide(folder, wideFolder);
    TourFileList files = nullptr;
    count = BuildTourFileList(slot, pattern, &files);
    int order = ReadUserInt(Key::TourOrderBy, slot, 0);
    double listed = NowMs();
    if (literal)
        RankBySelection(files, count, order);
    else
        SortTourFileList(files, count, order);
    double ranked = NowMs();
    TourListClear(tour);
    TourListAddRanked(tour, files, count);
    FreeTourFileList(files);
    double filled = NowMs();
    phases.list = listed - start;
    phases.rank = ranked - listed;
    phases.fill = filled - ranked;
    return phases;
}

// The floor: the directory enumeration alone, with the call the program lists folders with
// (extended: no short names, large fetches), or with the plain wide call.
double Enumerate(const std::wstring& pattern, int& count, bool plain = false)
{
    double start = NowMs();
    count = 0;
    WIN32_FIND_DATAW found;
    HANDLE search = plain ? FindFirstFileW(pattern.c_str(), &found)
                          : FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr,
                                             FIND_FIRST_EX_LARGE_FETCH);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ++count;
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return NowMs() - start;
}

std::wstring Wide(const std::string& text)
{
    wchar_t wide[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, MAX_PATH);
    return wide;
}

std::vector<std::wstring> Names(const TourList& tour)
{
    std::vector<std::wstring> names;
    names.reserve(static_cast<size_t>(tour.count));
    for (int i = 0; i < tour.count; ++i)
        names.emplace_back(TourListName(tour, i));
    return names;
}

// A settings file of its own in a fresh temporary folder, read by the program's code.
bool PrepareSettings(const Options& options, std::string& folder)
{
    char temp[MAX_PATH] = "";
    DWORD length = GetTempPathA(sizeof temp, temp);
    if (length == 0 || length >= sizeof temp)
        return false;
    folder = std::string(temp, length) + "kpbench-" + std::to_string(GetCurrentProcessId());
    if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    InitSettingsLocation((folder + "\\kirapick.exe").c_str());
    for (int f = 0; f < 3; ++f) {
        std::string pattern = options.data + "\\f" + std::to_string(FolderSizes[f]) + "\\*.*";
        for (int order = 0; order < TourFileOrderCount; ++order) {
            WriteUserString(Key::TourPath, SlotOf(f, order), pattern.c_str());
            WriteUserInt(Key::TourOrderBy, SlotOf(f, order), order);
            WriteUserString(Key::ExtFilter, SlotOf(f, order), "");
        }
    }
    return true;
}

void RemoveSettings(const std::string& folder)
{
    DeleteFileA(IniPath);
    RemoveDirectoryA(folder.c_str());
}

} // namespace

void TourStartRows(const Options& options, Table& table)
{
    std::string settingsFolder;
    if (!PrepareSettings(options, settingsFolder)) {
        fprintf(stderr, "kpbench: no folder for the settings file\n");
        return;
    }
    TourList tour = {};
    Table literalRows;
    for (int f = 0; f < 3; ++f) {
        int files = FolderSizes[f];
        std::wstring pattern = Wide(options.data + "\\f" + std::to_string(files) + "\\*.*");
        std::string label = Thousands(files) + " files";
        Progress("tour start, " + label);

        int counted = 0, count = 0;
        Enumerate(pattern, counted); // the first pass warms the caches
        StartTour(SlotOf(f, 0), false, tour, count);
        if (counted != files || count != files || tour.count != files) {
            fprintf(stderr, "kpbench: %ls lists %d files, the tour %d: regenerate the folder\n",
                    pattern.c_str(), counted, tour.count);
            continue;
        }

        // Each tour start right after an enumeration of the same folder, so that both see the
        // same load; the ratio is the median of these pairs. The smaller folders are cheap
        // enough for three times the samples.
        int runs = files <= 10000 ? 3 * options.runs : options.runs;
        std::vector<double> enumeration, plain;
        std::vector<double> total[TourFileOrderCount], rank[TourFileOrderCount],
            paired[TourFileOrderCount];
        std::vector<std::wstring> ranked[TourFileOrderCount];
        for (int run = 0; run < runs; ++run) {
            for (int order = 0; order < TourFileOrderCount; ++order) {
                if (order == 0)
                    plain.push_back(Enumerate(pattern, counted, true));
                double floor = Enumerate(pattern, counted);
                Phases phases = StartTour(SlotOf(f, order), false, tour, count);
                enumeration.push_back(floor);
                total[order].push_back(phases.Total());
                rank[order].push_back(phases.rank);
                paired[order].push_back(phases.Total() / floor);
                if (run == 0)
                    ranked[order] = Names(tour);
            }
        }
        for (int order = 0; order < TourFileOrderCount; ++order) {
            double ratio = Median(paired[order]);
            bool budgeted = files >= 10000;
            table.push_back({"Tour start, " + label + ", " + OrderNames[order],
                             Duration(Median(total[order])),
                             "bare enumeration " + Duration(Median(enumeration)) + " (ranking "
                                 + Duration(Median(rank[order])) + " of the tour start)",
                             Times(ratio), budgeted ? "at most 1.5× enumeration" : "",
                             budgeted ? Met(ratio <= 1.5) : ""});
        }
        // the program's listing call against the plain one; not a budget, the reason for it
        table.push_back({"Bare enumeration of " + label + ": FindFirstFileExW (basic, large fetch)",
                         Duration(Median(enumeration)),
                         "FindFirstFileW " + Duration(Median(plain)),
                         Times(Median(enumeration) / Median(plain)), "", ""});

        // quadratic: hours on 100,000 names, so measured on the two smaller folders only
        if (files > 10000)
            continue;
        for (int order = 0; order < TourFileOrderCount; ++order) {
            bool slow = files > 1000 && order <= NameDescending;
            runs = slow ? options.literalRuns : options.runs;
            Progress("literal selection, " + label + ", " + OrderNames[order] + ", "
                     + std::to_string(runs) + (runs == 1 ? " run" : " runs"));
            std::vector<double> literal, literalRank;
            bool same = true;
            for (int run = 0; run < runs; ++run) {
                Phases phases = StartTour(SlotOf(f, order), true, tour, count);
                literal.push_back(phases.Total());
                literalRank.push_back(phases.rank);
                same = same && Names(tour) == ranked[order];
            }
            double fast = Median(rank[order]), slowest = Median(literalRank);
            double whole = Median(total[order]), literalWhole = Median(literal);
            bool budgeted = files == 10000;
            // the two must rank alike: a difference is a fault, whatever the speed
            literalRows.push_back(
                {"Ranking " + label + ", " + OrderNames[order] + ", against the literal rank-by-rank selection",
                 Duration(fast),
                 "literal selection " + Duration(slowest) + (runs == 1 ? " (one run)" : "")
                     + "; tour start with it " + Duration(literalWhole) + ", "
                     + Times(literalWhole / whole) + " this tour start"
                     + (same ? "" : "; **the two rank differently**"),
                 Times(slowest / fast) + " faster", budgeted ? "at least 100× faster" : "",
                 budgeted || !same ? Met(same && slowest >= 100 * fast) : ""});
        }
    }
    TourListClear(tour);
    RemoveSettings(settingsFolder);
    table.insert(table.end(), literalRows.begin(), literalRows.end());
}

} // namespace bench
