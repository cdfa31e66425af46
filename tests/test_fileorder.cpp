#include <doctest.h>

#include "app/textconv.h"
#include "settings/fileorder_ops.h"
#include "testutil.h"

#include <map>
#include <string>
#include <vector>

namespace {
using Names = std::vector<const wchar_t*>;
using Operation = BOOL (*)(const wchar_t* const[], int, const wchar_t*, int*);

std::string Utf8(const std::wstring& text)
{
    char out[4 * MAX_PATH];
    WideToUtf8(text.c_str(), out);
    return out;
}

// Each file holds its UTF-8 name as it was created, so the folder's state "<name|content> ..."
// shows any file lost, overwritten or swapped.
struct Folder : TempDir {
    using TempDir::TempDir;
    Folder(std::initializer_list<const wchar_t*> names)
    {
        for (const wchar_t* name : names)
            Put(name);
    }
    std::wstring Wide() const
    {
        wchar_t wide[MAX_PATH];
        AnsiToWide(dir.c_str(), wide);
        return wide;
    }
    std::wstring Path(const std::wstring& name) const { return Wide() + L"\\" + name; }
    void Put(const std::wstring& name) const
    {
        HANDLE file = CreateFileW(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  0, nullptr);
        REQUIRE(file != INVALID_HANDLE_VALUE);
        const std::string content = Utf8(name);
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
    }
    // "<name|content> " for each file in name order, in UTF-8
    std::string State() const
    {
        std::map<std::string, std::string> files;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW(Path(L"*").c_str(), &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileW(search, &found)) {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            HANDLE file = CreateFileW(Path(found.cFileName).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      0, nullptr);
            char content[4 * MAX_PATH] = "";
            DWORD read = 0;
            ReadFile(file, content, sizeof content - 1, &read, nullptr);
            CloseHandle(file);
            files[Utf8(found.cFileName)] = std::string(content, read);
        }
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        std::string text;
        for (const auto& [name, content] : files)
            text += "<" + name + "|" + content + "> ";
        return text;
    }
    // Runs the operation; gives the index it stopped at (-1: done) and checks the result.
    int Run(Operation operation, const Names& names) const
    {
        int failed = -2;
        BOOL done = operation(names.data(), static_cast<int>(names.size()), Wide().c_str(),
                              &failed);
        CHECK(done == (failed == -1));
        return failed;
    }
    // as another program holds a file: reading and writing shared, deleting not
    HANDLE Hold(const wchar_t* name) const
    {
        HANDLE file = CreateFileW(Path(name).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                  nullptr);
        REQUIRE(file != INVALID_HANDLE_VALUE);
        return file;
    }
};
} // namespace

TEST_SUITE("fileorder")
{
    TEST_CASE("apply numbers the files in list order; release takes prefixes off")
    {
        Folder folder{L"b.jpg", L"[03] a.jpg", L"表.jpg", L"[04] c.jpg"};
        CHECK(folder.Run(ApplyFileOrder, {L"b.jpg", L"[03] a.jpg", L"表.jpg", L"[04] c.jpg"})
              == -1);
        CHECK(folder.State() == u8"<[01] b.jpg|b.jpg> <[02] a.jpg|[03] a.jpg> "
                                u8"<[03] 表.jpg|表.jpg> <[04] c.jpg|[04] c.jpg> ");

        // names beyond code page 932 keep every character; "cafe.jpg" is what the ANSI
        // listing made of "café.jpg"
        Folder beyond{L"写真😀.jpg", L"café.jpg", L"cafe.jpg", L"사진.jpg"};
        const std::string unordered = beyond.State();
        const Names listed = {L"café.jpg", L"写真😀.jpg", L"사진.jpg"};
        const Names numbered = {L"[01] café.jpg", L"[02] 写真😀.jpg", L"[03] 사진.jpg"};
        const std::string state = u8"<[01] café.jpg|café.jpg> <[02] 写真😀.jpg|写真😀.jpg> "
                                  u8"<[03] 사진.jpg|사진.jpg> <cafe.jpg|cafe.jpg> ";
        CHECK(beyond.Run(ApplyFileOrder, listed) == -1);
        CHECK(beyond.State() == state);
        CHECK(beyond.Run(ReleaseFileOrder, numbered) == -1);
        CHECK(beyond.State() == unordered);

        Folder release{L"[01] x.jpg", L"y.jpg", L"[02] z.jpg", L"[05]w.jpg"};
        CHECK(release.Run(ReleaseFileOrder, {L"[01] x.jpg", L"y.jpg", L"[02] z.jpg", L"[05]w.jpg"})
              == -1);
        CHECK(release.State() == "<[05]w.jpg|[05]w.jpg> <x.jpg|[01] x.jpg> <y.jpg|y.jpg> "
                                 "<z.jpg|[02] z.jpg> ");
    }

    TEST_CASE("a taken name stops the operation there: earlier files renamed, later untouched")
    {
        Folder apply{L"x.jpg", L"b.jpg", L"[02] b.jpg", L"c.jpg"};
        CHECK(apply.Run(ApplyFileOrder, {L"x.jpg", L"b.jpg", L"c.jpg"}) == 1);
        CHECK(apply.State() == "<[01] x.jpg|x.jpg> <[02] b.jpg|[02] b.jpg> <b.jpg|b.jpg> "
                               "<c.jpg|c.jpg> ");
        Folder release{L"[01] p.jpg", L"[02] q.jpg", L"q.jpg", L"[03] r.jpg"};
        CHECK(release.Run(ReleaseFileOrder, {L"[01] p.jpg", L"[02] q.jpg", L"[03] r.jpg"}) == 1);
        CHECK(release.State() == "<[02] q.jpg|[02] q.jpg> <[03] r.jpg|[03] r.jpg> "
                                 "<p.jpg|[01] p.jpg> <q.jpg|q.jpg> ");
    }

    TEST_CASE("swapped numbers: distinct names swap, a shared name is refused, never merged")
    {
        Folder distinct{L"[01] a.jpg", L"[02] b.jpg"};
        CHECK(distinct.Run(ApplyFileOrder, {L"[02] b.jpg", L"[01] a.jpg"}) == -1);
        CHECK(distinct.State() == "<[01] b.jpg|[02] b.jpg> <[02] a.jpg|[01] a.jpg> ");

        Folder shared{L"[01] a.jpg", L"[02] a.jpg", L"b.jpg", L"[01] b.jpg"};
        const std::string before = shared.State();
        CHECK(shared.Run(ApplyFileOrder, {L"[02] a.jpg", L"[01] a.jpg"}) == 0);
        CHECK(shared.Run(ApplyFileOrder, {L"b.jpg", L"[01] b.jpg"}) == 0);
        CHECK(shared.State() == before);
        // in the other order each name moves only onto a free one
        CHECK(shared.Run(ApplyFileOrder, {L"[01] b.jpg", L"b.jpg"}) == -1);
        CHECK(shared.State() == "<[01] a.jpg|[01] a.jpg> <[01] b.jpg|[01] b.jpg> "
                                "<[02] a.jpg|[02] a.jpg> <[02] b.jpg|b.jpg> ");
    }

    TEST_CASE("a vanished file or one held without delete sharing stops the operation there")
    {
        Folder gone{L"a.jpg", L"[07] c.jpg"};
        CHECK(gone.Run(ApplyFileOrder, {L"a.jpg", L"gone.jpg", L"[07] c.jpg"}) == 1);
        CHECK(gone.Run(ReleaseFileOrder, {L"[01] a.jpg", L"[05] gone.jpg", L"[07] c.jpg"}) == 1);
        CHECK(gone.State() == "<[07] c.jpg|[07] c.jpg> <a.jpg|a.jpg> ");

        Folder apply{L"a.jpg", L"b.jpg", L"c.jpg"};
        HANDLE held = apply.Hold(L"b.jpg");
        CHECK(apply.Run(ApplyFileOrder, {L"c.jpg", L"b.jpg", L"a.jpg"}) == 1);
        CloseHandle(held);
        CHECK(apply.State() == "<[01] c.jpg|c.jpg> <a.jpg|a.jpg> <b.jpg|b.jpg> ");

        Folder release{L"[01] x.jpg", L"[02] y.jpg", L"[03] z.jpg"};
        held = release.Hold(L"[02] y.jpg");
        CHECK(release.Run(ReleaseFileOrder, {L"[01] x.jpg", L"[02] y.jpg", L"[03] z.jpg"}) == 1);
        CloseHandle(held);
        CHECK(release.State() ==
              "<[02] y.jpg|[02] y.jpg> <[03] z.jpg|[03] z.jpg> <x.jpg|[01] x.jpg> ");
    }

    TEST_CASE("a folder gone since the names were listed renames nothing and makes nothing")
    {
        Folder folder{L"a.jpg", L"[01] b.jpg"};
        const std::string away = folder.dir + "-away";
        REQUIRE(MoveFileA(folder.dir.c_str(), away.c_str()));
        CHECK(folder.Run(ApplyFileOrder, {L"a.jpg", L"[01] b.jpg"}) == 0);
        CHECK(folder.Run(ReleaseFileOrder, {L"[01] b.jpg"}) == 0);
        CHECK(GetFileAttributesA(folder.dir.c_str()) == INVALID_FILE_ATTRIBUTES);
        REQUIRE(MoveFileA(away.c_str(), folder.dir.c_str()));
        CHECK(folder.State() == "<[01] b.jpg|[01] b.jpg> <a.jpg|a.jpg> ");
    }

    TEST_CASE("a path that would not fit or a missing folder renames nothing")
    {
        // the old path takes 257 bytes, the numbered one would take 262
        Folder deep(std::string(120, 'd'));
        const std::wstring name = std::wstring(254 - deep.dir.size(), L'n') + L".j";
        deep.Put(name);
        CHECK(deep.Run(ApplyFileOrder, {name.c_str()}) == 0);
        CHECK(deep.State() == "<" + Utf8(name) + "|" + Utf8(name) + "> ");

        // with no folder, "\name" would be a file in the root of the current drive
        char previous[MAX_PATH];
        GetCurrentDirectoryA(sizeof previous, previous);
        REQUIRE(SetCurrentDirectoryA(deep.dir.c_str())); // drive C: of the test prefix
        const std::string root = "\\kpforoot" + std::to_string(GetCurrentProcessId());
        TempDir::Write(root, root);
        int failed;
        const std::wstring leaf(root.begin() + 1, root.end());
        const wchar_t* names[] = {leaf.c_str()};
        CHECK(ApplyFileOrder(names, 1, L"", &failed) == FALSE);
        CHECK(DeleteFileA(root.c_str()));
        SetCurrentDirectoryA(previous);
    }
}
