#pragma once
#include <windows.h>

// Percent-encodes a query byte by byte for an engine's address: two-byte characters as
// both their bytes, letters, digits and "*-._" unchanged, every other byte as %xx.
// A query of n bytes needs 3n + 1 bytes, 3n + 4 when it ends in a lone lead byte; output that
// would not fit is left off whole.
void EncodeQuery(const char* query, char* out, int outSize);
template <int N> void EncodeQuery(const char* query, char (&out)[N])
{
    EncodeQuery(query, out, N);
}

// Percent-encodes bytes the way today's sites read a UTF-8 query: A-Z a-z 0-9 and "-._~"
// unchanged, every other byte as %XX in capitals, so the blank is %20. Needs 3n + 1 bytes
// for n; output that would not fit is left off whole, never cut inside an escape.
void EncodeUtf8Bytes(const char* utf8, char* out, int outSize);

// Does the text begin with an address? Only "http:" as written, or, when httpsToo, "http:"
// and "https:" in any letter case.
BOOL IsWebAddress(const char* text, BOOL httpsToo);

// Completes a text beginning with "ttp:", "tp:" or "www" to a full address, in place, cut to
// limit - 1 bytes; when httpsToo, "ttps:" and "tps:" to "https:" as well.
void CompleteUrl(char* text, int limit, BOOL httpsToo = FALSE);
