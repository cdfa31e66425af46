#include <doctest.h>

#include "search/encode.h"

#include <string>
#include <utility>

namespace {
std::string Encode(const char* query)
{
    char out[1200];
    memset(out, 'x', sizeof out);
    EncodeQuery(query, out);
    return out;
}
std::string Complete(const std::string& text, int limit = 300)
{
    char area[600];
    lstrcpynA(area, text.c_str(), limit);
    CompleteUrl(area, limit);
    return area;
}
} // namespace

TEST_SUITE("encode")
{
    TEST_CASE("queries are escaped byte by byte; four marks and alphanumerics are kept")
    {
        const std::pair<const char*, const char*> cases[] = {
            {"abc 検索", "abc%20%8c%9f%8d%f5"}, // the worked example
            {"", ""},
            {"*-._AZaz09", "*-._AZaz09"},
            {"~/%&+=?", "%7e%2f%25%26%2b%3d%3f"},
            {"a\tb c\r\n", "a%09b%20c%0d%0a"},
            // 0x80 and 0xFF are neither lead bytes nor letters; 0xA1 is the half-width full stop
            {"\x01\x7f\x80\xa1\xff", "%01%7f%80%a1%ff"},
            {"\xb1", "\xb1"}, // half-width katakana counts as a letter
            // trail bytes are escaped too, a backslash or a letter alike
            {"表", "%95%5c"},
            {"ア", "%83%41"},
            {"あa", "%82%a0a"},
            {"ab\x95", "ab%95%00"}, // a lead byte at the end pairs with the terminator
        };
        for (auto [query, encoded] : cases)
            CHECK_MESSAGE(Encode(query) == encoded, query);
        const char area[] = {'\x95', '\0', 'X', 'Y', '\0'};
        CHECK(Encode(area) == "%95%00"); // nothing after the terminator is read
    }

    TEST_CASE("the longest query fits the area, and a small area is never overrun")
    {
        // 149 two-byte characters and a lone lead byte, whose pair with the terminator
        // takes six bytes: 900 in all, the longest any 299-byte query can give
        const std::string out = Encode(std::string(299, '\x81').c_str());
        CHECK(out.size() == 900);
        CHECK(out.substr(888) == "%81%81%81%00");

        char small[10];
        memset(small, 'x', sizeof small);
        EncodeQuery("abc 検索", small);
        CHECK(std::string(small) == "abc%20"); // whole units only
        char one[1];
        EncodeQuery("abc", one);
        CHECK(one[0] == '\0');
    }

    TEST_CASE("completion of partial addresses, case-sensitive, once, cut to the limit")
    {
        const std::pair<const char*, const char*> cases[] = {
            {"ttp://example.jp/", "http://example.jp/"}, {"tp://example.jp/", "http://example.jp/"},
            {"www.example.jp", "http://www.example.jp"}, {"wwwx", "http://wwwx"},
            {"http://example.jp/", "http://example.jp/"}, {"WWW.example.jp", "WWW.example.jp"},
            {"Ttp://x", "Ttp://x"}, {"TP:x", "TP:x"}, {"ww", "ww"}, {"", ""},
        };
        for (auto [text, completed] : cases)
            CHECK(Complete(text) == completed);
        CHECK(Complete(Complete("tp://a")) == "http://a");

        const std::string text = "www" + std::string(296, 'a'); // 299 bytes
        CHECK(Complete(text) == "http://" + text.substr(0, 292));
        CHECK(Complete("www.a.jp", 10) == "http://ww");
    }
}
