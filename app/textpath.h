#pragma once
#include <windows.h>

// Text and path routines on ANSI text in the active code page. They step by characters
// (CharNextA/CharPrevA) wherever a character test matters: the trail byte of a two-byte
// character can be 0x5C, the backslash.
//
// Every output area comes with its size. A path result that does not fit is never cut
// (a cut path could name another file): the output becomes empty and the result is FALSE.
//
// The wide forms take UTF-16 text (names found in folders) and count their areas in units.

// dir + "\" + name; no second backslash when dir already ends in one.
BOOL JoinPath(char* out, int outSize, const char* dir, const char* name);
BOOL JoinPath(wchar_t* out, int outChars, const wchar_t* dir, const wchar_t* name);
// The directory part without its trailing backslash ("" when there is none).
BOOL GetDirPart(const char* path, char* out, int outSize);
// The part after the last backslash; the output is untouched for an empty path.
BOOL GetFileNamePart(const char* path, char* out, int outSize);
// From the last dot (not the first character) to the end, dot included; "" when none.
BOOL GetExtension(const char* text, char* out, int outSize);
BOOL GetExtension(const wchar_t* text, wchar_t* out, int outChars);

// Does a search pattern name its folder from a drive ("C:\...") or a share ("\\server\...")?
// Only then is the folder before its last backslash the one its files are found in: "*.jpg",
// "C:*.jpg" or "\dir\*.jpg" depend on the current folder, and '/' is no separator here.
BOOL HasAbsoluteFolder(const char* pattern);

// Drops leading blanks and tabs and trailing blanks, tabs, CR and LF, in place.
void TrimBlanks(char* text);

// Case-sensitive test of the platform's string comparison: does text begin with prefix?
BOOL StartsWithExact(const char* text, const char* prefix);

// Fills a template the way engine addresses and viewer commands are written: every "%s"
// becomes the value and "%%" one percent sign; any other "%" stands as it is, so nothing
// but the one value is ever read. The result is cut to the area, never inside a "%xx"
// escape of the value. FALSE when it had to be cut.
BOOL ExpandTemplate(const char* tmpl, const char* value, char* out, int outSize);
BOOL ExpandTemplate(const wchar_t* tmpl, const wchar_t* value, wchar_t* out, int outChars);

template <int N> BOOL JoinPath(char (&out)[N], const char* dir, const char* name)
{
    return JoinPath(out, N, dir, name);
}
template <int N> BOOL GetDirPart(const char* path, char (&out)[N])
{
    return GetDirPart(path, out, N);
}
template <int N> BOOL GetFileNamePart(const char* path, char (&out)[N])
{
    return GetFileNamePart(path, out, N);
}
template <int N> BOOL GetExtension(const char* text, char (&out)[N])
{
    return GetExtension(text, out, N);
}
template <int N> BOOL JoinPath(wchar_t (&out)[N], const wchar_t* dir, const wchar_t* name)
{
    return JoinPath(out, N, dir, name);
}
template <int N> BOOL GetExtension(const wchar_t* text, wchar_t (&out)[N])
{
    return GetExtension(text, out, N);
}
