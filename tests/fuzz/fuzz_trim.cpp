// TrimBlanks in place, in an area just large enough: leading blanks and tabs, trailing blanks,
// tabs, CR and LF go; a two-byte character whose trail byte looks like one stays whole.
#include "fuzz_common.h"

#include "app/textpath.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const std::string text = input.Text(2048);
    auto area = HeapText(text);
    TrimBlanks(area.get());
    const std::string result = Terminated(area.get(), static_cast<int>(text.size()) + 1);

    size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t'))
        ++start;
    const std::string rest = text.substr(start);
    // the end: after the last character of the rest that is not a trailing blank
    size_t end = 0;
    for (size_t i = 0; i < rest.size(); i = NextCharacter(rest, i)) {
        size_t next = NextCharacter(rest, i);
        bool blank = next == i + 1 &&
                     (rest[i] == ' ' || rest[i] == '\t' || rest[i] == '\r' || rest[i] == '\n');
        if (!blank)
            end = next;
    }
    FUZZ_CHECK(result == rest.substr(0, end));
    return 0;
}
