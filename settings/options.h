#pragma once
#include <windows.h>

// The options page's decisions, kept free of windows so that tests can call them.

constexpr int FunctionKeyCount = 12; // F1..F12

// A function-key index as the page shows and stores it. An index outside 0..11 (a damaged
// settings file, or a combo box without selection) becomes 0, F1.
int ValidFunctionKey(int index);

// The whole hot key from the chosen key and the three modifier boxes; earlier bits are gone.
WORD MakeHotKey(int index, bool ctrl, bool shift, bool alt);

// Which of the dependent controls are enabled.
struct OptionEnables {
    bool copyEmulate;
    bool autoUrlOpen;
    bool shiftOpen;
    bool tourFuncKey;
};

// From the check marks of the four boxes the others depend on. A disabled box keeps its
// mark, so each step also needs the box above it to be enabled.
OptionEnables DecideOptionEnables(bool showClip, bool copyEmulate, bool autoUrlOpen,
                                  bool funcKeyTour);
