#include <doctest.h>

#include "settings/fileorder_names.h"
#include "settings/fileorder_ops.h"
#include "testutil.h"

#include <map>
#include <string>
#include <vector>

namespace {
// Each file holds the name it was created with, so that "<name|what it holds> ..." shows any
// file lost, overwritten or swapped.
struct Folder : TempDir {
    Folder(std::initializer_list<const char*> names)
    {
        for (const char* name : names)
            Write(dir + "\\" + name, name);
    }
    std::string State() const
    {
        std::map<std::string, std::string> files;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
        for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                files[found.cFileName] = Read(dir + "\\" + found.cFileName);
        FindClose(search);
        std::string text;
        for (const auto& [name, content] : files)
            text += "<" + name + "|" + content + "> ";
        return text;
    }
    // The index the operation stopped at, -1 when it renamed them all.
    int Run(BOOL (*operation)(const char* const[], int, const char*, int*), std::vector<const char*> names) const
    {
        int failed = -2;
        BOOL done = operation(names.data(), int(names.size()), dir.c_str(), &failed);
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
    }

    TEST_CASE("apply numbers the files in list order, release takes prefixes off, neither replaces a file")
    {
        Folder apply{"b.jpg", "[03] a.jpg", "表.jpg"};
        CHECK(apply.Run(ApplyFileOrder, {"b.jpg", "[03] a.jpg", "表.jpg"}) == -1);
        CHECK(apply.State() == "<[01] b.jpg|b.jpg> <[02] a.jpg|[03] a.jpg> <[03] 表.jpg|表.jpg> ");
        Folder release{"[01] x.jpg", "y.jpg", "[05]w.jpg"};
        CHECK(release.Run(ReleaseFileOrder, {"[01] x.jpg", "y.jpg", "[05]w.jpg"}) == -1);
        CHECK(release.State() == "<[05]w.jpg|[05]w.jpg> <x.jpg|[01] x.jpg> <y.jpg|y.jpg> ");
        // swapped numbers of distinct names swap; a shared name is refused, never merged
        Folder swap{"[01] a.jpg", "[02] b.jpg", "[01] c.jpg", "c.jpg"};
        CHECK(swap.Run(ApplyFileOrder, {"[02] b.jpg", "[01] a.jpg"}) == -1);
        CHECK(swap.Run(ApplyFileOrder, {"c.jpg", "[01] c.jpg"}) == 0);
        CHECK(swap.State() == "<[01] b.jpg|[02] b.jpg> <[01] c.jpg|[01] c.jpg> <[02] a.jpg|[01] a.jpg> <c.jpg|c.jpg> ");
    }

    TEST_CASE("a taken name, a vanished or busy file, a gone folder stop the operation there")
    {
        Folder taken{"x.jpg", "b.jpg", "[02] b.jpg", "c.jpg"};
        CHECK(taken.Run(ApplyFileOrder, {"x.jpg", "b.jpg", "c.jpg"}) == 1);
        CHECK(taken.State() == "<[01] x.jpg|x.jpg> <[02] b.jpg|[02] b.jpg> <b.jpg|b.jpg> <c.jpg|c.jpg> ");
        Folder release{"[01] p.jpg", "[02] q.jpg", "q.jpg", "[03] r.jpg", "[05] z.jpg"};
        CHECK(release.Run(ReleaseFileOrder, {"[01] p.jpg", "[02] q.jpg", "[03] r.jpg"}) == 1);
        CHECK(release.Run(ReleaseFileOrder, {"[04] gone.jpg", "[05] z.jpg"}) == 0);
        CHECK(release.State() == "<[02] q.jpg|[02] q.jpg> <[03] r.jpg|[03] r.jpg> <[05] z.jpg|[05] z.jpg> <p.jpg|[01] p.jpg> <q.jpg|q.jpg> ");
        // held open by another program without delete sharing
        Folder busy{"a.jpg", "b.jpg", "c.jpg"};
        HANDLE held = CreateFileA((busy.dir + "\\b.jpg").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        CHECK(busy.Run(ApplyFileOrder, {"c.jpg", "b.jpg", "a.jpg"}) == 1);
        CloseHandle(held);
        CHECK(busy.State() == "<[01] c.jpg|c.jpg> <a.jpg|a.jpg> <b.jpg|b.jpg> ");
        // a folder moved away since the names were listed, or none at all: nothing made elsewhere
        Folder moved{"a.jpg"};
        REQUIRE(MoveFileA(moved.dir.c_str(), (moved.dir + "-away").c_str()));
        CHECK(moved.Run(ApplyFileOrder, {"a.jpg"}) == 0);
        CHECK(GetFileAttributesA(moved.dir.c_str()) == INVALID_FILE_ATTRIBUTES);
        REQUIRE(MoveFileA((moved.dir + "-away").c_str(), moved.dir.c_str()));
        int failed;
        const char* names[] = {"a.jpg"};
        CHECK(ApplyFileOrder(names, 1, "", &failed) == FALSE);
    }

    TEST_CASE("a numbered path that would not fit renames nothing")
    {
        Folder deep{};
        const std::string name = std::string(254 - deep.dir.size(), 'n') + ".j"; // 257 bytes, numbered 262
        TempDir::Write(deep.dir + "\\" + name, name);
        CHECK(deep.Run(ApplyFileOrder, {name.c_str()}) == 0);
        CHECK(deep.State() == "<" + name + "|" + name + "> ");
    }
}
