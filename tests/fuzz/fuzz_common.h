#pragma once
// Shared by the fuzz targets: reading an input, exact-size heap areas (so that AddressSanitizer
// reports any byte written or read past one) and a reference walk over code page 932 text.

#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            abort();                                                                       \
        }                                                                                  \
    } while (0)

// An input is a few parameter bytes, then texts separated by NUL bytes.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    // The next text up to a NUL or the end, at most `limit` bytes (the rest of it is skipped).
    std::string Text(size_t limit = 4096)
    {
        size_t start = pos_;
        while (pos_ < size_ && data_[pos_] != 0)
            ++pos_;
        std::string text(reinterpret_cast<const char*>(data_ + start),
                         std::min(pos_ - start, limit));
        if (pos_ < size_)
            ++pos_;
        return text;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// A heap block of exactly `size` bytes, filled with `fill`.
inline std::unique_ptr<char[]> Area(int size, char fill = '\x7E')
{
    std::unique_ptr<char[]> area(new char[size > 0 ? size : 0]);
    if (size > 0)
        memset(area.get(), fill, size);
    return area;
}

// A NUL-terminated copy of text in a block just large enough.
inline std::unique_ptr<char[]> HeapText(const std::string& text)
{
    std::unique_ptr<char[]> copy(new char[text.size() + 1]);
    memcpy(copy.get(), text.c_str(), text.size() + 1);
    return copy;
}

// The text in an area of `size` bytes, which must hold its terminator.
inline std::string Terminated(const char* area, int size)
{
    const void* end = memchr(area, 0, size);
    FUZZ_CHECK(end != nullptr);
    return std::string(area, static_cast<const char*>(end) - area);
}

// Code page 932, written out here apart from the double: lead bytes 0x81-0x9F and 0xE0-0xFC;
// a lead byte takes the next byte as its trail unless that is the end.
inline bool LeadByte(char c)
{
    unsigned char b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
inline size_t NextCharacter(const std::string& text, size_t i)
{
    return LeadByte(text[i]) && i + 1 < text.size() ? i + 2 : i + 1;
}
// Offsets where characters start, and text.size() last.
inline std::vector<size_t> CharacterStarts(const std::string& text)
{
    std::vector<size_t> starts;
    for (size_t i = 0; i < text.size(); i = NextCharacter(text, i))
        starts.push_back(i);
    starts.push_back(text.size());
    return starts;
}
// Offset of the last character equal to the single byte `mark`, from the second character on,
// or npos.
inline size_t LastMarkAfterFirst(const std::string& text, char mark)
{
    size_t found = std::string::npos;
    if (text.empty())
        return found;
    for (size_t i = NextCharacter(text, 0); i < text.size(); i = NextCharacter(text, i)) {
        if (text[i] == mark)
            found = i;
    }
    return found;
}
inline bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}
