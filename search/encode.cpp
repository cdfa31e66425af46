#include "search/encode.h"

#include "app/textpath.h"

#include <stdio.h>

static const char HexDigits[] = "0123456789abcdef";
static const char CapitalHexDigits[] = "0123456789ABCDEF";

static bool IsKeptMark(char c) { return c == '*' || c == '-' || c == '.' || c == '_'; }

static void PutEscaped(char* out, int& used, unsigned char byte, const char* digits)
{
    out[used++] = '%';
    out[used++] = digits[byte >> 4];
    out[used++] = digits[byte & 15];
}

// RFC 3986's unreserved characters, decided on bytes: no locale may widen them.
static bool IsUnreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
           c == '-' || c == '.' || c == '_' || c == '~';
}

void EncodeQuery(const char* query, char* out, int outSize)
{
    if (outSize <= 0)
        return;
    int used = 0;
    auto putEscaped = [&](unsigned char byte) { PutEscaped(out, used, byte, HexDigits); };

    const unsigned char* p = reinterpret_cast<const unsigned char*>(query);
    while (*p != 0) {
        if (IsDBCSLeadByte(*p)) {
            if (used + 6 >= outSize)
                break;
            putEscaped(p[0]);
            putEscaped(p[1]); // a lead byte at the end pairs with the terminator: %00
            if (p[1] == 0)
                break;
            p += 2;
        } else if (IsKeptMark(static_cast<char>(*p)) || IsCharAlphaNumericA(static_cast<char>(*p))) {
            if (used + 1 >= outSize)
                break;
            out[used++] = static_cast<char>(*p++);
        } else {
            if (used + 3 >= outSize)
                break;
            putEscaped(*p++);
        }
    }
    out[used] = '\0';
}

void EncodeUtf8Bytes(const char* utf8, char* out, int outSize)
{
    if (outSize <= 0)
        return;
    int used = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8); *p != 0; ++p) {
        if (IsUnreserved(*p)) {
            if (used + 1 >= outSize)
                break;
            out[used++] = static_cast<char>(*p);
        } else {
            if (used + 3 >= outSize)
                break;
            PutEscaped(out, used, *p, CapitalHexDigits);
        }
    }
    out[used] = '\0';
}

// Compares bytes with the ASCII letters folded: the prefixes are ASCII, and none of their
// bytes is a lead byte, so every byte matched here starts a character of its own.
static bool StartsWithAnyCase(const char* text, const char* prefix)
{
    for (; *prefix != '\0'; ++text, ++prefix) {
        char c = *text;
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != *prefix)
            return false;
    }
    return true;
}

BOOL IsWebAddress(const char* text, BOOL httpsToo)
{
    if (!httpsToo)
        return StartsWithExact(text, "http:");
    return StartsWithAnyCase(text, "http:") || StartsWithAnyCase(text, "https:");
}

void CompleteUrl(char* text, int limit, BOOL httpsToo)
{
    if (limit <= 0)
        return;
    int scratchSize = limit + 100;
    char* scratch = static_cast<char*>(GlobalAlloc(GMEM_FIXED, scratchSize));
    if (!scratch)
        return;
    lstrcpynA(scratch, text, limit);

    if (StartsWithExact(text, "ttp:") || (httpsToo && StartsWithExact(text, "ttps:")))
        snprintf(scratch, scratchSize, "h%s", text);
    else if (StartsWithExact(text, "tp:") || (httpsToo && StartsWithExact(text, "tps:")))
        snprintf(scratch, scratchSize, "ht%s", text);
    else if (StartsWithExact(text, "www"))
        snprintf(scratch, scratchSize, "http://%s", text);

    lstrcpynA(text, scratch, limit);
    GlobalFree(scratch);
}
