#include "settings/options.h"

#include "app/settings.h"

int ValidFunctionKey(int index)
{
    return index >= 0 && index < FunctionKeyCount ? index : 0;
}

WORD MakeHotKey(int index, bool ctrl, bool shift, bool alt)
{
    WORD hotKey = static_cast<WORD>(ValidFunctionKey(index));
    if (ctrl)
        hotKey |= HotKeyCtrl;
    if (shift)
        hotKey |= HotKeyShift;
    if (alt)
        hotKey |= HotKeyAlt;
    return hotKey;
}

OptionEnables DecideOptionEnables(bool showClip, bool copyEmulate, bool autoUrlOpen,
                                  bool funcKeyTour)
{
    OptionEnables enables{};
    enables.copyEmulate = showClip;
    enables.autoUrlOpen = enables.copyEmulate && copyEmulate;
    enables.shiftOpen = enables.autoUrlOpen && autoUrlOpen;
    enables.tourFuncKey = funcKeyTour;
    return enables;
}
