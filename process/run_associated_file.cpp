// RunAssociatedFile: hand a document to the shell's "open" verb, which starts
// the program associated with it, in the host's current directory. Nothing is
// waited for; the shell's answer is the result.
#include "frame/buffer_export.h"
#include "platform/win32.h"

#include <shellapi.h>

VL_BUFFER_EXPORT(RunAssociatedFile, host) {
    char directory[MAX_PATH];
    // A current directory that does not fit is not passed cut short: with no
    // directory the shell uses the current one itself.
    const DWORD length = GetCurrentDirectoryA(sizeof directory, directory);
    const char* working = (length > 0 && length < sizeof directory) ? directory : nullptr;
    HWND owner = GetDesktopWindow();
    HINSTANCE result = ShellExecuteA(owner, "open", host, nullptr, working, SW_SHOWNORMAL);
    return reinterpret_cast<std::uintptr_t>(result);
}
