// ReporterSelectLayout: run the report layout selector for the base file name
// in the host buffer, wait until it ends, and answer with the selector's
// choice, key Back of the report settings file. A failed start is told to the
// user and leaves "CANCEL" in the answer file, the base name with ".txa".
#include "companions/command_lines.h"
#include "frame/buffer_export.h"
#include "frame/copy_out.h"
#include "platform/scoped.h"
#include "platform/win32.h"
#include "process/run_process.h"

#ifndef VL_SUPPORT_CONTACT
#error "VL_SUPPORT_CONTACT (the support e-mail address) comes from the build settings"
#endif

namespace {

constexpr const char* kSettingsFile = "vlreport.ini";

constexpr const char* kFailureText =
    "The Varnel Wizard could not be run.  Please contact " VL_SUPPORT_CONTACT
    " if this condition persist.";

// Creates the answer file, or empties it, and leaves the six characters
// "CANCEL" in it. A file that cannot be opened is passed over in silence.
void write_cancel(const char* answer_file) {
    ScopedHandle file(CreateFileA(answer_file, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return;
    DWORD written = 0;
    WriteFile(file.get(), "CANCEL", 6, &written, nullptr);
}

}  // namespace

VL_BUFFER_EXPORT(ReporterSelectLayout, host) {
    // The base name is taken in full before anything is written to the host
    // buffer. Names too long for a work buffer are never cut short: a cut
    // command line could start some other program, a cut answer file name
    // could overwrite some other file. Such a call goes the failed-start way,
    // and without an answer file name no answer file is written.
    char answer_file[1024];
    const bool answer_named = build_answer_file_name(answer_file, sizeof answer_file, host);

    char work[1024];
    GetPrivateProfileStringA("Program", "Location", "vlrexe.exe", work, sizeof work, kSettingsFile);
    const bool started = answer_named && build_selector_command(work, sizeof work, work, host) &&
                         RunProcess(work, 1) != 0;
    if (!started) {
        MessageBoxA(nullptr, kFailureText, "Error executing program", MB_OK);
        if (answer_named)
            write_cancel(answer_file);
    }

    GetPrivateProfileStringA("Parameters", "Back", "", work, sizeof work, kSettingsFile);
    copy_out(host, work);
    return vl_result(host);
}
