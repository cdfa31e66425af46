#include <doctest.h>

#include "settings/pagelogic.h"

#include <stdio.h>
#include <string.h>

#include <string>
#include <utility>

TEST_SUITE("pages")
{
    TEST_CASE("a long text is cut to its field at a character boundary and stays in it")
    {
        EngineSlot slot{};
        lstrcpynA(slot.urlTemplate, "https://example.jp/?q=%s", sizeof slot.urlTemplate);
        CutToField(slot.name, std::string(299, 'n').c_str());
        CHECK(lstrlenA(slot.name) == 99);
        CHECK(std::string(slot.urlTemplate) == "https://example.jp/?q=%s");

        // 表 is 0x95 0x5C: a character that would end past byte 99 is left out whole
        CutToField(slot.name, (std::string(98, 'a') + "表").c_str());
        CHECK(std::string(slot.name) == std::string(98, 'a'));
        CutToField(slot.name, (std::string(97, 'a') + "表").c_str());
        CHECK(std::string(slot.name) == std::string(97, 'a') + "表");

        CutToField(slot.urlTemplate, (std::string(298, 'x') + "ソ").c_str());
        CHECK(lstrlenA(slot.urlTemplate) == 298);
    }

    TEST_CASE("a path or command is taken whole or not at all")
    {
        TourDestination destination{};
        const std::string fits = "C:\\" + std::string(250, 'p') + "\\*.jpg"; // 259 bytes
        CHECK(StoreWhole(destination.pathPattern, fits.c_str()));
        CHECK(std::string(destination.pathPattern) == fits);

        // one byte more would have to be cut, and a cut pattern names other files
        const std::string tooLong = "C:\\" + std::string(251, 'p') + "\\*.jpg";
        CHECK_FALSE(StoreWhole(destination.pathPattern, tooLong.c_str()));
        CHECK(std::string(destination.pathPattern) == fits);
        CHECK_FALSE(StoreWhole(destination.viewerCommand, tooLong.c_str()));
        CHECK(destination.viewerCommand[0] == '\0');
    }

    TEST_CASE("a start slot or stored value outside the list selects nothing")
    {
        for (int index : {0, 29})
            CHECK(IndexOrNone(index, TourSlotCount) == index);
        // -1 is slot 0, the tour bar before any tour; a kind of 4 is a damaged INPUTPATH
        for (int index : {-1, 30, CB_ERR})
            CHECK(IndexOrNone(index, TourSlotCount) == -1);
        CHECK(IndexOrNone(4, TourKindCount) == -1);
        // an engine's code: UTF-8 is 1 only; a damaged value means Shift-JIS, as before the key
        CHECK(EngineCodeOf("1") == EngineUtf8);
        for (const char* value : {"", "0", "2", "-1", "abc", "4294967297"})
            CHECK(EngineCodeOf(value) == EngineShiftJis);
    }

    TEST_CASE("moving exchanges whole records with the neighbour and never past an end")
    {
        TourDestination copy[TourSlotCount];
        std::string start;
        for (int i = 0; i < TourSlotCount; i++) {
            memset(&copy[i], 'A' + i, sizeof copy[i]);
            start += static_cast<char>('A' + i);
        }
        // each record's letter, or '?' for one that is no longer whole
        auto letters = [&copy] {
            std::string text;
            for (const TourDestination& record : copy) {
                const std::string bytes(reinterpret_cast<const char*>(&record), sizeof record);
                text += bytes.find_first_not_of(bytes[0]) == std::string::npos ? bytes[0] : '?';
            }
            return text;
        };
        const int size = sizeof(TourDestination);
        CHECK(MoveRecord(copy, size, TourSlotCount, 2, -1) == 1); // slot 3 up
        CHECK(letters() == "ACB" + start.substr(3));
        CHECK(MoveRecord(copy, size, TourSlotCount, 1, 1) == 2); // and back down
        CHECK(letters() == start);

        CHECK(MoveRecord(copy, size, TourSlotCount, 0, -1) == -1);
        CHECK(MoveRecord(copy, size, TourSlotCount, 29, 1) == -1);
        CHECK(MoveRecord(copy, size, TourSlotCount, -1, 1) == -1); // nothing selected
        CHECK(letters() == start);

        // pressing down again and again walks the first record to the end, one place a time
        int at = 0;
        for (int next; (next = MoveRecord(copy, size, TourSlotCount, at, 1)) >= 0;)
            at = next;
        CHECK(at == 29);
        CHECK(letters() == start.substr(1) + "A");
    }

    TEST_CASE("clearing empties the selected record only")
    {
        EngineSlot copy[EngineCount];
        memset(copy, 'e', sizeof copy);
        CHECK(ClearRecord(copy, sizeof(EngineSlot), EngineCount, 4));
        CHECK_FALSE(ClearRecord(copy, sizeof(EngineSlot), EngineCount, -1));
        CHECK_FALSE(ClearRecord(copy, sizeof(EngineSlot), EngineCount, EngineCount));
        std::string expected(sizeof copy, 'e');
        expected.replace(4 * sizeof(EngineSlot), sizeof(EngineSlot), sizeof(EngineSlot), '\0');
        CHECK(std::string(reinterpret_cast<const char*>(copy), sizeof copy) == expected);
    }

    TEST_CASE("a chosen file becomes its folder, a star and its name's extension")
    {
        const std::pair<const char*, const char*> cases[] = {
            {"C:\\Pics\\a.jpg", "C:\\Pics\\*.jpg"},
            {"D:\\Photo\\2004\\img001.JPG", "D:\\Photo\\2004\\*.JPG"},
            {"C:\\Pics\\README", "C:\\Pics\\*"},
            {"C:\\v1.2\\README", "C:\\v1.2\\*"}, // a dot in a folder's name is no extension
            {"C:\\表\\ソ.bmp", "C:\\表\\*.bmp"}, // trail bytes 0x5C are no separators
            {"C:\\写真\\ソ", "C:\\写真\\*"},
        };
        char pattern[PathSize];
        for (auto [file, expected] : cases) {
            CHECK(BuildPathPattern(file, pattern, sizeof pattern));
            CHECK(std::string(pattern) == expected);
        }
        char small[10];
        CHECK_FALSE(BuildPathPattern("C:\\Pictures\\a.jpg", small, sizeof small));
        CHECK(small[0] == '\0');
    }

    TEST_CASE("a chosen program becomes a command that formats to the program and the file")
    {
        char command[PathSize];
        CHECK(BuildViewerCommand("D:\\Tools\\viewer.exe", command, sizeof command));
        CHECK(std::string(command) == "D:\\Tools\\viewer.exe \"%s\"");

        // the command is a format: a percent sign of the path must come out as itself
        CHECK(BuildViewerCommand("C:\\100%\\表示.exe", command, sizeof command));
        CHECK(std::string(command) == "C:\\100%%\\表示.exe \"%s\"");
        char line[PathSize * 2];
        snprintf(line, sizeof line, command, "C:\\a.jpg");
        CHECK(std::string(line) == "C:\\100%\\表示.exe \"C:\\a.jpg\"");

        // 254 bytes of path and the 5 of the argument fill the field; one more does not fit
        const std::string longest = "C:\\" + std::string(247, 'p') + ".exe";
        CHECK(BuildViewerCommand(longest.c_str(), command, sizeof command));
        CHECK(lstrlenA(command) == 259);
        CHECK_FALSE(BuildViewerCommand((longest + "x").c_str(), command, sizeof command));
        CHECK(command[0] == '\0');
        CHECK_FALSE(BuildViewerCommand((std::string(254, 'p') + "%").c_str(), command,
                                       sizeof command));
    }

    TEST_CASE("the order dialog's folder is the pattern's, and a too long pattern gives none")
    {
        char folder[PathSize];
        CHECK(PatternFolder("C:\\Pics\\*.jpg", folder, sizeof folder));
        CHECK(std::string(folder) == "C:\\Pics");
        const std::string tooLong = "C:\\" + std::string(300, 'p') + "\\*.jpg";
        CHECK_FALSE(PatternFolder(tooLong.c_str(), folder, sizeof folder));
        CHECK(folder[0] == '\0');
    }
}
