#include <doctest.h>

#include "settings/pagelogic.h"

#include <stdio.h>
#include <string.h>

#include <string>

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

        TourDestination destination{};
        lstrcpynA(destination.viewerCommand, "C:\\v.exe \"%s\"", sizeof destination.viewerCommand);
        CutToField(destination.extFilter, std::string(500, '.').c_str());
        CHECK(lstrlenA(destination.extFilter) == 99);
        CHECK(std::string(destination.viewerCommand) == "C:\\v.exe \"%s\"");
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
        CHECK(IndexOrNone(1 - 1, TourSlotCount) == 0);
        CHECK(IndexOrNone(5 - 1, TourSlotCount) == 4);
        CHECK(IndexOrNone(30 - 1, TourSlotCount) == 29);
        CHECK(IndexOrNone(0 - 1, TourSlotCount) == -1); // the tour bar before any tour
        CHECK(IndexOrNone(31 - 1, TourSlotCount) == -1);
        CHECK(IndexOrNone(4, TourKindCount) == -1); // a damaged INPUTPATH
        CHECK(IndexOrNone(CB_ERR, TourKindCount) == -1);
    }

    TEST_CASE("moving exchanges whole records with the neighbour and never past an end")
    {
        TourDestination copy[TourSlotCount]{};
        for (int i = 0; i < TourSlotCount; i++) {
            snprintf(copy[i].name, sizeof copy[i].name, "dest%d", i + 1);
            snprintf(copy[i].pathPattern, sizeof copy[i].pathPattern, "C:\\d%d\\*.*", i + 1);
            copy[i].kind = i % TourKindCount;
            copy[i].orderBy = i % 6;
            snprintf(copy[i].extFilter, sizeof copy[i].extFilter, ".e%d;", i + 1);
            snprintf(copy[i].viewerCommand, sizeof copy[i].viewerCommand, "v%d \"%%s\"", i + 1);
        }
        TourDestination before[TourSlotCount];
        memcpy(before, copy, sizeof copy);
        const int size = sizeof(TourDestination);

        CHECK(MoveRecord(copy, size, TourSlotCount, 2, -1) == 1); // slot 3 up
        CHECK(memcmp(&copy[1], &before[2], size) == 0);
        CHECK(memcmp(&copy[2], &before[1], size) == 0);
        CHECK(MoveRecord(copy, size, TourSlotCount, 1, 1) == 2); // and back down
        CHECK(memcmp(copy, before, sizeof copy) == 0);

        CHECK(MoveRecord(copy, size, TourSlotCount, 0, -1) == -1);
        CHECK(MoveRecord(copy, size, TourSlotCount, 29, 1) == -1);
        CHECK(MoveRecord(copy, size, TourSlotCount, -1, 1) == -1); // nothing selected
        CHECK(memcmp(copy, before, sizeof copy) == 0);

        // pressing down again and again walks the first record to the end, one place a time
        int at = 0;
        for (int next; (next = MoveRecord(copy, size, TourSlotCount, at, 1)) >= 0;)
            at = next;
        CHECK(at == 29);
        CHECK(memcmp(&copy[29], &before[0], size) == 0);
        CHECK(memcmp(&copy[0], &before[1], size) == 0);
        CHECK(memcmp(&copy[28], &before[29], size) == 0);
    }

    TEST_CASE("clearing empties the selected record only")
    {
        EngineSlot copy[EngineCount]{};
        for (EngineSlot& slot : copy) {
            lstrcpynA(slot.name, "name", sizeof slot.name);
            lstrcpynA(slot.urlTemplate, "url %s", sizeof slot.urlTemplate);
        }
        CHECK(ClearRecord(copy, sizeof(EngineSlot), EngineCount, 4));
        const EngineSlot empty{};
        CHECK(memcmp(&copy[4], &empty, sizeof empty) == 0);
        CHECK(std::string(copy[3].urlTemplate) == "url %s");
        CHECK(std::string(copy[5].name) == "name");
        CHECK_FALSE(ClearRecord(copy, sizeof(EngineSlot), EngineCount, -1));
        CHECK_FALSE(ClearRecord(copy, sizeof(EngineSlot), EngineCount, EngineCount));
    }

    TEST_CASE("list entries show the function key or a dash for an empty name")
    {
        char entry[NameSize + 16];
        ComposeEngineLabel(3, "Google ウェブ検索", entry, sizeof entry);
        CHECK(std::string(entry) == "[F3] Google ウェブ検索");
        ComposeEngineLabel(12, "", entry, sizeof entry);
        CHECK(std::string(entry) == "[F12] ");
        // the longest name still fits the entry whole
        ComposeEngineLabel(12, std::string(99, 'n').c_str(), entry, sizeof entry);
        CHECK(lstrlenA(entry) == 6 + 99);

        ComposeDestinationEntry("", entry, sizeof entry);
        CHECK(std::string(entry) == "-");
        ComposeDestinationEntry("写真", entry, sizeof entry);
        CHECK(std::string(entry) == "写真");
    }

    TEST_CASE("a chosen file becomes its folder, a star and its name's extension")
    {
        char pattern[PathSize];
        CHECK(BuildPathPattern("C:\\Pics\\a.jpg", pattern, sizeof pattern));
        CHECK(std::string(pattern) == "C:\\Pics\\*.jpg");
        CHECK(BuildPathPattern("D:\\Photo\\2004\\img001.JPG", pattern, sizeof pattern));
        CHECK(std::string(pattern) == "D:\\Photo\\2004\\*.JPG");
        CHECK(BuildPathPattern("C:\\Pics\\README", pattern, sizeof pattern));
        CHECK(std::string(pattern) == "C:\\Pics\\*");
        // a dot in a folder's name is not the file's extension
        CHECK(BuildPathPattern("C:\\v1.2\\README", pattern, sizeof pattern));
        CHECK(std::string(pattern) == "C:\\v1.2\\*");
        // trail bytes 0x5C (表, ソ) are no separators
        CHECK(BuildPathPattern("C:\\表\\ソ.bmp", pattern, sizeof pattern));
        CHECK(std::string(pattern) == "C:\\表\\*.bmp");
        CHECK(BuildPathPattern("C:\\写真\\ソ", pattern, sizeof pattern));
        CHECK(std::string(pattern) == "C:\\写真\\*");

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
        CHECK(PatternFolder("C:\\表\\*.*", folder, sizeof folder));
        CHECK(std::string(folder) == "C:\\表");
        const std::string tooLong = "C:\\" + std::string(300, 'p') + "\\*.jpg";
        CHECK_FALSE(PatternFolder(tooLong.c_str(), folder, sizeof folder));
        CHECK(folder[0] == '\0');
    }
}
