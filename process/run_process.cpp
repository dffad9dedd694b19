// RunProcess: start a command line as a new process and, with the wait flag
// exactly 1, block until it has ended. The platform may write into the
// command line it is given, so it gets a copy; the caller's text is only read.
#include <cstring>

#include "frame/bounded_length.h"
#include "frame/stack_export.h"
#include "platform/scoped.h"
#include "process/run_process.h"

namespace {

// The command copy holds at most this many characters and the terminator.
constexpr std::size_t kCommandCopySize = 516;

}  // namespace

VL_STACK_EXPORT(DWORD) RunProcess(const char* command, DWORD wait) {
    char copy[kCommandCopySize];
    // A longer command would not fit the copy; cutting it could start a
    // different program, so nothing is started.
    const std::size_t length = bounded_length(command, kCommandCopySize - 1);
    if (length == kCommandCopySize)
        return 0;
    std::memcpy(copy, command, length + 1);

    STARTUPINFOA startup;
    std::memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started;
    if (!CreateProcessA(nullptr, copy, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started))
        return 0;

    ScopedHandle process(started.hProcess);
    ScopedHandle thread(started.hThread);
    if (wait == 1)
        WaitForSingleObject(process.get(), INFINITE);
    return 1;
}
