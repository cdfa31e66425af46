#pragma once
#include "app/settings.h"
#include "app/textconv.h"

#include <string>

// Wide text as UTF-8, for names beyond code page 932 in checks and their messages.
inline std::string Utf8(const wchar_t* text)
{
    char out[4 * MAX_PATH] = "";
    WideToUtf8(text, out);
    return out;
}

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
        // wide: names beyond code page 932 have no ANSI form to delete them by
        wchar_t folder[MAX_PATH] = L"";
        AnsiToWide(dir.c_str(), folder);
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((std::wstring(folder) + L"\\*").c_str(), &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
            const std::wstring path = std::wstring(folder) + L"\\" + found.cFileName;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
            RemoveDirectoryW(path.c_str()); // an empty subfolder
        }
        FindClose(search);
        RemoveDirectoryW(folder);
    }
    // A file made by its UTF-16 name, holding `text`, last written `minutes` after a fixed moment.
    void Put(const std::wstring& name, const std::string& text = "", int minutes = 0) const
    {
        wchar_t path[MAX_PATH] = L"";
        AnsiToWide((dir + "\\").c_str(), path);
        HANDLE file = CreateFileW((path + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written;
        WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr);
        const ULONGLONG when = 132000000000000000ULL + minutes * 600000000ULL;
        const FILETIME time = {DWORD(when), DWORD(when >> 32)};
        SetFileTime(file, nullptr, nullptr, &time);
        CloseHandle(file);
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
