#include "settings/fileorder_names.h"

#include <stdio.h>

static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

BOOL HasOrderPrefix(const char* name)
{
    // Byte tests are safe here: digits and ASCII brackets are never part of a two-byte
    // character when the name starts with '[', and each test stops at the terminator.
    return name[0] == '[' && IsDigit(name[1]) && IsDigit(name[2]) && name[3] == ']' &&
           name[4] == ' ';
}

static const char* SkipOrderPrefix(const char* name)
{
    return HasOrderPrefix(name) ? name + OrderPrefixLength : name;
}

BOOL GetUnorderedName(const char* name, char* out, int outSize)
{
    if (outSize <= 0)
        return FALSE;
    const char* base = SkipOrderPrefix(name);
    if (lstrlenA(base) >= outSize) {
        out[0] = '\0';
        return FALSE;
    }
    lstrcpynA(out, base, outSize);
    return TRUE;
}

BOOL FormatOrderedName(int number, const char* name, char* out, int outSize)
{
    if (outSize <= 0)
        return FALSE;
    const char* base = SkipOrderPrefix(name);
    if (number < 1 || number > OrderNumberMax ||
        OrderPrefixLength + lstrlenA(base) >= outSize) {
        out[0] = '\0';
        return FALSE;
    }
    snprintf(out, outSize, "[%02d] %s", number, base);
    return TRUE;
}
