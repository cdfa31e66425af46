#include <doctest.h>

#include "search/dispatch.h"
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
std::string EncodeUtf8(const std::string& query)
{
    static char out[EncodedSize];
    memset(out, 'x', sizeof out);
    EncodeForEngine(query.c_str(), EngineUtf8, out, sizeof out);
    return out;
}
std::string Complete(const std::string& text, int limit = 300, BOOL httpsToo = FALSE)
{
    char area[600];
    lstrcpynA(area, text.c_str(), limit);
    CompleteUrl(area, limit, httpsToo);
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

    TEST_CASE("a UTF-8 engine gets the query in UTF-8, escaped as RFC 3986 wants it")
    {
        const std::pair<const char*, const char*> cases[] = {
            {"abc 検索", "abc%20%E6%A4%9C%E7%B4%A2"}, // the worked example
            {"", ""},
            {"AZaz09-._~", "AZaz09-._~"},
            {"*!'()+&=/?%", "%2A%21%27%28%29%2B%26%3D%2F%3F%25"},
            {"表ソ", "%E8%A1%A8%E3%82%BD"}, // trail bytes 0x5C belong to their characters
            {"\xb1", "%EF%BD%B1"},          // half-width katakana: three bytes of UTF-8
            {"ab\x95", "ab"},               // a lone lead byte at the end is left out
        };
        for (auto [query, encoded] : cases)
            CHECK_MESSAGE(EncodeUtf8(query) == encoded, query);
        // a Shift-JIS engine still gets the bytes as they are
        char out[100];
        EncodeForEngine("abc 検索", EngineShiftJis, out, sizeof out);
        CHECK(std::string(out) == "abc%20%8c%9f%8d%f5");

        // the longest query: 299 half-width katakana, nine bytes each
        const std::string longest = EncodeUtf8(std::string(299, '\xb1'));
        CHECK(longest.size() == 2691);
        char small[9];
        EncodeForEngine("abc 検索", EngineUtf8, small, sizeof small);
        CHECK(std::string(small) == "abc%20"); // whole escapes only
    }

    TEST_CASE("an address begins with http:, or with https: in any case when that is on")
    {
        const struct { const char* text; BOOL plain, withHttps; } cases[] = {
            {"http://a.jp/", TRUE, TRUE},     {"HTTP://a.jp/", FALSE, TRUE},
            {"https://a.jp/", FALSE, TRUE},   {"hTtPs://a.jp/", FALSE, TRUE},
            {"httpx://a.jp/", FALSE, FALSE},  {"http", FALSE, FALSE},
            {" https://a.jp/", FALSE, FALSE}, {"ｈｔｔｐ://a.jp/", FALSE, FALSE},
        };
        for (const auto& c : cases) {
            CHECK_MESSAGE(IsWebAddress(c.text, FALSE) == c.plain, c.text);
            CHECK_MESSAGE(IsWebAddress(c.text, TRUE) == c.withHttps, c.text);
        }
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
        // https forms only with that option, as case-sensitive as the others
        const std::pair<const char*, const char*> https[] = {
            {"ttps://a.jp", "https://a.jp"}, {"tps://a.jp", "https://a.jp"},
            {"ttp://a.jp", "http://a.jp"},   {"Ttps://a.jp", "Ttps://a.jp"},
            {"TPS:a", "TPS:a"},              {"https://a.jp", "https://a.jp"},
        };
        for (auto [text, completed] : https)
            CHECK(Complete(text, 300, TRUE) == completed);
        CHECK(Complete("ttps://a.jp") == "ttps://a.jp");
        CHECK(Complete("tps://a.jp") == "tps://a.jp");

        const std::string text = "www" + std::string(296, 'a'); // 299 bytes
        CHECK(Complete(text) == "http://" + text.substr(0, 292));
        CHECK(Complete("www.a.jp", 10) == "http://ww");
    }
}
