#include <doctest.h>

#include "app/textconv.h"
#include "app/textpath.h"
#include "app/winhelpers.h"
#include "search/dispatch.h"
#include "search/encode.h"
#include "settings/fileorder_names.h"
#include "settings/pagelogic.h"
#include "tour/destlabel.h"
#include "tour/extfilter.h"
#include "tour/tourbar.h"

#include <stdio.h>
#include <stdlib.h>

#include <random>
#include <string>

// The bounded text routines fed random texts with the platform's own code page functions. Each
// text and each output area ends where a page begins that may not be touched, so a byte read
// or written past one stops the run at once, naming the routine. What the results mean is the
// other tests' part; here every output must end within its area.

namespace {

const char* Running = "";

LONG CALLBACK Stray(EXCEPTION_POINTERS* exception)
{
    if (exception->ExceptionRecord->ExceptionCode != EXCEPTION_ACCESS_VIOLATION)
        return EXCEPTION_CONTINUE_SEARCH;
    fprintf(stderr, "%s touched a byte past its area\n", Running);
    fflush(stderr);
    ExitProcess(3);
}

// A page followed by one that is only reserved: a touch of it is an access violation.
struct Guarded {
    static constexpr int Size = 4096;
    char* page = static_cast<char*>(VirtualAlloc(nullptr, 2 * Size, MEM_RESERVE, PAGE_NOACCESS));
    Guarded() { VirtualAlloc(page, Size, MEM_COMMIT, PAGE_READWRITE); }
    ~Guarded() { VirtualFree(page, 0, MEM_RELEASE); }
    template <typename Char> Char* Put(const std::basic_string<Char>& text) // with its terminator
    {
        Char* at = reinterpret_cast<Char*>(page + Size) - text.size() - 1;
        return std::copy(text.c_str(), text.c_str() + text.size() + 1, at), at;
    }
    template <typename Char> Char* Area(int count, Char fill) { return Put(std::basic_string<Char>(count, fill)) + 1; }
};

template <typename Char> void Ends(const Char* area, int count)
{
    if (count > 0 && std::char_traits<Char>::find(area, count, 0) == nullptr)
        FAIL_CHECK(Running << ": an output without its terminator");
}

// The call, named for the report of a stray access, and then its output checked.
#define BOUNDED(call, area, count) (Running = #call, (void)(call), Ends(area, count))

} // namespace

TEST_SUITE("bounds")
{
    TEST_CASE("no text routine reads or writes a byte past its area, and every output ends within it")
    {
        // lead bytes, trail bytes that are a backslash, the marks the routines look for
        const std::string alphabet = "aZ09s%\\./:[] \t\r\nwhtp~-_*\x81\x95\\\xb1\xe0\xfc\x40\xff\x80\xa1\x9f\x5b";
        const char* rounds = getenv("KIRAPICK_BOUNDS_ROUNDS"); // a long run by hand
        std::mt19937 random(20261207);
        auto length = [&](int most) { return random() % 4 ? random() % 40 : random() % (most + 1); };
        auto text = [&](int most) {
            std::string made(length(most), 'a');
            for (char& c : made)
                c = alphabet[random() % alphabet.size()];
            return made;
        };
        auto wide = [](std::string text) { // any units, a surrogate alone too
            return std::wstring(text.begin(), text.end()) + (text.size() % 3 ? L"\xd83d" : L"\xde00");
        };
        Guarded ga, gb, gc, gout, gwa, gwb, gwout;
        static ExtensionFilter filter;
        PVOID handler = AddVectoredExceptionHandler(1, Stray);
        for (long round = 0, last = rounds ? atol(rounds) : 5000; round < last; ++round) {
            const std::string a = text(2047), b = text(TextSize - 1), c = text(TextSize - 1);
            const int area = length(600);
            char *x = ga.Put(a), *y = gb.Put(b), *z = gc.Put(c), *out = gout.Area(area, '~');
            wchar_t *wx = gwa.Put(wide(a).substr(0, 2000)), *wy = gwb.Put(wide(b)), *wout = gwout.Area(area, L'~');
            // in place, in an area of exactly its limit
            char* url = gout.Put(a.substr(0, area ? area - 1 : 0) + std::string(area > int(a.size()) ? area - a.size() - 1 : 0, '\0'));
            BOUNDED(CompleteUrl(url, area, area & 1), url, area);
            BOUNDED((TrimBlanks(x), HasOrderPrefix(wx)), out, 0);
            BOUNDED((SetClipboardText(y), GetClipboardText(out, area)), out, area);
            BOUNDED(EncodeQuery(x, out, area), out, area);
            BOUNDED(EncodeForEngine(x, EngineUtf8, out, area), out, area);
            BOUNDED(AnsiToUtf8(x, out, area), out, area);
            BOUNDED(AnsiToWide(y, wout, area), wout, area);
            BOUNDED(WideToUtf8(wy, out, area), out, area);
            BOUNDED(ExpandTemplate(y, x, out, area), out, area);
            BOUNDED(ExpandTemplate(wy, wx, wout, area), wout, area);
            BOUNDED(ExpandViewerCommand(y, wx, wout, area), wout, area);
            BOUNDED(JoinPath(out, area, x, y), out, area);
            BOUNDED(GetDirPart(x, out, area), out, area);
            BOUNDED(GetFileNamePart(x, out, area), out, area);
            BOUNDED(GetExtension(x, out, area), out, area);
            BOUNDED(JoinPath(wout, area, wx, wy), wout, area);
            BOUNDED(GetExtension(wx, wout, area), wout, area);
            BOUNDED(GetUnorderedName(wx, wout, area), wout, area);
            BOUNDED(FormatOrderedName(int(b.size()) - 2, wx, wout, area), wout, area);
            BOUNDED(ComposeDestinationLabel(y, z, y, area & 1, out, area), out, area);
            BOUNDED(ComposeEngineLabel(area % 13, y, out, area), out, area);
            BOUNDED(ComposeDestinationEntry(y, out, area), out, area);
            BOUNDED(CutToField(out, area, x), out, area);
            BOUNDED(StoreWhole(out, area, x), out, area);
            BOUNDED(BuildPathPattern(x, out, area), out, area);
            BOUNDED(BuildViewerCommand(x, out, area), out, area);
            BOUNDED(PatternFolder(x, out, area), out, area);
            BOUNDED(ParseExtensionFilter(x, &filter), filter.ext[0], filter.count ? ExtFilterEntrySize : 0);
            for (int i = 1; i < filter.count; ++i)
                Ends(filter.ext[i], ExtFilterEntrySize);
            // records of one to eight bytes, moved and cleared within `area` bytes
            const int record = 1 + b.size() % 8, index = int(c.size() % 12) - 2, step = int(a.size() % 5) - 2;
            BOUNDED(MoveRecord(out, record, area / record, index, step), out, 0);
            BOUNDED(ClearRecord(out, record, area / record, index), out, 0);
        }
        RemoveVectoredExceptionHandler(handler);
    }
}
