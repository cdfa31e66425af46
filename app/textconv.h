#pragma once
#include <windows.h>

// The program's own text is code page 932: its literals, the settings file, what the ANSI
// window functions take. Names found in folders are UTF-16, and some engines want UTF-8.
// These are the only conversions between them. Each writes into an area of known size; a
// text that does not fit whole gives an empty output and FALSE (a cut name or query could
// mean something else).
constexpr UINT ProgramCodePage = 932;

BOOL AnsiToWide(const char* text, wchar_t* out, int outChars);
BOOL WideToUtf8(const wchar_t* text, char* out, int outSize);
// Code page 932 text as UTF-8. A lead byte at the very end, half of a character that was
// cut off, is left out.
BOOL AnsiToUtf8(const char* text, char* out, int outSize);

template <int N> BOOL AnsiToWide(const char* text, wchar_t (&out)[N])
{
    return AnsiToWide(text, out, N);
}
template <int N> BOOL WideToUtf8(const wchar_t* text, char (&out)[N])
{
    return WideToUtf8(text, out, N);
}
template <int N> BOOL AnsiToUtf8(const char* text, char (&out)[N])
{
    return AnsiToUtf8(text, out, N);
}
