#include "search/dispatch.h"

#include "app/app.h"
#include "app/textconv.h"
#include "app/textpath.h"
#include "app/winhelpers.h"
#include "resources/resource.h"
#include "search/encode.h"
#include "search/searchwindow.h"
#include "settings/pagelogic.h"

#include <shellapi.h>

static int FindHistoryEntry(const HistoryList& list, const char* query)
{
    // the box's exact-match search starts after the first entry and wraps round to it
    for (int i = 1; i < list.count; ++i) {
        if (lstrcmpiA(list.entries[i], query) == 0)
            return i;
    }
    if (list.count > 0 && lstrcmpiA(list.entries[0], query) == 0)
        return 0;
    return -1;
}

void PushHistory(HistoryList& list, const char* query)
{
    int found = FindHistoryEntry(list, query);
    int last = found >= 0 ? found : (list.count < HistoryCount ? list.count : HistoryCount - 1);
    for (int i = last; i > 0; --i)
        lstrcpynA(list.entries[i], list.entries[i - 1], TextSize);
    lstrcpynA(list.entries[0], query, TextSize);
    if (found < 0 && list.count < HistoryCount)
        ++list.count;
}

void EncodeForEngine(const char* query, int code, char* out, int outSize)
{
    if (code != EngineUtf8) {
        EncodeQuery(query, out, outSize);
        return;
    }
    // every byte of code page 932 becomes at most three bytes of UTF-8
    const int utf8Size = 3 * lstrlenA(query) + 1;
    char* utf8 = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, utf8Size));
    if (utf8 && AnsiToUtf8(query, utf8, utf8Size))
        EncodeUtf8Bytes(utf8, out, outSize);
    else if (outSize > 0)
        out[0] = '\0';
    if (utf8)
        HeapFree(GetProcessHeap(), 0, utf8);
}

void ReadHistoryBox(HWND box, HistoryList& list)
{
    list.count = 0;
    const int boxCount = static_cast<int>(SendMessageA(box, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < boxCount && list.count < HistoryCount; ++i) {
        // for double-byte text the reported length can exceed the real one: read into an area
        // of that length and cut, rather than lose a long Japanese entry
        const LRESULT length = SendMessageA(box, CB_GETLBTEXTLEN, i, 0);
        if (length < 0)
            continue;
        char* text =
            static_cast<char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, length + 1));
        if (!text)
            continue; // no room to read it safely
        SendMessageA(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        CutToField(list.entries[list.count++], text);
        HeapFree(GetProcessHeap(), 0, text);
    }
}

static void OpenAddress(const char* address)
{
    ShellExecuteA(nullptr, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

static void RecordHistory(const char* query)
{
    ForgetLoadedHistory();
    HWND box = GetDlgItem(SearchWindow, IDC_SEARCH_HISTORY);
    static HistoryList list; // 3 KB: kept off the stack
    ReadHistoryBox(box, list);
    PushHistory(list, query);

    SendMessageA(box, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < list.count; ++i)
        SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(list.entries[i]));
    for (int i = 0; i < HistoryCount; ++i)
        WriteUserString(Key::History, i, i < list.count ? list.entries[i] : "");
}

int RunSearch(const char* query, int engine)
{
    char work[TextSize];
    lstrcpynA(work, query, sizeof work);
    if (Settings.MakeupUrl)
        CompleteUrl(work, sizeof work, Settings.HttpsUrl);
    if (IsWebAddress(work, Settings.HttpsUrl)) {
        OpenAddress(work);
        return 1;
    }

    char tmpl[TextSize];
    ReadUserString(Key::Engine, engine, tmpl);
    if (tmpl[0] == '\0')
        return 0;

    char code[TextSize];
    ReadUserString(Key::EngineCode, engine, code);
    char encoded[EncodedSize];
    EncodeForEngine(query, EngineCodeOf(code), encoded, sizeof encoded);
    static char address[AddressSize];
    ExpandTemplate(tmpl, encoded, address, sizeof address);
    OpenAddress(address);

    if (Settings.ShowClip)
        SetClipboardText(query);
    if (Settings.SaveHistory && SearchWindow)
        RecordHistory(query);
    return 1;
}
