#include "e2e.h"

#include <shellapi.h>

using namespace e2e;

namespace {

bool Open(const std::string& address)
{
    return reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", address.c_str(), nullptr,
                                                   nullptr, SW_SHOWNORMAL)) > 32;
}

} // namespace

TEST_CASE("the shell hands http and https addresses to the recorder unchanged")
{
    Program rig(ResidentIni().Text());
    const std::string plain = "http://one.test/search?q=abc%20%8c%9f&x=1";
    const std::string secure = "https://two.test/images?q=%41%%&hl=ja";
    REQUIRE(Open(plain));
    REQUIRE(rig.WaitOpened(1));
    REQUIRE(Open(secure));
    REQUIRE(rig.WaitOpened(2));
    auto opened = rig.Opened();
    REQUIRE(opened.size() == 2);
    CHECK(opened[0] == plain);
    CHECK(opened[1] == secure);
}

// Wine 8 forms the handler's command line in 1,024 characters: beyond that the address is
// lost, and a little further the calling process crashes. Windows has no such limit.
TEST_CASE("the shell passes long addresses whole")
{
    Program rig(ResidentIni().Text());
    size_t count = 0;
    for (size_t length : {299u, 900u}) {
        std::string address = "http://long.test/?q=";
        address += std::string(length - address.size(), 'a');
        INFO("length " << length);
        REQUIRE(Open(address));
        REQUIRE(rig.WaitOpened(++count));
        CHECK(rig.Opened().back() == address);
    }
}
