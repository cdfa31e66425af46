#include <doctest.h>

#include "search/encode.h"

#include <string>

namespace {
std::string Encode(const std::string& query)
{
    char out[1200];
    memset(out, 'x', sizeof out);
    EncodeQuery(query.c_str(), out);
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
    TEST_CASE("the worked example")
    {
        CHECK(Encode("abc 検索") == "abc%20%8c%9f%8d%f5");
        CHECK(Encode("") == "");
    }

    TEST_CASE("single bytes: four marks and alphanumerics kept, everything else escaped")
    {
        CHECK(Encode("*-._") == "*-._");
        CHECK(Encode("AZaz09") == "AZaz09");
        CHECK(Encode("~") == "%7e");
        CHECK(Encode("/%&+=?") == "%2f%25%26%2b%3d%3f");
        CHECK(Encode("a\tb c\r\n") == "a%09b%20c%0d%0a");
        CHECK(Encode("\x01") == "%01");
        CHECK(Encode("\x7f") == "%7f");
        CHECK(Encode("\x80") == "%80");      // not a lead byte, not a letter
        CHECK(Encode("\xa1") == "%a1");      // half-width full stop
        CHECK(Encode("\xb1") == "\xb1");     // half-width katakana counts as a letter
        CHECK(Encode("\xff") == "%ff");
    }

    TEST_CASE("two-byte characters are escaped byte by byte, trail bytes included")
    {
        CHECK(Encode("表") == "%95%5c");        // trail byte is a backslash
        CHECK(Encode("ア") == "%83%41");        // trail byte is the letter A
        CHECK(Encode("あa") == "%82%a0a");
    }

    TEST_CASE("a lead byte at the end yields %00 and stops")
    {
        CHECK(Encode("ab\x95") == "ab%95%00");
        char area[8] = {'\x95', '\0', 'X', 'Y', 'Z', '\0'};
        char out[64];
        EncodeQuery(area, out);
        CHECK(std::string(out) == "%95%00"); // nothing after the terminator is read
    }

    TEST_CASE("the longest query fits the area, and a small area is never overrun")
    {
        // 149 two-byte characters and a lone lead byte, whose pair with the terminator
        // takes six bytes: 900 in all, the longest any 299-byte query can give
        std::string longest(299, '\x81');
        std::string out = Encode(longest);
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

    TEST_CASE("completion of partial addresses")
    {
        CHECK(Complete("ttp://example.jp/") == "http://example.jp/");
        CHECK(Complete("tp://example.jp/") == "http://example.jp/");
        CHECK(Complete("www.example.jp") == "http://www.example.jp");
        CHECK(Complete("wwwx") == "http://wwwx");
        CHECK(Complete("http://example.jp/") == "http://example.jp/");
        CHECK(Complete("WWW.example.jp") == "WWW.example.jp");
        CHECK(Complete("Ttp://x") == "Ttp://x");
        CHECK(Complete("TP:x") == "TP:x");
        CHECK(Complete("ww") == "ww");
        CHECK(Complete("") == "");
        CHECK(Complete(Complete("tp://a")) == "http://a"); // never applies twice
    }

    TEST_CASE("completion is cut to the limit")
    {
        std::string text = "www" + std::string(296, 'a');
        REQUIRE(text.size() == 299);
        std::string done = Complete(text);
        CHECK(done.size() == 299);
        CHECK(done == "http://" + text.substr(0, 292));

        CHECK(Complete("www.a.jp", 10) == "http://ww");
    }
}
