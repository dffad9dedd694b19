// System queries: GetCSIDL against the shell's own answers, with its echo on
// standard output, and UsingLargeFonts at real screen densities.
//
// Both exports are called in a child process: this program again, in probe
// mode. GetCSIDL's child has its standard output on a file, so the echo can
// be read back byte for byte; UsingLargeFonts' child is started after the
// screen density has been set, since Wine takes it when a process starts.
// The child calls the exports through call_buffer, as every test does, and
// reports each host buffer whole; the checks are made here.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "support/environment.h"
#include "support/files.h"
#include "support/vlrun32.h"

namespace {

constexpr const char* kProbeMode = "VL_SYSTEM_PROBE";
constexpr const char* kProbeIn = "VL_PROBE_IN";
constexpr const char* kProbeOut = "VL_PROBE_OUT";
constexpr std::size_t kCsidlHostSize = 1024;
constexpr std::size_t kFontsHostSize = 64;
const std::string kFontsOldText = "text from before the call";

std::string env(const char* name) {
    char value[1024];
    DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

std::string to_hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

std::string from_hex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

// The fields of each line of a text, split at blanks. Hex and numbers only.
std::vector<std::vector<std::string>> records(const std::string& text) {
    std::vector<std::vector<std::string>> result;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::vector<std::string> fields;
        std::size_t f = start;
        while (f <= end) {
            std::size_t blank = text.find(' ', f);
            if (blank == std::string::npos || blank > end)
                blank = end;
            fields.push_back(text.substr(f, blank - f));
            f = blank + 1;
        }
        result.push_back(fields);
        start = end + 1;
    }
    return result;
}

// ---- The child's side ----------------------------------------------------

// Per name (hex, one a line): where standard output stands after the call
// (-1 when there is none), then the whole host buffer in hex.
std::string probe_get_csidl(const std::string& input) {
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    std::string report;
    for (const auto& fields : records(input)) {
        HostBuffer host(from_hex(fields.at(0)), kCsidlHostSize);
        call_buffer("GetCSIDL", host.data());
        LONG high = 0;
        DWORD position = SetFilePointer(out, 0, &high, FILE_CURRENT);
        long echoed = position == INVALID_SET_FILE_POINTER ? -1 : static_cast<long>(position);
        report += std::to_string(echoed) + " " + to_hex(host.bytes()) + "\n";
    }
    return report;
}

// The density this process sees, whether the result was the buffer's
// address (1 or 0), then the host buffer in hex.
std::string probe_using_large_fonts() {
    HostBuffer host(kFontsOldText, kFontsHostSize);
    std::uint32_t result = call_buffer("UsingLargeFonts", host.data());
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return std::to_string(dpi) + " " + (result == arg(host.data()) ? "1" : "0") + " " + to_hex(host.bytes()) + "\n";
}

// Stand-ins for the platform, for the faults that Wine never shows: a shell
// call that fails and leaves text behind, and a heap with no block to give.
BOOL WINAPI shell_call_that_fails(HWND, LPSTR path, int, BOOL) {
    std::strcpy(path, "LEFT BY A FAILED CALL");
    return FALSE;
}
LPVOID WINAPI heap_with_no_blocks(HANDLE, DWORD, SIZE_T) { return nullptr; }

// Points the DLL's import of `name` at `replacement`; false if it has none.
bool replace_import(HMODULE module, const char* name, const void* replacement) {
    auto base = reinterpret_cast<unsigned char*>(module);
    auto nt = reinterpret_cast<IMAGE_NT_HEADERS32*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto imports = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imports->Name;
         ++imports) {
        auto names = reinterpret_cast<IMAGE_THUNK_DATA32*>(base + imports->OriginalFirstThunk);
        auto slots = reinterpret_cast<IMAGE_THUNK_DATA32*>(base + imports->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL32(names->u1.Ordinal))
                continue;
            auto by_name = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(by_name->Name), name) != 0)
                continue;
            DWORD old;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old);
            slots->u1.Function = reinterpret_cast<DWORD>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
            return true;
        }
    }
    return false;
}

// Failures of the checks that call_buffer makes in the child, on standard
// error: standard output belongs to the export under test.
class FailuresToStderr : public ::testing::EmptyTestEventListener {
    void OnTestPartResult(const ::testing::TestPartResult& result) override {
        if (result.failed())
            std::fprintf(stderr, "probe: %s:%d: %s\n", result.file_name() ? result.file_name() : "?",
                         result.line_number(), result.message());
    }
};

LONG WINAPI end_probe_on_fault(EXCEPTION_POINTERS* fault) {
    std::fprintf(stderr, "probe: exception 0x%08lX\n", fault->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

int run_probe_mode(const std::string& mode) {
    ::testing::TestEventListeners& listeners = ::testing::UnitTest::GetInstance()->listeners();
    delete listeners.Release(listeners.default_result_printer());
    listeners.Append(new FailuresToStderr);
    // A fault ends the probe at once, with the exception's code, rather than
    // waiting in a debugger.
    SetUnhandledExceptionFilter(end_probe_on_fault);
    if (mode == "GetCSIDL/shell-fails" &&
        !replace_import(vl_dll(), "SHGetSpecialFolderPathA", reinterpret_cast<const void*>(&shell_call_that_fails)))
        return 3;
    if (mode == "GetCSIDL/no-path-block" &&
        !replace_import(vl_dll(), "HeapAlloc", reinterpret_cast<const void*>(&heap_with_no_blocks)))
        return 3;
    std::string report;
    if (mode.compare(0, 8, "GetCSIDL") == 0)
        report = probe_get_csidl(read_file(env(kProbeIn)).value_or(""));
    else if (mode == "UsingLargeFonts")
        report = probe_using_large_fonts();
    else
        return 2;
    write_file(env(kProbeOut), report);
    return ::testing::UnitTest::GetInstance()->ad_hoc_test_result().Failed() ? 1 : 0;
}

// ---- The parent's side ---------------------------------------------------

struct ProbeRun {
    bool ended = false;
    DWORD exit_code = 0;
    std::vector<std::vector<std::string>> report;
    std::string output;  // what the child wrote on standard output
};

std::string this_program() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, n);
}

// Runs this program in probe mode and waits for it. With `with_output` its
// standard output is a new file, read back afterwards; else it has none.
ProbeRun run_probe(const char* mode, const std::string& input, bool with_output = true) {
    ScratchDir dir;
    const std::string in = dir.file("in.txt"), out = dir.file("report.txt"), output = dir.file("stdout.bin");
    write_file(in, input);

    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE output_file = nullptr;
    if (with_output) {
        output_file = CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(output_file, INVALID_HANDLE_VALUE);
    }
    HANDLE error = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetStdHandle(STD_ERROR_HANDLE), GetCurrentProcess(), &error, 0, TRUE,
                    DUPLICATE_SAME_ACCESS);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output_file;
    startup.hStdError = error;
    ScopedEnv mode_env(kProbeMode, mode), in_env(kProbeIn, in), out_env(kProbeOut, out);
    const std::string program = this_program();
    std::string command = "\"" + program + "\"";
    PROCESS_INFORMATION child{};
    BOOL started = CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                  &startup, &child);
    if (output_file)
        CloseHandle(output_file);
    if (error)
        CloseHandle(error);

    ProbeRun run;
    if (!started) {
        ADD_FAILURE() << "the probe did not start (error " << GetLastError() << ")";
        return run;
    }
    if (WaitForSingleObject(child.hProcess, 90000) == WAIT_OBJECT_0) {
        run.ended = true;
        GetExitCodeProcess(child.hProcess, &run.exit_code);
    } else {
        TerminateProcess(child.hProcess, 99);
        WaitForSingleObject(child.hProcess, 10000);
        ADD_FAILURE() << "the probe did not end within 90 s";
    }
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    run.report = records(read_file(out).value_or(""));
    if (with_output)
        run.output = read_file(output).value_or("<no output file>");
    return run;
}

// The shell's own answer for a folder value, asked without creating the
// folder; the empty text where it has none.
std::string shell_path(int value) {
    char path[1024] = {};
    return SHGetSpecialFolderPathA(GetDesktopWindow(), path, value, FALSE) ? std::string(path) : std::string();
}

struct CsidlCase {
    std::string name;
    std::string echo;  // the name upper-cased, as standard output must show it
    int value;         // the folder value whose path must come back
};

// The names of the table, each spelt as the platform's headers spell it and
// given the value they give it.
#define NAMED(constant) CsidlCase{#constant, #constant, constant}
const CsidlCase kTableNames[] = {
    NAMED(CSIDL_DESKTOP),
    NAMED(CSIDL_INTERNET),
    NAMED(CSIDL_PROGRAMS),
    NAMED(CSIDL_CONTROLS),
    NAMED(CSIDL_PRINTERS),
    NAMED(CSIDL_PERSONAL),
    NAMED(CSIDL_FAVORITES),
    NAMED(CSIDL_STARTUP),
    NAMED(CSIDL_RECENT),
    NAMED(CSIDL_SENDTO),
    NAMED(CSIDL_BITBUCKET),
    NAMED(CSIDL_STARTMENU),
    NAMED(CSIDL_DESKTOPDIRECTORY),
    NAMED(CSIDL_DRIVES),
    NAMED(CSIDL_NETWORK),
    NAMED(CSIDL_NETHOOD),
    NAMED(CSIDL_FONTS),
    NAMED(CSIDL_TEMPLATES),
    NAMED(CSIDL_COMMON_STARTMENU),
    NAMED(CSIDL_COMMON_PROGRAMS),
    NAMED(CSIDL_COMMON_STARTUP),
    NAMED(CSIDL_COMMON_DESKTOPDIRECTORY),
    NAMED(CSIDL_APPDATA),
    NAMED(CSIDL_PRINTHOOD),
    NAMED(CSIDL_LOCAL_APPDATA),
    NAMED(CSIDL_ALTSTARTUP),
    NAMED(CSIDL_COMMON_ALTSTARTUP),
    NAMED(CSIDL_COMMON_FAVORITES),
    NAMED(CSIDL_INTERNET_CACHE),
    NAMED(CSIDL_COOKIES),
    NAMED(CSIDL_HISTORY),
    NAMED(CSIDL_COMMON_APPDATA),
    NAMED(CSIDL_WINDOWS),
    NAMED(CSIDL_SYSTEM),
    NAMED(CSIDL_PROGRAM_FILES),
    NAMED(CSIDL_MYPICTURES),
    NAMED(CSIDL_PROFILE),
    NAMED(CSIDL_SYSTEMX86),
    NAMED(CSIDL_PROGRAM_FILESX86),
    NAMED(CSIDL_PROGRAM_FILES_COMMON),
    NAMED(CSIDL_PROGRAM_FILES_COMMONX86),
    NAMED(CSIDL_COMMON_TEMPLATES),
    NAMED(CSIDL_COMMON_DOCUMENTS),
    NAMED(CSIDL_COMMON_ADMINTOOLS),
    NAMED(CSIDL_ADMINTOOLS),
};
#undef NAMED

// Other spellings and other names: case is folded (ASCII letters only);
// anything else that is not exactly a table name selects value 5.
const CsidlCase kOtherNames[] = {
    {"csidl_appdata", "CSIDL_APPDATA", CSIDL_APPDATA},
    {"Csidl_AppData", "CSIDL_APPDATA", CSIDL_APPDATA},
    {"cSIDL_fONTS", "CSIDL_FONTS", CSIDL_FONTS},
    {"csidl_program_filesx86", "CSIDL_PROGRAM_FILESX86", CSIDL_PROGRAM_FILESX86},
    {"", "", 5},
    {" CSIDL_APPDATA", " CSIDL_APPDATA", 5},
    {"CSIDL_APPDATA ", "CSIDL_APPDATA ", 5},
    {"CSIDL_APPDATA\t", "CSIDL_APPDATA\t", 5},
    {"APPDATA", "APPDATA", 5},
    {"appdata", "APPDATA", 5},
    {"CSIDL_", "CSIDL_", 5},
    {"CSIDL_APPDAT", "CSIDL_APPDAT", 5},
    {"CSIDL_APPDATAX", "CSIDL_APPDATAX", 5},
    {"CSIDL_FLAG_CREATE", "CSIDL_FLAG_CREATE", 5},
    {"26", "26", 5},
    // Bytes above 0x7F pass unchanged, letters of the code page included.
    {"CSIDL_APPDATA\xE9", "CSIDL_APPDATA\xE9", 5},
    {"csidl_\xe9\xff\x80 appdata", "CSIDL_\xe9\xff\x80 APPDATA", 5},
    // Names of values 12 to 15 and above 48, which the table leaves out.
    {"CSIDL_MYDOCUMENTS", "CSIDL_MYDOCUMENTS", 5},
    {"CSIDL_MYMUSIC", "CSIDL_MYMUSIC", 5},
    {"csidl_myvideo", "CSIDL_MYVIDEO", 5},
    {"CSIDL_CONNECTIONS", "CSIDL_CONNECTIONS", 5},
    {"CSIDL_COMMON_MUSIC", "CSIDL_COMMON_MUSIC", 5},
    {"CSIDL_RESOURCES", "CSIDL_RESOURCES", 5},
    {"CSIDL_CDBURN_AREA", "CSIDL_CDBURN_AREA", 5},
    {"CSIDL_COMPUTERSNEARME", "CSIDL_COMPUTERSNEARME", 5},
    // A name longer than any path.
    {std::string(700, 'q'), std::string(700, 'Q'), 5},
};

// The host buffer after a call: the name upper-cased in place, then the path
// and its terminator over its start; the marker behind both.
std::string expected_host_buffer(const CsidlCase& c, const std::string& path) {
    std::string bytes(kCsidlHostSize, static_cast<char>(HostBuffer::kMarker));
    std::memcpy(&bytes[0], c.echo.c_str(), c.echo.size() + 1);
    std::memcpy(&bytes[0], path.c_str(), path.size() + 1);
    return bytes;
}

std::string printable(const std::string& bytes) { return "\"" + bytes + "\" (" + to_hex(bytes) + ")"; }

TEST(GetCSIDL, AnswersWithTheShellsPathAndEchoesTheUpperCasedName) {
    // The default must be a folder of its own, or the default cases prove nothing.
    const std::string personal = shell_path(5);
    ASSERT_FALSE(personal.empty()) << "the shell gives no path for value 5 here";
    ASSERT_NE(shell_path(CSIDL_APPDATA), personal);
    ASSERT_NE(shell_path(CSIDL_FONTS), personal);

    std::vector<CsidlCase> cases(std::begin(kTableNames), std::end(kTableNames));
    cases.insert(cases.end(), std::begin(kOtherNames), std::end(kOtherNames));
    std::string input;
    for (const CsidlCase& c : cases)
        input += to_hex(c.name) + "\n";
    ProbeRun run = run_probe("GetCSIDL", input);
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exit_code, 0u) << "the probe failed; its standard error says why";
    ASSERT_EQ(run.report.size(), cases.size());

    // Each call's echo is the stretch of standard output since the last call.
    std::string echoed_so_far;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const CsidlCase& c = cases[i];
        SCOPED_TRACE("name " + printable(c.name));
        ASSERT_EQ(run.report[i].size(), 2u);
        const long position = std::stol(run.report[i][0]);
        ASSERT_GE(position, static_cast<long>(echoed_so_far.size()));
        ASSERT_LE(position, static_cast<long>(run.output.size()));
        const std::string echo = run.output.substr(echoed_so_far.size(), position - echoed_so_far.size());
        EXPECT_EQ(echo, c.echo) << "echo " << printable(echo);
        echoed_so_far += echo;

        const std::string host = from_hex(run.report[i][1]);
        const std::string path = shell_path(c.value);
        EXPECT_EQ(host.c_str(), path) << "value " << c.value;
        if (host.c_str() == path) {
            EXPECT_TRUE(host == expected_host_buffer(c, path)) << "bytes behind the path's terminator changed";
        }
    }
    EXPECT_EQ(echoed_so_far.size(), run.output.size()) << "standard output holds more than the echoes";
}

TEST(GetCSIDL, WithoutStandardOutputTheLookupGoesOn) {
    const CsidlCase cases[] = {
        {"csidl_appdata", "CSIDL_APPDATA", CSIDL_APPDATA},
        {"CSIDL_FONTS", "CSIDL_FONTS", CSIDL_FONTS},
        {"no such name", "NO SUCH NAME", 5},
    };
    std::string input;
    for (const CsidlCase& c : cases)
        input += to_hex(c.name) + "\n";
    ProbeRun run = run_probe("GetCSIDL", input, false);
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exit_code, 0u);
    ASSERT_EQ(run.report.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_EQ(run.report[i].size(), 2u);
        const std::string host = from_hex(run.report[i][1]);
        EXPECT_EQ(host.c_str(), shell_path(cases[i].value)) << "name " << cases[i].name;
        EXPECT_TRUE(host == expected_host_buffer(cases[i], shell_path(cases[i].value))) << "name " << cases[i].name;
    }
}

TEST(GetCSIDL, AFailedShellCallOrNoPathBlockGivesTheEmptyText) {
    const CsidlCase cases[] = {
        {"csidl_appdata", "CSIDL_APPDATA", CSIDL_APPDATA},
        {"", "", 5},
        {"CSIDL_FONTS", "CSIDL_FONTS", CSIDL_FONTS},
    };
    std::string input;
    for (const CsidlCase& c : cases)
        input += to_hex(c.name) + "\n";
    for (const char* mode : {"GetCSIDL/shell-fails", "GetCSIDL/no-path-block"}) {
        SCOPED_TRACE(mode);
        ProbeRun run = run_probe(mode, input);
        ASSERT_TRUE(run.ended);
        ASSERT_EQ(run.exit_code, 0u) << "the probe failed; its standard error says why";
        ASSERT_EQ(run.report.size(), std::size(cases));
        std::string echoes;
        for (std::size_t i = 0; i < std::size(cases); ++i) {
            const std::string host = from_hex(run.report[i].at(1));
            EXPECT_EQ(host.c_str(), std::string()) << "name " << cases[i].name;
            EXPECT_TRUE(host == expected_host_buffer(cases[i], "")) << "name " << cases[i].name;
            echoes += cases[i].echo;
        }
        EXPECT_EQ(run.output, echoes);
    }
}

// Sets the screen density that processes started from now on see (Wine reads
// it from the user's desktop settings at start), and puts the old setting
// back, or removes it, when the test ends.
class ScreenDensity {
public:
    ScreenDensity() {
        RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_,
                        nullptr);
        DWORD size = sizeof old_;
        had_value_ = RegQueryValueExA(key_, kValue, nullptr, &old_type_, old_, &size) == ERROR_SUCCESS;
        old_size_ = size;
    }
    ~ScreenDensity() {
        if (had_value_)
            RegSetValueExA(key_, kValue, 0, old_type_, old_, old_size_);
        else
            RegDeleteValueA(key_, kValue);
        RegCloseKey(key_);
    }
    ScreenDensity(const ScreenDensity&) = delete;
    ScreenDensity& operator=(const ScreenDensity&) = delete;

    bool set(DWORD dpi) {
        return RegSetValueExA(key_, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi) ==
               ERROR_SUCCESS;
    }

private:
    static constexpr const char* kKey = "Control Panel\\Desktop";
    static constexpr const char* kValue = "LogPixels";
    HKEY key_ = nullptr;
    bool had_value_ = false;
    DWORD old_type_ = 0;
    BYTE old_[64] = {};
    DWORD old_size_ = 0;
};

TEST(UsingLargeFonts, AnswersZeroOnlyAtExactly96DotsPerInch) {
    const struct {
        DWORD dpi;
        char answer;
    } cases[] = {{96, '0'}, {120, '1'}, {72, '1'}, {144, '1'}};
    ScreenDensity density;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.dpi) + " dots per inch");
        ASSERT_TRUE(density.set(c.dpi));
        ProbeRun run = run_probe("UsingLargeFonts", "");
        ASSERT_TRUE(run.ended);
        EXPECT_EQ(run.exit_code, 0u) << "the probe failed; its standard error says why";
        ASSERT_EQ(run.report.size(), 1u);
        ASSERT_EQ(run.report[0].size(), 3u);
        ASSERT_EQ(std::stoul(run.report[0][0]), c.dpi) << "the child did not run at the density set";
        EXPECT_EQ(run.report[0][1], "1") << "the result is not the host buffer's address";

        // One character and the terminator; the old text stays behind them.
        std::string expected = HostBuffer(kFontsOldText, kFontsHostSize).bytes();
        expected[0] = c.answer;
        expected[1] = '\0';
        const std::string host = from_hex(run.report[0][2]);
        EXPECT_EQ(host.c_str(), std::string(1, c.answer));
        EXPECT_TRUE(host == expected) << "bytes behind the answer changed";
        EXPECT_EQ(run.output, "") << "UsingLargeFonts wrote on standard output";
    }
}

}  // namespace

// In probe mode (set by the parent for its child) this program makes its
// calls and reports instead of running the tests.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const std::string mode = env(kProbeMode);
    if (!mode.empty())
        return run_probe_mode(mode);
    return RUN_ALL_TESTS();
}
