#include <doctest.h>

#include "search/dispatch.h"
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
        // the longest query, 149 two-byte characters and a lone lead byte, takes 900 bytes;
        // only whole escapes fit an area
        char longest[1200], small[12];
        EncodeQuery(std::string(299, '\x81').c_str(), longest);
        EncodeQuery("abc 表", small);
        CHECK((std::string(longest).size() == 900 && std::string(small) == "abc%20"));
    }

    TEST_CASE("a UTF-8 engine gets the query in UTF-8, escaped as RFC 3986 wants it")
    {
        const std::pair<const char*, const char*> cases[] = {
            {"abc 検索", "abc%20%E6%A4%9C%E7%B4%A2"}, // the worked example
            {"AZaz09-._~", "AZaz09-._~"}, {"*!'()+&=/?%", "%2A%21%27%28%29%2B%26%3D%2F%3F%25"},
            {"表ソ", "%E8%A1%A8%E3%82%BD"}, // trail bytes 0x5C belong to their characters
            {"\xb1", "%EF%BD%B1"}, {"ab\x95", "ab"}, // a lone lead byte at the end is left out
        };
        static char out[EncodedSize], small[9];
        for (auto [query, encoded] : cases) {
            EncodeForEngine(query, EngineUtf8, out, sizeof out);
            CHECK_MESSAGE(std::string(out) == encoded, query);
        }
        // the longest query: 299 half-width katakana, nine bytes each; whole escapes only
        EncodeForEngine(std::string(299, '\xb1').c_str(), EngineUtf8, out, sizeof out);
        EncodeForEngine("abc 検索", EngineUtf8, small, sizeof small);
        CHECK((std::string(out).size() == 2691 && std::string(small) == "abc%20"));
        EncodeForEngine("abc 検索", EngineShiftJis, out, sizeof out);
        CHECK(std::string(out) == "abc%20%8c%9f%8d%f5");
    }

    TEST_CASE("completion of partial addresses, case-sensitive, once, cut to the limit")
    {
        // the text, and what it becomes without and with the https forms
        const struct { const char *text, *plain, *withHttps; } cases[] = {
            {"ttp://example.jp/", "http://example.jp/", "http://example.jp/"}, {"tp://a", "http://a", "http://a"},
            {"www.example.jp", "http://www.example.jp", "http://www.example.jp"},
            {"http://example.jp/", "http://example.jp/", "http://example.jp/"},
            {"ttps://a.jp", "ttps://a.jp", "https://a.jp"}, {"tps://a.jp", "tps://a.jp", "https://a.jp"},
            {"WWW.example.jp", "WWW.example.jp", "WWW.example.jp"}, {"Ttps://x", "Ttps://x", "Ttps://x"},
            {"TPS:a", "TPS:a", "TPS:a"}, {"ww", "ww", "ww"},
        };
        for (const auto& c : cases)
            for (BOOL https : {FALSE, TRUE}) {
                char area[300];
                lstrcpynA(area, c.text, sizeof area);
                CompleteUrl(area, sizeof area, https);
                CHECK(std::string(area) == (https ? c.withHttps : c.plain));
            }
        char area[300];
        lstrcpynA(area, ("www" + std::string(296, 'a')).c_str(), sizeof area); // 299 bytes
        CompleteUrl(area, sizeof area);
        CHECK(std::string(area) == "http://www" + std::string(289, 'a'));
    }
}
