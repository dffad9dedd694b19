// SaveConfigFile and SaveDictionaryFile: the host buffer's whole text, commas
// and all, stored under one fixed key of the wizard settings file, which is
// named without a directory so that the platform resolves it. An empty text
// stores an empty value and keeps the key. The platform's result is returned.
#include "frame/buffer_export.h"
#include "platform/win32.h"

namespace {

constexpr const char kWizardSettings[] = "vlwizardpro.ini";

}  // namespace

VL_BUFFER_EXPORT(SaveConfigFile, host) {
    return static_cast<std::uintptr_t>(
        WritePrivateProfileStringA("Preserve", "Last scheme", host, kWizardSettings));
}

VL_BUFFER_EXPORT(SaveDictionaryFile, host) {
    return static_cast<std::uintptr_t>(
        WritePrivateProfileStringA("Program", "Dictionary", host, kWizardSettings));
}
