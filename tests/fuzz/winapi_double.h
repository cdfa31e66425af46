#pragma once
// A native stand-in for the few platform types and text functions that the product's pure text
// routines use, behaving as the platform does in code page 932 (Shift-JIS), as measured under
// Wine: see docs/reliability.md. Only the native fuzzing build sees it.
//
// Files that mix pure routines with window code compile against it too; their window and file
// functions are declared here but trap when called, as no fuzz target reaches them.

#include <stddef.h>
#include <stdint.h>
#include <string.h>

using BOOL = int;
using BYTE = unsigned char;
using WORD = unsigned short;
using DWORD = unsigned int; // 32 bits, as on the platform
using UINT = unsigned int;
using INT = int;
using LONG = int;
using CHAR = char;
using SIZE_T = size_t;
using UINT_PTR = uintptr_t;
using INT_PTR = intptr_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using LCID = DWORD;
using LPSTR = char*;
using LPCSTR = const char*;
using HANDLE = void*;
using HGLOBAL = void*;
using HWND = struct HWND__*;
using HMENU = struct HMENU__*;
using HINSTANCE = struct HINSTANCE__*;
using HHOOK = struct HHOOK__*;

#define TRUE 1
#define FALSE 0
#define WINAPI
#define CALLBACK
#define MAX_PATH 260

#define CopyMemory(dest, src, len) memcpy((dest), (src), (len))
#define MoveMemory(dest, src, len) memmove((dest), (src), (len))
#define ZeroMemory(dest, len) memset((dest), 0, (len))

// Code page 932 text
BOOL IsDBCSLeadByte(BYTE byte);
LPSTR CharNextA(LPCSTR text);
LPSTR CharPrevA(LPCSTR start, LPCSTR current);
BOOL IsCharAlphaNumericA(CHAR ch);
int lstrlenA(LPCSTR text);
LPSTR lstrcpynA(LPSTR dest, LPCSTR src, int size);
int lstrcmpA(LPCSTR a, LPCSTR b);
int lstrcmpiA(LPCSTR a, LPCSTR b);

#define LOCALE_SYSTEM_DEFAULT 0x0800
#define NORM_IGNORECASE 0x00000001
#define CSTR_LESS_THAN 1
#define CSTR_EQUAL 2
#define CSTR_GREATER_THAN 3
int CompareStringA(LCID locale, DWORD flags, LPCSTR a, int aLength, LPCSTR b, int bLength);

// Memory: exact-size heap blocks, so that AddressSanitizer sees any byte past one
#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
HGLOBAL GlobalFree(HGLOBAL block);
HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags); // traps

// Declared for the files that mix pure routines with window and file code; all trap.
struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};
struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwReserved0;
    DWORD dwReserved1;
    CHAR cFileName[MAX_PATH];
    CHAR cAlternateFileName[14];
};
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define WM_USER 0x0400
#define MB_OK 0x00000000
#define MF_BYCOMMAND 0x00000000
#define MF_STRING 0x00000000
#define MF_POPUP 0x00000010
#define MF_SEPARATOR 0x00000800

HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* found);
BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* found);
BOOL FindClose(HANDLE search);
LONG CompareFileTime(const FILETIME* a, const FILETIME* b);
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
HMENU CreatePopupMenu();
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text);
int GetMenuStringA(HMENU menu, UINT item, LPSTR text, int size, UINT flags);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
