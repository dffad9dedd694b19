// The two exports that belong to no subsystem: debugger output of the host's
// text, and an inert export kept for hosts that call it.
#include "frame/buffer_export.h"
#include "frame/stack_export.h"
#include "platform/win32.h"

VL_BUFFER_EXPORT(wDebug, host) {
    OutputDebugStringA(host);
    return 0;
}

VL_STACK_EXPORT(void) GetResourceMacro(DWORD) {}
