// The process runner: RunProcess starts real programs (the stand-in, which
// records its command line) and RunAssociatedFile opens a document through a
// file type registered for the test.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/environment.h"
#include "support/files.h"
#include "support/import_hook.h"
#include "support/vlrun32.h"

namespace {

// The first line the stand-in recorded: its command line.
std::string recorded_line(const std::string& record, int index) {
    std::optional<std::string> text = read_file(record);
    if (!text)
        return "<no record>";
    std::size_t start = 0;
    for (int i = 0; i < index; ++i)
        start = text->find('\n', start) + 1;
    return text->substr(start, text->find('\n', start) - start);
}

// A stand-in run: where it records and when it says it has ended.
struct StandinRun {
    ScratchDir dir;
    std::string record = dir.file("record.txt");
    std::string done = dir.file("done");
    ScopedEnv record_env{"VL_RECORD", record};
    ScopedEnv done_env{"VL_DONE", done};
    ScopedEnv sleep_env;
    explicit StandinRun(unsigned sleep_ms) : sleep_env("VL_SLEEP_MS", std::to_string(sleep_ms)) {}
    // Lets a child that was not waited for end before the directory goes.
    ~StandinRun() { wait_for_file(done, 30000); }
};

std::string quoted_standin() { return "\"" + standin("vlrecord.exe") + "\""; }

TEST(RunProcess, WaitFlagOneReturnsOnlyAfterTheProgramEnded) {
    StandinRun run(1500);
    const std::string command = quoted_standin() + " first \"second arg\"";
    EXPECT_EQ(call_stack("RunProcess", {arg(command.c_str()), 1}), 1u);
    EXPECT_TRUE(file_exists(run.done)) << "returned before the program ended";
    EXPECT_EQ(recorded_line(run.record, 0), command);
}

TEST(RunProcess, OtherWaitFlagsReturnWithoutWaiting) {
    for (std::uint32_t flag : {0u, 2u, 0xFFFFFFFFu}) {
        StandinRun run(4000);
        const std::string command = quoted_standin() + " nowait";
        EXPECT_EQ(call_stack("RunProcess", {arg(command.c_str()), flag}), 1u) << "flag " << flag;
        EXPECT_FALSE(file_exists(run.done)) << "flag " << flag << " waited for the program";
        ASSERT_TRUE(wait_for_file(run.done, 30000)) << "flag " << flag << ": the program never ended";
        EXPECT_EQ(recorded_line(run.record, 0), command);
    }
}

TEST(RunProcess, AProgramThatDoesNotExistGivesZeroAtOnce) {
    ScratchDir dir;
    for (std::uint32_t flag : {1u, 0u}) {
        const std::string command = "\"" + dir.file("no-such-program.exe") + "\" x";
        DWORD start = GetTickCount();
        EXPECT_EQ(call_stack("RunProcess", {arg(command.c_str()), flag}), 0u);
        EXPECT_LT(GetTickCount() - start, 10000u);
    }
    EXPECT_EQ(call_stack("RunProcess", {arg(""), 1}), 0u);
}

TEST(RunProcess, A515CharacterCommandReachesTheProgramWhole) {
    StandinRun run(0);
    std::string command = quoted_standin() + " ";
    command += std::string(515 - command.size(), 'x');
    ASSERT_EQ(command.size(), 515u);
    // Marker bytes behind the terminator show any write into the caller's text.
    HostBuffer text(command, 600);
    EXPECT_EQ(call_stack("RunProcess", {arg(text.data()), 1}), 1u);
    EXPECT_EQ(recorded_line(run.record, 0), command);
    EXPECT_TRUE(text.untouched_from(0)) << "the caller's text changed";
}

TEST(RunProcess, ReadOnlyCommandTextIsNeverWritten) {
    StandinRun run(0);
    const std::string command = quoted_standin() + " read-only";
    char* page = static_cast<char*>(VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    ASSERT_NE(page, nullptr);
    memcpy(page, command.c_str(), command.size() + 1);
    DWORD old;
    VirtualProtect(page, 4096, PAGE_READONLY, &old);
    EXPECT_EQ(call_stack("RunProcess", {arg(page), 1}), 1u);
    EXPECT_EQ(recorded_line(run.record, 0), command);
    VirtualFree(page, 0, MEM_RELEASE);
}

TEST(RunProcess, LongerCommandsAreRefusedWithoutReadingPastTheLimit) {
    // 516 characters with no terminator, right at the end of readable memory:
    // the runner must decide without reading the byte after them.
    char* pages = static_cast<char*>(VirtualAlloc(nullptr, 8192, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    ASSERT_NE(pages, nullptr);
    DWORD old;
    VirtualProtect(pages + 4096, 4096, PAGE_NOACCESS, &old);
    for (std::size_t length : {516u, 600u, 4095u}) {
        StandinRun run(0);
        std::string command = quoted_standin() + " ";
        command += std::string(length - command.size(), 'y');
        char* text = pages + 4096 - length;
        memcpy(text, command.data(), length);  // unterminated
        DWORD start = GetTickCount();
        EXPECT_EQ(call_stack("RunProcess", {arg(text), 1}), 0u) << length << " characters";
        EXPECT_LT(GetTickCount() - start, 10000u);
        Sleep(500);
        EXPECT_FALSE(file_exists(run.record)) << "a program was started for " << length << " characters";
        write_file(run.done, "");
    }
    VirtualFree(pages, 0, MEM_RELEASE);
}

// A file type of the tests' own whose "open" runs the stand-in.
class RegisteredFileType : public ::testing::Test {
protected:
    static constexpr const char* kExtension = ".vltestdoc";
    static constexpr const char* kClass = "VLRun32.TestDocument";

    void SetUp() override {
        set(kExtension, kClass);
        set(std::string(kClass) + "\\shell\\open\\command", quoted_standin() + " \"%1\"");
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, kClass);
        RegDeleteTreeA(HKEY_CLASSES_ROOT, kExtension);
    }
    static void set(const std::string& key, const std::string& value) {
        HKEY k;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(k);
    }
};

TEST_F(RegisteredFileType, OpensTheDocumentInTheCurrentDirectoryWithoutWaiting) {
    StandinRun run(4000);
    write_file(run.dir.file("letter.vltestdoc"), "document");
    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(run.dir.path().c_str()));

    HostBuffer buffer("letter.vltestdoc");
    std::uint32_t result = call_buffer("RunAssociatedFile", buffer.data());
    SetCurrentDirectoryA(previous);

    EXPECT_GT(result, 32u);
    EXPECT_TRUE(buffer.untouched_from(0)) << "the host buffer changed";
    EXPECT_FALSE(file_exists(run.done)) << "the call waited for the program";
    ASSERT_TRUE(wait_for_file(run.done, 30000)) << "the associated program never ran";
    EXPECT_NE(recorded_line(run.record, 0).find("letter.vltestdoc"), std::string::npos)
        << recorded_line(run.record, 0);
    EXPECT_EQ(_stricmp(recorded_line(run.record, 1).c_str(), run.dir.path().c_str()), 0)
        << "started in " << recorded_line(run.record, 1);
}

TEST(RunAssociatedFile, ANameTheShellCannotOpenGivesThirtyTwoOrLess) {
    ScratchDir dir;
    for (const std::string& name : {dir.file("missing.vltestdoc"), dir.file("no-type.zzq-none"), std::string()}) {
        HostBuffer buffer(name);
        EXPECT_LE(call_buffer("RunAssociatedFile", buffer.data()), 32u) << name;
        EXPECT_TRUE(buffer.untouched_from(0));
    }
}

// The names the library hands the shell, seen at its import.
std::vector<std::string> g_shell_files;

HINSTANCE WINAPI record_shell(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT) {
    g_shell_files.push_back(file);
    return reinterpret_cast<HINSTANCE>(2);
}

TEST(RunAssociatedFile, ANameLongerThanAnyFileNameIsRefusedWithoutTheShell) {
    // The shell copies the name into fixed buffers (Wine's own overruns its
    // stack from about 970 characters on): a name longer than MAX_PATH less
    // its terminator is answered with 2, file not found, and goes no further.
    ImportHook hook("SHELL32.dll", "ShellExecuteA", reinterpret_cast<void*>(&record_shell));
    ASSERT_TRUE(hook.installed());
    const std::string longest = "C:\\" + std::string(MAX_PATH - 4, 'n');
    ASSERT_EQ(longest.size(), 259u);
    struct Case {
        std::string name;
        bool reaches_shell;
    };
    const Case cases[] = {{longest, true}, {longest + "x", false}, {longest + std::string(5000, 'x'), false}};
    for (const Case& c : cases) {
        g_shell_files.clear();
        HostBuffer buffer(c.name, c.name.size() + 64);
        EXPECT_EQ(call_buffer("RunAssociatedFile", buffer.data()), 2u) << c.name.size();
        EXPECT_EQ(g_shell_files, c.reaches_shell ? std::vector<std::string>{c.name} : std::vector<std::string>{})
            << c.name.size();
        EXPECT_TRUE(buffer.untouched_from(0));
    }
}

}  // namespace
