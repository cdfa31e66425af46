#include <doctest.h>

#include "app/settings.h"
#include "settings/options.h"
#include "settings/pagelogic.h"

#include <string>
#include <utility>

TEST_SUITE("pages")
{
    TEST_CASE("a text is cut to its field at a character boundary; a path is taken whole or not at all")
    {
        EngineSlot slot{};
        lstrcpynA(slot.urlTemplate, "https://example.jp/?q=%s", sizeof slot.urlTemplate);
        CutToField(slot.name, std::string(299, 'n').c_str());
        CHECK((lstrlenA(slot.name) == 99 && std::string(slot.urlTemplate) == "https://example.jp/?q=%s"));
        CutToField(slot.name, (std::string(98, 'a') + "表").c_str()); // 表 would end past byte 99
        CHECK(std::string(slot.name) == std::string(98, 'a'));
        CutToField(slot.name, (std::string(97, 'a') + "表").c_str());
        CHECK(std::string(slot.name) == std::string(97, 'a') + "表");
        TourDestination destination{};
        const std::string fits = "C:\\" + std::string(250, 'p') + "\\*.jpg"; // 259 bytes
        CHECK((StoreWhole(destination.pathPattern, fits.c_str()) && destination.pathPattern == fits));
        CHECK((!StoreWhole(destination.pathPattern, (fits + "x").c_str()) && destination.pathPattern == fits));
        // an engine's code: UTF-8 is 1 only; a damaged value means Shift-JIS, as before the key
        CHECK(EngineCodeOf("1") == EngineUtf8);
        for (const char* value : {"", "0", "2", "-1", "abc", "4294967297"})
            CHECK(EngineCodeOf(value) == EngineShiftJis);
    }

    TEST_CASE("a chosen file becomes its folder, a star and its extension; a program a command of its path")
    {
        const std::pair<const char*, const char*> cases[] = {
            {"C:\\Pics\\a.jpg", "C:\\Pics\\*.jpg"}, {"C:\\v1.2\\README", "C:\\v1.2\\*"}, {"C:\\表\\ソ.bmp", "C:\\表\\*.bmp"}};
        char pattern[PathSize], small[10], command[PathSize], folder[PathSize];
        for (auto [file, expected] : cases)
            CHECK((BuildPathPattern(file, pattern, sizeof pattern) && std::string(pattern) == expected));
        CHECK((!BuildPathPattern("C:\\Pictures\\a.jpg", small, sizeof small) && small[0] == '\0'));
        // the command is a format: a percent sign of the path must come out as itself
        CHECK((BuildViewerCommand("C:\\100%\\表示.exe", command, sizeof command)
               && std::string(command) == "C:\\100%%\\表示.exe \"%s\""));
        const std::string longest = "C:\\" + std::string(247, 'p') + ".exe"; // with " \"%s\"" 259 bytes
        CHECK((BuildViewerCommand(longest.c_str(), command, sizeof command) && lstrlenA(command) == 259));
        CHECK((!BuildViewerCommand((longest + "x").c_str(), command, sizeof command) && command[0] == '\0'));
        CHECK((PatternFolder("C:\\Pics\\*.jpg", folder, sizeof folder) && std::string(folder) == "C:\\Pics"));
        CHECK((!PatternFolder(("C:\\" + std::string(300, 'p') + "\\*.jpg").c_str(), folder, sizeof folder) && !*folder));
    }
}
