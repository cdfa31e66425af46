#pragma once
#include "app/settings.h"

#include <fstream>
#include <iterator>
#include <string>

// A fresh folder in the temp folder, removed with everything in it at the end.
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
    ~TempDir() { RemoveTree(dir); }
    static void RemoveTree(const std::string& dir)
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
        BOOL more = search != INVALID_HANDLE_VALUE;
        for (; more; more = FindNextFileA(search, &found)) {
            std::string name = found.cFileName, path = dir + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (name != "." && name != "..")
                    RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        }
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        RemoveDirectoryA(dir.c_str());
    }
    static void Write(const std::string& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string Read(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
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
