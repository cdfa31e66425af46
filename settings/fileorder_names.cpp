#include "settings/fileorder_names.h"

static bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

static const wchar_t* SkipOrderPrefix(const wchar_t* name)
{
    return HasOrderPrefix(name) ? name + OrderPrefixLength : name;
}

BOOL HasOrderPrefix(const wchar_t* name)
{
    // each test stops at the terminator
    return name[0] == L'[' && IsDigit(name[1]) && IsDigit(name[2]) && name[3] == L']' &&
           name[4] == L' ';
}

BOOL GetUnorderedName(const wchar_t* name, wchar_t* out, int outChars)
{
    if (outChars <= 0)
        return FALSE;
    const wchar_t* base = SkipOrderPrefix(name);
    if (lstrlenW(base) >= outChars) {
        out[0] = L'\0';
        return FALSE;
    }
    lstrcpynW(out, base, outChars);
    return TRUE;
}

BOOL FormatOrderedName(int number, const wchar_t* name, wchar_t* out, int outChars)
{
    if (outChars <= 0)
        return FALSE;
    const wchar_t* base = SkipOrderPrefix(name);
    const int length = lstrlenW(base);
    if (number < 1 || number > OrderNumberMax || OrderPrefixLength + length >= outChars) {
        out[0] = L'\0';
        return FALSE;
    }
    const wchar_t prefix[OrderPrefixLength] = {L'[', static_cast<wchar_t>('0' + number / 10),
                                               static_cast<wchar_t>('0' + number % 10), L']', L' '};
    CopyMemory(out, prefix, sizeof prefix);
    CopyMemory(out + OrderPrefixLength, base, (length + 1) * sizeof(wchar_t));
    return TRUE;
}
