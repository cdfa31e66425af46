#include "tour/extfilter.h"

namespace {
constexpr int ExtFilterSplitLimit = ExtFilterMaxEntries - 1;

// Stores [start, start + len) as the next entry, cut to 9 bytes.
void AddFilterEntry(ExtensionFilter* filter, const char* start, int len)
{
    if (len > ExtFilterEntrySize - 1)
        len = ExtFilterEntrySize - 1;
    char* entry = filter->ext[filter->count];
    CopyMemory(entry, start, len);
    entry[len] = '\0';
    ++filter->count;
}
} // namespace

void ParseExtensionFilter(const char* text, ExtensionFilter* filter)
{
    ZeroMemory(filter, sizeof *filter);
    if (*text == '\0')
        return;

    // A ';' in first place, or right after another ';', belongs to the token it starts.
    const char* start = text;
    const char* p = CharNextA(text);
    while (filter->count < ExtFilterSplitLimit && *p != '\0') {
        if (*p == ';') {
            AddFilterEntry(filter, start, static_cast<int>(p - start));
            start = p + 1;
            p = CharNextA(start);
        } else {
            p = CharNextA(p);
        }
    }
    // the 100th entry takes everything after the 99th separator
    int rest = lstrlenA(start);
    if (rest > 0)
        AddFilterEntry(filter, start, rest);
}
