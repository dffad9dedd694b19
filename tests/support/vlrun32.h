// Calling VLRun32.dll from the tests, always through the exports' binary
// interface: buffer exports with the host buffer in EBX, stack exports in
// stdcall. Every call checks the registers the interface keeps.
#pragma once

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>

// The DLL as the tests use it: loaded once, from beside the test program.
HMODULE vl_dll();

// Calls a buffer export with `host` in EBX. Records a test failure if EBX,
// ESI, EDI, EBP or ESP differ afterwards, or the direction flag is set.
// Returns EAX.
std::uint32_t call_buffer(const char* name, void* host);

// Calls a stack export with these 32-bit arguments (first argument first).
// Records a failure if the export did not remove exactly its argument bytes
// or changed EBX, ESI, EDI or EBP. Returns EAX.
std::uint32_t call_stack(const char* name, std::initializer_list<std::uint32_t> args);

inline std::uint32_t arg(const void* p) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p)); }

// A host buffer of `size` bytes, every byte the marker 0xCC unless written,
// holding `text` from the first byte. A write past the answer shows as a
// changed marker.
class HostBuffer {
public:
    static constexpr unsigned char kMarker = 0xCC;
    explicit HostBuffer(const std::string& text = "", std::size_t size = 1024);
    char* data() { return bytes_.data(); }
    std::string text() const { return std::string(bytes_.data()); }
    // True when every byte from `from` on is still the marker, or the text
    // originally there.
    bool untouched_from(std::size_t from) const;
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
    std::string original_;
};
