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
        wchar_t wide[MAX_PATH] = L"";
        MultiByteToWideChar(CP_ACP, 0, dir.c_str(), -1, wide, MAX_PATH);
        RemoveTree(std::wstring(wide));
    }
    // wide: names beyond code page 932 have no ANSI form to delete them by
    static void RemoveTree(const std::wstring& dir)
    {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &found);
        BOOL more = search != INVALID_HANDLE_VALUE;
        for (; more; more = FindNextFileW(search, &found)) {
            std::wstring name = found.cFileName, path = dir + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (name != L"." && name != L"..")
                    RemoveTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        }
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        RemoveDirectoryW(dir.c_str());
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
