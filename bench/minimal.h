#pragma once
// Shared by the minimal dialog program and the benchmark that drives it.

#define MinimalDialog 101
#define MinimalBox 1001
// Not kirapick's hot key: both programs run side by side.
#define MinimalHotKeyModifiers (MOD_CONTROL | MOD_ALT)
#define MinimalHotKey VK_F11
