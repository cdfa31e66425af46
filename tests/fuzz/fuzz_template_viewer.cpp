// ExpandTemplate as the tour bar fills a viewer command with a file's path (any bytes, '%'
// included), and the command the destinations page builds for a program: filled in, it gives
// back the program's path and the file's path in quotes.
#include "template_reference.h"

#include "app/textpath.h"
#include "settings/pagelogic.h"

namespace {
constexpr int ViewerLineSize = 1000; // the tour bar's command line area
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    const uint8_t sizeChoice = input.Byte();
    const int outSize = sizeChoice == 0 ? ViewerLineSize : sizeChoice;
    const std::string command = input.Text(TextSize - 1);
    const std::string path = input.Text(PathSize + 40);
    const std::string program = input.Text(PathSize + 40);

    auto commandText = HeapText(command);
    auto pathText = HeapText(path);
    auto out = Area(outSize);
    BOOL whole = ExpandTemplate(commandText.get(), pathText.get(), out.get(), outSize);
    CheckExpansion(command, path, outSize, whole, out.get());

    // the page's command for a program, in a command field of the destinations page
    auto programText = HeapText(program);
    auto built = Area(PathSize);
    if (!BuildViewerCommand(programText.get(), built.get(), PathSize)) {
        FUZZ_CHECK(built[0] == '\0');
        return 0;
    }
    const std::string builtCommand = Terminated(built.get(), PathSize);
    auto line = Area(outSize);
    whole = ExpandTemplate(built.get(), pathText.get(), line.get(), outSize);
    CheckExpansion(builtCommand, path, outSize, whole, line.get());
    if (whole) {
        // the program's own percent signs come back single
        FUZZ_CHECK(Terminated(line.get(), outSize) == program + " \"" + path + "\"");
    }
    return 0;
}
