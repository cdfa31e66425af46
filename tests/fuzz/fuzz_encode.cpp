// EncodeQuery: every output size from none to ample, against a unit-by-unit reference.
#include "fuzz_common.h"

#include "search/encode.h"

namespace {
std::string Escape(unsigned char byte)
{
    static const char Hex[] = "0123456789abcdef";
    return std::string{'%', Hex[byte >> 4], Hex[byte & 15]};
}

bool KeptByte(unsigned char b)
{
    return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') ||
           (b >= 0xA6 && b <= 0xDF) || b == '*' || b == '-' || b == '.' || b == '_';
}

// What the encoder writes, one unit per character, each unit whole or not at all.
std::vector<std::string> Units(const std::string& query)
{
    std::vector<std::string> units;
    for (size_t i = 0; i < query.size();) {
        unsigned char b = query[i];
        if (LeadByte(query[i])) {
            // a lead byte at the end pairs with the terminator
            unsigned char trail = i + 1 < query.size() ? query[i + 1] : 0;
            units.push_back(Escape(b) + Escape(trail));
            i += 2;
        } else {
            units.push_back(KeptByte(b) ? std::string(1, query[i]) : Escape(b));
            i += 1;
        }
    }
    return units;
}

int HexValue(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const uint8_t sizeChoice = input.Byte();
    const std::string query = input.Text(1200);

    // the size the header gives: 3n + 1, or 3n + 4 when a lone lead byte ends the query
    const std::vector<size_t> starts = CharacterStarts(query);
    const bool loneLeadAtEnd = starts.size() > 1 && starts[starts.size() - 2] + 1 == query.size() &&
                               LeadByte(query.back());
    const int documentedNeed = 3 * static_cast<int>(query.size()) + (loneLeadAtEnd ? 4 : 1);
    // 0: exactly that size; otherwise 0..254 bytes
    const int outSize = sizeChoice == 0 ? documentedNeed : sizeChoice - 1;
    auto text = HeapText(query);
    auto out = Area(outSize);
    EncodeQuery(text.get(), out.get(), outSize);
    if (outSize == 0)
        return 0;
    const std::string encoded = Terminated(out.get(), outSize);

    // the units that fit, up to the first one that does not
    std::string expected;
    for (const std::string& unit : Units(query)) {
        if (expected.size() + unit.size() + 1 > static_cast<size_t>(outSize))
            break;
        expected += unit;
    }
    FUZZ_CHECK(encoded == expected);

    // Decoding gives back the query's first bytes (a lone lead byte at the end gains a NUL).
    std::string decoded;
    for (size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '%') {
            FUZZ_CHECK(i + 2 < encoded.size());
            int high = HexValue(encoded[i + 1]), low = HexValue(encoded[i + 2]);
            FUZZ_CHECK(high >= 0 && low >= 0);
            decoded += static_cast<char>(high << 4 | low);
            i += 2;
        } else {
            FUZZ_CHECK(KeptByte(static_cast<unsigned char>(encoded[i])));
            decoded += encoded[i];
        }
    }
    const std::string original = loneLeadAtEnd ? query + '\0' : query;
    FUZZ_CHECK(original.compare(0, decoded.size(), decoded) == 0);
    if (outSize >= documentedNeed)
        FUZZ_CHECK(decoded == original);
    return 0;
}
