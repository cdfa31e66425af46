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
            {"http://e/?q=%s+site%%3Aa.jp", "http://e/?q=ab%8c+site%3Aa.jp"}, {"%%s-%s-%s", "%s-ab%8c-ab%8c"},
            {"表a%db%xc%", "表a%db%xc%"},
        };
        static char out[AddressSize];
        for (auto [tmpl, address] : cases)
            CHECK((ExpandTemplate(tmpl, "ab%8c", out, sizeof out) && std::string(out) == address));
        // the largest: a full template and the longest UTF-8 query fit; a second "%s" is cut
        // at the area's end between two escapes
        std::string tmpl(299, 'a'), encoded;
        for (int i = 0; i < 3 * 299; ++i)
            encoded += "%EF";
        tmpl.replace(100, 2, "%s");
        CHECK((ExpandTemplate(tmpl.c_str(), encoded.c_str(), out, sizeof out) && std::string(out).size() == 297 + 2691));
        tmpl.replace(201, 2, "%s");
        CHECK((!ExpandTemplate(tmpl.c_str(), encoded.c_str(), out, sizeof out) && std::string(out).size() == AddressSize - 3));
        // bounded, and never cut inside an escape
        char small[12];
        CHECK((ExpandTemplate("ab%sz", "%8c%9f", small, sizeof small) && std::string(small) == "ab%8c%9fz"));
        CHECK((!ExpandTemplate("ab%sz", "%8c%9f", small, 9) && std::string(small) == "ab%8c%9f"));
        CHECK((!ExpandTemplate("ab%sz", "%8c%9f", small, 8) && std::string(small) == "ab%8c"));
    }

    TEST_CASE("the history is read from the box whole, however long the box says an entry is")
    {
        // Windows may report a double-byte entry longer than it is: twice as long here
        static WNDPROC boxProc;
        HWND box = CreateWindowA("COMBOBOX", "", CBS_DROPDOWN, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
        boxProc = WNDPROC(SetWindowLongPtrA(box, GWLP_WNDPROC, LONG_PTR(+[](HWND w, UINT m, WPARAM wp, LPARAM lp) {
            LRESULT result = CallWindowProcA(boxProc, w, m, wp, lp);
            return m == CB_GETLBTEXTLEN && result > 0 ? 2 * result : result;
        })));
        std::string longest;
        for (int i = 0; i < 150; ++i)
            longest += "検";
        for (const std::string& entry : {"a" + longest.substr(0, 298), std::string("short"), longest})
            SendMessageA(box, CB_ADDSTRING, 0, LPARAM(entry.c_str()));
        HistoryList list{};
        ReadHistoryBox(box, list);
        CHECK((list.count == 3 && list.entries[0] == "a" + longest.substr(0, 298) && list.entries[1] == std::string("short")
               && list.entries[2] == longest.substr(0, 298))); // the last cut between characters
        DestroyWindow(box);
    }
}
