#include "app/logon.h"

#include "app/settings.h"
#include "app/textpath.h"

static const char RunonceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Runonce";

void ApplyLogonStart()
{
    char programPath[PathSize] = "";
    char programName[PathSize] = "";
    DWORD length = GetModuleFileNameA(nullptr, programPath, sizeof programPath);
    // a cut path would start another file at the next logon
    if (length == 0 || length >= sizeof programPath ||
        !GetFileNamePart(programPath, programName) || programName[0] == '\0')
        return;

    HKEY key;
    LONG opened = Settings.AutoStart
                      ? RegCreateKeyExA(HKEY_CURRENT_USER, RunonceKey, 0, nullptr,
                                        REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key,
                                        nullptr)
                      : RegOpenKeyExA(HKEY_CURRENT_USER, RunonceKey, 0, KEY_SET_VALUE, &key);
    if (opened != ERROR_SUCCESS)
        return;
    if (Settings.AutoStart)
        RegSetValueExA(key, programName, 0, REG_SZ, reinterpret_cast<const BYTE*>(programPath),
                       length + 1);
    else
        RegDeleteValueA(key, programName);
    RegCloseKey(key);
}
