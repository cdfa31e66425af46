#include <doctest.h>

#include "settings/fileorder_ops.h"
#include "testutil.h"

#include <map>
#include <string>
#include <vector>

namespace {
using Names = std::vector<const char*>;
using Operation = BOOL (*)(const char* const[], int, const char*, int*);

// Each file holds the name it was created with, so the folder's state "<name|content> ..."
// shows any file lost, overwritten or swapped.
struct Folder : TempDir {
    using TempDir::TempDir;
    Folder(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            Put(name);
    }
    void Put(const std::string& name) const { Write(dir + "\\" + name, name); }
    // "<name|content> " for each file in name order
    std::string State() const
    {
        std::map<std::string, std::string> files;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                files[found.cFileName] = Read(dir + "\\" + found.cFileName);
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
        BOOL done = operation(names.data(), static_cast<int>(names.size()), dir.c_str(), &failed);
        CHECK(done == (failed == -1));
        return failed;
    }
    // as another program holds a file: reading and writing shared, deleting not
    HANDLE Hold(const char* name) const
    {
        HANDLE file = CreateFileA((dir + "\\" + name).c_str(), GENERIC_READ,
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
        Folder folder{"b.jpg", "[03] a.jpg", "表.jpg", "[04] c.jpg"};
        CHECK(folder.Run(ApplyFileOrder, {"b.jpg", "[03] a.jpg", "表.jpg", "[04] c.jpg"}) == -1);
        CHECK(folder.State() == "<[01] b.jpg|b.jpg> <[02] a.jpg|[03] a.jpg> "
                                "<[03] 表.jpg|表.jpg> <[04] c.jpg|[04] c.jpg> ");

        Folder release{"[01] x.jpg", "y.jpg", "[02] z.jpg", "[05]w.jpg"};
        CHECK(release.Run(ReleaseFileOrder, {"[01] x.jpg", "y.jpg", "[02] z.jpg", "[05]w.jpg"}) ==
              -1);
        CHECK(release.State() == "<[05]w.jpg|[05]w.jpg> <x.jpg|[01] x.jpg> <y.jpg|y.jpg> "
                                 "<z.jpg|[02] z.jpg> ");
    }

    TEST_CASE("a taken name stops the operation there: earlier files renamed, later untouched")
    {
        Folder apply{"x.jpg", "b.jpg", "[02] b.jpg", "c.jpg"};
        CHECK(apply.Run(ApplyFileOrder, {"x.jpg", "b.jpg", "c.jpg"}) == 1);
        CHECK(apply.State() == "<[01] x.jpg|x.jpg> <[02] b.jpg|[02] b.jpg> <b.jpg|b.jpg> "
                               "<c.jpg|c.jpg> ");
        Folder release{"[01] p.jpg", "[02] q.jpg", "q.jpg", "[03] r.jpg"};
        CHECK(release.Run(ReleaseFileOrder, {"[01] p.jpg", "[02] q.jpg", "[03] r.jpg"}) == 1);
        CHECK(release.State() == "<[02] q.jpg|[02] q.jpg> <[03] r.jpg|[03] r.jpg> "
                                 "<p.jpg|[01] p.jpg> <q.jpg|q.jpg> ");
    }

    TEST_CASE("swapped numbers: distinct names swap, a shared name is refused, never merged")
    {
        Folder distinct{"[01] a.jpg", "[02] b.jpg"};
        CHECK(distinct.Run(ApplyFileOrder, {"[02] b.jpg", "[01] a.jpg"}) == -1);
        CHECK(distinct.State() == "<[01] b.jpg|[02] b.jpg> <[02] a.jpg|[01] a.jpg> ");

        Folder shared{"[01] a.jpg", "[02] a.jpg", "b.jpg", "[01] b.jpg"};
        const std::string before = shared.State();
        CHECK(shared.Run(ApplyFileOrder, {"[02] a.jpg", "[01] a.jpg"}) == 0);
        CHECK(shared.Run(ApplyFileOrder, {"b.jpg", "[01] b.jpg"}) == 0);
        CHECK(shared.State() == before);
        // in the other order each name moves only onto a free one
        CHECK(shared.Run(ApplyFileOrder, {"[01] b.jpg", "b.jpg"}) == -1);
        CHECK(shared.State() == "<[01] a.jpg|[01] a.jpg> <[01] b.jpg|[01] b.jpg> "
                                "<[02] a.jpg|[02] a.jpg> <[02] b.jpg|b.jpg> ");
    }

    TEST_CASE("a vanished file or one held without delete sharing stops the operation there")
    {
        Folder gone{"a.jpg", "[07] c.jpg"};
        CHECK(gone.Run(ApplyFileOrder, {"a.jpg", "gone.jpg", "[07] c.jpg"}) == 1);
        CHECK(gone.Run(ReleaseFileOrder, {"[01] a.jpg", "[05] gone.jpg", "[07] c.jpg"}) == 1);
        CHECK(gone.State() == "<[07] c.jpg|[07] c.jpg> <a.jpg|a.jpg> ");

        Folder apply{"a.jpg", "b.jpg", "c.jpg"};
        HANDLE held = apply.Hold("b.jpg");
        CHECK(apply.Run(ApplyFileOrder, {"c.jpg", "b.jpg", "a.jpg"}) == 1);
        CloseHandle(held);
        CHECK(apply.State() == "<[01] c.jpg|c.jpg> <a.jpg|a.jpg> <b.jpg|b.jpg> ");

        Folder release{"[01] x.jpg", "[02] y.jpg", "[03] z.jpg"};
        held = release.Hold("[02] y.jpg");
        CHECK(release.Run(ReleaseFileOrder, {"[01] x.jpg", "[02] y.jpg", "[03] z.jpg"}) == 1);
        CloseHandle(held);
        CHECK(release.State() ==
              "<[02] y.jpg|[02] y.jpg> <[03] z.jpg|[03] z.jpg> <x.jpg|[01] x.jpg> ");
    }

    TEST_CASE("a folder gone since the names were listed renames nothing and makes nothing")
    {
        Folder folder{"a.jpg", "[01] b.jpg"};
        const std::string away = folder.dir + "-away";
        REQUIRE(MoveFileA(folder.dir.c_str(), away.c_str()));
        CHECK(folder.Run(ApplyFileOrder, {"a.jpg", "[01] b.jpg"}) == 0);
        CHECK(folder.Run(ReleaseFileOrder, {"[01] b.jpg"}) == 0);
        CHECK(GetFileAttributesA(folder.dir.c_str()) == INVALID_FILE_ATTRIBUTES);
        REQUIRE(MoveFileA(away.c_str(), folder.dir.c_str()));
        CHECK(folder.State() == "<[01] b.jpg|[01] b.jpg> <a.jpg|a.jpg> ");
    }

    TEST_CASE("a path that would not fit or a missing folder renames nothing")
    {
        // the old path takes 257 bytes, the numbered one would take 262
        Folder deep(std::string(120, 'd'));
        const std::string name = std::string(254 - deep.dir.size(), 'n') + ".j";
        deep.Put(name);
        CHECK(deep.Run(ApplyFileOrder, {name.c_str()}) == 0);
        CHECK(deep.State() == "<" + name + "|" + name + "> ");

        // with no folder, "\name" would be a file in the root of the current drive
        char previous[MAX_PATH];
        GetCurrentDirectoryA(sizeof previous, previous);
        REQUIRE(SetCurrentDirectoryA(deep.dir.c_str())); // drive C: of the test prefix
        const std::string root = "\\kpforoot" + std::to_string(GetCurrentProcessId());
        TempDir::Write(root, root);
        int failed;
        const char* names[] = {root.c_str() + 1};
        CHECK(ApplyFileOrder(names, 1, "", &failed) == FALSE);
        CHECK(DeleteFileA(root.c_str()));
        SetCurrentDirectoryA(previous);
    }
}
