#pragma once
// A native stand-in for the few platform types and text functions that the product's pure text
// routines use, behaving as the platform does in code page 932 (Shift-JIS), as measured under
// Wine (docs/reliability.md; the unit tests check the facts in cp932_facts.h against the
// platform). Only the native fuzzing build sees it, through include/windows.h.
#include "cp932_facts.h"

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

using BOOL = int;
using BYTE = unsigned char;
using WORD = unsigned short;
using DWORD = unsigned int; // 32 bits, as on the platform
using UINT = unsigned int;
using CHAR = char;
using HGLOBAL = void*;
using LCID = DWORD;
using SIZE_T = size_t;
using LPSTR = char*;
using LPCSTR = const char*;

#define TRUE 1
#define FALSE 0
#define MAX_PATH 260
#define LOCALE_SYSTEM_DEFAULT 0x0800
#define CSTR_EQUAL 2
#define GMEM_FIXED 0x0000
#define GMEM_ZEROINIT 0x0040
#define CopyMemory(dest, src, len) memcpy((dest), (src), (len))
#define MoveMemory(dest, src, len) memmove((dest), (src), (len))
#define ZeroMemory(dest, len) memset((dest), 0, (len))

[[noreturn]] inline void NotReached(const char* what)
{
    fprintf(stderr, "winapi double: %s; the fuzzed routines never should\n", what);
    abort();
}

inline BOOL IsDBCSLeadByte(BYTE byte) { return cp932::LeadByte(byte); }
inline BOOL IsCharAlphaNumericA(CHAR ch) { return cp932::AlphaNumeric(static_cast<BYTE>(ch)); }
inline int lstrlenA(LPCSTR text) { return text ? static_cast<int>(strlen(text)) : 0; }

// A lead byte steps over any following byte but the terminator; at the terminator it stays.
inline LPSTR CharNextA(LPCSTR text)
{
    return const_cast<LPSTR>(!*text ? text : IsDBCSLeadByte(BYTE(text[0])) && text[1] ? text + 2 : text + 1);
}

// Walks from the start: the only way to know where a character begins.
inline LPSTR CharPrevA(LPCSTR start, LPCSTR current)
{
    while (*start && start < current && CharNextA(start) < current)
        start = CharNextA(start);
    return const_cast<LPSTR>(start);
}

// Copies bytes: like the platform, it may cut a two-byte character in half.
inline LPSTR lstrcpynA(LPSTR dest, LPCSTR src, int size)
{
    if (size < 0) // the platform would copy without bound: always a fault of the caller
        NotReached("lstrcpynA with a negative size");
    int i = 0;
    for (; i + 1 < size && src[i]; ++i)
        dest[i] = src[i];
    if (size > 0)
        dest[i] = '\0';
    return dest;
}

// The routines test ASCII prefixes, case-sensitive: equal bytes are equal text, and a lead byte
// at the end of a count, which the platform reads as a character of its own, equals no letter.
inline int CompareStringA(LCID, DWORD flags, LPCSTR a, int aLength, LPCSTR b, int bLength)
{
    if (flags)
        NotReached("CompareStringA with flags");
    aLength = aLength < 0 ? lstrlenA(a) : aLength;
    bLength = bLength < 0 ? lstrlenA(b) : bLength;
    const int order = memcmp(a, b, aLength < bLength ? aLength : bLength);
    return (order ? (order < 0 ? -1 : 1) : (aLength > bLength) - (aLength < bLength)) + CSTR_EQUAL;
}

// Blocks of the exact size, so that AddressSanitizer sees any byte past one.
inline HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes)
{
    if (flags & ~UINT(GMEM_ZEROINIT))
        NotReached("GlobalAlloc of a movable block");
    return flags & GMEM_ZEROINIT ? calloc(bytes ? bytes : 1, 1) : malloc(bytes ? bytes : 1);
}
inline HGLOBAL GlobalFree(HGLOBAL block) { return free(block), nullptr; }
