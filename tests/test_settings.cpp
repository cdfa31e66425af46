#include <doctest.h>

#include "app/settings.h"
#include "testutil.h"

#include <string>

namespace {
// The record: HOTKEY, the seven search flags, FUNCKEYTOUR, TOURFUNCKEY, TOURBARSHOW,
// TOURAUTOSTART, HTTPSURL, TRAYICON, AUTOSTART and whether it holds the user's own settings.
std::string Loaded()
{
    const SettingsRecord& s = Settings;
    char text[100];
    wsprintfA(text, "%u %d%d%d%d%d%d%d %d %u %d %d %d%d%d %d", s.HotKey, s.ImeOn, s.ShowClip, s.CopyEmulate,
              s.AutoUrlOpen, s.ShiftOpen, s.MakeupUrl, s.SaveHistory, s.FuncKeyTour, s.TourFuncKey,
              s.TourBarShow, s.TourAutoStart, s.HttpsUrl, s.TrayIcon, s.AutoStart, s.SettingsValid);
    return text;
}
} // namespace

TEST_SUITE("settings")
{
    TEST_CASE("a first run takes the defaults file's options, or the built-in ones")
    {
        // no HOTKEY of this user, or 65535 or -1: a first run; another user's settings do not count
        for (const char* ini : {"", "[tester]\r\nHOTKEY=65535\r\n", "[tester]\r\nHOTKEY=-1\r\n", "[someone]\r\nHOTKEY=5\r\n"}) {
            IniFolder folder;
            e2e::WriteFileText(IniPath, ini);
            CHECK(LoadSettings() == FALSE);
            CHECK(Loaded() == "0 1111111 0 0 0 0 001 0"); // F1 without modifiers
        }
        IniFolder folder;
        e2e::WriteFileText(DefPath, "[Default]\r\nHOTKEY=32779\r\nIMEON=0\r\nTOURBARSHOW=1\r\nTOURFUNCKEY=11\r\n"
                                "HTTPSURL=1\r\nTRAYICON=1\r\nAUTOSTART=0\r\n");
        CHECK(LoadSettings() == FALSE);
        CHECK(Loaded() == "32779 0111111 0 11 1 0 110 0");
    }

    TEST_CASE("SaveSettings completes the user's section with every option key, and reads back")
    {
        IniFolder folder;
        e2e::WriteFileText(IniPath, "[other]\r\nHOTKEY=1\r\n[tester]\r\nENGINE1=x\r\n");
        // Ctrl+Shift+F12 is above 32767 and written unsigned; a flag is written as it is held
        Settings = {49163, 1, 0, 1, 0, 1, 0, 1, -1, 11, 1, 0, 1, 0, 1, 0};
        SaveSettings();
        std::string written;
        CHECK((e2e::ReadFileText(IniPath, written) && written == "[other]\r\nHOTKEY=1\r\n[tester]\r\nENGINE1=x\r\nHOTKEY=49163\r\nIMEON=1\r\nSHOWCLIP=0\r\nCOPY=1\r\n"
                 "AUTOURLOPEN=0\r\nSHIFTOPEN=1\r\nMAKEUPURL=0\r\nSAVEHISTORY=1\r\nFUNCKEYTOUR=-1\r\nTOURFUNCKEY=11\r\n"
                 "TOURBARSHOW=1\r\nTOURAUTOSTART=0\r\nHTTPSURL=1\r\nTRAYICON=0\r\nAUTOSTART=1\r\n"));
        CHECK(LoadSettings() == TRUE);
        CHECK(Loaded() == "49163 1010101 -1 11 1 0 101 1");
    }
}
