// ParseExtensionFilter: at most 100 entries of at most 9 bytes, split at ';' characters (not at
// a trail byte). The names the entries are matched with are UTF-16, out of this build's reach.
#include "fuzz_common.h"

#include "tour/extfilter.h"

namespace {
// The entries as the filter field's rules give them.
std::vector<std::string> ReferenceEntries(const std::string& text)
{
    std::vector<std::string> entries;
    if (text.empty())
        return entries;
    auto add = [&](size_t start, size_t length) {
        entries.push_back(text.substr(start, std::min<size_t>(length, ExtFilterEntrySize - 1)));
    };
    // a ';' first, or right after a separator, is part of the entry it starts
    size_t start = 0;
    size_t p = NextCharacter(text, 0);
    while (entries.size() < ExtFilterMaxEntries - 1 && p < text.size()) {
        if (text[p] == ';') {
            add(start, p - start);
            start = p + 1;
            p = start < text.size() ? NextCharacter(text, start) : start;
        } else {
            p = NextCharacter(text, p);
        }
    }
    if (start < text.size())
        add(start, text.size() - start);
    return entries;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const std::string filterText = input.Text(2048);
    auto text = HeapText(filterText);

    auto filter = std::make_unique<ExtensionFilter>();
    memset(filter.get(), 0x7E, sizeof *filter);
    ParseExtensionFilter(text.get(), filter.get());

    const std::vector<std::string> expected = ReferenceEntries(filterText);
    FUZZ_CHECK(filter->count == static_cast<int>(expected.size()));
    for (int i = 0; i < filter->count; ++i)
        FUZZ_CHECK(Terminated(filter->ext[i], ExtFilterEntrySize) == expected[i]);
    return 0;
}
