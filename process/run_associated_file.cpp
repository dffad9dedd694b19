// RunAssociatedFile: hand a document to the shell's "open" verb, which starts
// the program associated with it, in the host's current directory. Nothing is
// waited for; the shell's answer is the result.
#include "frame/bounded_length.h"
#include "frame/buffer_export.h"
#include "platform/win32.h"

#include <shellapi.h>

namespace {

// The longest name an ANSI file operation takes: MAX_PATH less the terminator.
constexpr std::size_t kLongestName = MAX_PATH - 1;
// The shell's own answer for a file that cannot be found.
constexpr std::uintptr_t kFileNotFound = 2;

}  // namespace

VL_BUFFER_EXPORT(RunAssociatedFile, host) {
    // No file has a longer name, and the shell copies the name into fixed
    // buffers of its own (Wine's overruns its stack from about 970
    // characters on), so a longer name is refused without asking the shell.
    if (longer_than(host, kLongestName))
        return kFileNotFound;

    char directory[MAX_PATH];
    // A current directory that does not fit is not passed cut short: with no
    // directory the shell uses the current one itself.
    const DWORD length = GetCurrentDirectoryA(sizeof directory, directory);
    const char* working = (length > 0 && length < sizeof directory) ? directory : nullptr;
    HWND owner = GetDesktopWindow();
    HINSTANCE result = ShellExecuteA(owner, "open", host, nullptr, working, SW_SHOWNORMAL);
    return reinterpret_cast<std::uintptr_t>(result);
}
