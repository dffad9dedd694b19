// RunProcess is also called inside the library, by the companion launchers.
#pragma once

#include "frame/stack_export.h"
#include "platform/win32.h"

VL_STACK_EXPORT(DWORD) RunProcess(const char* command, DWORD wait);
