// Stands a test's own function in for one that VLRun32.dll imports, for one
// scope, by rewriting the DLL's import address table. Only the DLL's calls are
// redirected; the test program and the platform itself are unaffected. Used
// to see exactly which arguments an export hands the platform, and to make a
// platform call fail on demand.
#pragma once

class ImportHook {
public:
    // `module` is the imported DLL's name (case ignored), `function` the
    // imported name. installed() is false when the DLL does not import it.
    ImportHook(const char* module, const char* function, void* replacement);
    ~ImportHook();
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;
    bool installed() const { return slot_ != nullptr; }

private:
    void** slot_ = nullptr;
    void* original_ = nullptr;
};
