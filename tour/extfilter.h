#pragma once
#include <windows.h>

// The extension filter of a tour destination as the settings file holds it: code page 932
// text such as ".bmp;.jpg;.gif;".

constexpr int ExtFilterMaxEntries = 100;
constexpr int ExtFilterEntrySize = 10; // 9 bytes and the terminator

// A parsed extension filter; no entries accepts every file.
struct ExtensionFilter {
    int count;
    char ext[ExtFilterMaxEntries][ExtFilterEntrySize];
};

// Splits ".bmp;.jpg;.gif" at ';' into at most 100 entries cut to 9 bytes each.
void ParseExtensionFilter(const char* text, ExtensionFilter* filter);
