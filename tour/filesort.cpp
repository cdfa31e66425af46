#include "tour/filelist.h"

#include <algorithm>
#include <new>
#include <string.h>

bool TourFileComesBefore(const WIN32_FIND_DATAW& entry, const WIN32_FIND_DATAW& other, int order)
{
    switch (order) {
    case NameAscending:
        return lstrcmpiW(entry.cFileName, other.cFileName) < 0;
    case NameDescending:
        return lstrcmpiW(entry.cFileName, other.cFileName) > 0;
    case DateAscending:
        return CompareFileTime(&entry.ftLastWriteTime, &other.ftLastWriteTime) < 0;
    case DateDescending:
        return CompareFileTime(&entry.ftLastWriteTime, &other.ftLastWriteTime) > 0;
    // only the low word of the size ranks: the high word takes no part
    case SizeAscending:
        return entry.nFileSizeLow < other.nFileSizeLow;
    case SizeDescending:
        return entry.nFileSizeLow > other.nFileSizeLow;
    default:
        return false;
    }
}

namespace {
// The literal rank-by-rank selection; used only when no index array can be had.
void RankBySelection(TourFileList list, int count, int order)
{
    for (int rank = 0; rank < count; ++rank) {
        int best = -1;
        for (int i = 0; i < count; ++i) {
            if (list[i].index != -1)
                continue;
            if (best < 0 || TourFileComesBefore(list[i].findData, list[best].findData, order))
                best = i;
        }
        list[best].index = rank;
    }
}

// Sort keys of the names for the comparison lstrcmpiW makes (the thread's locale, case
// ignored), in one block: two keys compare byte by byte, where two names are weighed afresh
// at every comparison, which costs most of a large folder's tour start.
class NameKeys {
public:
    NameKeys() = default;
    NameKeys(const NameKeys&) = delete;
    NameKeys& operator=(const NameKeys&) = delete;
    ~NameKeys()
    {
        if (bytes_)
            HeapFree(GetProcessHeap(), 0, bytes_);
        delete[] offsets_;
    }

    bool Build(const TourFileEntry* list, int count)
    {
        offsets_ = new (std::nothrow) SIZE_T[static_cast<SIZE_T>(count) + 1];
        if (!offsets_)
            return false;
        LCID locale = GetThreadLocale();
        for (int i = 0; i < count; ++i) {
            const WCHAR* name = list[i].findData.cFileName;
            BYTE key[KeyLimit];
            int keyLength = LCMapStringW(locale, LCMAP_SORTKEY | NORM_IGNORECASE, name,
                                         lstrlenW(name), reinterpret_cast<LPWSTR>(key), sizeof key);
            if (keyLength <= 0 || !Reserve(used_ + keyLength))
                return false;
            offsets_[i] = used_;
            CopyMemory(bytes_ + used_, key, keyLength);
            used_ += keyLength;
        }
        offsets_[count] = used_;
        return true;
    }

    int Compare(int a, int b) const
    {
        SIZE_T lengthA = offsets_[a + 1] - offsets_[a];
        SIZE_T lengthB = offsets_[b + 1] - offsets_[b];
        int result = memcmp(bytes_ + offsets_[a], bytes_ + offsets_[b], std::min(lengthA, lengthB));
        if (result != 0)
            return result;
        return lengthA < lengthB ? -1 : lengthA > lengthB ? 1 : 0;
    }

private:
    static constexpr int KeyLimit = 4096; // a 259-character name's key is far shorter

    bool Reserve(SIZE_T needed)
    {
        if (needed <= capacity_)
            return true;
        SIZE_T grown = std::max(needed, capacity_ ? capacity_ * 2 : static_cast<SIZE_T>(64 * 1024));
        void* block = bytes_ ? HeapReAlloc(GetProcessHeap(), 0, bytes_, grown)
                             : HeapAlloc(GetProcessHeap(), 0, grown);
        if (!block)
            return false;
        bytes_ = static_cast<BYTE*>(block);
        capacity_ = grown;
        return true;
    }

    BYTE* bytes_ = nullptr;
    SIZE_T used_ = 0, capacity_ = 0;
    SIZE_T* offsets_ = nullptr; // key i is [offsets_[i], offsets_[i + 1])
};

// Orders byRank by the names' sort keys, then proves the result with lstrcmpiW itself: each
// neighbour must come strictly after the one before it, or compare equal to it exactly when
// their keys are equal. Then the sequence is the one a stable sort by lstrcmpiW gives (runs of
// equal names in enumeration order); otherwise false, and the caller sorts by the names.
bool SortByNameKeys(const TourFileEntry* list, int count, bool descending, int* byRank)
{
    NameKeys keys;
    if (!keys.Build(list, count))
        return false;
    std::stable_sort(byRank, byRank + count, [&keys, descending](int a, int b) {
        int result = keys.Compare(a, b);
        return descending ? result > 0 : result < 0;
    });
    for (int r = 1; r < count; ++r) {
        int before = byRank[r - 1], after = byRank[r];
        int byName = lstrcmpiW(list[before].findData.cFileName, list[after].findData.cFileName);
        bool sameKey = keys.Compare(before, after) == 0;
        bool inOrder = sameKey ? byName == 0 : (descending ? byName > 0 : byName < 0);
        if (!inOrder)
            return false;
    }
    return true;
}

// Dates and sizes as plain numbers in a compact array: the last-write time as the unsigned
// 64-bit value CompareFileTime compares, the size by its low word alone; descending orders
// rank the complemented number. Sorted a byte at a time from the lowest, each pass stable, so
// that equal numbers keep enumeration order; a byte that is the same in every number is
// passed over.
bool SortByNumber(const TourFileEntry* list, int count, int order, int* byRank)
{
    struct Keyed {
        ULONGLONG key;
        int entry;
    };
    Keyed* keyed = new (std::nothrow) Keyed[count];
    Keyed* spare = new (std::nothrow) Keyed[count];
    if (!keyed || !spare) {
        delete[] keyed;
        delete[] spare;
        return false;
    }
    bool byDate = order == DateAscending || order == DateDescending;
    bool descending = order == DateDescending || order == SizeDescending;
    for (int i = 0; i < count; ++i) {
        const WIN32_FIND_DATAW& data = list[i].findData;
        ULONGLONG key = byDate ? (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32)
                                     | data.ftLastWriteTime.dwLowDateTime
                               : data.nFileSizeLow;
        keyed[i].key = descending ? ~key : key;
        keyed[i].entry = i;
    }
    for (int shift = 0; shift < 64; shift += 8) {
        int start[257] = {};
        for (int i = 0; i < count; ++i)
            ++start[((keyed[i].key >> shift) & 0xFF) + 1];
        if (*std::max_element(start + 1, start + 257) == count)
            continue;
        for (int digit = 0; digit < 256; ++digit)
            start[digit + 1] += start[digit];
        for (int i = 0; i < count; ++i)
            spare[start[(keyed[i].key >> shift) & 0xFF]++] = keyed[i];
        std::swap(keyed, spare);
    }
    for (int r = 0; r < count; ++r)
        byRank[r] = keyed[r].entry;
    delete[] keyed;
    delete[] spare;
    return true;
}
} // namespace

void SortTourFileList(TourFileList list, int count, int order)
{
    if (!list || count <= 0)
        return;
    if (order < 0 || order >= TourFileOrderCount) {
        for (int i = 0; i < count; ++i)
            list[i].index = -1;
        return;
    }

    // A stable sort gives the same ranks as picking the strictly best remaining entry rank by
    // rank, since both keep equal entries in enumeration order, without its n*n comparisons.
    int* byRank = new (std::nothrow) int[count];
    int* rankOf = new (std::nothrow) int[count];
    if (!byRank || !rankOf) {
        delete[] byRank;
        delete[] rankOf;
        for (int i = 0; i < count; ++i)
            list[i].index = -1;
        RankBySelection(list, count, order);
        return;
    }
    for (int i = 0; i < count; ++i)
        byRank[i] = i;
    bool sorted = order == NameAscending || order == NameDescending
        ? SortByNameKeys(list, count, order == NameDescending, byRank)
        : SortByNumber(list, count, order, byRank);
    if (!sorted) {
        for (int i = 0; i < count; ++i)
            byRank[i] = i;
        std::stable_sort(byRank, byRank + count, [list, order](int a, int b) {
            return TourFileComesBefore(list[a].findData, list[b].findData, order);
        });
    }
    // every entry is ranked; written in entry order, one pass over the large entries
    for (int rank = 0; rank < count; ++rank)
        rankOf[byRank[rank]] = rank;
    for (int i = 0; i < count; ++i)
        list[i].index = rankOf[i];
    delete[] byRank;
    delete[] rankOf;
}
