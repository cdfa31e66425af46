#pragma once
// The fuzzing build puts this folder first on the include path, so that the product's text
// routines compile natively against the test double instead of the platform.
#include "../winapi_double.h"
