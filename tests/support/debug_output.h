// Observes real debugger output: OutputDebugStringA raises the exception
// DBG_PRINTEXCEPTION_C, which a vectored handler sees before any debugger.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class DebugOutputCapture {
public:
    DebugOutputCapture();
    ~DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    // Every text sent on this thread since the capture began, in order.
    std::vector<std::string> messages() const;

private:
    void* handler_;
};
