#pragma once
// Code page 932 as the platform has it (measured under Wine 8 with the ja_JP locale), written
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

// A lead byte with no trail byte before the end compares as the middle dot 0x8145, the
// conversion's default character.
constexpr int DefaultCharacter = 0x8145;

// The case pairs that comparisons ignoring case treat as equal (lower case to upper case):
// ASCII letters, and the full-width Latin, Greek and Cyrillic letters. `code` is a byte, or
// lead << 8 | trail.
constexpr int FoldCase(int code)
{
    if (code >= 'a' && code <= 'z')
        return code - 0x20;
    if (code >= 0x8281 && code <= 0x829A) // full-width Latin
        return code - 0x21;
    if (code >= 0x83BF && code <= 0x83D6) // Greek
        return code - 0x20;
    if (code >= 0x8470 && code <= 0x847E) // Cyrillic, before the 0x7F gap in trail bytes
        return code - 0x30;
    if (code >= 0x8480 && code <= 0x8491)
        return code - 0x31;
    return code;
}

} // namespace cp932
