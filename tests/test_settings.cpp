#include <doctest.h>

#include "app/settings.h"
#include "testutil.h"

#include <string>

namespace {
std::string UserValue(const char* format, int slot)
{
    char value[TextSize] = "missing";
    char key[KeySize];
    wsprintfA(key, format, slot);
    GetPrivateProfileStringA(SectionName, key, "missing", value, sizeof value, IniPath);
    return value;
}

// The record in declaration order: HOTKEY, the seven search flags, FUNCKEYTOUR, TOURFUNCKEY,
// TOURBARSHOW, TOURAUTOSTART, HTTPSURL, TRAYICON, AUTOSTART and last whether the record
// holds the user's own settings.
std::string Loaded()
{
    const SettingsRecord& s = Settings;
    char text[100];
    wsprintfA(text, "%u %d%d%d%d%d%d%d %d %u %d %d %d%d%d %d", s.HotKey, s.ImeOn, s.ShowClip,
              s.CopyEmulate, s.AutoUrlOpen, s.ShiftOpen, s.MakeupUrl, s.SaveHistory,
              s.FuncKeyTour, s.TourFuncKey, s.TourBarShow, s.TourAutoStart, s.HttpsUrl,
              s.TrayIcon, s.AutoStart, s.SettingsValid);
    return text;
}
} // namespace

TEST_SUITE("settings")
{
    TEST_CASE("no settings file: a first run with the built-in defaults")
    {
        IniFolder folder;
        CHECK(LoadSettings() == FALSE);
        CHECK(Loaded() == "0 1111111 0 0 0 0 001 0"); // F1 without modifiers
    }

    TEST_CASE("a first run takes its options from the defaults file")
    {
        IniFolder folder;
        TempDir::Write(DefPath, "[Default]\r\nHOTKEY=32779\r\nIMEON=0\r\nTOURBARSHOW=1\r\n"
                                "TOURFUNCKEY=11\r\nHTTPSURL=1\r\nTRAYICON=1\r\nAUTOSTART=0\r\n");
        // another user's settings do not count for this one
        TempDir::Write(IniPath, "[someone]\r\nHOTKEY=5\r\n");
        CHECK(LoadSettings() == FALSE);
        CHECK(Loaded() == "32779 0111111 0 11 1 0 110 0");
    }

    TEST_CASE("a section with HOTKEY only holds settings; the flags take their defaults")
    {
        IniFolder folder;
        TempDir::Write(DefPath, "[Default]\r\nIMEON=0\r\nFUNCKEYTOUR=1\r\n");
        TempDir::Write(IniPath, "[Tester]\r\nhotkey=16386\r\n"); // names ignore case
        CHECK(LoadSettings() == TRUE);
        // the defaults file is not consulted; keys added later keep the old behaviour
        CHECK(Loaded() == "16386 1111111 0 0 0 0 001 1");
    }

    TEST_CASE("HOTKEY 65535 or -1 counts as missing")
    {
        for (const char* value : {"65535", "-1"}) {
            IniFolder folder;
            TempDir::Write(IniPath, std::string("[tester]\r\nHOTKEY=") + value + "\r\n");
            CHECK(LoadSettings() == FALSE);
            CHECK(Settings.HotKey == 0);
        }
    }

    TEST_CASE("SaveSettings completes the user's section with the option keys")
    {
        IniFolder folder;
        TempDir::Write(IniPath, "[other]\r\nHOTKEY=1\r\n[tester]\r\nENGINE1=x\r\n");
        CHECK(LoadSettings() == FALSE);
        // Ctrl+Shift+F12 is above 32767 and written unsigned; any non-zero flag is written
        // as it is held
        Settings = {49163, 1, 0, 1, 0, 1, 0, 1, -1, 11, 1, 0, 1, 0, 1, 0};
        SaveSettings();
        CHECK(TempDir::Read(IniPath) ==
              "[other]\r\nHOTKEY=1\r\n[tester]\r\nENGINE1=x\r\nHOTKEY=49163\r\nIMEON=1\r\n"
              "SHOWCLIP=0\r\nCOPY=1\r\nAUTOURLOPEN=0\r\nSHIFTOPEN=1\r\nMAKEUPURL=0\r\n"
              "SAVEHISTORY=1\r\nFUNCKEYTOUR=-1\r\nTOURFUNCKEY=11\r\nTOURBARSHOW=1\r\n"
              "TOURAUTOSTART=0\r\nHTTPSURL=1\r\nTRAYICON=0\r\nAUTOSTART=1\r\n");
        CHECK(LoadSettings() == TRUE);
        CHECK(Loaded() == "49163 1010101 -1 11 1 0 101 1");
    }

    TEST_CASE("CopyDefaultEngines writes all 36 keys, empty or Shift-JIS where the defaults have none")
    {
        IniFolder folder;
        TempDir::Write(DefPath, "[Default]\r\nEGNAME3=検索表\r\nENGINE3=http://e/?q=%s\r\n"
                                "ENGINECODE3=1\r\n[Other]\r\nENGINE4=no\r\n");
        CopyDefaultEngines();
        for (int n = 1; n <= EngineCount; ++n) {
            CHECK(UserValue(Key::EngineName, n) == (n == 3 ? "検索表" : ""));
            CHECK(UserValue(Key::Engine, n) == (n == 3 ? "http://e/?q=%s" : ""));
            CHECK(UserValue(Key::EngineCode, n) == (n == 3 ? "1" : "0"));
        }
        // still a first run: the engines alone are not settings
        CHECK(LoadSettings() == FALSE);
    }

    TEST_CASE("the location follows the program's folder")
    {
        // (every test that reads settings makes its own IniFolder, which sets them afresh)
        InitSettingsLocation("C:\\表\\kirapick.exe");
        CHECK(std::string(ModuleDir) == "C:\\表");
        CHECK(std::string(IniPath) == "C:\\表\\kirapick.ini");
        CHECK(std::string(DefPath) == "C:\\表\\kirapick.def");
        CHECK(SectionName[0] != '\0');
    }
}
