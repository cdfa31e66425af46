// HasOrderPrefix, GetUnorderedName and FormatOrderedName: one "[nn] " prefix at most, any old
// prefix replaced, and a result that does not fit refused whole.
#include "fuzz_common.h"

#include "settings/fileorder_names.h"

namespace {
bool Digit(char c) { return c >= '0' && c <= '9'; }
bool Prefixed(const std::string& name)
{
    return name.size() >= 5 && name[0] == '[' && Digit(name[1]) && Digit(name[2]) &&
           name[3] == ']' && name[4] == ' ';
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const uint8_t sizeChoice = input.Byte() & 0x7F;
    // -2..101: the numbers refused on both sides
    const int number = static_cast<int>(input.Byte() % 104) - 2;
    const int outSize = sizeChoice < 64 ? sizeChoice : MAX_PATH;
    const std::string name = input.Text(MAX_PATH + 40);
    auto nameText = HeapText(name);

    FUZZ_CHECK((HasOrderPrefix(nameText.get()) != FALSE) == Prefixed(name));
    const std::string base = Prefixed(name) ? name.substr(OrderPrefixLength) : name;

    {
        auto out = Area(outSize);
        BOOL done = GetUnorderedName(nameText.get(), out.get(), outSize);
        if (outSize > 0) {
            const std::string result = Terminated(out.get(), outSize);
            FUZZ_CHECK(done == (base.size() < static_cast<size_t>(outSize) ? TRUE : FALSE));
            FUZZ_CHECK(result == (done ? base : ""));
        } else {
            FUZZ_CHECK(done == FALSE);
        }
    }

    auto out = Area(outSize);
    BOOL done = FormatOrderedName(number, nameText.get(), out.get(), outSize);
    if (outSize <= 0) {
        FUZZ_CHECK(done == FALSE);
        return 0;
    }
    const std::string result = Terminated(out.get(), outSize);
    char prefix[8];
    snprintf(prefix, sizeof prefix, "[%02d] ", number);
    const std::string expected = prefix + base;
    const bool fits = number >= 1 && number <= OrderNumberMax &&
                      expected.size() < static_cast<size_t>(outSize);
    FUZZ_CHECK(done == (fits ? TRUE : FALSE));
    FUZZ_CHECK(result == (fits ? expected : ""));
    if (!fits)
        return 0;

    // the new name has its prefix and gives the name back without it; numbering it again
    // replaces the prefix instead of adding one
    auto formatted = HeapText(result);
    FUZZ_CHECK(HasOrderPrefix(formatted.get()) == TRUE);
    char unordered[MAX_PATH + 64];
    FUZZ_CHECK(GetUnorderedName(formatted.get(), unordered) == TRUE);
    FUZZ_CHECK(unordered == base);
    auto again = Area(outSize);
    FUZZ_CHECK(FormatOrderedName(number, formatted.get(), again.get(), outSize) == TRUE);
    FUZZ_CHECK(Terminated(again.get(), outSize) == result);
    return 0;
}
