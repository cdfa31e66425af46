#pragma once
#include <windows.h>

// Starting at the next logon: the program's value under the user's Runonce key, named after
// the program file and holding its full path. Written when Settings.AutoStart is on and
// removed when it is off, so that turning the option off takes effect at the next logon.
void ApplyLogonStart();
