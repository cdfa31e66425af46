#pragma once
#include "app/settings.h"

#include <string>

// A fresh folder per test for the two INI files, removed again at the end.
struct IniFolder {
    char dir[MAX_PATH];
    IniFolder()
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        static int serial;
        wsprintfA(dir, "%skptest%lu_%d", temp, GetCurrentProcessId(), ++serial);
        CreateDirectoryA(dir, nullptr);
        wsprintfA(IniPath, "%s\\%s", dir, IniFileName);
        wsprintfA(DefPath, "%s\\%s", dir, DefFileName);
        lstrcpynA(SectionName, "tester", sizeof SectionName);
        Settings = SettingsRecord{};
    }
    ~IniFolder()
    {
        DeleteFileA(IniPath);
        DeleteFileA(DefPath);
        RemoveDirectoryA(dir);
    }
    static void Write(const char* path, const std::string& text)
    {
        HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        CloseHandle(file);
    }
    static std::string Read(const char* path)
    {
        std::string text;
        HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return text;
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got)
            text.append(buffer, got);
        CloseHandle(file);
        return text;
    }
};
