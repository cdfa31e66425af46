#include "tour/tourlist.h"

template <typename T> static BOOL Reserve(T*& block, int& capacity, int needed)
{
    if (needed <= capacity)
        return TRUE;
    // an empty list takes exactly what is asked for; a growing one doubles
    int grown = capacity ? capacity : needed;
    while (grown < needed)
        grown *= 2;
    T* moved = static_cast<T*>(block ? HeapReAlloc(GetProcessHeap(), 0, block, grown * sizeof(T))
                                     : HeapAlloc(GetProcessHeap(), 0, grown * sizeof(T)));
    if (!moved)
        return FALSE;
    block = moved;
    capacity = grown;
    return TRUE;
}

BOOL TourListAdd(TourList& list, const wchar_t* name)
{
    int size = lstrlenW(name) + 1;
    if (!Reserve(list.text, list.textCapacity, list.textUsed + size) ||
        !Reserve(list.items, list.capacity, list.count + 1))
        return FALSE;
    CopyMemory(list.text + list.textUsed, name, size * sizeof(wchar_t));
    list.items[list.count].offset = list.textUsed;
    list.items[list.count].missing = FALSE;
    list.textUsed += size;
    ++list.count;
    return TRUE;
}

void TourListAddRanked(TourList& list, const TourFileEntry* files, int count)
{
    if (count <= 0)
        return;
    int* byRank = static_cast<int*>(HeapAlloc(GetProcessHeap(), 0, count * sizeof(int)));
    if (!byRank)
        return;
    for (int r = 0; r < count; ++r)
        byRank[r] = -1;
    for (int i = 0; i < count; ++i) {
        if (files[i].index >= 0 && files[i].index < count)
            byRank[files[i].index] = i;
    }
    // sized once: the list lasts as long as the tour, and a grown one would keep its slack
    int ranked = 0, text = 0;
    for (; ranked < count && byRank[ranked] >= 0; ++ranked)
        text += lstrlenW(files[byRank[ranked]].findData.cFileName) + 1;
    if (Reserve(list.text, list.textCapacity, list.textUsed + text) &&
        Reserve(list.items, list.capacity, list.count + ranked)) {
        for (int r = 0; r < ranked; ++r)
            TourListAdd(list, files[byRank[r]].findData.cFileName);
    }
    HeapFree(GetProcessHeap(), 0, byRank);
}

void TourListRemove(TourList& list, int position)
{
    if (position < 0 || position >= list.count)
        return;
    // the name's bytes stay in the block until the tour ends; only the item goes
    MoveMemory(list.items + position, list.items + position + 1,
               (list.count - position - 1) * sizeof(TourItem));
    --list.count;
}

void TourListClear(TourList& list)
{
    if (list.text)
        HeapFree(GetProcessHeap(), 0, list.text);
    if (list.items)
        HeapFree(GetProcessHeap(), 0, list.items);
    list = TourList{};
}

int StepTourPosition(const TourCursor& cursor, int count, TourStepKind kind)
{
    if (count <= 0)
        return -1;
    int position = cursor.position;
    if (kind == TourStepNext)
        position = cursor.gone ? position : position + 1;
    else
        position -= 1;
    if (position >= count)
        return 0;
    if (position < 0)
        return count - 1;
    return position;
}

int RandomTourPosition(DWORD tickCount, int count)
{
    if (count <= 0)
        return -1;
    return static_cast<int>((tickCount / 100) % static_cast<DWORD>(count));
}

void AdjustTourCursorAfterDelete(TourCursor& cursor, int deleted)
{
    if (deleted < cursor.position)
        --cursor.position;
    else if (deleted == cursor.position)
        cursor.gone = true; // its follower moves into the position
}
