#include "settings/pagelogic.h"

#include "app/textpath.h"

#include <stdio.h>
#include <stdlib.h>

void CutToField(char* field, int fieldSize, const char* text)
{
    if (fieldSize <= 0)
        return;
    const char* end = text;
    while (*end != '\0') {
        const char* next = CharNextA(end);
        if (next - text > fieldSize - 1)
            break;
        end = next;
    }
    const int length = static_cast<int>(end - text);
    MoveMemory(field, text, length);
    field[length] = '\0';
}

BOOL StoreWhole(char* field, int fieldSize, const char* text)
{
    if (lstrlenA(text) >= fieldSize)
        return FALSE;
    lstrcpynA(field, text, fieldSize);
    return TRUE;
}

int EngineCodeOf(const char* value)
{
    return strtol(value, nullptr, 10) == EngineUtf8 ? EngineUtf8 : EngineShiftJis;
}

void ComposeEngineLabel(int slot, const char* name, char* out, int outSize)
{
    snprintf(out, outSize, "[F%d] %s", slot, name);
}

void ComposeDestinationEntry(const char* name, char* out, int outSize)
{
    lstrcpynA(out, name[0] != '\0' ? name : "-", outSize);
}

int IndexOrNone(int value, int count)
{
    return value >= 0 && value < count ? value : -1;
}

int MoveRecord(void* records, int recordSize, int count, int index, int step)
{
    const int other = index + step;
    if (IndexOrNone(index, count) < 0 || IndexOrNone(other, count) < 0 || other == index)
        return -1;
    BYTE* a = static_cast<BYTE*>(records) + static_cast<size_t>(index) * recordSize;
    BYTE* b = static_cast<BYTE*>(records) + static_cast<size_t>(other) * recordSize;
    for (int i = 0; i < recordSize; i++) {
        const BYTE kept = a[i];
        a[i] = b[i];
        b[i] = kept;
    }
    return other;
}

BOOL ClearRecord(void* records, int recordSize, int count, int index)
{
    if (IndexOrNone(index, count) < 0)
        return FALSE;
    ZeroMemory(static_cast<BYTE*>(records) + static_cast<size_t>(index) * recordSize, recordSize);
    return TRUE;
}

BOOL BuildPathPattern(const char* filePath, char* out, int outSize)
{
    char folder[LongTextSize];
    char name[LongTextSize] = "";
    char extension[LongTextSize];
    // the extension of the name alone: a dot in a folder name ("C:\a.b\file") is no extension
    if (!GetDirPart(filePath, folder, sizeof folder) ||
        !GetFileNamePart(filePath, name, sizeof name) ||
        !GetExtension(name, extension, sizeof extension)) {
        if (outSize > 0)
            out[0] = '\0';
        return FALSE;
    }
    const int needed = snprintf(out, outSize, "%s\\*%s", folder, extension);
    if (needed < 0 || needed >= outSize) {
        if (outSize > 0)
            out[0] = '\0';
        return FALSE;
    }
    return TRUE;
}

BOOL BuildViewerCommand(const char* programPath, char* out, int outSize)
{
    static const char Argument[] = " \"%s\"";
    if (outSize <= 0)
        return FALSE;
    int length = 0;
    for (const char* p = programPath; *p != '\0';) {
        const char* next = CharNextA(p);
        const int size = static_cast<int>(next - p);
        const int doubled = *p == '%' ? 1 : 0;
        if (length + size + doubled >= outSize) {
            out[0] = '\0';
            return FALSE;
        }
        if (doubled)
            out[length++] = '%';
        CopyMemory(out + length, p, size);
        length += size;
        p = next;
    }
    if (length + lstrlenA(Argument) >= outSize) {
        out[0] = '\0';
        return FALSE;
    }
    lstrcpynA(out + length, Argument, outSize - length);
    return TRUE;
}

BOOL PatternFolder(const char* pattern, char* out, int outSize)
{
    if (lstrlenA(pattern) >= PathSize) {
        if (outSize > 0)
            out[0] = '\0';
        return FALSE;
    }
    return GetDirPart(pattern, out, outSize);
}
