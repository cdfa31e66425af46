#include "e2e.h"

using namespace e2e;

namespace {

// The program as Windows 10 starts it on another system locale, which ignores the manifest's
// code page: its copy gets a manifest without one (Wine does not delete resources). windres
// files every resource under US English.
bool DropCodePage(const std::string& exe)
{
    static const char manifest[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
        "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\"/>";
    HANDLE update = BeginUpdateResourceA(exe.c_str(), FALSE);
    if (!update)
        return false;
    BOOL replaced = UpdateResourceA(update, RT_MANIFEST, MAKEINTRESOURCEA(1),
                                    MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                                    const_cast<char*>(manifest), sizeof manifest - 1);
    return EndUpdateResourceA(update, !replaced) && replaced;
}

// The code page of the system's locale, which Wine takes from the test run's.
std::string SystemCodePage()
{
    char value[16] = "";
    DWORD size = sizeof value;
    RegGetValueA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Nls\\CodePage", "ACP",
                 RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}

} // namespace

TEST_CASE("without code page 932 the program says what it needs and writes nothing")
{
    if (SystemCodePage() == "932") {
        MESSAGE("the test run's locale is Japanese: the program gets code page 932 anyway");
        return;
    }
    // a first run: it would write the defaults' engines and its logon entry at once
    Program program("");
    REQUIRE(DropCodePage(program.ExePath()));
    REQUIRE(program.Start());
    const std::string text = program.AnswerMessage();
    for (const char* part : {"932", "日本語 (日本)", "Japanese (Japan)", "Windows 11"})
        CHECK(text.find(part) != std::string::npos);
    DWORD code = 99;
    REQUIRE(program.WaitExit(code));
    CHECK(code == 0);
    std::string settings = "<unread>";
    CHECK(ReadFileText(program.Folder() + "\\kirapick.ini", settings));
    CHECK(settings.empty());
    CHECK(RunonceValue("kirapick.exe") != program.ExePath());
}
