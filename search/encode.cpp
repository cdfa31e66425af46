#include "search/encode.h"

#include "app/textpath.h"

#include <stdio.h>

static const char HexDigits[] = "0123456789abcdef";

static bool IsKeptMark(char c) { return c == '*' || c == '-' || c == '.' || c == '_'; }

void EncodeQuery(const char* query, char* out, int outSize)
{
    if (outSize <= 0)
        return;
    int used = 0;
    auto putEscaped = [&](unsigned char byte) {
        out[used++] = '%';
        out[used++] = HexDigits[byte >> 4];
        out[used++] = HexDigits[byte & 15];
    };

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

void CompleteUrl(char* text, int limit)
{
    if (limit <= 0)
        return;
    int scratchSize = limit + 100;
    char* scratch = static_cast<char*>(GlobalAlloc(GMEM_FIXED, scratchSize));
    if (!scratch)
        return;
    lstrcpynA(scratch, text, limit);

    if (StartsWithExact(text, "ttp:"))
        snprintf(scratch, scratchSize, "h%s", text);
    else if (StartsWithExact(text, "tp:"))
        snprintf(scratch, scratchSize, "ht%s", text);
    else if (StartsWithExact(text, "www"))
        snprintf(scratch, scratchSize, "http://%s", text);

    lstrcpynA(text, scratch, limit);
    GlobalFree(scratch);
}
