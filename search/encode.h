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

// Completes a text beginning with "ttp:", "tp:" or "www" to a full address, in place,
// cut to limit - 1 bytes.
void CompleteUrl(char* text, int limit);
