// What the library takes from the platform once, when it is loaded, and only
// reads afterwards: the ANSI code page's lead bytes, for the file-name split,
// and the standard output handle, for the folder-name echo.
#pragma once

#include "paths/lead_bytes.h"
#include "platform/win32.h"

struct LoadState {
    LeadBytes lead_bytes;
    HANDLE std_output;
};

// Filled in at process attach, before any export can run; read-only after.
extern LoadState g_load_state;

void take_load_state();
