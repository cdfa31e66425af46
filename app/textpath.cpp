#include "app/textpath.h"

// Copies len bytes of src and a terminator when they fit; otherwise leaves "".
static BOOL CopyWhole(char* out, int outSize, const char* src, int len)
{
    if (outSize <= 0)
        return FALSE;
    if (len >= outSize) {
        out[0] = '\0';
        return FALSE;
    }
    CopyMemory(out, src, len);
    out[len] = '\0';
    return TRUE;
}

// Position of the last `mark` character after the first character, or nullptr.
static const char* FindLastAfterFirst(const char* text, char mark)
{
    const char* found = nullptr;
    if (*text == '\0')
        return nullptr;
    for (const char* p = CharNextA(text); *p != '\0'; p = CharNextA(p)) {
        if (*p == mark)
            found = p;
    }
    return found;
}

BOOL JoinPath(char* out, int outSize, const char* dir, const char* name)
{
    const char* last = dir;
    for (const char* next = CharNextA(dir); *next != '\0'; next = CharNextA(next))
        last = next;
    // stepping by characters: a two-byte last character ending in 0x5C is no separator
    BOOL endsInSeparator = *last == '\\';

    int dirLen = lstrlenA(dir);
    int nameLen = lstrlenA(name);
    int sepLen = endsInSeparator ? 0 : 1;
    if (outSize <= 0)
        return FALSE;
    if (dirLen + sepLen + nameLen >= outSize) {
        out[0] = '\0';
        return FALSE;
    }
    CopyMemory(out, dir, dirLen);
    if (sepLen)
        out[dirLen] = '\\';
    CopyMemory(out + dirLen + sepLen, name, nameLen + 1);
    return TRUE;
}

BOOL GetDirPart(const char* path, char* out, int outSize)
{
    const char* slash = FindLastAfterFirst(path, '\\');
    if (!slash)
        return CopyWhole(out, outSize, "", 0);
    return CopyWhole(out, outSize, path, static_cast<int>(slash - path));
}

BOOL GetFileNamePart(const char* path, char* out, int outSize)
{
    if (*path == '\0')
        return TRUE;
    const char* slash = FindLastAfterFirst(path, '\\');
    const char* name = slash ? slash + 1 : path;
    return CopyWhole(out, outSize, name, lstrlenA(name));
}

BOOL GetExtension(const char* text, char* out, int outSize)
{
    const char* dot = FindLastAfterFirst(text, '.');
    if (!dot)
        return CopyWhole(out, outSize, "", 0);
    return CopyWhole(out, outSize, dot, lstrlenA(dot));
}

static bool IsLeadingBlank(char c) { return c == ' ' || c == '\t'; }
static bool IsTrailingBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

void TrimBlanks(char* text)
{
    char* start = text;
    while (IsLeadingBlank(*start))
        start = CharNextA(start);

    char* end = start + lstrlenA(start);
    while (end > start) {
        char* prev = CharPrevA(start, end);
        if (!IsTrailingBlank(*prev))
            break;
        end = prev;
    }
    *end = '\0';
    if (start != text)
        MoveMemory(text, start, end - start + 1);
}

BOOL StartsWithExact(const char* text, const char* prefix)
{
    int prefixLen = lstrlenA(prefix);
    int textLen = lstrlenA(text);
    if (textLen < prefixLen)
        return FALSE;
    return CompareStringA(LOCALE_SYSTEM_DEFAULT, 0, text, prefixLen, prefix, -1) == CSTR_EQUAL;
}

BOOL ExpandTemplate(const char* tmpl, const char* value, char* out, int outSize)
{
    if (outSize <= 0)
        return FALSE;
    int used = 0;
    BOOL whole = TRUE;
    auto put = [&](const char* text, int len) {
        if (used + len >= outSize) {
            whole = FALSE;
            return false;
        }
        CopyMemory(out + used, text, len);
        used += len;
        return true;
    };

    for (const char* p = tmpl; *p != '\0' && whole;) {
        if (p[0] == '%' && p[1] == 's') {
            // an escape is three bytes: never cut one in half; a '%' within the last two
            // bytes of a value (a file path may end in one) is no escape
            for (const char* q = value; *q != '\0';) {
                int unit = q[0] == '%' && q[1] != '\0' && q[2] != '\0' ? 3 : 1;
                if (!put(q, unit))
                    break;
                q += unit;
            }
            p += 2;
        } else if (p[0] == '%' && p[1] == '%') {
            put("%", 1);
            p += 2;
        } else {
            // two-byte characters go whole, so a trail byte is never taken for '%'
            const char* next = CharNextA(p);
            put(p, static_cast<int>(next - p));
            p = next;
        }
    }
    out[used] = '\0';
    return whole;
}
