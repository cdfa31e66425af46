#pragma once
#include "app/settings.h"

#include <string>

// A fresh folder in the temp folder, removed with its files at the end.
struct TempDir {
    std::string dir;
    explicit TempDir(const std::string& leaf = "kptest")
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        static int serial;
        dir = temp + leaf + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++serial);
        CreateDirectoryA(dir.c_str(), nullptr);
    }
    ~TempDir()
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
            SetFileAttributesA((dir + "\\" + found.cFileName).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA((dir + "\\" + found.cFileName).c_str());
            RemoveDirectoryA((dir + "\\" + found.cFileName).c_str()); // an empty subfolder
        }
        FindClose(search);
        RemoveDirectoryA(dir.c_str());
    }
    static void Write(const std::string& path, const std::string& text)
    {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }
    static std::string Read(const std::string& path)
    {
        char data[4096];
        DWORD got = 0;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ReadFile(file, data, sizeof data, &got, nullptr);
        CloseHandle(file);
        return std::string(data, got);
    }
};

// A fresh folder per test for the two INI files, the user's section "tester".
struct IniFolder : TempDir {
    IniFolder()
    {
        lstrcpynA(IniPath, (dir + "\\" + IniFileName).c_str(), sizeof IniPath);
        lstrcpynA(DefPath, (dir + "\\" + DefFileName).c_str(), sizeof DefPath);
        lstrcpynA(SectionName, "tester", sizeof SectionName);
        Settings = SettingsRecord{};
    }
};
