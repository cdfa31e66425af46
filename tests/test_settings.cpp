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
} // namespace

TEST_SUITE("settings")
{
    TEST_CASE("no settings file: a first run with the built-in defaults")
    {
        IniFolder folder;
        CHECK(LoadSettings() == FALSE);
        CHECK(Settings.SettingsValid == FALSE);
        CHECK(Settings.HotKey == 0); // F1 without modifiers
        CHECK(Settings.ImeOn);
        CHECK(Settings.ShowClip);
        CHECK(Settings.CopyEmulate);
        CHECK(Settings.AutoUrlOpen);
        CHECK(Settings.ShiftOpen);
        CHECK(Settings.MakeupUrl);
        CHECK(Settings.SaveHistory);
        CHECK_FALSE(Settings.FuncKeyTour);
        CHECK(Settings.TourFuncKey == 0);
        CHECK_FALSE(Settings.TourBarShow);
        CHECK_FALSE(Settings.TourAutoStart);
    }

    TEST_CASE("a first run takes its options from the defaults file")
    {
        IniFolder folder;
        IniFolder::Write(DefPath, "[Default]\r\nHOTKEY=32779\r\nIMEON=0\r\nTOURBARSHOW=1\r\n"
                                  "TOURFUNCKEY=11\r\n");
        // another user's settings do not count for this one
        IniFolder::Write(IniPath, "[someone]\r\nHOTKEY=5\r\n");
        CHECK(LoadSettings() == FALSE);
        CHECK(Settings.HotKey == 32779);
        CHECK_FALSE(Settings.ImeOn);
        CHECK(Settings.TourBarShow);
        CHECK(Settings.TourFuncKey == 11);
        CHECK(Settings.ShowClip);
    }

    TEST_CASE("a section with HOTKEY only holds settings; the flags take their defaults")
    {
        IniFolder folder;
        IniFolder::Write(DefPath, "[Default]\r\nIMEON=0\r\nFUNCKEYTOUR=1\r\n");
        IniFolder::Write(IniPath, "[Tester]\r\nhotkey=16386\r\n"); // names ignore case
        CHECK(LoadSettings() == TRUE);
        CHECK(Settings.SettingsValid == TRUE);
        CHECK(Settings.HotKey == 16386);
        CHECK(Settings.ImeOn);             // the defaults file is not consulted
        CHECK_FALSE(Settings.FuncKeyTour);
    }

    TEST_CASE("HOTKEY 65535 or -1 counts as missing")
    {
        for (const char* value : {"65535", "-1"}) {
            IniFolder folder;
            IniFolder::Write(IniPath, std::string("[tester]\r\nHOTKEY=") + value + "\r\n");
            CHECK(LoadSettings() == FALSE);
            CHECK(Settings.HotKey == 0);
        }
    }

    TEST_CASE("SaveSettings writes the twelve option keys in order, in decimal")
    {
        IniFolder folder;
        IniFolder::Write(IniPath, "[other]\r\nHOTKEY=1\r\n");
        Settings = SettingsRecord{};
        Settings.HotKey = 49163; // Ctrl+Shift+F12: above 32767, written unsigned
        Settings.ImeOn = 1;
        Settings.ShowClip = 0;
        Settings.CopyEmulate = 1;
        Settings.AutoUrlOpen = 0;
        Settings.ShiftOpen = 1;
        Settings.MakeupUrl = 0;
        Settings.SaveHistory = 1;
        Settings.FuncKeyTour = -1; // any non-zero flag is written as it is held
        Settings.TourFuncKey = 11;
        Settings.TourBarShow = 1;
        Settings.TourAutoStart = 0;
        SaveSettings();
        std::string text = IniFolder::Read(IniPath);
        CHECK(text.find("[other]\r\nHOTKEY=1\r\n") == 0);
        CHECK(text.find("[tester]\r\nHOTKEY=49163\r\nIMEON=1\r\nSHOWCLIP=0\r\nCOPY=1\r\n"
                        "AUTOURLOPEN=0\r\nSHIFTOPEN=1\r\nMAKEUPURL=0\r\nSAVEHISTORY=1\r\n"
                        "FUNCKEYTOUR=-1\r\nTOURFUNCKEY=11\r\nTOURBARSHOW=1\r\nTOURAUTOSTART=0\r\n")
              != std::string::npos);
        CHECK(LoadSettings() == TRUE);
        CHECK(Settings.HotKey == 49163);
        CHECK(Settings.TourFuncKey == 11);
    }

    TEST_CASE("SaveSettings after a first run completes the user's section")
    {
        IniFolder folder;
        IniFolder::Write(IniPath, "[tester]\r\nENGINE1=x\r\n");
        CHECK(LoadSettings() == FALSE);
        SaveSettings();
        CHECK(LoadSettings() == TRUE);
        CHECK(UserValue(Key::Engine, 1) == "x");
        CHECK(UserValue(Key::TourAutoStart, 0) == "0");
    }

    TEST_CASE("CopyDefaultEngines writes all 24 keys, empty where the defaults have none")
    {
        IniFolder folder;
        IniFolder::Write(DefPath, "[Default]\r\nEGNAME3=検索表\r\nENGINE3=http://e/?q=%s\r\n"
                                  "[Other]\r\nENGINE4=no\r\n");
        CopyDefaultEngines();
        for (int n = 1; n <= EngineCount; ++n) {
            CHECK(UserValue(Key::EngineName, n) == (n == 3 ? "検索表" : ""));
            CHECK(UserValue(Key::Engine, n) == (n == 3 ? "http://e/?q=%s" : ""));
        }
        // still a first run: the engines alone are not settings
        CHECK(LoadSettings() == FALSE);
    }

    TEST_CASE("a defaults file without engines leaves empty engine keys")
    {
        IniFolder folder;
        IniFolder::Write(DefPath, "[Default]\r\nHOTKEY=2\r\n");
        CopyDefaultEngines();
        CHECK(UserValue(Key::Engine, 12) == "");
        CHECK(UserValue(Key::EngineName, 1) == "");
    }

    TEST_CASE("the location follows the program's folder")
    {
        char saved[NameSize];
        lstrcpynA(saved, SectionName, sizeof saved);
        InitSettingsLocation("C:\\表\\kirapick.exe");
        CHECK(std::string(ModuleDir) == "C:\\表");
        CHECK(std::string(IniPath) == "C:\\表\\kirapick.ini");
        CHECK(std::string(DefPath) == "C:\\表\\kirapick.def");
        CHECK(SectionName[0] != '\0');
        lstrcpynA(SectionName, saved, sizeof SectionName);
    }
}
