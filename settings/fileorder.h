#pragma once
#include "tour/filelist.h"

// What the destinations page hands the file order dialog; valid while the dialog runs.
struct FileOrderParams {
    int count;               // 1..99
    TourFileList files;      // in the order the folder delivered them
    wchar_t folder[MAX_PATH]; // the folder holding them, no trailing backslash
};

// Runs the file order dialog (dialog 108) modally.
void ShowFileOrderDialog(HWND owner, FileOrderParams* params);
