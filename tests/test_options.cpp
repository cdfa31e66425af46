#include <doctest.h>

#include "app/settings.h"
#include "settings/options.h"

#include <string>

TEST_SUITE("options")
{
    TEST_CASE("the hot key is rebuilt from the chosen key and the three boxes alone")
    {
        CHECK(MakeHotKey(0, false, false, false) == 0);
        CHECK(MakeHotKey(11, true, false, false) == 32779); // Ctrl+F12
        CHECK(MakeHotKey(4, false, true, false) == (0x4000 | 4));
        CHECK(MakeHotKey(4, false, false, true) == (0x2000 | 4));
        CHECK(MakeHotKey(2, true, true, true) == (0xE000 | 2));
        // Ctrl+Shift+F3 with Ctrl unchecked: only Shift stays
        const WORD before = HotKeyCtrl | HotKeyShift | 2;
        CHECK(MakeHotKey(before & HotKeyIndexMask, false, true, false) == (HotKeyShift | 2));
    }

    TEST_CASE("a function key index outside F1..F12 becomes F1")
    {
        CHECK(ValidFunctionKey(0) == 0);
        CHECK(ValidFunctionKey(11) == 11);
        // 15 is the largest the hot key's four bits hold, 65535 a damaged TOURFUNCKEY
        for (int index : {12, 15, 65535, CB_ERR, -2})
            CHECK(ValidFunctionKey(index) == 0);
        // the modifiers survive; only the key falls back
        CHECK(MakeHotKey(13, true, false, true) == (HotKeyCtrl | HotKeyAlt));
        CHECK(MakeHotKey(CB_ERR, false, true, false) == HotKeyShift);
    }

    TEST_CASE("each clipboard box is enabled only when the one above is enabled and checked")
    {
        // the boxes' marks: clipboard, Ctrl+C, URL, tour key -> the boxes enabled
        const struct { bool clip, copy, url, tour; const char* enabled; } cases[] = {
            {true, true, true, false, "copy url shift"},
            {false, true, true, false, ""}, // the whole chain, though the marks below stay
            {true, false, true, false, "copy"}, // Ctrl+C holds back the URL box and Shift
            {true, true, false, false, "copy url"},
            {false, false, false, true, "tour"}, // the tour key list follows its own box
        };
        for (const auto& c : cases) {
            const OptionEnables e = DecideOptionEnables(c.clip, c.copy, c.url, c.tour);
            std::string enabled = std::string(e.copyEmulate ? " copy" : "") +
                                  (e.autoUrlOpen ? " url" : "") + (e.shiftOpen ? " shift" : "") +
                                  (e.tourFuncKey ? " tour" : "");
            CHECK(enabled.erase(0, 1) == c.enabled);
        }
    }
}
