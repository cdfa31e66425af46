#include "app/settings.h"

#include "app/textpath.h"

#include <stdio.h>

const char AppTitle[] = "キラピック！";
const char IniFileName[] = "kirapick.ini";
const char DefFileName[] = "kirapick.def";
const char ReadmeFileName[] = "readme.txt";
const char DefaultSection[] = "Default";
// used when the user's name cannot be had (none, or longer than its 100-byte area)
static const char FallbackSection[] = "KirapickUser";

namespace Key {
const char HotKey[] = "HOTKEY";
const char ImeOn[] = "IMEON";
const char ShowClip[] = "SHOWCLIP";
const char Copy[] = "COPY";
const char AutoUrlOpen[] = "AUTOURLOPEN";
const char ShiftOpen[] = "SHIFTOPEN";
const char MakeupUrl[] = "MAKEUPURL";
const char SaveHistory[] = "SAVEHISTORY";
const char FuncKeyTour[] = "FUNCKEYTOUR";
const char TourFuncKey[] = "TOURFUNCKEY";
const char TourBarShow[] = "TOURBARSHOW";
const char TourAutoStart[] = "TOURAUTOSTART";
const char HttpsUrl[] = "HTTPSURL";
const char TrayIcon[] = "TRAYICON";
const char AutoStart[] = "AUTOSTART";
const char EngineName[] = "EGNAME%d";
const char Engine[] = "ENGINE%d";
const char EngineCode[] = "ENGINECODE%d";
const char History[] = "HISTORY%d";
const char TourName[] = "TOURNAME%d";
const char TourPath[] = "TOURPATH%d";
const char InputPath[] = "INPUTPATH%d";
const char TourOrderBy[] = "TOURORDERBY%d";
const char ExtFilter[] = "EXTFILTER%d";
const char TourApp[] = "TOURAPP%d";
const char TourDlgX[] = "TOURDLG_XPOS";
const char TourDlgY[] = "TOURDLG_YPOS";
} // namespace Key

SettingsRecord Settings;
char ModuleDir[PathSize];
char IniPath[PathSize];
char DefPath[PathSize];
char SectionName[NameSize];

// Plain keys contain no conversion and come out unchanged.
static void MakeKey(char (&key)[KeySize], const char* format, int slot)
{
    snprintf(key, sizeof key, format, slot);
}

void InitSettingsLocation(const char* programPath)
{
    GetDirPart(programPath, ModuleDir, sizeof ModuleDir);
    JoinPath(IniPath, sizeof IniPath, ModuleDir, IniFileName);
    JoinPath(DefPath, sizeof DefPath, ModuleDir, DefFileName);

    DWORD size = sizeof SectionName;
    if (!GetUserNameA(SectionName, &size) || SectionName[0] == '\0')
        lstrcpynA(SectionName, FallbackSection, sizeof SectionName);
}

void ReadUserString(const char* format, int slot, char* out, int size)
{
    char key[KeySize];
    MakeKey(key, format, slot);
    GetPrivateProfileStringA(SectionName, key, "", out, size, IniPath);
}

void WriteUserString(const char* format, int slot, const char* value)
{
    char key[KeySize];
    MakeKey(key, format, slot);
    WritePrivateProfileStringA(SectionName, key, value, IniPath);
}

int ReadUserInt(const char* format, int slot, int def)
{
    char key[KeySize];
    MakeKey(key, format, slot);
    return static_cast<int>(GetPrivateProfileIntA(SectionName, key, def, IniPath));
}

void WriteUserInt(const char* format, int slot, int value)
{
    char text[16];
    snprintf(text, sizeof text, "%d", value);
    WriteUserString(format, slot, text);
}

void ReadDefaultString(const char* format, int slot, char* out, int size)
{
    char key[KeySize];
    MakeKey(key, format, slot);
    GetPrivateProfileStringA(DefaultSection, key, "", out, size, DefPath);
}

BOOL LoadSettings()
{
    BOOL result = TRUE;
    const char* section = SectionName;
    const char* file = IniPath;

    Settings.HotKey = LOWORD(GetPrivateProfileIntA(section, Key::HotKey, 0xFFFF, file));
    if (Settings.HotKey == 0xFFFF) {
        // no HOTKEY in the user's section: a first run, seeded from the defaults file
        result = FALSE;
        section = DefaultSection;
        file = DefPath;
        Settings.HotKey = LOWORD(GetPrivateProfileIntA(section, Key::HotKey, 0, file));
    }

    auto flag = [&](const char* key, int def) {
        return static_cast<BOOL>(GetPrivateProfileIntA(section, key, def, file));
    };
    Settings.ImeOn = flag(Key::ImeOn, 1);
    Settings.ShowClip = flag(Key::ShowClip, 1);
    Settings.CopyEmulate = flag(Key::Copy, 1);
    Settings.AutoUrlOpen = flag(Key::AutoUrlOpen, 1);
    Settings.ShiftOpen = flag(Key::ShiftOpen, 1);
    Settings.MakeupUrl = flag(Key::MakeupUrl, 1);
    Settings.SaveHistory = flag(Key::SaveHistory, 1);
    Settings.FuncKeyTour = flag(Key::FuncKeyTour, 0);
    Settings.TourFuncKey = LOWORD(flag(Key::TourFuncKey, 0));
    Settings.TourBarShow = flag(Key::TourBarShow, 0);
    Settings.TourAutoStart = flag(Key::TourAutoStart, 0);
    Settings.HttpsUrl = flag(Key::HttpsUrl, 0);
    Settings.TrayIcon = flag(Key::TrayIcon, 0);
    Settings.AutoStart = flag(Key::AutoStart, 1);

    Settings.SettingsValid = result;
    return result;
}

void SaveSettings()
{
    WriteUserInt(Key::HotKey, 0, Settings.HotKey);
    WriteUserInt(Key::ImeOn, 0, Settings.ImeOn);
    WriteUserInt(Key::ShowClip, 0, Settings.ShowClip);
    WriteUserInt(Key::Copy, 0, Settings.CopyEmulate);
    WriteUserInt(Key::AutoUrlOpen, 0, Settings.AutoUrlOpen);
    WriteUserInt(Key::ShiftOpen, 0, Settings.ShiftOpen);
    WriteUserInt(Key::MakeupUrl, 0, Settings.MakeupUrl);
    WriteUserInt(Key::SaveHistory, 0, Settings.SaveHistory);
    WriteUserInt(Key::FuncKeyTour, 0, Settings.FuncKeyTour);
    WriteUserInt(Key::TourFuncKey, 0, Settings.TourFuncKey);
    WriteUserInt(Key::TourBarShow, 0, Settings.TourBarShow);
    WriteUserInt(Key::TourAutoStart, 0, Settings.TourAutoStart);
    WriteUserInt(Key::HttpsUrl, 0, Settings.HttpsUrl);
    WriteUserInt(Key::TrayIcon, 0, Settings.TrayIcon);
    WriteUserInt(Key::AutoStart, 0, Settings.AutoStart);
}

void CopyDefaultEngines()
{
    char value[TextSize];
    for (int n = 1; n <= EngineCount; ++n) {
        ReadDefaultString(Key::EngineName, n, value, sizeof value);
        WriteUserString(Key::EngineName, n, value);
        ReadDefaultString(Key::Engine, n, value, sizeof value);
        WriteUserString(Key::Engine, n, value);
        ReadDefaultString(Key::EngineCode, n, value, sizeof value);
        WriteUserString(Key::EngineCode, n, value[0] != '\0' ? value : "0");
    }
}
