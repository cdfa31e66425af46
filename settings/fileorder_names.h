#pragma once
#include <windows.h>

// Names of the file order dialog: "[01] name" fixes a file's place in a tour by name.
// The prefix is exactly five characters: '[', two digits, ']' and one blank. Names are
// UTF-16, as folders give them.
constexpr int OrderPrefixLength = 5;
constexpr int OrderNumberMax = 99;

// Does the name begin with a prefix? Any two digits count, "00" as well.
BOOL HasOrderPrefix(const wchar_t* name);

// The name without its prefix, or the whole name when it has none.
// A result that does not fit is never cut: the output becomes "" and the result is FALSE.
BOOL GetUnorderedName(const wchar_t* name, wchar_t* out, int outChars);

// "[%02d] %s" of number (1..99) and the name with any old prefix taken off, so that a
// renumbered name never carries two prefixes. Refused (FALSE, "") for another number or a
// result that does not fit: a cut name would name a different file.
BOOL FormatOrderedName(int number, const wchar_t* name, wchar_t* out, int outChars);

template <int N> BOOL GetUnorderedName(const wchar_t* name, wchar_t (&out)[N])
{
    return GetUnorderedName(name, out, N);
}
template <int N> BOOL FormatOrderedName(int number, const wchar_t* name, wchar_t (&out)[N])
{
    return FormatOrderedName(number, name, out, N);
}
