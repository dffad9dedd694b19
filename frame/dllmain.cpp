// The library's entry routine, and the module's entry point itself: the DLL
// links no C runtime start-up code, so nothing else runs at load or unload.
#include "frame/load_state.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        take_load_state();
    return TRUE;
}
