// GetCSIDL: the file-system path of a shell special folder named by its CSIDL
// constant name. The name is upper-cased in place (ASCII letters only) and
// echoed on standard output as it goes; a name outside the table selects the
// personal documents folder. The path replaces the name in the host buffer.
#include "frame/buffer_export.h"
#include "frame/copy_out.h"
#include "frame/load_state.h"
#include "platform/scoped.h"
#include "platform/win32.h"
#include "system/csidl_names.h"

#include <shlobj.h>

namespace {

constexpr SIZE_T kPathBlockSize = 1024;

// Folds a to z onto A to Z and leaves every other byte, whatever the code
// page, then writes each stored byte to standard output on its own. A failed
// write (no standard output) changes nothing.
void upper_case_and_echo(char* text) {
    for (char* p = text; *p; ++p) {
        if (*p >= 'a' && *p <= 'z')
            *p = static_cast<char>(*p - 'a' + 'A');
        DWORD written;
        WriteFile(g_load_state.std_output, p, 1, &written, nullptr);
    }
}

}  // namespace

VL_BUFFER_EXPORT(GetCSIDL, host) {
    HWND owner = GetDesktopWindow();
    upper_case_and_echo(host);

    ScopedHeapBlock path(kPathBlockSize);
    if (!path.get()) {
        // No room for the shell's answer: the host still gets a defined text.
        copy_out(host, "");
        return 0;
    }
    const int folder = csidl_value(host);
    // A folder the shell cannot give (one with no file-system path) leaves
    // the empty text, never what the block held before.
    path.get()[0] = '\0';
    if (!SHGetSpecialFolderPathA(owner, path.get(), folder, FALSE))
        path.get()[0] = '\0';
    copy_out(host, path.get());
    return 0;
}
