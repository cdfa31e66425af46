#include <doctest.h>

#include "search/encode.h"

#include <string>
#include <utility>

TEST_SUITE("encode")
{
    TEST_CASE("queries are escaped byte by byte; four marks, letters and digits are kept")
    {
        const std::pair<const char*, const char*> cases[] = {
            {"abc 検索", "abc%20%8c%9f%8d%f5"}, // the worked example
            {"*-._AZaz09", "*-._AZaz09"}, {"~/%&+=?\t\r\n", "%7e%2f%25%26%2b%3d%3f%09%0d%0a"},
            // 0x80 and 0xFF are neither lead bytes nor letters, 0xA1 is half-width punctuation,
            // 0xB1 half-width katakana, a letter; trail bytes are escaped, 0x5C and letters alike
            {"\x01\x7f\x80\xa1\xff\xb1", "%01%7f%80%a1%ff\xb1"}, {"表ア", "%95%5c%83%41"},
            {"ab\x95", "ab%95%00"}, // a lead byte at the end pairs with the terminator
        };
        for (auto [query, encoded] : cases) {
            char out[100];
            EncodeQuery(query, out);
            CHECK_MESSAGE(std::string(out) == encoded, query);
        }
        const char area[] = {'\x95', '\0', 'X', 'Y', '\0'}; // nothing after the terminator is read
        char out[100], small[10], one[1];
        EncodeQuery(area, out);
        CHECK(std::string(out) == "%95%00");
        // the longest query, 149 two-byte characters and a lone lead byte, takes 900 bytes
        char longest[1200];
        EncodeQuery(std::string(299, '\x81').c_str(), longest);
        CHECK(std::string(longest).size() == 900);
        EncodeQuery("abc 検索", small); // whole units only, and a small area is never overrun
        CHECK(std::string(small) == "abc%20");
        EncodeQuery("abc", one);
        CHECK(one[0] == '\0');
    }

    TEST_CASE("completion of partial addresses, case-sensitive, once, cut to the limit")
    {
        const std::pair<const char*, const char*> cases[] = {
            {"ttp://example.jp/", "http://example.jp/"}, {"tp://example.jp/", "http://example.jp/"},
            {"www.example.jp", "http://www.example.jp"}, {"http://example.jp/", "http://example.jp/"},
            {"WWW.example.jp", "WWW.example.jp"}, {"Ttp://x", "Ttp://x"}, {"ww", "ww"},
        };
        for (auto [text, completed] : cases) {
            char area[300];
            lstrcpynA(area, text, sizeof area);
            CompleteUrl(area, sizeof area);
            CHECK(std::string(area) == completed);
        }
        char area[300];
        lstrcpynA(area, ("www" + std::string(296, 'a')).c_str(), sizeof area); // 299 bytes
        CompleteUrl(area, sizeof area);
        CHECK(std::string(area) == "http://www" + std::string(289, 'a'));
    }
}
