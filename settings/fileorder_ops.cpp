#include "settings/fileorder_ops.h"

#include "app/textpath.h"
#include "settings/fileorder_names.h"

#include <string.h>

namespace {

BOOL RenameInFolder(const char* folder, const char* from, const char* to)
{
    // the names were found relative to some folder; with none, "\name" would be the root's.
    // An empty name would make the path the folder itself.
    if (*folder == '\0' || *from == '\0' || *to == '\0')
        return FALSE;
    if (strcmp(from, to) == 0)
        return TRUE;
    char fromPath[MAX_PATH];
    char toPath[MAX_PATH];
    if (!JoinPath(fromPath, folder, from) || !JoinPath(toPath, folder, to))
        return FALSE;
    // without MOVEFILE_REPLACE_EXISTING: an existing target makes the rename fail
    return MoveFileA(fromPath, toPath);
}

BOOL Stop(int index, int* failed)
{
    *failed = index;
    return FALSE;
}

} // namespace

BOOL ApplyFileOrder(const char* const names[], int count, const char* folder, int* failed)
{
    *failed = -1;
    for (int i = 0; i < count; i++) {
        char ordered[MAX_PATH];
        if (!FormatOrderedName(i + 1, names[i], ordered) ||
            !RenameInFolder(folder, names[i], ordered))
            return Stop(i, failed);
    }
    return TRUE;
}

BOOL ReleaseFileOrder(const char* const names[], int count, const char* folder, int* failed)
{
    *failed = -1;
    for (int i = 0; i < count; i++) {
        if (!HasOrderPrefix(names[i]))
            continue;
        char unordered[MAX_PATH];
        if (!GetUnorderedName(names[i], unordered) ||
            !RenameInFolder(folder, names[i], unordered))
            return Stop(i, failed);
    }
    return TRUE;
}
