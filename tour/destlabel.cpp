#include "tour/destlabel.h"

#include <stdio.h>

void ComposeDestinationLabel(const char* name, const char* path, const char* filter,
                             BOOL current, char* out, int outSize)
{
    char label[DestinationLabelSize];
    if (name[0] != '\0')
        snprintf(label, sizeof label, "%s", name);
    else if (path[0] != '\0' && filter[0] != '\0')
        snprintf(label, sizeof label, "%s (%s)", path, filter);
    else
        snprintf(label, sizeof label, "%s", path);

    if (label[0] != '\0' && current)
        snprintf(out, outSize, "【 %s 】", label);
    else
        snprintf(out, outSize, "%s", label);
}

BOOL DecodeDestinationId(int id, int* slot, int* file)
{
    if (id <= 0)
        return FALSE;
    if (id < DestinationFileBase) {
        *slot = id & 0xFFFF;
        *file = 0;
    } else {
        *slot = (id / DestinationFileBase) & 0xFFFF;
        *file = id % DestinationFileBase;
    }
    return TRUE;
}
