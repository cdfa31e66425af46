// CompleteUrl in place, in areas of exactly `limit` bytes as its callers have.
#include "fuzz_common.h"

#include "app/settings.h"
#include "search/encode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const uint8_t limitChoice = input.Byte();
    // 0: the callers' area (TextSize); otherwise 1..255 bytes
    const int limit = limitChoice == 0 ? TextSize : limitChoice;
    // the text fills the area at most, as lstrcpynA leaves it: cut to limit - 1 bytes
    const std::string text = input.Text(limit - 1);

    auto area = Area(limit);
    memcpy(area.get(), text.c_str(), text.size() + 1);
    CompleteUrl(area.get(), limit);
    const std::string result = Terminated(area.get(), limit);

    std::string completed = text;
    if (StartsWith(text, "ttp:"))
        completed = "h" + text;
    else if (StartsWith(text, "tp:"))
        completed = "ht" + text;
    else if (StartsWith(text, "www"))
        completed = "http://" + text;
    FUZZ_CHECK(result == completed.substr(0, limit - 1));
    return 0;
}
