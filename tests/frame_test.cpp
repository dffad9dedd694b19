// The library frame: the entry routine, loading and unloading, and the two
// exports of the frame itself, called through their binary interface.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/debug_output.h"
#include "support/files.h"
#include "support/vlrun32.h"
#include "exports_table.h"

namespace {

using EntryRoutine = BOOL(WINAPI*)(HINSTANCE, DWORD, LPVOID);

EntryRoutine entry_routine(HMODULE module) {
    auto base = reinterpret_cast<const unsigned char*>(module);
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    return reinterpret_cast<EntryRoutine>(const_cast<unsigned char*>(base) + nt->OptionalHeader.AddressOfEntryPoint);
}

TEST(EntryRoutine, AnswersOneToEveryNotificationInAnyOrder) {
    HMODULE dll = vl_dll();
    ASSERT_NE(dll, nullptr);
    EntryRoutine entry = entry_routine(dll);
    const DWORD order[] = {DLL_THREAD_ATTACH, DLL_THREAD_DETACH, DLL_PROCESS_ATTACH, DLL_THREAD_DETACH,
                           DLL_PROCESS_DETACH, DLL_PROCESS_ATTACH, DLL_THREAD_ATTACH, DLL_THREAD_ATTACH};
    for (DWORD reason : order)
        EXPECT_EQ(entry(dll, reason, nullptr), TRUE) << "notification " << reason;
    // The library still works after the extra notifications.
    HostBuffer buffer("abc");
    call_buffer("wDebug", buffer.data());
    EXPECT_EQ(buffer.text(), "abc");
}

TEST(EntryRoutine, LoadsAndUnloadsRepeatedly) {
    // A copy under another name is a module of its own, really unloaded each time.
    ScratchDir dir;
    const std::string copy = dir.file("VLRun32-copy.dll");
    ASSERT_TRUE(CopyFileA((program_dir() + "\\VLRun32.dll").c_str(), copy.c_str(), FALSE));
    for (int i = 0; i < 20; ++i) {
        HMODULE m = LoadLibraryA(copy.c_str());
        ASSERT_NE(m, nullptr) << "load " << i;
        EXPECT_NE(GetProcAddress(m, "wDebug"), nullptr);
        EXPECT_TRUE(FreeLibrary(m));
        EXPECT_EQ(GetModuleHandleA(copy.c_str()), nullptr) << "still loaded after unload " << i;
    }
}

TEST(WDebug, SendsTheTextUnchangedAndLeavesTheBuffer) {
    const std::string texts[] = {"", "hello", "with\ttab and \"quotes\"", std::string(1023, 'x'),
                                 "\x95\x5C\xE9"};
    for (const std::string& text : texts) {
        HostBuffer buffer(text);
        DebugOutputCapture capture;
        call_buffer("wDebug", buffer.data());
        ASSERT_EQ(capture.messages().size(), 1u) << "text of " << text.size() << " bytes";
        EXPECT_EQ(capture.messages()[0], text);
        EXPECT_TRUE(buffer.untouched_from(0)) << "the host buffer changed";
    }
}

TEST(GetResourceMacro, ReturnsAtOnceAndRemovesFourBytes) {
    for (std::uint32_t value : {0u, 1u, 0x7FFFFFFFu, 0xFFFFFFFFu})
        call_stack("GetResourceMacro", {value});
}

TEST(BufferExports, NullHostBufferReturnsZeroAndTouchesNothing) {
    // A host that passes no buffer must not bring its process down: every
    // buffer export returns 0 at once.
    int buffer_exports = 0;
    for (int i = 0; i < kExportCount; ++i) {
        if (kExports[i].kind != CallKind::Buffer)
            continue;
        ++buffer_exports;
        EXPECT_EQ(call_buffer(kExports[i].name, nullptr), 0u) << kExports[i].name;
    }
    EXPECT_EQ(buffer_exports, 13);
}

}  // namespace

namespace {

std::string version_string(const std::vector<char>& info, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return "<missing>";
    return value;
}

TEST(VersionResource, NamesTheFileItsVersionAndCopyright) {
    const std::string dll = program_dir() + "\\VLRun32.dll";
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(dll.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource";
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(dll.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    char numeric[64];
    snprintf(numeric, sizeof numeric, "%lu.%lu.%lu", fixed->dwFileVersionMS >> 16, fixed->dwFileVersionMS & 0xFFFF,
             fixed->dwFileVersionLS >> 16);
    EXPECT_EQ(std::string(numeric), VL_VERSION);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));

    EXPECT_EQ(version_string(info, "FileVersion"), VL_VERSION);
    EXPECT_EQ(version_string(info, "ProductVersion"), VL_VERSION);
    EXPECT_EQ(version_string(info, "OriginalFilename"), "VLRun32.dll");
    EXPECT_EQ(version_string(info, "ProductName"), "Varnel Wizard");
    EXPECT_NE(version_string(info, "FileDescription"), "<missing>");
    EXPECT_EQ(version_string(info, "LegalCopyright").rfind("Copyright", 0), 0u);
}

}  // namespace
