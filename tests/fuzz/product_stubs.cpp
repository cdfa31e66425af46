// The settings keys and settings file access that tour/filelist.cpp and tour/destmenu.cpp call from their
// window-side functions. The fuzzed routines never read settings: these trap.
#include "app/settings.h"

#include <stdio.h>
#include <stdlib.h>

[[noreturn]] static void NotReached(const char* name)
{
    fprintf(stderr, "fuzz build: %s was called; the fuzzed routines never should\n", name);
    abort();
}

namespace Key {
const char TourName[] = "TOURNAME%d";
const char TourPath[] = "TOURPATH%d";
const char InputPath[] = "INPUTPATH%d";
const char ExtFilter[] = "EXTFILTER%d";
} // namespace Key

void ReadUserString(const char*, int, char*, int) { NotReached("ReadUserString"); }
int ReadUserInt(const char*, int, int) { NotReached("ReadUserInt"); }
