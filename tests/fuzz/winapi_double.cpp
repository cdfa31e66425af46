#include "winapi_double.h"

#include "cp932_facts.h"

#include <stdio.h>
#include <stdlib.h>

namespace {
[[noreturn]] void NotReached(const char* name)
{
    fprintf(stderr, "winapi double: %s was called; the fuzzed routines never should\n", name);
    abort();
}

// The platform compares characters, not bytes: the character at text[pos], limited to
// `length` bytes (a byte, or lead << 8 | trail); advances pos.
int TakeCharacter(const char* text, int length, int* pos)
{
    BYTE first = static_cast<BYTE>(text[*pos]);
    if (IsDBCSLeadByte(first)) {
        if (*pos + 1 < length && text[*pos + 1] != '\0') {
            int code = first << 8 | static_cast<BYTE>(text[*pos + 1]);
            *pos += 2;
            return code;
        }
        *pos += 1;
        return cp932::DefaultCharacter;
    }
    *pos += 1;
    return first;
}

// Negative, zero or positive as a sorts before, with or after b. Equal as the platform finds
// for the case pairs it ignores; the order is by code, not the platform's linguistic one.
int CompareCharacters(const char* a, int aLength, const char* b, int bLength, bool ignoreCase)
{
    int i = 0, j = 0;
    while (i < aLength && j < bLength) {
        int x = TakeCharacter(a, aLength, &i);
        int y = TakeCharacter(b, bLength, &j);
        if (ignoreCase) {
            x = cp932::FoldCase(x);
            y = cp932::FoldCase(y);
        }
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (i < aLength)
        return 1;
    if (j < bLength)
        return -1;
    return 0;
}
} // namespace

BOOL IsDBCSLeadByte(BYTE byte)
{
    return cp932::LeadByte(byte);
}

LPSTR CharNextA(LPCSTR text)
{
    // a lead byte steps over any trail byte but never over the terminator
    if (*text == '\0')
        return const_cast<LPSTR>(text);
    if (IsDBCSLeadByte(static_cast<BYTE>(text[0])) && text[1] != '\0')
        return const_cast<LPSTR>(text + 2);
    return const_cast<LPSTR>(text + 1);
}

LPSTR CharPrevA(LPCSTR start, LPCSTR current)
{
    // walks from the start: the only way to know where a character begins
    while (*start != '\0' && start < current) {
        LPCSTR next = CharNextA(start);
        if (next >= current)
            break;
        start = next;
    }
    return const_cast<LPSTR>(start);
}

BOOL IsCharAlphaNumericA(CHAR ch)
{
    return cp932::AlphaNumeric(static_cast<BYTE>(ch));
}

int lstrlenA(LPCSTR text)
{
    return text ? static_cast<int>(strlen(text)) : 0;
}

LPSTR lstrcpynA(LPSTR dest, LPCSTR src, int size)
{
    // on the platform a negative size copies without bound: always a fault of the caller
    if (size < 0)
        NotReached("lstrcpynA with a negative size");
    // bytes, not characters: the platform may cut a two-byte character in half too
    int i = 0;
    for (; i + 1 < size && src[i] != '\0'; ++i)
        dest[i] = src[i];
    if (size > 0)
        dest[i] = '\0';
    return dest;
}

int lstrcmpA(LPCSTR a, LPCSTR b)
{
    return CompareCharacters(a, lstrlenA(a), b, lstrlenA(b), false);
}

int lstrcmpiA(LPCSTR a, LPCSTR b)
{
    return CompareCharacters(a, lstrlenA(a), b, lstrlenA(b), true);
}

int CompareStringA(LCID, DWORD flags, LPCSTR a, int aLength, LPCSTR b, int bLength)
{
    if (flags & ~static_cast<DWORD>(NORM_IGNORECASE))
        NotReached("CompareStringA with flags other than NORM_IGNORECASE");
    // a count reads exactly that many bytes; a negative one reads to the terminator
    if (aLength < 0)
        aLength = lstrlenA(a);
    if (bLength < 0)
        bLength = lstrlenA(b);
    int order = CompareCharacters(a, aLength, b, bLength, (flags & NORM_IGNORECASE) != 0);
    return order < 0 ? CSTR_LESS_THAN : order == 0 ? CSTR_EQUAL : CSTR_GREATER_THAN;
}

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes)
{
    if (flags & ~static_cast<UINT>(GMEM_ZEROINIT))
        NotReached("GlobalAlloc of a movable block");
    void* block = malloc(bytes);
    if (block && (flags & GMEM_ZEROINIT))
        memset(block, 0, bytes);
    return block;
}

HGLOBAL GlobalFree(HGLOBAL block)
{
    free(block);
    return nullptr;
}

HGLOBAL GlobalReAlloc(HGLOBAL, SIZE_T, UINT) { NotReached("GlobalReAlloc"); }
HANDLE FindFirstFileA(LPCSTR, WIN32_FIND_DATAA*) { NotReached("FindFirstFileA"); }
BOOL FindNextFileA(HANDLE, WIN32_FIND_DATAA*) { NotReached("FindNextFileA"); }
BOOL FindClose(HANDLE) { NotReached("FindClose"); }
LONG CompareFileTime(const FILETIME*, const FILETIME*) { NotReached("CompareFileTime"); }
int MessageBoxA(HWND, LPCSTR, LPCSTR, UINT) { NotReached("MessageBoxA"); }
HMENU CreatePopupMenu() { NotReached("CreatePopupMenu"); }
BOOL AppendMenuA(HMENU, UINT, UINT_PTR, LPCSTR) { NotReached("AppendMenuA"); }
int GetMenuStringA(HMENU, UINT, LPSTR, int, UINT) { NotReached("GetMenuStringA"); }
LRESULT SendMessageA(HWND, UINT, WPARAM, LPARAM) { NotReached("SendMessageA"); }
