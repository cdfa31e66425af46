// ComposeDestinationLabel: the name, or the path with its filter, wrapped in the current
// slot's mark; settings values always fit the label area whole, and any area gets a
// terminated result.
#include "fuzz_common.h"

#include "app/settings.h"
#include "tour/destmenu.h"

namespace {
// "【 " and " 】" in code page 932
const std::string MarkOpen = "\x81\x79 ";
const std::string MarkClose = " \x81\x7A";
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const uint8_t flags = input.Byte();
    const BOOL current = flags & 1;
    // bit 1 clear: the menu's own area; set: 1..127 bytes
    const int outSize = (flags & 2) == 0 ? DestinationLabelSize : flags >> 1;
    // values beyond the settings' TextSize too: the label is then cut, never overrun
    const std::string name = input.Text(1500);
    const std::string path = input.Text(1500);
    const std::string filter = input.Text(1500);
    auto nameText = HeapText(name);
    auto pathText = HeapText(path);
    auto filterText = HeapText(filter);

    auto out = Area(outSize);
    ComposeDestinationLabel(nameText.get(), pathText.get(), filterText.get(), current, out.get(),
                            outSize);
    if (outSize == 0)
        return 0;
    const std::string result = Terminated(out.get(), outSize);

    std::string label = !name.empty()                      ? name
                        : !path.empty() && !filter.empty() ? path + " (" + filter + ")"
                                                           : path;
    const bool settingsSized = name.size() < TextSize && path.size() < TextSize &&
                               filter.size() < TextSize;
    label = label.substr(0, DestinationLabelSize - 1);
    const std::string whole = !label.empty() && current ? MarkOpen + label + MarkClose : label;
    FUZZ_CHECK(result == whole.substr(0, outSize - 1));
    if (settingsSized && outSize == DestinationLabelSize)
        FUZZ_CHECK(result == whole);
    return 0;
}
