#include "support/import_hook.h"

#include <windows.h>

#include "support/vlrun32.h"

namespace {

void** find_slot(HMODULE dll, const char* module, const char* function) {
    if (!dll)
        return nullptr;
    auto* base = reinterpret_cast<unsigned char*>(dll);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0)
        return nullptr;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), module) != 0)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA32*>(
            base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA32*>(base + d->FirstThunk);
        for (int i = 0; names[i].u1.AddressOfData; ++i) {
            if (IMAGE_SNAP_BY_ORDINAL32(names[i].u1.Ordinal))
                continue;
            auto* by_name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names[i].u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<const char*>(by_name->Name), function) == 0)
                return reinterpret_cast<void**>(&slots[i].u1.Function);
        }
    }
    return nullptr;
}

void write_slot(void** slot, void* value) {
    DWORD old = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    *slot = value;
    VirtualProtect(slot, sizeof *slot, old, &old);
}

}  // namespace

ImportHook::ImportHook(const char* module, const char* function, void* replacement)
    : slot_(find_slot(vl_dll(), module, function)) {
    if (slot_) {
        original_ = *slot_;
        write_slot(slot_, replacement);
    }
}

ImportHook::~ImportHook() {
    if (slot_)
        write_slot(slot_, original_);
}
