// JoinPath, GetDirPart, GetFileNamePart and GetExtension with small output areas: a result is
// whole and terminated within its area, or refused with an empty output; splitting a path and
// joining its parts gives it back.
#include "fuzz_common.h"

#include "app/textpath.h"

namespace {
// The last character of text is a single-byte backslash.
bool EndsInSeparator(const std::string& text)
{
    if (text.empty())
        return false;
    const std::vector<size_t> starts = CharacterStarts(text);
    return text[starts[starts.size() - 2]] == '\\';
}

// A whole result or, when it does not fit, FALSE and "".
void CheckWhole(BOOL done, const char* out, int outSize, const std::string& expected)
{
    if (outSize <= 0) {
        FUZZ_CHECK(done == FALSE);
        return;
    }
    const std::string result = Terminated(out, outSize);
    if (expected.size() < static_cast<size_t>(outSize)) {
        FUZZ_CHECK(done == TRUE);
        FUZZ_CHECK(result == expected);
    } else {
        FUZZ_CHECK(done == FALSE);
        FUZZ_CHECK(result.empty());
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    // 0..63 bytes: the refusals; 64 and up stand for an area of MAX_PATH
    const uint8_t sizeChoice = input.Byte() & 0x7F;
    const int outSize = sizeChoice < 64 ? sizeChoice : MAX_PATH;
    const std::string path = input.Text(2 * MAX_PATH);
    const std::string name = input.Text(MAX_PATH);
    auto pathText = HeapText(path);
    auto nameText = HeapText(name);

    // JoinPath
    {
        std::string expected = path + (EndsInSeparator(path) ? "" : "\\") + name;
        auto out = Area(outSize);
        CheckWhole(JoinPath(out.get(), outSize, pathText.get(), nameText.get()), out.get(),
                   outSize, expected);
    }

    const size_t slash = LastMarkAfterFirst(path, '\\');
    const std::string dir = slash == std::string::npos ? "" : path.substr(0, slash);
    const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    {
        auto out = Area(outSize);
        CheckWhole(GetDirPart(pathText.get(), out.get(), outSize), out.get(), outSize, dir);
    }
    {
        auto out = Area(outSize);
        BOOL done = GetFileNamePart(pathText.get(), out.get(), outSize);
        if (path.empty()) {
            // nothing is written for an empty path
            FUZZ_CHECK(done == TRUE);
            for (int i = 0; i < outSize; ++i)
                FUZZ_CHECK(out[i] == '\x7E');
        } else {
            CheckWhole(done, out.get(), outSize, file);
        }
    }
    {
        const size_t dot = LastMarkAfterFirst(path, '.');
        const std::string ext = dot == std::string::npos ? "" : path.substr(dot);
        auto out = Area(outSize);
        CheckWhole(GetExtension(pathText.get(), out.get(), outSize), out.get(), outSize, ext);
    }

    // Round trip through the product's own routines, in areas of MAX_PATH.
    if (slash != std::string::npos && path.size() < MAX_PATH) {
        char dirPart[MAX_PATH], filePart[MAX_PATH], joined[MAX_PATH];
        FUZZ_CHECK(GetDirPart(pathText.get(), dirPart) == TRUE);
        FUZZ_CHECK(GetFileNamePart(pathText.get(), filePart) == TRUE);
        FUZZ_CHECK(strlen(dirPart) + 1 + strlen(filePart) == path.size());
        FUZZ_CHECK(JoinPath(joined, dirPart, filePart) == TRUE);
        // a folder part ending in a backslash of its own ("C:\\x") is joined without a second
        if (!EndsInSeparator(dirPart))
            FUZZ_CHECK(joined == path);
    }
    return 0;
}
