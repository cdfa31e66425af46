#include "app/textpath.h"

#include <string>

// ANSI text steps by characters; UTF-16 text by units, since neither unit of a surrogate pair
// is ever a backslash, a dot or a percent sign. Everything else is the same for both.
namespace {

const char* Next(const char* p) { return CharNextA(p); }
const wchar_t* Next(const wchar_t* p) { return *p ? p + 1 : p; }

template <typename Char> int Length(const Char* text)
{
    return static_cast<int>(std::char_traits<Char>::length(text));
}

// Copies len units of src and a terminator when they fit; otherwise leaves "".
template <typename Char> BOOL CopyWhole(Char* out, int outSize, const Char* src, int len)
{
    if (outSize <= 0)
        return FALSE;
    if (len >= outSize) {
        out[0] = 0;
        return FALSE;
    }
    CopyMemory(out, src, len * sizeof(Char));
    out[len] = 0;
    return TRUE;
}

// Position of the last `mark` character after the first character, or nullptr.
template <typename Char> const Char* FindLastAfterFirst(const Char* text, Char mark)
{
    const Char* found = nullptr;
    if (*text == 0)
        return nullptr;
    for (const Char* p = Next(text); *p != 0; p = Next(p)) {
        if (*p == mark)
            found = p;
    }
    return found;
}

template <typename Char>
BOOL Join(Char* out, int outSize, const Char* dir, const Char* name)
{
    const Char* last = dir;
    for (const Char* next = Next(dir); *next != 0; next = Next(next))
        last = next;
    // stepping by characters: a two-byte last character ending in 0x5C is no separator
    BOOL endsInSeparator = *last == '\\';

    int dirLen = Length(dir);
    int nameLen = Length(name);
    int sepLen = endsInSeparator ? 0 : 1;
    if (outSize <= 0)
        return FALSE;
    if (dirLen + sepLen + nameLen >= outSize) {
        out[0] = 0;
        return FALSE;
    }
    CopyMemory(out, dir, dirLen * sizeof(Char));
    if (sepLen)
        out[dirLen] = '\\';
    CopyMemory(out + dirLen + sepLen, name, (nameLen + 1) * sizeof(Char));
    return TRUE;
}

template <typename Char> BOOL Extension(const Char* text, Char* out, int outSize)
{
    const Char* dot = FindLastAfterFirst(text, static_cast<Char>('.'));
    if (!dot)
        return CopyWhole(out, outSize, text, 0);
    return CopyWhole(out, outSize, dot, Length(dot));
}

template <typename Char>
BOOL Expand(const Char* tmpl, const Char* value, Char* out, int outSize)
{
    if (outSize <= 0)
        return FALSE;
    static const Char percent = '%';
    int used = 0;
    BOOL whole = TRUE;
    auto put = [&](const Char* text, int len) {
        if (used + len >= outSize) {
            whole = FALSE;
            return false;
        }
        CopyMemory(out + used, text, len * sizeof(Char));
        used += len;
        return true;
    };

    for (const Char* p = tmpl; *p != 0 && whole;) {
        if (p[0] == '%' && p[1] == 's') {
            // an escape is three units: never cut one in half; a '%' within the last two
            // units of a value (a file path may end in one) is no escape
            for (const Char* q = value; *q != 0;) {
                int unit = q[0] == '%' && q[1] != 0 && q[2] != 0 ? 3 : 1;
                if (!put(q, unit))
                    break;
                q += unit;
            }
            p += 2;
        } else if (p[0] == '%' && p[1] == '%') {
            put(&percent, 1);
            p += 2;
        } else {
            // two-byte characters go whole, so a trail byte is never taken for '%'
            const Char* next = Next(p);
            put(p, static_cast<int>(next - p));
            p = next;
        }
    }
    out[used] = 0;
    return whole;
}

} // namespace

BOOL JoinPath(char* out, int outSize, const char* dir, const char* name)
{
    return Join(out, outSize, dir, name);
}

BOOL JoinPath(wchar_t* out, int outChars, const wchar_t* dir, const wchar_t* name)
{
    return Join(out, outChars, dir, name);
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
    return Extension(text, out, outSize);
}

BOOL GetExtension(const wchar_t* text, wchar_t* out, int outChars)
{
    return Extension(text, out, outChars);
}

BOOL HasAbsoluteFolder(const char* pattern)
{
    // '/' (0x2F) is never the trail byte of a two-byte character
    for (const char* p = pattern; *p != '\0'; ++p) {
        if (*p == '/')
            return FALSE;
    }
    char drive = pattern[0];
    bool letter = (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
    if (letter && pattern[1] == ':' && pattern[2] == '\\')
        return TRUE;
    // a share needs its server before the last backslash: "\\*.jpg" has no folder to join to
    const char* last = FindLastAfterFirst(pattern, '\\');
    return pattern[0] == '\\' && pattern[1] == '\\' && pattern[2] != '\\' && last &&
           last - pattern >= 3;
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
    return Expand(tmpl, value, out, outSize);
}

BOOL ExpandTemplate(const wchar_t* tmpl, const wchar_t* value, wchar_t* out, int outChars)
{
    return Expand(tmpl, value, out, outChars);
}
