// ProCheckTXA: start the wizard program from the directory named in the
// wizard settings file, with its fixed argument 99, and wait until it ends.
// A failed start is told to the user, marked under DllReturn and answered
// with "ERROR"; a started run is answered with the empty text.
#include "companions/command_lines.h"
#include "frame/buffer_export.h"
#include "frame/copy_out.h"
#include "platform/win32.h"
#include "process/run_process.h"

namespace {

constexpr const char* kSettingsFile = "vlwizardpro.ini";

}  // namespace

VL_BUFFER_EXPORT(ProCheckTXA, host) {
    // DataPath is the directory, with its trailing backslash, and the program
    // name follows it directly. A DataPath too long for the work buffer is not
    // cut into the name of some other program: nothing is started, and the
    // runner likewise refuses a command line too long for its copy. Both are
    // answered as a failed start.
    char command[1024];
    GetPrivateProfileStringA("Program", "DataPath", "", command, sizeof command, kSettingsFile);
    if (build_wizard_command(command, sizeof command, command) && RunProcess(command, 1) != 0) {
        copy_out(host, "");
        return vl_result(host);
    }

    MessageBoxA(nullptr, "Could not run the wizard", "Error", MB_OK);
    WritePrivateProfileStringA("Program", "DllReturn", "ERROR", kSettingsFile);
    copy_out(host, "ERROR");
    return vl_result(host);
}
