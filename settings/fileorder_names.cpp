#include "settings/fileorder_names.h"

namespace {

template <typename Char> bool IsDigit(Char c) { return c >= '0' && c <= '9'; }

template <typename Char> int Length(const Char* text)
{
    int length = 0;
    while (text[length] != 0)
        ++length;
    return length;
}

template <typename Char> bool Prefixed(const Char* name)
{
    // Byte tests are safe here: digits and ASCII brackets are never part of a two-byte
    // character when the name starts with '[', and each test stops at the terminator.
    return name[0] == '[' && IsDigit(name[1]) && IsDigit(name[2]) && name[3] == ']' &&
           name[4] == ' ';
}

template <typename Char> const Char* SkipOrderPrefix(const Char* name)
{
    return Prefixed(name) ? name + OrderPrefixLength : name;
}

// Copies len units of text and a terminator to out + at, which the caller has sized.
template <typename Char> void Put(Char* out, int at, const Char* text, int len)
{
    CopyMemory(out + at, text, len * sizeof(Char));
    out[at + len] = 0;
}

template <typename Char> BOOL Unordered(const Char* name, Char* out, int outSize)
{
    if (outSize <= 0)
        return FALSE;
    const Char* base = SkipOrderPrefix(name);
    int length = Length(base);
    if (length >= outSize) {
        out[0] = 0;
        return FALSE;
    }
    Put(out, 0, base, length);
    return TRUE;
}

template <typename Char> BOOL Ordered(int number, const Char* name, Char* out, int outSize)
{
    if (outSize <= 0)
        return FALSE;
    const Char* base = SkipOrderPrefix(name);
    int length = Length(base);
    if (number < 1 || number > OrderNumberMax || OrderPrefixLength + length >= outSize) {
        out[0] = 0;
        return FALSE;
    }
    const Char prefix[OrderPrefixLength] = {'[', static_cast<Char>('0' + number / 10),
                                            static_cast<Char>('0' + number % 10), ']', ' '};
    Put(out, 0, prefix, OrderPrefixLength);
    Put(out, OrderPrefixLength, base, length);
    return TRUE;
}

} // namespace

BOOL HasOrderPrefix(const char* name) { return Prefixed(name); }
BOOL HasOrderPrefix(const wchar_t* name) { return Prefixed(name); }

BOOL GetUnorderedName(const char* name, char* out, int outSize)
{
    return Unordered(name, out, outSize);
}
BOOL GetUnorderedName(const wchar_t* name, wchar_t* out, int outChars)
{
    return Unordered(name, out, outChars);
}

BOOL FormatOrderedName(int number, const char* name, char* out, int outSize)
{
    return Ordered(number, name, out, outSize);
}
BOOL FormatOrderedName(int number, const wchar_t* name, wchar_t* out, int outChars)
{
    return Ordered(number, name, out, outChars);
}
