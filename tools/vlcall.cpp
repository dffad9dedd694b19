// vlcall: a command-line host for VLRun32.dll.
//
//   vlcall [--dll PATH] [--buffer-size N] EXPORT [ARG ...]
//   vlcall [--dll PATH]                      (a short demonstration)
//
// Loads the DLL (beside vlcall.exe unless --dll says otherwise), calls the
// export by name in its own calling convention and prints the host buffer
// and the return value. Buffer exports get a zero-filled host buffer of 1,024
// bytes (or N) holding the arguments joined with blanks.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "VLRun32.h"
#include "exports_table.h"

namespace {

int usage(const char* problem) {
    if (problem)
        std::fprintf(stderr, "vlcall: %s\n", problem);
    std::fprintf(stderr,
                 "usage: vlcall [--dll PATH] [--buffer-size N] EXPORT [ARG ...]\n"
                 "       vlcall [--dll PATH]   (demonstrates every export)\n"
                 "exports:\n");
    for (int i = 0; i < kExportCount; ++i)
        std::fprintf(stderr, "  %-20s %s\n", kExports[i].name, kExports[i].usage);
    return 2;
}

std::string default_dll_path() {
    char self[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, self, sizeof self);
    std::string path(self, n);
    std::size_t slash = path.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "VLRun32.dll";
}

bool requires_argument(const ExportInfo& e) { return e.usage[0] != '\0' && e.usage[0] != '['; }

// Calls one export; prints what it left. Returns the process exit status.
int call(HMODULE dll, const ExportInfo& e, const std::vector<std::string>& args, std::size_t buffer_size) {
    FARPROC fn = GetProcAddress(dll, e.name);
    if (!fn) {
        std::fprintf(stderr, "vlcall: this VLRun32.dll has no export %s\n", e.name);
        return 3;
    }
    if (args.empty() && requires_argument(e)) {
        std::fprintf(stderr, "vlcall: %s needs %s\n", e.name, e.usage);
        return 2;
    }
    if (e.kind == CallKind::Buffer) {
        std::string text;
        for (std::size_t i = 0; i < args.size(); ++i)
            text += (i ? " " : "") + args[i];
        if (text.size() + 1 > buffer_size) {
            std::fprintf(stderr, "vlcall: the argument needs a buffer of %zu bytes\n", text.size() + 1);
            return 2;
        }
        std::vector<char> buffer(buffer_size, '\0');
        std::memcpy(buffer.data(), text.c_str(), text.size() + 1);
        std::fflush(stdout);
        unsigned long result = VLRun32_CallBuffer(reinterpret_cast<VLRun32_BufferExport>(fn), buffer.data());
        // GetCSIDL echoes the upper-cased name on standard output, with no
        // line end: end its line before ours.
        if (std::strcmp(e.name, "GetCSIDL") == 0 && !text.empty())
            std::printf("\n");
        std::printf("buffer: %s\n", buffer.data());
        if (!e.returns_value)
            std::printf("return: none defined\n");
        else if (result == reinterpret_cast<unsigned long>(buffer.data()))
            std::printf("return: 0x%08lX (the buffer's address)\n", result);
        else
            std::printf("return: 0x%08lX (%lu)\n", result, result);
        return 0;
    }

    const std::size_t wanted = std::strlen(e.params);
    if (args.size() < wanted && requires_argument(e)) {
        std::fprintf(stderr, "vlcall: %s needs %s\n", e.name, e.usage);
        return 2;
    }
    // Texts live in writable copies: UnquoteString rewrites its argument.
    std::vector<std::vector<char>> texts;
    unsigned long values[2] = {0, 0};
    for (std::size_t i = 0; i < wanted && i < args.size(); ++i) {
        if (e.params[i] == 's') {
            texts.emplace_back(args[i].begin(), args[i].end());
            texts.back().push_back('\0');
            values[i] = reinterpret_cast<unsigned long>(texts.back().data());
        } else {
            values[i] = std::strtoul(args[i].c_str(), nullptr, 0);
        }
    }
    unsigned long result = 0;
    if (e.stack_bytes == 4)
        result = reinterpret_cast<unsigned long(__stdcall*)(unsigned long)>(reinterpret_cast<void*>(fn))(values[0]);
    else
        result = reinterpret_cast<unsigned long(__stdcall*)(unsigned long, unsigned long)>(reinterpret_cast<void*>(fn))(values[0], values[1]);
    if (!texts.empty())
        std::printf("text:   %s\n", texts[0].data());
    if (!e.returns_value)
        std::printf("return: none defined\n");
    else if (!texts.empty() && result == reinterpret_cast<unsigned long>(texts[0].data()))
        std::printf("return: 0x%08lX (the text's address)\n", result);
    else
        std::printf("return: 0x%08lX (%lu)\n", result, result);
    return 0;
}

// One harmless call of each export that the DLL has. The companion launchers
// and the two fixed-key writers are left out: they start the wizard's programs
// or change its settings file. PutIniW writes an INI file of its own in the
// temporary directory.
int demonstrate(HMODULE dll) {
    struct Demo {
        const char* name;
        std::vector<std::string> args;
    };
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string demo_ini = std::string(temp) + "vlcall-demo.ini";
    const Demo demos[] = {
        {"wDebug", {"hello from vlcall"}},
        {"GetResourceMacro", {"0"}},
        {"RunProcess", {"cmd.exe /c echo started by RunProcess", "1"}},
        {"RunAssociatedFile", {"no-such-document.vlcall-demo"}},
        {"PutIniW", {"vlcall,demo,written by PutIniW," + demo_ini}},
        {"GetFileName", {"abc.txt"}},
        {"GetFileNameOnly", {"C:\\dir\\abc.txt"}},
        {"UnquoteString", {"'quoted'"}},
        {"VLWGetTempPath", {}},
        {"UsingLargeFonts", {}},
        {"GetCSIDL", {"csidl_appdata"}},
    };
    int status = 0;
    for (const Demo& d : demos) {
        if (!GetProcAddress(dll, d.name))
            continue;
        std::printf("> vlcall %s", d.name);
        for (const std::string& a : d.args)
            std::printf(" \"%s\"", a.c_str());
        std::printf("\n");
        std::fflush(stdout);
        if (int s = call(dll, *find_export(d.name), d.args, 1024))
            status = s;
        std::fflush(stdout);
    }
    // VLWGetTempFilename creates a file each time: the demonstration removes
    // the one it made (the answer is its name without the extension .tmp).
    if (FARPROC fn = GetProcAddress(dll, "VLWGetTempFilename")) {
        std::printf("> vlcall VLWGetTempFilename \"VLC\"\n");
        char buffer[1024] = "VLC";
        VLRun32_CallBuffer(reinterpret_cast<VLRun32_BufferExport>(fn), buffer);
        std::printf("buffer: %s\n", buffer);
        const std::string created = std::string(buffer) + ".tmp";
        std::printf("(demonstration: %s %s)\n", created.c_str(),
                    DeleteFileA(created.c_str()) ? "removed again" : "not found");
        std::fflush(stdout);
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dll_path = default_dll_path();
    std::size_t buffer_size = 1024;
    int i = 1;
    for (; i < argc && std::strncmp(argv[i], "--", 2) == 0; ++i) {
        if (std::strcmp(argv[i], "--dll") == 0 && i + 1 < argc) {
            dll_path = argv[++i];
        } else if (std::strcmp(argv[i], "--buffer-size") == 0 && i + 1 < argc) {
            char* end = nullptr;
            unsigned long n = std::strtoul(argv[++i], &end, 0);
            if (!end || *end || n == 0 || n > (1u << 30))
                return usage("--buffer-size takes a number of bytes, 1 or more");
            buffer_size = n;
        } else if (std::strcmp(argv[i], "--help") == 0) {
            return usage(nullptr), 0;
        } else {
            return usage((std::string("unknown option ") + argv[i]).c_str());
        }
    }
    const ExportInfo* e = nullptr;
    if (i < argc && !(e = find_export(argv[i])))
        return usage((std::string("no export named ") + argv[i]).c_str());

    HMODULE dll = LoadLibraryA(dll_path.c_str());
    if (!dll) {
        std::fprintf(stderr, "vlcall: cannot load %s (error %lu)\n", dll_path.c_str(), GetLastError());
        return 3;
    }
    int status = e ? call(dll, *e, std::vector<std::string>(argv + i + 1, argv + argc), buffer_size)
                   : demonstrate(dll);
    FreeLibrary(dll);
    return status;
}
