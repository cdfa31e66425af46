// One fuzz target for the product's text routines: the first byte of an input picks the
// routine, a few more bytes its area sizes, NUL bytes separate its texts. Every output goes to
// a heap area of exactly the size passed, so that AddressSanitizer sees a byte past it; each
// result is checked against what the routine's header promises, written out apart from it.
#include "app/settings.h"
#include "app/textpath.h"
#include "search/dispatch.h"
#include "search/encode.h"
#include "settings/fileorder_names.h"
#include "settings/pagelogic.h"
#include "tour/destmenu.h"
#include "tour/filelist.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#define CHECK(condition) ((condition) ? (void)0 : NotReached("check failed: " #condition))

// What tour/filelist.cpp and tour/destmenu.cpp call from their window-side functions.
namespace Key {
const char TourName[] = "", TourPath[] = "", InputPath[] = "", ExtFilter[] = "";
}
void ReadUserString(const char*, int, char*, int) { NotReached("ReadUserString was called"); }
int ReadUserInt(const char*, int, int) { NotReached("ReadUserInt was called"); }

namespace {

struct Input {
    const uint8_t* data;
    size_t size, at = 0;
    int Byte() { return at < size ? data[at++] : 0; }
    // The next text up to a NUL, at most `limit` bytes of it.
    std::string Text(size_t limit = 4096)
    {
        size_t start = at;
        while (at < size && data[at])
            ++at;
        return std::string(reinterpret_cast<const char*>(data + start), std::min(at++ - start, limit));
    }
};

// An area of exactly `size` bytes, filled with '~'; a text in a block just large enough.
std::unique_ptr<char[]> Area(int size)
{
    std::unique_ptr<char[]> area(new char[size > 0 ? size : 1]);
    memset(area.get(), '~', size > 0 ? size : 1);
    return area;
}
std::unique_ptr<char[]> Heap(const std::string& text)
{
    std::unique_ptr<char[]> copy(new char[text.size() + 1]);
    memcpy(copy.get(), text.c_str(), text.size() + 1);
    return copy;
}
// The text in an area of `size` bytes, which must hold its terminator.
std::string In(const std::unique_ptr<char[]>& area, int size)
{
    const void* end = memchr(area.get(), 0, size);
    CHECK(size <= 0 || end);
    return size <= 0 ? "" : std::string(area.get(), static_cast<const char*>(end) - area.get());
}

// Code page 932 apart from the double: the offset after the character at i.
size_t Next(const std::string& text, size_t i)
{
    return cp932::LeadByte(text[i]) && i + 1 < text.size() ? i + 2 : i + 1;
}
// The part after the last `mark` character from the second character on, or npos.
size_t LastMark(const std::string& text, char mark)
{
    size_t found = std::string::npos;
    for (size_t i = text.empty() ? 0 : Next(text, 0); i < text.size(); i = Next(text, i))
        found = text[i] == mark ? i : found;
    return found;
}

// A result that fits whole, or FALSE and "" (or nothing written for an area of no size).
void Whole(BOOL done, const std::unique_ptr<char[]>& out, int size, const std::string& expected)
{
    CHECK(done == (expected.size() < size_t(size) ? TRUE : FALSE));
    CHECK(size <= 0 || In(out, size) == (done ? expected : ""));
}

// A template filled in as ExpandTemplate's header says ("%s" the value, "%%" one percent sign),
// into an area of `size`: whole when it fits; otherwise cut, shorter than the area.
void Expanded(const std::string& tmpl, const std::string& value, int size)
{
    std::string full;
    for (size_t p = 0; p < tmpl.size();) {
        bool percent = tmpl[p] == '%' && p + 1 < tmpl.size() && (tmpl[p + 1] == 's' || tmpl[p + 1] == '%');
        full += !percent ? tmpl.substr(p, Next(tmpl, p) - p) : tmpl[p + 1] == 's' ? value : "%";
        p = percent ? p + 2 : Next(tmpl, p);
    }
    auto t = Heap(tmpl), v = Heap(value), out = Area(size);
    BOOL whole = ExpandTemplate(t.get(), v.get(), out.get(), size);
    CHECK(size <= 0 || (whole ? In(out, size) == full : full.compare(0, In(out, size).size(), In(out, size)) == 0));
    CHECK(whole == (full.size() < size_t(size)));
}

void Encode(Input& in)
{
    const int choice = in.Byte();
    const std::string query = in.Text(1200);
    const int size = choice ? choice - 1 : int(3 * query.size() + 4); // or the most it can need
    auto q = Heap(query), out = Area(size);
    EncodeQuery(q.get(), out.get(), size);
    // whole units: kept bytes, or %xx of the query's bytes in turn (a lone lead byte at the end
    // with its terminator); decoded, they give back the query's first bytes
    std::string encoded = In(out, size), decoded;
    for (size_t i = 0; i < encoded.size(); ++i) {
        unsigned char c = encoded[i];
        CHECK(c == '%' || cp932::AlphaNumeric(c) || strchr("*-._", c));
        decoded += c != '%' ? char(c) : char(strtol(encoded.substr(i + 1, 2).c_str(), nullptr, 16));
        i += c == '%' ? 2 : 0;
    }
    CHECK((query + '\0').compare(0, decoded.size(), decoded) == 0);
    CHECK(size < int(3 * query.size() + 4) || decoded.size() >= query.size());
}

void Complete(Input& in)
{
    const int choice = in.Byte(), limit = choice ? choice : TextSize;
    const std::string text = in.Text(limit - 1);
    auto area = Area(limit);
    memcpy(area.get(), text.c_str(), text.size() + 1);
    CompleteUrl(area.get(), limit);
    std::string completed = text.compare(0, 4, "ttp:") == 0 ? "h" + text : text.compare(0, 3, "tp:") == 0 ? "ht" + text
                          : text.compare(0, 3, "www") == 0 ? "http://" + text : text;
    CHECK(In(area, limit) == completed.substr(0, limit - 1));
}

void Paths(Input& in)
{
    const int choice = in.Byte() & 0x7F, size = choice < 64 ? choice : MAX_PATH;
    const std::string path = in.Text(600), name = in.Text(300);
    auto p = Heap(path), n = Heap(name), out = Area(size);
    const size_t slash = LastMark(path, '\\'), dot = LastMark(path, '.');
    size_t last = 0; // where the last character starts
    for (size_t i = 0; i < path.size(); i = Next(path, i))
        last = i;
    Whole(JoinPath(out.get(), size, p.get(), n.get()), out, size, path + (path[last] == '\\' ? "" : "\\") + name);
    Whole(GetDirPart(p.get(), out.get(), size), out, size, slash == std::string::npos ? "" : path.substr(0, slash));
    Whole(GetExtension(p.get(), out.get(), size), out, size, dot == std::string::npos ? "" : path.substr(dot));
    if (!path.empty())
        Whole(GetFileNamePart(p.get(), out.get(), size), out, size, slash == std::string::npos ? path : path.substr(slash + 1));
}

void Trim(Input& in)
{
    const std::string text = in.Text(2048);
    auto area = Heap(text);
    TrimBlanks(area.get());
    // blanks and tabs off the front; blanks, tabs, CR and LF that are whole characters off the end
    std::string rest = text.substr(std::min(text.find_first_not_of(" \t"), text.size()));
    size_t end = 0;
    for (size_t i = 0; i < rest.size(); i = Next(rest, i))
        end = Next(rest, i) == i + 1 && strchr(" \t\r\n", rest[i]) ? end : Next(rest, i);
    CHECK(In(area, int(text.size()) + 1) == rest.substr(0, end));
}

void Filter(Input& in)
{
    const std::string text = in.Text(2048), file = in.Text(300);
    auto t = Heap(text), f = Heap(file);
    auto filter = std::make_unique<ExtensionFilter>();
    memset(filter.get(), '~', sizeof *filter);
    ParseExtensionFilter(t.get(), filter.get());
    // at most 100 entries of at most 9 bytes; a file accepted when its extension equals one
    CHECK(filter->count >= 0 && filter->count <= ExtFilterMaxEntries && (filter->count > 0) == !text.empty());
    const size_t dot = LastMark(file, '.');
    bool accepted = filter->count == 0;
    for (int i = 0; i < filter->count; ++i) {
        CHECK(memchr(filter->ext[i], 0, ExtFilterEntrySize));
        accepted = accepted || (dot != std::string::npos && file.size() - dot < MAX_PATH && lstrcmpiA(file.c_str() + dot, filter->ext[i]) == 0);
    }
    CHECK(ExtensionFilterAccepts(*filter, f.get()) == accepted);
}

void OrderName(Input& in)
{
    const int choice = in.Byte() & 0x7F, size = choice < 64 ? choice : MAX_PATH, number = in.Byte() % 104 - 2;
    const std::string name = in.Text(300);
    auto n = Heap(name), out = Area(size);
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    const bool prefixed = name.size() >= 5 && name[0] == '[' && digit(name[1]) && digit(name[2]) && name[3] == ']' && name[4] == ' ';
    CHECK(HasOrderPrefix(n.get()) == prefixed);
    const std::string base = prefixed ? name.substr(5) : name;
    Whole(GetUnorderedName(n.get(), out.get(), size), out, size, base);
    char prefix[8];
    snprintf(prefix, sizeof prefix, "[%02d] ", number);
    BOOL done = FormatOrderedName(number, n.get(), out.get(), size);
    Whole(done, out, size, number >= 1 && number <= 99 ? prefix + base : std::string(size + 1, 'x'));
}

void Label(Input& in)
{
    const int flags = in.Byte(), size = flags & 2 ? flags >> 1 : DestinationLabelSize;
    const std::string name = in.Text(1500), path = in.Text(1500), filter = in.Text(1500);
    auto n = Heap(name), p = Heap(path), f = Heap(filter), out = Area(size);
    ComposeDestinationLabel(n.get(), p.get(), f.get(), flags & 1, out.get(), size);
    // settings values always fit the menu's area whole
    std::string label = !name.empty() ? name : !filter.empty() && !path.empty() ? path + " (" + filter + ")" : path;
    label = label.substr(0, DestinationLabelSize - 1);
    label = (flags & 1) && !label.empty() ? "\x81\x79 " + label + " \x81\x7A" : label; // 【 】
    CHECK(size == 0 || In(out, size) == label.substr(0, size - 1));
}

void Pages(Input& in)
{
    const int size = in.Byte() & 0x7F, recordSize = 1 + in.Byte() % 8, count = in.Byte() % 8;
    const int index = in.Byte() % 12 - 2, step = in.Byte() % 5 - 2;
    const std::string text = in.Text(LongTextSize - 1);
    auto t = Heap(text), out = Area(size);
    // the longest run of whole characters that fits, or all of it, or nothing
    size_t cut = 0;
    for (size_t i = 0; i < text.size() && Next(text, i) < size_t(size); i = Next(text, i))
        cut = Next(text, i);
    CutToField(out.get(), size, t.get());
    CHECK(size <= 0 || In(out, size) == text.substr(0, cut));
    // taken whole or not at all, the field then untouched
    auto field = Area(size);
    BOOL stored = StoreWhole(field.get(), size, t.get());
    CHECK(stored == (text.size() < size_t(size)) && (stored ? In(field, size) == text : size <= 0 || field[0] == '~'));
    // the rest: terminated within the area
    BuildPathPattern(t.get(), out.get(), size), In(out, size);
    PatternFolder(t.get(), out.get(), size), In(out, size);
    ComposeEngineLabel(count + 1, t.get(), out.get(), size), In(out, size);
    ComposeDestinationEntry(t.get(), out.get(), size), In(out, size);
    // moved or cleared records stay within the copy, which is all the sanitizer needs to see
    auto records = Area(recordSize * count);
    CHECK(MoveRecord(records.get(), recordSize, count, index, step)
          == (index >= 0 && index < count && index + step >= 0 && index + step < count && step ? index + step : -1));
    CHECK(ClearRecord(records.get(), recordSize, count, index) == (index >= 0 && index < count));
}

void Viewer(Input& in)
{
    const int choice = in.Byte(), size = choice ? choice : 1000; // the tour bar's command line
    const std::string command = in.Text(TextSize - 1), path = in.Text(PathSize + 40), program = in.Text(PathSize + 40);
    Expanded(command, path, size);
    // the page's command for a program, filled in, gives the program and the path in quotes
    auto p = Heap(program), built = Area(PathSize), line = Area(1000);
    if (BuildViewerCommand(p.get(), built.get(), PathSize) && ExpandTemplate(built.get(), path.c_str(), line.get(), 1000))
        CHECK(In(line, 1000) == program + " \"" + path + "\"");
}

void Engine(Input& in)
{
    const int choice = in.Byte(), size = choice ? choice : AddressSize;
    const std::string tmpl = in.Text(TextSize - 1), query = in.Text(TextSize - 1);
    char encoded[1200]; // as the search has it
    EncodeQuery(query.c_str(), encoded);
    Expanded(tmpl, encoded, size);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static void (*const routines[])(Input&) = {Encode, Complete, Engine, Viewer, Paths, Trim, Filter, OrderName, Label, Pages};
    Input in{data, size};
    routines[in.Byte() % 10](in);
    return 0;
}
