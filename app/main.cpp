#include "app/settings.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char programPath[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, programPath, sizeof programPath);
    InitSettingsLocation(programPath);
    LoadSettings();
    return 0;
}
