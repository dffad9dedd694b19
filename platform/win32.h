// The one way the library's Windows-facing code includes the platform API:
// the 8-bit (ANSI) forms, nothing of the rarely used parts.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#undef UNICODE
#undef _UNICODE
#include <windows.h>
