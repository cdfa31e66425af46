#pragma once
#include <windows.h>

// Limits of the texts kept in the settings file.
constexpr int TextSize = 300;      // queries, history, templates, most values
constexpr int PathSize = MAX_PATH; // paths
constexpr int NameSize = 100;      // display names, the user's section name
constexpr int KeySize = 100;       // formatted key names

constexpr int EngineCount = 12;
constexpr int HistoryCount = 10;
constexpr int TourSlotCount = 30;

extern const char AppTitle[];
extern const char IniFileName[];
extern const char DefFileName[];
extern const char ReadmeFileName[];
extern const char DefaultSection[];

// Every key of the settings and defaults files. Numbered keys are formats taking the slot.
namespace Key {
extern const char HotKey[];
extern const char ImeOn[];
extern const char ShowClip[];
extern const char Copy[];
extern const char AutoUrlOpen[];
extern const char ShiftOpen[];
extern const char MakeupUrl[];
extern const char SaveHistory[];
extern const char FuncKeyTour[];
extern const char TourFuncKey[];
extern const char TourBarShow[];
extern const char TourAutoStart[];
extern const char HttpsUrl[];
extern const char TrayIcon[];
extern const char AutoStart[];
extern const char EngineName[];  // "EGNAME%d", 1..12
extern const char Engine[];      // "ENGINE%d", 1..12
extern const char EngineCode[];  // "ENGINECODE%d", 1..12: EngineShiftJis or EngineUtf8
extern const char History[];     // "HISTORY%d", 0..9
extern const char TourName[];    // "TOURNAME%d", 1..30
extern const char TourPath[];    // "TOURPATH%d"
extern const char InputPath[];   // "INPUTPATH%d"
extern const char TourOrderBy[]; // "TOURORDERBY%d"
extern const char ExtFilter[];   // "EXTFILTER%d"
extern const char TourApp[];     // "TOURAPP%d"
extern const char TourDlgX[];
extern const char TourDlgY[];
} // namespace Key

struct SettingsRecord {
    WORD HotKey;       // bits 0-3 F1..F12, bit 13 Alt, bit 14 Shift, bit 15 Ctrl
    BOOL ImeOn;
    BOOL ShowClip;
    BOOL CopyEmulate;
    BOOL AutoUrlOpen;
    BOOL ShiftOpen;
    BOOL MakeupUrl;
    BOOL SaveHistory;
    BOOL FuncKeyTour;
    WORD TourFuncKey;
    BOOL TourBarShow;
    BOOL TourAutoStart;
    // Added later: a settings file without their keys keeps its old meaning.
    BOOL HttpsUrl;      // "https:" and any letter case are addresses too
    BOOL TrayIcon;      // an icon in the notification area while resident
    BOOL AutoStart;     // come back at the next logon (the Runonce value)
    BOOL SettingsValid; // not stored: the record holds the user's own settings
};

// How an engine wants its query: the values of "ENGINECODE%d".
enum EngineCodeKind { EngineShiftJis = 0, EngineUtf8 = 1 };

constexpr WORD HotKeyCtrl = 0x8000;
constexpr WORD HotKeyShift = 0x4000;
constexpr WORD HotKeyAlt = 0x2000;
constexpr WORD HotKeyIndexMask = 0x000F;

extern SettingsRecord Settings;
extern char ModuleDir[PathSize];
extern char IniPath[PathSize];
extern char DefPath[PathSize];
extern char SectionName[NameSize];

// Fills ModuleDir, IniPath, DefPath and SectionName from the program's full path.
void InitSettingsLocation(const char* programPath);

BOOL LoadSettings();
void SaveSettings();
void CopyDefaultEngines();

// Typed access to the user's section of the settings file. `format` is one of the Key
// formats above; plain keys pass their name and ignore `slot`.
void ReadUserString(const char* format, int slot, char* out, int size);
void WriteUserString(const char* format, int slot, const char* value);
int ReadUserInt(const char* format, int slot, int def);
void WriteUserInt(const char* format, int slot, int value);
void ReadDefaultString(const char* format, int slot, char* out, int size);

template <int N> void ReadUserString(const char* format, int slot, char (&out)[N])
{
    ReadUserString(format, slot, out, N);
}
