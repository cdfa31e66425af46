#include <doctest.h>

#include "app/winhelpers.h"

#include <string>

TEST_SUITE("clipboard")
{
    TEST_CASE("Shift-JIS text round trips; a longer text is cut to the limit less one byte")
    {
        char out[300] = "";
        REQUIRE(SetClipboardText("abc 検索 表"));
        CHECK(GetClipboardText(out, sizeof out));
        CHECK(std::string(out) == "abc 検索 表");

        const std::string text(400, 'q');
        REQUIRE(SetClipboardText(text.c_str()));
        CHECK(GetClipboardText(out, sizeof out));
        CHECK(std::string(out) == text.substr(0, 299));
    }

    TEST_CASE("an empty clipboard gives no text and leaves the area alone")
    {
        OpenClipboard(nullptr);
        EmptyClipboard();
        CloseClipboard();
        char out[16] = "keep";
        CHECK(GetClipboardText(out, sizeof out) == FALSE);
        CHECK(std::string(out) == "keep");
    }
}
