#include "app/textconv.h"

static BOOL Empty(char* out, int outSize)
{
    if (outSize > 0)
        out[0] = '\0';
    return FALSE;
}

// Bytes of text that form whole characters: all of it, or all but a lead byte at the end.
static int WholeCharacters(const char* text)
{
    int length = 0;
    while (text[length] != '\0') {
        if (IsDBCSLeadByteEx(ProgramCodePage, static_cast<BYTE>(text[length]))) {
            if (text[length + 1] == '\0')
                break;
            length += 2;
        } else {
            length += 1;
        }
    }
    return length;
}

// length bytes of text as UTF-16 with a terminator, or FALSE.
static BOOL Widen(const char* text, int length, wchar_t* out, int outChars)
{
    if (outChars <= 0)
        return FALSE;
    // a count of 0 would ask for the size needed instead of converting
    int written = length > 0 && outChars > 1
        ? MultiByteToWideChar(ProgramCodePage, 0, text, length, out, outChars - 1)
        : 0;
    if (length > 0 && written <= 0) {
        out[0] = L'\0';
        return FALSE;
    }
    out[written] = L'\0';
    return TRUE;
}

BOOL AnsiToWide(const char* text, wchar_t* out, int outChars)
{
    return Widen(text, lstrlenA(text), out, outChars);
}

BOOL WideToUtf8(const wchar_t* text, char* out, int outSize)
{
    if (outSize <= 0)
        return FALSE;
    int written = WideCharToMultiByte(CP_UTF8, 0, text, -1, out, outSize, nullptr, nullptr);
    return written > 0 ? TRUE : Empty(out, outSize);
}

BOOL AnsiToUtf8(const char* text, char* out, int outSize)
{
    // every byte of code page 932 is at most one UTF-16 unit
    int length = WholeCharacters(text);
    wchar_t* wide = static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0,
                                                    (length + 1) * sizeof(wchar_t)));
    if (!wide)
        return Empty(out, outSize);
    BOOL done = Widen(text, length, wide, length + 1) && WideToUtf8(wide, out, outSize);
    HeapFree(GetProcessHeap(), 0, wide);
    return done ? TRUE : Empty(out, outSize);
}
