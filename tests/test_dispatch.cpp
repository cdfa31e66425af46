#include <doctest.h>

#include "app/textpath.h"
#include "search/dispatch.h"
#include "search/searchwindow.h"

#include <string>

namespace {
std::string Expand(const char* tmpl, const char* encoded, int size = AddressSize)
{
    static char out[AddressSize];
    memset(out, 'x', sizeof out);
    ExpandTemplate(tmpl, encoded, out, size);
    return out;
}

HistoryList Make(std::initializer_list<const char*> entries)
{
    HistoryList list{};
    for (const char* entry : entries)
        lstrcpynA(list.entries[list.count++], entry, TextSize);
    return list;
}

std::string Joined(const HistoryList& list)
{
    std::string text;
    for (int i = 0; i < list.count; ++i)
        text += std::string(i ? "|" : "") + list.entries[i];
    return text;
}
} // namespace

TEST_SUITE("dispatch")
{
    TEST_CASE("template expansion: %s and %% like the formatter")
    {
        CHECK(Expand("http://e/?q=%s&x=1", "abc%20%8c%9f") == "http://e/?q=abc%20%8c%9f&x=1");
        CHECK(Expand("http://e/?q=%s+site%%3Aa.jp", "a") == "http://e/?q=a+site%3Aa.jp");
        CHECK(Expand("http://e/", "a") == "http://e/");         // no %s: the query is left out
        CHECK(Expand("http://e/%%s", "a") == "http://e/%s");
        CHECK(Expand("%s", "") == "");
    }

    TEST_CASE("template expansion: other conversions read nothing more")
    {
        // each %s takes the one query; %d and a lone % stand as they are
        CHECK(Expand("%s-%s", "q") == "q-q");
        CHECK(Expand("a%db%xc%", "q") == "a%db%xc%");
        CHECK(Expand("%n%p%s", "q") == "%n%pq");
        CHECK(Expand("表%s", "q") == "表q"); // a trail byte 0x5C stays part of its character
    }

    TEST_CASE("template expansion is bounded and never cuts an escape")
    {
        std::string tmpl(299, 'a');
        tmpl.replace(100, 2, "%s");
        std::string encoded;
        for (int i = 0; i < 300; ++i)
            encoded += "%8c";
        std::string full = Expand(tmpl.c_str(), encoded.c_str());
        CHECK(full.size() == 297 + 900); // a full template with the longest query fits

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
        HistoryList list = Make({"one", "two", "word", "four"});
        PushHistory(list, "WORD");
        CHECK(Joined(list) == "WORD|one|two|four");
        PushHistory(list, "new");
        CHECK(Joined(list) == "new|WORD|one|two|four");
        PushHistory(list, "new");
        CHECK(Joined(list) == "new|WORD|one|two|four");
        PushHistory(list, "");
        CHECK(Joined(list) == "|new|WORD|one|two|four");
    }

    TEST_CASE("history: ten entries at most, the oldest drops out")
    {
        HistoryList list{};
        char text[8];
        for (int i = 0; i < 12; ++i) {
            wsprintfA(text, "q%d", i);
            PushHistory(list, text);
        }
        CHECK(list.count == HistoryCount);
        CHECK(Joined(list) == "q11|q10|q9|q8|q7|q6|q5|q4|q3|q2");
        PushHistory(list, "Q5"); // found in the middle of a full list: nothing else drops
        CHECK(Joined(list) == "Q5|q11|q10|q9|q8|q7|q6|q4|q3|q2");
    }

    TEST_CASE("history: duplicates are searched from the second entry, as the box does")
    {
        HistoryList list = Make({"a", "A", "b"});
        PushHistory(list, "a");
        CHECK(Joined(list) == "a|a|b");
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
