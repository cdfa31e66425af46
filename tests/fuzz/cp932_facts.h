#pragma once
// Code page 932 as the platform has it (measured under Wine 8 in code page 932), written
// out for the native fuzzing build's double. The unit tests check these facts against the
// platform itself, so that the double cannot drift from it unnoticed.

namespace cp932 {

constexpr bool LeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// IsCharAlphaNumericA: ASCII digits and letters, and the half-width katakana 0xA6-0xDF (not the
// half-width punctuation 0xA1-0xA5); no other byte.
constexpr bool AlphaNumeric(unsigned char byte)
{
    return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= 'a' && byte <= 'z') || (byte >= 0xA6 && byte <= 0xDF);
}

} // namespace cp932
