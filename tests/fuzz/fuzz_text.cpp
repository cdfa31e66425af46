// One fuzz target for the product's bounded text routines: the first byte of an input picks
// the routine, the second its area size, NUL bytes separate its texts. Every text and output
// lies in a heap block of exactly its size, so that AddressSanitizer reports any byte read or
// written past one, and every output must end within its area. What the results mean is the
// unit tests' part, with the platform's own text functions.
#include "app/textpath.h"
#include "search/encode.h"
#include "settings/fileorder_names.h"
#include "settings/pagelogic.h"
#include "tour/destlabel.h"
#include "tour/extfilter.h"

#include <memory>
#include <string>

namespace {

template <typename Char> std::unique_ptr<Char[]> Heap(const std::basic_string<Char>& text)
{
    std::unique_ptr<Char[]> copy(new Char[text.size() + 1]);
    std::copy(text.c_str(), text.c_str() + text.size() + 1, copy.get());
    return copy;
}

template <typename Char> void Terminated(const Char* area, int size)
{
    if (size > 0 && std::char_traits<Char>::find(area, size, 0) == nullptr)
        NotReached("an output without its terminator");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t at = 2;
    auto text = [&](size_t limit) { // the next text up to a NUL, at most `limit` bytes of it
        std::string next;
        for (; at < size && data[at]; ++at)
            if (next.size() < limit)
                next += char(data[at]);
        return ++at, next;
    };
    const int routine = size > 0 ? data[0] % 8 : 0, area = size > 1 ? data[1] : 0;
    // settings values hold at most 299 bytes; the rest is what edits and files may hold
    const std::string a = text(2048), b = text(TextSize - 1), c = text(TextSize - 1);
    const std::wstring wa(a.begin(), a.end()), wb(b.begin(), b.end()); // any units, pairs or not
    auto x = Heap(a), y = Heap(b), z = Heap(c), out = Heap(std::string(area, '~'));
    auto wx = Heap(wa), wy = Heap(wb), wout = Heap(std::wstring(area, L'~'));
    switch (routine) {
    case 0:
        EncodeQuery(x.get(), out.get(), area);
        Terminated(out.get(), area);
        EncodeUtf8Bytes(x.get(), out.get(), area);
        break;
    case 1: { // in place, in an area of exactly its limit
        auto limited = Heap(std::string(area, '\0'));
        std::copy(a.c_str(), a.c_str() + std::min<size_t>(a.size(), area ? area - 1 : 0), limited.get());
        CompleteUrl(limited.get(), area, area & 1);
        Terminated(limited.get(), area);
        TrimBlanks(x.get());
        break;
    }
    case 2:
        ExpandTemplate(y.get(), x.get(), out.get(), area);
        Terminated(out.get(), area);
        ExpandTemplate(wy.get(), wx.get(), wout.get(), area);
        break;
    case 3:
        JoinPath(out.get(), area, x.get(), y.get()), Terminated(out.get(), area);
        GetDirPart(x.get(), out.get(), area), Terminated(out.get(), area);
        GetFileNamePart(x.get(), out.get(), area), Terminated(out.get(), area);
        GetExtension(x.get(), out.get(), area), Terminated(out.get(), area);
        JoinPath(wout.get(), area, wx.get(), wy.get()), Terminated(wout.get(), area);
        GetExtension(wx.get(), wout.get(), area);
        break;
    case 4: {
        auto filter = std::make_unique<ExtensionFilter>();
        ParseExtensionFilter(x.get(), filter.get());
        for (int i = 0; i < filter->count; ++i)
            Terminated(filter->ext[i], ExtFilterEntrySize);
        break;
    }
    case 5:
        HasOrderPrefix(x.get()), HasOrderPrefix(wx.get());
        GetUnorderedName(x.get(), out.get(), area), Terminated(out.get(), area);
        FormatOrderedName(int(b.size()) - 2, x.get(), out.get(), area), Terminated(out.get(), area);
        GetUnorderedName(wx.get(), wout.get(), area), Terminated(wout.get(), area);
        FormatOrderedName(int(b.size()) - 2, wx.get(), wout.get(), area);
        break;
    case 6:
        ComposeDestinationLabel(y.get(), z.get(), y.get(), area & 1, out.get(), area);
        Terminated(out.get(), area);
        ComposeEngineLabel(area % 13, y.get(), out.get(), area), Terminated(out.get(), area);
        ComposeDestinationEntry(y.get(), out.get(), area);
        break;
    default: {
        CutToField(out.get(), area, x.get()), Terminated(out.get(), area);
        StoreWhole(out.get(), area, x.get());
        BuildPathPattern(x.get(), out.get(), area), Terminated(out.get(), area);
        BuildViewerCommand(x.get(), out.get(), area), Terminated(out.get(), area);
        PatternFolder(x.get(), out.get(), area), Terminated(out.get(), area);
        // records of one to eight bytes, moved and cleared within a copy of `area` bytes
        const int record = 1 + b.size() % 8, index = int(c.size() % 12) - 2, step = int(a.size() % 5) - 2;
        MoveRecord(out.get(), record, area / record, index, step);
        ClearRecord(out.get(), record, area / record, index);
        break;
    }
    }
    return 0;
}
