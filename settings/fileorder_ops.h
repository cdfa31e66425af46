#pragma once
#include <windows.h>

// Renaming the files of one folder to fix or drop their viewing order; names and folder are
// UTF-16. Both operations work through the names in order and stop at the first one they
// cannot rename; files renamed before it keep their new names, the later ones keep theirs. A
// file is never replaced: a rename onto a name that exists fails. They show nothing: on
// failure *failed is the index of the name that stopped them (for the caller's message), -1
// after full success.

// Gives the i-th name "[i+1] name", any old prefix replaced; a name already so counts as done.
BOOL ApplyFileOrder(const wchar_t* const names[], int count, const wchar_t* folder, int* failed);

// Takes the prefix off each name that has one and leaves the others alone.
BOOL ReleaseFileOrder(const wchar_t* const names[], int count, const wchar_t* folder,
                      int* failed);
