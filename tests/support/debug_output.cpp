#include "support/debug_output.h"

#include <mutex>

#ifndef DBG_PRINTEXCEPTION_C
#define DBG_PRINTEXCEPTION_C 0x40010006
#endif

namespace {

std::mutex g_lock;
std::vector<std::pair<DWORD, std::string>> g_messages;

LONG CALLBACK on_exception(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* r = info->ExceptionRecord;
    if (r->ExceptionCode != DBG_PRINTEXCEPTION_C || r->NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    // Parameter 0 is the length including the terminator, 1 the text.
    const char* text = reinterpret_cast<const char*>(r->ExceptionInformation[1]);
    std::size_t length = r->ExceptionInformation[0] ? r->ExceptionInformation[0] - 1 : 0;
    std::lock_guard<std::mutex> hold(g_lock);
    g_messages.emplace_back(GetCurrentThreadId(), std::string(text, length));
    return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

DebugOutputCapture::DebugOutputCapture() {
    {
        std::lock_guard<std::mutex> hold(g_lock);
        g_messages.clear();
    }
    handler_ = AddVectoredExceptionHandler(1, on_exception);
}

DebugOutputCapture::~DebugOutputCapture() { RemoveVectoredExceptionHandler(handler_); }

std::vector<std::string> DebugOutputCapture::messages() const {
    std::lock_guard<std::mutex> hold(g_lock);
    std::vector<std::string> mine;
    for (const auto& m : g_messages)
        if (m.first == GetCurrentThreadId())
            mine.push_back(m.second);
    return mine;
}
