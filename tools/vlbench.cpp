// vlbench: measures VLRun32.dll and prints the figures; it passes or fails
// nothing.
//
//  1. The file-name split against msvcrt's _splitpath, on the same inputs in
//     the same run: time per call, the ratio, and how each grows with length.
//  2. A call through each convention's entry (the EBX stub of a buffer export,
//     a stdcall export) against a direct call of the routine behind it.
//  3. The DLL's size and the DLLs it imports.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "VLRun32.h"
#include "frame/load_state.h"
#include "paths/file_name_split.h"
#include "paths/unquote_text.h"

// GetFileNameOnly's stub and the routine behind it, linked in from the DLL's
// own source, so that both calls run the same compiled code.
extern "C" std::uintptr_t vl_GetFileNameOnly(char* host);
extern "C" void GetFileNameOnly();

namespace {

double now_ns() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1e9 / static_cast<double>(frequency.QuadPart);
}

// Best of seven rounds of `n` calls, in nanoseconds per call: the least
// disturbed round is the one that says most about the code.
template <class F>
double per_call_ns(int n, F&& f) {
    double best = 1e300;
    for (int round = 0; round < 7; ++round) {
        double start = now_ns();
        for (int i = 0; i < n; ++i)
            f(i);
        double elapsed = (now_ns() - start) / n;
        if (elapsed < best)
            best = elapsed;
    }
    return best;
}

// Two ways of doing the same work, measured in alternate rounds so that
// neither gains from going second (warm caches, a translator that has seen
// the code before).
template <class A, class B>
void per_call_ns_pair(int n, A&& a, B&& b, double& time_a, double& time_b) {
    time_a = time_b = 1e300;
    for (int round = 0; round < 7; ++round) {
        double ta = per_call_ns(n / 7 + 1, a), tb = per_call_ns(n / 7 + 1, b);
        if (ta < time_a)
            time_a = ta;
        if (tb < time_b)
            time_b = tb;
    }
}

volatile unsigned g_sink;

std::string path_of_length(std::size_t length) {
    // Directories of eight letters, then a name with an extension.
    std::string path = "C:";
    while (path.size() + 9 < length - 12)
        path += "\\folder01";
    path += "\\";
    path += std::string(length - path.size() - 4, 'n');
    path += ".txt";
    return path;
}

void split_against_splitpath() {
    std::printf("File-name split against msvcrt _splitpath (ns per call, best of 7 alternating rounds)\n");
    std::printf("  %6s  %10s  %12s  %7s\n", "length", "split", "_splitpath", "ratio");
    LeadBytes single{};
    const std::size_t lengths[] = {16, 32, 64, 128, 259};
    for (std::size_t length : lengths) {
        const std::string input = path_of_length(length);
        char drive[_MAX_DRIVE], dir[_MAX_DIR], name[_MAX_FNAME], ext[_MAX_EXT];
        char d[3], di[256], na[256], ex[256];
        const int n = 20000;
        double ours, theirs;
        per_call_ns_pair(
            n,
            [&](int) {
                split_file_name(input.c_str(), single, d, di, na, ex);
                g_sink = g_sink + static_cast<unsigned char>(na[0]);
            },
            [&](int) {
                _splitpath(input.c_str(), drive, dir, name, ext);
                g_sink = g_sink + static_cast<unsigned char>(name[0]);
            },
            ours, theirs);
        std::printf("  %6zu  %10.1f  %12.1f  %6.3fx\n", input.size(), ours, theirs, ours / theirs);
    }
}

void stub_costs(HMODULE dll) {
    std::printf("\nCall through each convention against a direct call of the routine (ns per call)\n");
    auto exported = reinterpret_cast<VLRun32_BufferExport>(GetProcAddress(dll, "GetFileNameOnly"));
    auto unquote_string =
        reinterpret_cast<VLRun32_UnquoteString>(reinterpret_cast<void*>(GetProcAddress(dll, "UnquoteString")));
    if (!exported || !unquote_string) {
        std::printf("  (exports missing)\n");
        return;
    }
    const int n = 50000;
    char buffer[1024];
    double through, direct;
    per_call_ns_pair(
        n,
        [&](int) {
            std::strcpy(buffer, "C:\\dir\\file.txt");
            VLRun32_CallBuffer(GetFileNameOnly, buffer);
        },
        [&](int) {
            std::strcpy(buffer, "C:\\dir\\file.txt");
            vl_GetFileNameOnly(buffer);
        },
        through, direct);
    double via_dll = per_call_ns(n, [&](int) {
        std::strcpy(buffer, "C:\\dir\\file.txt");
        VLRun32_CallBuffer(exported, buffer);
    });
    std::printf("  buffer export GetFileNameOnly:  EBX stub %7.1f   direct %7.1f   stub cost %6.1f"
                "   (through the DLL %7.1f)\n", through, direct, through - direct, via_dll);
    double null_stub = per_call_ns(n, [&](int) { g_sink = VLRun32_CallBuffer(exported, nullptr); });
    std::printf("  buffer export, null buffer (the stub alone): %7.1f\n", null_stub);

    per_call_ns_pair(
        n,
        [&](int) {
            std::strcpy(buffer, "'quoted text'");
            unquote_string(buffer);
        },
        [&](int) {
            std::strcpy(buffer, "'quoted text'");
            unquote_text(buffer);
        },
        through, direct);
    std::printf("  stack export UnquoteString:     stdcall  %7.1f   direct %7.1f   difference %6.1f\n", through,
                direct, through - direct);
}

void size_and_imports(HMODULE dll) {
    char path[MAX_PATH];
    GetModuleFileNameA(dll, path, sizeof path);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        std::printf("\nVLRun32.dll: %lu bytes (%.1f KiB)\n", data.nFileSizeLow, data.nFileSizeLow / 1024.0);
    auto base = reinterpret_cast<const unsigned char*>(dll);
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::printf("imports:");
    for (auto d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        int functions = 0;
        for (auto t = reinterpret_cast<const DWORD*>(base + d->OriginalFirstThunk); *t; ++t)
            ++functions;
        std::printf(" %s (%d)", reinterpret_cast<const char*>(base + d->Name), functions);
    }
    std::printf("\n");
}

}  // namespace

int main() {
    take_load_state();
    HMODULE dll = LoadLibraryA("VLRun32.dll");
    if (!dll) {
        std::fprintf(stderr, "vlbench: cannot load VLRun32.dll\n");
        return 1;
    }
    split_against_splitpath();
    stub_costs(dll);
    size_and_imports(dll);
    return 0;
}
