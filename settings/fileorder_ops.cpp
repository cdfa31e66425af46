#include "settings/fileorder_ops.h"

#include "app/textpath.h"
#include "settings/fileorder_names.h"

#include <wchar.h>

namespace {

BOOL RenameInFolder(const wchar_t* folder, const wchar_t* from, const wchar_t* to)
{
    // the names were found relative to some folder; with none, "\name" would be the root's.
    // An empty name would make the path the folder itself.
    if (*folder == L'\0' || *from == L'\0' || *to == L'\0')
        return FALSE;
    if (wcscmp(from, to) == 0) // exactly: the platform's comparison ignores some characters
        return TRUE;
    wchar_t fromPath[MAX_PATH];
    wchar_t toPath[MAX_PATH];
    if (!JoinPath(fromPath, folder, from) || !JoinPath(toPath, folder, to))
        return FALSE;
    // MoveFile never replaces: an existing target makes the rename fail
    return MoveFileW(fromPath, toPath);
}

BOOL Stop(int index, int* failed)
{
    *failed = index;
    return FALSE;
}

} // namespace

BOOL ApplyFileOrder(const wchar_t* const names[], int count, const wchar_t* folder, int* failed)
{
    *failed = -1;
    for (int i = 0; i < count; i++) {
        wchar_t ordered[MAX_PATH];
        if (!FormatOrderedName(i + 1, names[i], ordered) ||
            !RenameInFolder(folder, names[i], ordered))
            return Stop(i, failed);
    }
    return TRUE;
}

BOOL ReleaseFileOrder(const wchar_t* const names[], int count, const wchar_t* folder, int* failed)
{
    *failed = -1;
    for (int i = 0; i < count; i++) {
        if (!HasOrderPrefix(names[i]))
            continue;
        wchar_t unordered[MAX_PATH];
        if (!GetUnorderedName(names[i], unordered) ||
            !RenameInFolder(folder, names[i], unordered))
            return Stop(i, failed);
    }
    return TRUE;
}
