#include <doctest.h>

#include "app/textpath.h"
#include "search/dispatch.h"
#include "search/searchwindow.h"

#include <string>
#include <utility>

namespace {
std::string Expand(const char* tmpl, const char* encoded)
{
    static char out[AddressSize];
    memset(out, 'x', sizeof out);
    ExpandTemplate(tmpl, encoded, out, sizeof out);
    return out;
}

// Pushes each query in turn onto the list of entries; gives the list as "a|b|...".
std::string Pushed(std::initializer_list<const char*> entries,
                   std::initializer_list<const char*> queries)
{
    HistoryList list{};
    for (const char* entry : entries)
        lstrcpynA(list.entries[list.count++], entry, TextSize);
    for (const char* query : queries)
        PushHistory(list, query);
    std::string text;
    for (int i = 0; i < list.count; ++i)
        text += std::string(i ? "|" : "") + list.entries[i];
    return text;
}
} // namespace

TEST_SUITE("dispatch")
{
    TEST_CASE("template expansion: each %s takes the query, %% is one %, all else stands")
    {
        const std::pair<const char*, const char*> cases[] = {
            {"http://e/?q=%s&x=1", "http://e/?q=abc%20%8c%9f&x=1"},
            {"http://e/?q=%s+site%%3Aa.jp", "http://e/?q=abc%20%8c%9f+site%3Aa.jp"},
            {"http://e/", "http://e/"}, // no %s: the query is left out
            {"http://e/%%s", "http://e/%s"},
            {"%s-%s", "abc%20%8c%9f-abc%20%8c%9f"},
            {"a%db%xc%", "a%db%xc%"}, // nothing more is read
            {"%n%p%s", "%n%pabc%20%8c%9f"},
            {"表%s", "表abc%20%8c%9f"}, // a trail byte 0x5C stays part of its character
        };
        for (auto [tmpl, address] : cases)
            CHECK(Expand(tmpl, "abc%20%8c%9f") == address);
        CHECK(Expand("%s", "") == "");
    }

    TEST_CASE("template expansion is bounded and never cuts an escape")
    {
        // the largest: a full template and a UTF-8 query of 299 half-width katakana
        std::string tmpl(299, 'a'), encoded;
        tmpl.replace(100, 2, "%s");
        for (int i = 0; i < 3 * 299; ++i)
            encoded += "%EF";
        CHECK(Expand(tmpl.c_str(), encoded.c_str()).size() == 297 + 2691);
        // a second "%s" is cut at the area's end, between two escapes
        tmpl.replace(201, 2, "%s");
        const std::string cut = Expand(tmpl.c_str(), encoded.c_str());
        CHECK(cut.size() == AddressSize - 3);
        CHECK(cut.substr(cut.size() - 3) == "%EF");

        char small[12];
        CHECK(ExpandTemplate("ab%sz", "%8c%9f", small, sizeof small) == TRUE);
        CHECK(std::string(small) == "ab%8c%9fz");
        CHECK(ExpandTemplate("ab%sz", "%8c%9f", small, 9) == FALSE);
        CHECK(std::string(small) == "ab%8c%9f");
        CHECK(ExpandTemplate("ab%sz", "%8c%9f", small, 8) == FALSE);
        CHECK(std::string(small) == "ab%8c");
    }

    TEST_CASE("history: the query moves to the top, equal entries ignore case")
    {
        CHECK(Pushed({"one", "two", "word", "four"}, {"WORD"}) == "WORD|one|two|four");
        CHECK(Pushed({"one", "two"}, {"new", "new"}) == "new|one|two");
        CHECK(Pushed({"one"}, {""}) == "|one");
        // duplicates are searched from the second entry, as the box does
        CHECK(Pushed({"a", "A", "b"}, {"a"}) == "a|a|b");
    }

    TEST_CASE("history: ten entries at most, the oldest drops out")
    {
        CHECK(Pushed({}, {"q0", "q1", "q2", "q3", "q4", "q5", "q6", "q7", "q8", "q9", "q10",
                          "q11"}) == "q11|q10|q9|q8|q7|q6|q5|q4|q3|q2");
        // found in the middle of a full list: nothing else drops
        CHECK(Pushed({"q11", "q10", "q9", "q8", "q7", "q6", "q5", "q4", "q3", "q2"}, {"Q5"}) ==
              "Q5|q11|q10|q9|q8|q7|q6|q4|q3|q2");
    }

    TEST_CASE("the history is read from the box whole, however long the box says an entry is")
    {
        // Windows may report a double-byte entry longer than it is: twice as long here
        static WNDPROC boxProc;
        WNDPROC inflating = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            LRESULT result = CallWindowProcA(boxProc, w, m, wp, lp);
            return m == CB_GETLBTEXTLEN && result > 0 ? 2 * result : result;
        };
        HWND box = CreateWindowA("COMBOBOX", "", CBS_DROPDOWN, 0, 0, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
        REQUIRE(box);
        boxProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(inflating)));
        std::string full = "a", tooLong;
        for (int i = 0; i < 150; ++i)
            tooLong += "検";
        full += tooLong.substr(0, 298); // 299 bytes
        for (const std::string& entry : {full, std::string("short"), tooLong})
            SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));

        HistoryList list{};
        ReadHistoryBox(box, list);
        REQUIRE(list.count == 3);
        CHECK(list.entries[0] == full);
        CHECK(std::string(list.entries[1]) == "short");
        CHECK(list.entries[2] == tooLong.substr(0, 298)); // cut between characters
        DestroyWindow(box);
    }

    TEST_CASE("Ctrl+C is not sent to the desktop, task bar or folder windows")
    {
        for (const char* name : {"Progman", "Shell_TrayWnd", "CabinetWClass", "WorkerW"})
            CHECK(IsShellWindowClass(name));
        CHECK_FALSE(IsShellWindowClass("progman")); // exact and case-sensitive
        CHECK_FALSE(IsShellWindowClass("Notepad"));
        CHECK_FALSE(IsShellWindowClass(""));
    }
}
