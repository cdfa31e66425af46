#include <doctest.h>

#include "app/textpath.h"
#include "search/dispatch.h"

#include <string>
#include <utility>

TEST_SUITE("dispatch")
{
    TEST_CASE("template expansion: each %s takes the query, %% is one %, all else stands")
    {
        const std::pair<const char*, const char*> cases[] = {
            {"http://e/?q=%s+site%%3Aa.jp", "http://e/?q=ab%8c+site%3Aa.jp"}, {"http://e/%%s", "http://e/%s"},
            {"%s-%s", "ab%8c-ab%8c"}, {"a%db%xc%", "a%db%xc%"}, {"表%s", "表ab%8c"}, {"http://e/", "http://e/"},
        };
        for (auto [tmpl, address] : cases) {
            char out[AddressSize];
            CHECK(ExpandTemplate(tmpl, "ab%8c", out, sizeof out));
            CHECK(std::string(out) == address);
        }
        // bounded, and never cut inside an escape
        char small[12];
        CHECK((ExpandTemplate("ab%sz", "%8c%9f", small, sizeof small) && std::string(small) == "ab%8c%9fz"));
        CHECK((!ExpandTemplate("ab%sz", "%8c%9f", small, 9) && std::string(small) == "ab%8c%9f"));
        CHECK((!ExpandTemplate("ab%sz", "%8c%9f", small, 8) && std::string(small) == "ab%8c"));
    }
}
