#pragma once
#include <windows.h>

#include "tour/destlabel.h"

// Appends the tour destinations to an empty popup menu; currentSlot is marked, -1 none.
void BuildDestinationsMenu(HMENU menu, int currentSlot);
// Acts on an id chosen from that menu: sends the tour bar TourStart or TourOpenFile.
void RunDestinationChoice(HMENU menu, int id);
