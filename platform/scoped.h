// Ties each resource a call takes to its release, so that no return path can
// leak a handle, a device context or a heap block.
#pragma once

#include "platform/win32.h"

class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE h = nullptr) : h_(h) {}
    ~ScopedHandle() { if (h_ && h_ != INVALID_HANDLE_VALUE) CloseHandle(h_); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    HANDLE get() const { return h_; }
    bool valid() const { return h_ && h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

// The screen's device context, released to the window it came from.
class ScopedWindowDC {
public:
    explicit ScopedWindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~ScopedWindowDC() { ReleaseDC(window_, dc_); }
    ScopedWindowDC(const ScopedWindowDC&) = delete;
    ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A block of the process heap, freed when the call ends.
class ScopedHeapBlock {
public:
    explicit ScopedHeapBlock(SIZE_T size)
        : p_(static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, size))) {}
    ~ScopedHeapBlock() { if (p_) HeapFree(GetProcessHeap(), 0, p_); }
    ScopedHeapBlock(const ScopedHeapBlock&) = delete;
    ScopedHeapBlock& operator=(const ScopedHeapBlock&) = delete;
    char* get() const { return p_; }

private:
    char* p_;
};
