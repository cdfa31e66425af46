// The settings pages' text rules: CutToField never leaves half a character, StoreWhole never
// cuts, BuildPathPattern and PatternFolder agree with the path routines, and moving or clearing
// records stays within the working copy.
#include "fuzz_common.h"

#include "app/textpath.h"
#include "settings/pagelogic.h"

namespace {
std::string DirOf(const std::string& path)
{
    const size_t slash = LastMarkAfterFirst(path, '\\');
    return slash == std::string::npos ? "" : path.substr(0, slash);
}
std::string NameOf(const std::string& path)
{
    const size_t slash = LastMarkAfterFirst(path, '\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
std::string ExtOf(const std::string& name)
{
    const size_t dot = LastMarkAfterFirst(name, '.');
    return dot == std::string::npos ? "" : name.substr(dot);
}

void CheckRecords(int recordSize, int count, int index, int step)
{
    const int bytes = recordSize * count;
    auto records = Area(bytes);
    for (int i = 0; i < bytes; ++i)
        records[i] = static_cast<char>(i / recordSize + 1);
    const int moved = MoveRecord(records.get(), recordSize, count, index, step);
    const int other = index + step;
    const bool inside = index >= 0 && index < count && other >= 0 && other < count && step != 0;
    FUZZ_CHECK(moved == (inside ? other : -1));
    for (int i = 0; i < bytes; ++i) {
        int record = i / recordSize;
        int from = !inside ? record : record == index ? other : record == other ? index : record;
        FUZZ_CHECK(records[i] == static_cast<char>(from + 1));
    }
    const BOOL cleared = ClearRecord(records.get(), recordSize, count, index);
    FUZZ_CHECK(cleared == (index >= 0 && index < count ? TRUE : FALSE));
    if (cleared) {
        for (int i = 0; i < recordSize; ++i)
            FUZZ_CHECK(records[index * recordSize + i] == 0);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const int fieldSize = input.Byte() & 0x7F;
    const int recordSize = 1 + input.Byte() % 8;
    const int count = input.Byte() % 8;
    const int index = static_cast<int>(input.Byte() % 12) - 2;
    const int step = static_cast<int>(input.Byte() % 5) - 2;
    const std::string text = input.Text(LongTextSize - 1);
    auto source = HeapText(text);

    // CutToField: the longest run of whole characters that fits
    {
        auto field = Area(fieldSize);
        CutToField(field.get(), fieldSize, source.get());
        if (fieldSize > 0) {
            size_t end = 0;
            for (size_t i = 0; i < text.size(); i = NextCharacter(text, i)) {
                if (NextCharacter(text, i) > static_cast<size_t>(fieldSize - 1))
                    break;
                end = NextCharacter(text, i);
            }
            FUZZ_CHECK(Terminated(field.get(), fieldSize) == text.substr(0, end));
        }
    }
    // StoreWhole: all or nothing, the field untouched when refused
    {
        auto field = Area(fieldSize);
        const BOOL stored = StoreWhole(field.get(), fieldSize, source.get());
        FUZZ_CHECK(stored == (text.size() < static_cast<size_t>(fieldSize) ? TRUE : FALSE));
        if (stored) {
            FUZZ_CHECK(Terminated(field.get(), fieldSize) == text);
        } else {
            for (int i = 0; i < fieldSize; ++i)
                FUZZ_CHECK(field[i] == '\x7E');
        }
    }
    // BuildPathPattern: folder, "\*" and the extension of the file name alone
    {
        auto out = Area(fieldSize);
        const BOOL built = BuildPathPattern(source.get(), out.get(), fieldSize);
        const std::string expected = DirOf(text) + "\\*" + ExtOf(NameOf(text));
        const bool fits = expected.size() < static_cast<size_t>(fieldSize);
        FUZZ_CHECK(built == (fits ? TRUE : FALSE));
        if (fieldSize > 0)
            FUZZ_CHECK(Terminated(out.get(), fieldSize) == (fits ? expected : ""));
    }
    // PatternFolder: the folder of a pattern no longer than a path
    {
        auto out = Area(fieldSize);
        const BOOL found = PatternFolder(source.get(), out.get(), fieldSize);
        const std::string folder = DirOf(text);
        const bool fits = text.size() < PathSize && folder.size() < static_cast<size_t>(fieldSize);
        FUZZ_CHECK(found == (fits ? TRUE : FALSE));
        if (fieldSize > 0)
            FUZZ_CHECK(Terminated(out.get(), fieldSize) == (fits ? folder : ""));
    }
    // the list entries: whatever the area, terminated within it
    {
        auto out = Area(fieldSize);
        ComposeDestinationEntry(source.get(), out.get(), fieldSize);
        if (fieldSize > 0) {
            const std::string entry = text.empty() ? "-" : text;
            FUZZ_CHECK(Terminated(out.get(), fieldSize) == entry.substr(0, fieldSize - 1));
        }
        auto label = Area(fieldSize);
        ComposeEngineLabel(count + 1, source.get(), label.get(), fieldSize);
        if (fieldSize > 0) {
            const std::string expected = "[F" + std::to_string(count + 1) + "] " + text;
            FUZZ_CHECK(Terminated(label.get(), fieldSize) == expected.substr(0, fieldSize - 1));
        }
    }
    CheckRecords(recordSize, count, index, step);
    return 0;
}
