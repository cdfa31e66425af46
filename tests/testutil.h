#pragma once
#include "app/settings.h"
#include "tests/e2e/driver.h"

#include <string>

using e2e::Utf8;

// A fresh folder in the temp folder for the two INI files, the user's section "tester";
// removed with its files at the end.
struct IniFolder {
    std::string dir;
    IniFolder()
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        static int serial;
        dir = temp + ("kptest" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial));
        CreateDirectoryA(dir.c_str(), nullptr);
        lstrcpynA(IniPath, (dir + "\\" + IniFileName).c_str(), sizeof IniPath);
        lstrcpynA(DefPath, (dir + "\\" + DefFileName).c_str(), sizeof DefPath);
        lstrcpynA(SectionName, "tester", sizeof SectionName);
        Settings = SettingsRecord{};
    }
    ~IniFolder() { e2e::RemoveFolder(dir); }
    // A file made by its UTF-16 name.
    void Put(const std::wstring& name) const { e2e::WriteFileText(Utf8(e2e::Wide(dir + "\\") + name), ""); }
};
