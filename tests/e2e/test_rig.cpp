#include "e2e.h"

#include <shellapi.h>

using namespace e2e;

// Wine 8 forms the handler's command line in 1,024 characters: beyond that the address is
// lost, and a little further the calling process crashes. Windows has no such limit.
TEST_CASE("the shell hands http and https addresses to the recorder unchanged and whole")
{
    Program rig(ResidentIni().Text());
    std::vector<std::string> addresses = {"http://one.test/search?q=abc%20%8c%9f&x=1",
                                          "https://two.test/images?q=%41%%&hl=ja"};
    for (size_t length : {299u, 900u})
        addresses.push_back("http://long.test/?q=" + std::string(length - 20, 'a'));
    for (size_t n = 0; n < addresses.size(); ++n) {
        INFO(addresses[n]);
        REQUIRE(reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", addresses[n].c_str(),
                                                        nullptr, nullptr, SW_SHOWNORMAL)) > 32);
        REQUIRE(rig.WaitOpened(n + 1));
    }
    CHECK(rig.Opened() == addresses);
}
