// SaveConfigFile and SaveDictionaryFile: the host buffer's whole text, commas
// and all, stored under one fixed key of the wizard settings file, which is
// named without a directory so that the platform resolves it. An empty text
// stores an empty value and keeps the key. The platform's result is returned.
#include "frame/buffer_export.h"
#include "platform/win32.h"
#include "settings/profile_text.h"

namespace {

constexpr const char kWizardSettings[] = "vlwizardpro.ini";

}  // namespace

// A value longer than the platform stores whole is not written; the answer is
// then 0, as for any write that failed.
VL_BUFFER_EXPORT(SaveConfigFile, host) {
    if (!fits_profile_text(host))
        return 0;
    return static_cast<std::uintptr_t>(
        WritePrivateProfileStringA("Preserve", "Last scheme", host, kWizardSettings));
}

VL_BUFFER_EXPORT(SaveDictionaryFile, host) {
    if (!fits_profile_text(host))
        return 0;
    return static_cast<std::uintptr_t>(
        WritePrivateProfileStringA("Program", "Dictionary", host, kWizardSettings));
}
