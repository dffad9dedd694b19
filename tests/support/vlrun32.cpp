#include "support/vlrun32.h"

#include <gtest/gtest.h>

#include <cstring>

#include "exports_table.h"

namespace {

struct AbiRegs {
    std::uint32_t ebx, esi, edi, ebp, esp, eflags;
};
constexpr std::uint32_t kDirectionFlag = 1u << 10;

}  // namespace

extern "C" std::uint32_t vl_abi_call_buffer(void* fn, void* host, AbiRegs* before, AbiRegs* after);
extern "C" std::uint32_t vl_abi_call_stack(void* fn, const std::uint32_t* args, int count, AbiRegs* before,
                                           AbiRegs* after);

HMODULE vl_dll() {
    static HMODULE dll = LoadLibraryA("VLRun32.dll");
    return dll;
}

static void* export_address(const char* name) {
    HMODULE dll = vl_dll();
    if (!dll) {
        ADD_FAILURE() << "VLRun32.dll did not load (error " << GetLastError() << ")";
        return nullptr;
    }
    void* fn = reinterpret_cast<void*>(GetProcAddress(dll, name));
    if (!fn)
        ADD_FAILURE() << "VLRun32.dll has no export " << name;
    return fn;
}

std::uint32_t call_buffer(const char* name, void* host) {
    const ExportInfo* info = find_export(name);
    if (!info || info->kind != CallKind::Buffer) {
        ADD_FAILURE() << name << " is not a buffer export";
        return 0;
    }
    void* fn = export_address(name);
    if (!fn)
        return 0;
    AbiRegs before{}, after{};
    std::uint32_t eax = vl_abi_call_buffer(fn, host, &before, &after);
    EXPECT_EQ(after.ebx, before.ebx) << name << " changed EBX";
    EXPECT_EQ(after.esi, before.esi) << name << " changed ESI";
    EXPECT_EQ(after.edi, before.edi) << name << " changed EDI";
    EXPECT_EQ(after.ebp, before.ebp) << name << " changed EBP";
    EXPECT_EQ(after.esp, before.esp) << name << " did not return with a plain ret";
    EXPECT_EQ(after.eflags & kDirectionFlag, 0u) << name << " left the direction flag set";
    return eax;
}

std::uint32_t call_stack(const char* name, std::initializer_list<std::uint32_t> args) {
    const ExportInfo* info = find_export(name);
    if (!info || info->kind != CallKind::Stack) {
        ADD_FAILURE() << name << " is not a stack export";
        return 0;
    }
    if (static_cast<int>(args.size()) * 4 != info->stack_bytes) {
        ADD_FAILURE() << name << " takes " << info->stack_bytes << " bytes of arguments";
        return 0;
    }
    void* fn = export_address(name);
    if (!fn)
        return 0;
    AbiRegs before{}, after{};
    std::uint32_t eax = vl_abi_call_stack(fn, args.begin(), static_cast<int>(args.size()), &before, &after);
    EXPECT_EQ(after.esp, before.esp) << name << " did not remove exactly " << info->stack_bytes
                                     << " bytes (off by " << static_cast<int>(after.esp - before.esp) << ")";
    EXPECT_EQ(after.ebx, before.ebx) << name << " changed EBX";
    EXPECT_EQ(after.esi, before.esi) << name << " changed ESI";
    EXPECT_EQ(after.edi, before.edi) << name << " changed EDI";
    EXPECT_EQ(after.ebp, before.ebp) << name << " changed EBP";
    EXPECT_EQ(after.eflags & kDirectionFlag, 0u) << name << " left the direction flag set";
    return eax;
}

HostBuffer::HostBuffer(const std::string& text, std::size_t size)
    : bytes_(size, static_cast<char>(kMarker)) {
    if (text.size() + 1 > size)
        bytes_.resize(text.size() + 1, static_cast<char>(kMarker));
    std::memcpy(&bytes_[0], text.c_str(), text.size() + 1);
    original_ = bytes_;
}

bool HostBuffer::untouched_from(std::size_t from) const {
    return bytes_.compare(from, std::string::npos, original_, from, std::string::npos) == 0;
}
