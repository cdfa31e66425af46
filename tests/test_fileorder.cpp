#include <doctest.h>

#include "settings/fileorder_names.h"
#include "settings/fileorder_ops.h"
#include "testutil.h"

#include <map>
#include <string>
#include <vector>

namespace {
// Each file holds the name it was created with, so that "<name|what it holds> ..." shows any
// file lost, overwritten or swapped; names in UTF-8.
struct Folder : TempDir {
    Folder(std::initializer_list<const wchar_t*> names)
    {
        for (const wchar_t* name : names)
            Put(name, Utf8(name));
    }
    std::wstring Wide() const
    {
        wchar_t wide[MAX_PATH];
        AnsiToWide(dir.c_str(), wide);
        return wide;
    }
    std::string State() const
    {
        std::map<std::string, std::string> files;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((Wide() + L"\\*").c_str(), &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found))
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                HANDLE file = CreateFileW((Wide() + L"\\" + found.cFileName).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
                char data[MAX_PATH] = "";
                DWORD got = 0;
                ReadFile(file, data, sizeof data - 1, &got, nullptr);
                CloseHandle(file);
                files[Utf8(found.cFileName)] = data;
            }
        FindClose(search);
        std::string text;
        for (const auto& [name, content] : files)
            text += "<" + name + "|" + content + "> ";
        return text;
    }
    // The index the operation stopped at, -1 when it renamed them all.
    int Run(BOOL (*operation)(const wchar_t* const[], int, const wchar_t*, int*), std::vector<const wchar_t*> names) const
    {
        int failed = -2;
        BOOL done = operation(names.data(), int(names.size()), Wide().c_str(), &failed);
        CHECK(done == (failed == -1));
        return failed;
    }
};
} // namespace

TEST_SUITE("fileorder")
{
    TEST_CASE("a prefix is '[', two digits, ']' and a blank; a new one replaces the old, never cut")
    {
        for (const char* name : {"[01] x.jpg", "[57] 表.jpg", "[99] "})
            CHECK_MESSAGE(HasOrderPrefix(name), name);
        for (const char* name : {"[5] x.jpg", "[05]x.jpg", "［01］ x.jpg", " [01] x.jpg", "[01]"})
            CHECK_MESSAGE(!HasOrderPrefix(name), name);
        char out[11], small[5];
        CHECK((FormatOrderedName(2, "[03] a.jpg", out) && std::string(out) == "[02] a.jpg"));
        CHECK((FormatOrderedName(7, "表.tx", out) && std::string(out) == "[07] 表.tx")); // 10 bytes fit exactly
        CHECK((!FormatOrderedName(7, "a表.tx", out) && out[0] == '\0'));
        CHECK((!FormatOrderedName(100, "x", out) && !FormatOrderedName(0, "x", out)));
        CHECK((GetUnorderedName("[01] abcd", small) && std::string(small) == "abcd"));
        CHECK((!GetUnorderedName("[01] abcde", small) && small[0] == '\0'));
        // the same for the names folders give; a character beyond the basic plane takes two units
        wchar_t wide[12];
        const std::wstring names[] = {L"[03] 😀.jpg", L"😀.text", L"[01] 사진.jpg"};
        const std::string ordered = u8"[12] 😀.jpg", unordered = u8"사진.jpg";
        CHECK((FormatOrderedName(12, names[0].c_str(), wide) && Utf8(wide) == ordered));
        CHECK((!FormatOrderedName(7, names[1].c_str(), wide) && wide[0] == L'\0'));
        CHECK((GetUnorderedName(names[2].c_str(), wide) && Utf8(wide) == unordered && HasOrderPrefix(names[2].c_str())));
    }

    TEST_CASE("apply numbers the files in list order, release takes prefixes off, neither replaces a file")
    {
        const wchar_t* const photo = L"写真😀.jpg";
        const std::string applied = u8"<[01] b.jpg|b.jpg> <[02] a.jpg|[03] a.jpg> <[03] 写真😀.jpg|写真😀.jpg> ";
        Folder apply{L"b.jpg", L"[03] a.jpg", photo};
        CHECK(apply.Run(ApplyFileOrder, {L"b.jpg", L"[03] a.jpg", photo}) == -1);
        CHECK(apply.State() == applied);
        Folder release{L"[01] x.jpg", L"y.jpg", L"[05]w.jpg"};
        CHECK(release.Run(ReleaseFileOrder, {L"[01] x.jpg", L"y.jpg", L"[05]w.jpg"}) == -1);
        CHECK(release.State() == "<[05]w.jpg|[05]w.jpg> <x.jpg|[01] x.jpg> <y.jpg|y.jpg> ");
        // swapped numbers of distinct names swap; a shared name is refused, never merged
        Folder swap{L"[01] a.jpg", L"[02] b.jpg", L"[01] c.jpg", L"c.jpg"};
        CHECK(swap.Run(ApplyFileOrder, {L"[02] b.jpg", L"[01] a.jpg"}) == -1);
        CHECK(swap.Run(ApplyFileOrder, {L"c.jpg", L"[01] c.jpg"}) == 0);
        CHECK(swap.State() == "<[01] b.jpg|[02] b.jpg> <[01] c.jpg|[01] c.jpg> <[02] a.jpg|[01] a.jpg> <c.jpg|c.jpg> ");
    }

    TEST_CASE("a taken name, a vanished or busy file, a gone folder stop the operation there")
    {
        Folder taken{L"x.jpg", L"b.jpg", L"[02] b.jpg", L"c.jpg"};
        CHECK(taken.Run(ApplyFileOrder, {L"x.jpg", L"b.jpg", L"c.jpg"}) == 1);
        CHECK(taken.State() == "<[01] x.jpg|x.jpg> <[02] b.jpg|[02] b.jpg> <b.jpg|b.jpg> <c.jpg|c.jpg> ");
        Folder release{L"[01] p.jpg", L"[02] q.jpg", L"q.jpg", L"[03] r.jpg", L"[05] z.jpg"};
        CHECK(release.Run(ReleaseFileOrder, {L"[01] p.jpg", L"[02] q.jpg", L"[03] r.jpg"}) == 1);
        CHECK(release.Run(ReleaseFileOrder, {L"[04] gone.jpg", L"[05] z.jpg"}) == 0);
        CHECK(release.State() == "<[02] q.jpg|[02] q.jpg> <[03] r.jpg|[03] r.jpg> <[05] z.jpg|[05] z.jpg> <p.jpg|[01] p.jpg> <q.jpg|q.jpg> ");
        // held open by another program without delete sharing
        Folder busy{L"a.jpg", L"b.jpg", L"c.jpg"};
        HANDLE held = CreateFileA((busy.dir + "\\b.jpg").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        CHECK(busy.Run(ApplyFileOrder, {L"c.jpg", L"b.jpg", L"a.jpg"}) == 1);
        CloseHandle(held);
        CHECK(busy.State() == "<[01] c.jpg|c.jpg> <a.jpg|a.jpg> <b.jpg|b.jpg> ");
        // a folder moved away since the names were listed, or none at all: nothing made elsewhere
        Folder moved{L"a.jpg"};
        REQUIRE(MoveFileA(moved.dir.c_str(), (moved.dir + "-away").c_str()));
        CHECK(moved.Run(ApplyFileOrder, {L"a.jpg"}) == 0);
        CHECK(GetFileAttributesA(moved.dir.c_str()) == INVALID_FILE_ATTRIBUTES);
        REQUIRE(MoveFileA((moved.dir + "-away").c_str(), moved.dir.c_str()));
        int failed;
        const wchar_t* names[] = {L"a.jpg"};
        CHECK(ApplyFileOrder(names, 1, L"", &failed) == FALSE);
    }

    TEST_CASE("a numbered path that would not fit renames nothing")
    {
        Folder deep{};
        const std::wstring name = std::wstring(254 - deep.dir.size(), L'n') + L".j"; // 257 units, numbered 262
        deep.Put(name, Utf8(name.c_str()));
        CHECK(deep.Run(ApplyFileOrder, {name.c_str()}) == 0);
        CHECK(deep.State() == "<" + Utf8(name.c_str()) + "|" + Utf8(name.c_str()) + "> ");
    }
}
