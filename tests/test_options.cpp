#include <doctest.h>

#include "app/settings.h"
#include "settings/options.h"

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
        const WORD after = MakeHotKey(before & HotKeyIndexMask, false, true, false);
        CHECK(after == (HotKeyShift | 2));
        CHECK((after & HotKeyCtrl) == 0);
    }

    TEST_CASE("a function key index outside F1..F12 becomes F1")
    {
        CHECK(ValidFunctionKey(0) == 0);
        CHECK(ValidFunctionKey(11) == 11);
        CHECK(ValidFunctionKey(12) == 0);
        CHECK(ValidFunctionKey(15) == 0);    // the largest the hot key's four bits can hold
        CHECK(ValidFunctionKey(65535) == 0); // a damaged TOURFUNCKEY
        CHECK(ValidFunctionKey(CB_ERR) == 0);
        // the modifiers survive; only the key falls back
        CHECK(MakeHotKey(13, true, false, true) == (HotKeyCtrl | HotKeyAlt));
        CHECK(MakeHotKey(CB_ERR, false, true, false) == HotKeyShift);
    }

    TEST_CASE("each clipboard box is enabled only when the one above is enabled and checked")
    {
        OptionEnables all = DecideOptionEnables(true, true, true, false);
        CHECK(all.copyEmulate);
        CHECK(all.autoUrlOpen);
        CHECK(all.shiftOpen);

        // unchecking the clipboard box disables the whole chain though the marks stay
        OptionEnables noClip = DecideOptionEnables(false, true, true, false);
        CHECK_FALSE(noClip.copyEmulate);
        CHECK_FALSE(noClip.autoUrlOpen);
        CHECK_FALSE(noClip.shiftOpen);

        // Ctrl+C unchecked holds back the URL box and Shift; checking it (the first case)
        // enables both in one step
        OptionEnables noCopy = DecideOptionEnables(true, false, true, false);
        CHECK(noCopy.copyEmulate);
        CHECK_FALSE(noCopy.autoUrlOpen);
        CHECK_FALSE(noCopy.shiftOpen);

        OptionEnables noUrl = DecideOptionEnables(true, true, false, false);
        CHECK(noUrl.autoUrlOpen);
        CHECK_FALSE(noUrl.shiftOpen);
    }

    TEST_CASE("the tour key list follows its own box, not the clipboard chain")
    {
        CHECK(DecideOptionEnables(false, false, false, true).tourFuncKey);
        CHECK_FALSE(DecideOptionEnables(true, true, true, false).tourFuncKey);
    }
}
