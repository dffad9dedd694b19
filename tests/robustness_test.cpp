// Long texts and faults of the platform, through the binary interface.
//
// Every buffer export, UnquoteString and RunProcess take texts of 1,023,
// 1,024, 4,096 and 65,536 bytes in a host buffer with room for the contract
// and marker bytes behind it: no crash, the documented result, and no byte
// written behind the result's terminator. The test prints the table of
// results. Then the platform lets the library down: an answer file in a
// missing directory, a wizard settings file that cannot be written, a
// temporary directory that cannot be used; each export ends as its contract
// says and leaves no partial file.
//
// The companions' settings files are the real ones in the Windows directory,
// set aside and put back; the programs they name are the stand-ins or names
// that do not exist. GetCSIDL's echo goes to a file that main() makes the
// standard output before the library is loaded, and is checked there.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "support/debug_output.h"
#include "support/environment.h"
#include "support/files.h"
#include "support/settings_files.h"
#include "support/message_box_watch.h"
#include "support/vlrun32.h"

namespace {

constexpr const char* kWizardIni = "vlwizardpro.ini";
constexpr const char* kReportIni = "vlreport.ini";
constexpr std::size_t kGuard = 64;  // marker bytes behind the room a call needs

HANDLE g_echo = INVALID_HANDLE_VALUE;  // the library's standard output
std::string g_echo_path;

std::string windows_dir() {
    char dir[MAX_PATH];
    UINT n = GetWindowsDirectoryA(dir, sizeof dir);
    return std::string(dir, n);
}

void set_key(const char* file, const char* section, const char* key, const std::string& value) {
    ASSERT_TRUE(WritePrivateProfileStringA(section, key, value.c_str(), file));
    flush_profile(file);
}

// The names of the files and directories directly in `dir`, sorted.
std::vector<std::string> names_in(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(h, &found));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

std::string current_dir() {
    char dir[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(sizeof dir, dir);
    return std::string(dir, n);
}

// Lower-case letters a to z over and over, exactly n of them.
std::string letters(std::size_t n) {
    std::string text(n, 'a');
    for (std::size_t i = 0; i < n; ++i)
        text[i] = static_cast<char>('a' + i % 26);
    return text;
}

// `head` followed by letters, exactly n bytes in all.
std::string padded(const std::string& head, std::size_t n) {
    EXPECT_LT(head.size(), n);
    return head + letters(n - head.size());
}

std::string upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// Checks that the host buffer holds `answer` and that nothing behind its
// terminator was written; gives the answer's length for the table.
std::string expect_answer(const HostBuffer& host, const std::string& answer, const char* name, std::size_t n) {
    EXPECT_EQ(host.text(), answer) << name << ", " << n << " bytes";
    EXPECT_TRUE(host.untouched_from(answer.size() + 1)) << name << ", " << n << " bytes: written behind the answer";
    return std::to_string(host.text().size()) + " ch";
}

// ---------------------------------------------------------------------------
// Long inputs.

// What every row of the table shares: a scratch directory, a record file for
// the stand-ins, and the companions' settings files, set aside.
struct LongContext {
    ScratchDir dir;
    std::string record = dir.file("record.txt");
    SavedIniFile wizard_ini{kWizardIni};
    SavedIniFile report_ini{kReportIni};
    std::string personal_path;
};

// The longest text the platform's INI write stores whole.
constexpr std::size_t kLongestIniText = 32766;

// SaveConfigFile or SaveDictionaryFile over an old value: a value the
// platform stores whole replaces it, a longer one is not written.
std::string save_fixed_key(LongContext& c, std::size_t n, const char* name, const char* section, const char* key) {
    set_key(kWizardIni, section, key, "old");
    const std::optional<std::string> before = read_file(c.wizard_ini.path());
    HostBuffer host(letters(n), n + 1 + kGuard);
    const std::uint32_t eax = call_buffer(name, host.data());
    EXPECT_TRUE(host.untouched_from(0));
    const std::optional<std::string> after = read_file(c.wizard_ini.path());
    c.wizard_ini.remove();
    if (n > kLongestIniText) {
        EXPECT_EQ(eax, 0u) << name << ", " << n << " bytes";
        EXPECT_EQ(after, before) << name << ", " << n << " bytes: the old value was not kept";
        return std::to_string(eax) + (after == before ? " kept" : " LOST");
    }
    EXPECT_NE(eax, 0u) << name << ", " << n << " bytes";
    const std::string whole = "[" + std::string(section) + "]\r\n" + key + "=" + letters(n) + "\r\n";
    EXPECT_EQ(after, whole) << name << ", " << n << " bytes";
    return std::to_string(eax) + (after == whole ? " stored" : " NOT stored");
}

struct LongRow {
    const char* name;
    const char* rule;  // the expected result, as the table prints it
    std::string (*run)(LongContext&, std::size_t n);
};

const LongRow kLongRows[] = {
    {"RunProcess", "0: over 515 characters, nothing started",
     [](LongContext& c, std::size_t n) {
         ScopedEnv record("VL_RECORD", c.record);
         HostBuffer text(padded("\"" + standin("vlrecord.exe") + "\" ", n), n + 1 + kGuard);
         const std::uint32_t eax = call_stack("RunProcess", {arg(text.data()), 1});
         EXPECT_EQ(eax, 0u);
         EXPECT_FALSE(file_exists(c.record)) << "a program was started with a cut command";
         EXPECT_TRUE(text.untouched_from(0));
         return std::to_string(eax);
     }},
    {"UnquoteString", "quotes gone, in place; EAX the text",
     [](LongContext&, std::size_t n) {
         const std::string inner = letters(n - 2);
         HostBuffer text("'" + inner + "'", n + 1 + kGuard);
         EXPECT_EQ(call_stack("UnquoteString", {arg(text.data())}), arg(text.data()));
         return expect_answer(text, inner, "UnquoteString", n);
     }},
    {"RunAssociatedFile", "2: longer than any file name; unchanged",
     [](LongContext& c, std::size_t n) {
         MessageBoxWatch watch;
         HostBuffer host(padded(c.dir.path() + "\\", n), n + 1 + kGuard);
         const std::uint32_t eax = call_buffer("RunAssociatedFile", host.data());
         EXPECT_EQ(eax, 2u);
         EXPECT_TRUE(host.untouched_from(0));
         return std::to_string(eax) + (watch.boxes().empty() ? "" : " +box");
     }},
    {"PutIniW", "stored whole; over 32,766: not written",
     [](LongContext& c, std::size_t n) {
         const std::string file = c.dir.file("long.ini");
         const std::string value = letters(n - 5 - file.size());
         HostBuffer host("S,K," + value + "," + file, n + 1 + kGuard);
         call_buffer("PutIniW", host.data());
         EXPECT_TRUE(host.untouched_from(0));
         const std::optional<std::string> stored = read_file(file);
         remove_path(file);
         if (value.size() > kLongestIniText) {
             EXPECT_FALSE(stored) << "PutIniW, " << n << " bytes: a value the platform loses was written";
             return std::string(stored ? "WRITTEN" : "refused");
         }
         EXPECT_EQ(stored, "[S]\r\nK=" + value + "\r\n") << "PutIniW, " << n << " bytes";
         return std::string(stored == "[S]\r\nK=" + value + "\r\n" ? "stored" : "NOT stored");
     }},
    {"SaveConfigFile", "1, stored; over 32,766: 0, old kept",
     [](LongContext& c, std::size_t n) { return save_fixed_key(c, n, "SaveConfigFile", "Preserve", "Last scheme"); }},
    {"SaveDictionaryFile", "1, stored; over 32,766: 0, old kept",
     [](LongContext& c, std::size_t n) { return save_fixed_key(c, n, "SaveDictionaryFile", "Program", "Dictionary"); }},
    {"GetFileName", ".\\ and the first 255 bytes",
     [](LongContext&, std::size_t n) {
         const std::string text = letters(n - 4) + ".txt";
         HostBuffer host(text, n + 1 + kGuard);
         EXPECT_EQ(call_buffer("GetFileName", host.data()), arg(host.data()));
         return expect_answer(host, ".\\" + text.substr(0, 255), "GetFileName", n);
     }},
    {"GetFileNameOnly", "the first 255 bytes",
     [](LongContext&, std::size_t n) {
         const std::string text = letters(n - 4) + ".txt";
         HostBuffer host(text, n + 1 + kGuard);
         EXPECT_EQ(call_buffer("GetFileNameOnly", host.data()), arg(host.data()));
         return expect_answer(host, text.substr(0, 255), "GetFileNameOnly", n);
     }},
    {"VLWGetTempPath", "the temporary directory",
     [](LongContext& c, std::size_t n) {
         ScopedEnv tmp("TMP", c.dir.path()), temp("TEMP", c.dir.path());
         HostBuffer host(letters(n), n + 1 + kGuard);
         EXPECT_EQ(call_buffer("VLWGetTempPath", host.data()), arg(host.data()));
         return expect_answer(host, c.dir.path() + "\\", "VLWGetTempPath", n);
     }},
    {"VLWGetTempFilename", "new file, prefix: first 3 bytes",
     [](LongContext& c, std::size_t n) {
         ScopedEnv tmp("TMP", c.dir.path()), temp("TEMP", c.dir.path());
         HostBuffer host(letters(n), n + 1 + kGuard);
         EXPECT_EQ(call_buffer("VLWGetTempFilename", host.data()), arg(host.data()));
         const std::string answer = host.text();
         EXPECT_EQ(answer.rfind(c.dir.file("abc"), 0), 0u) << answer;
         EXPECT_LE(answer.size(), 260u);
         EXPECT_TRUE(DeleteFileA((answer + ".tmp").c_str())) << "no file " << answer << ".tmp";
         return expect_answer(host, answer, "VLWGetTempFilename", n);
     }},
    {"wDebug", "text sent whole; buffer unchanged",
     [](LongContext&, std::size_t n) {
         HostBuffer host(letters(n), n + 1 + kGuard);
         DebugOutputCapture capture;
         call_buffer("wDebug", host.data());
         EXPECT_TRUE(host.untouched_from(0));
         const std::vector<std::string> sent = capture.messages();
         EXPECT_EQ(sent.size(), 1u);
         const bool whole = sent.size() == 1 && sent[0] == letters(n);
         EXPECT_TRUE(whole) << "wDebug, " << n << " bytes: not sent whole";
         return std::string(whole ? "sent" : "NOT sent");
     }},
    {"ProCheckTXA", "\"\": text ignored, wizard started",
     [](LongContext& c, std::size_t n) {
         ScopedEnv record("VL_RECORD", c.record);
         set_key(kWizardIni, "Program", "DataPath", program_dir() + "\\standins\\");
         HostBuffer host(letters(n), n + 1 + kGuard);
         EXPECT_EQ(call_buffer("ProCheckTXA", host.data()), arg(host.data()));
         EXPECT_TRUE(file_exists(c.record)) << "the wizard was not started";
         remove_path(c.record);
         c.wizard_ini.remove();
         return expect_answer(host, "", "ProCheckTXA", n);
     }},
    {"ReporterSelectLayout", "failed start: box, no answer file, Back",
     [](LongContext& c, std::size_t n) {
         ScopedEnv record("VL_RECORD", c.record);
         set_key(kReportIni, "Program", "Location", standin("vlrexe.exe"));
         set_key(kReportIni, "Parameters", "Back", "previous answer");
         HostBuffer host(padded(c.dir.path() + "\\", n), n + 1 + kGuard);
         MessageBoxWatch watch;
         EXPECT_EQ(call_buffer("ReporterSelectLayout", host.data()), arg(host.data()));
         EXPECT_EQ(watch.boxes().size(), 1u);
         if (!watch.boxes().empty()) {
             EXPECT_EQ(watch.boxes()[0].caption, "Error executing program");
         }
         EXPECT_EQ(names_in(c.dir.path()), std::vector<std::string>{}) << "started, or an answer file written";
         c.report_ini.remove();
         return expect_answer(host, "previous answer", "ReporterSelectLayout", n);
     }},
    {"UsingLargeFonts", "\"0\" or \"1\"",
     [](LongContext&, std::size_t n) {
         HostBuffer host(letters(n), n + 1 + kGuard);
         EXPECT_EQ(call_buffer("UsingLargeFonts", host.data()), arg(host.data()));
         const std::string answer = host.text();
         EXPECT_TRUE(answer == "0" || answer == "1") << answer.substr(0, 20);
         return expect_answer(host, answer, "UsingLargeFonts", n);
     }},
    {"GetCSIDL", "personal folder (5); name upper-cased, echoed",
     [](LongContext& c, std::size_t n) {
         const std::string name = letters(n);
         HostBuffer host(name, n + 1 + kGuard);
         const std::size_t echoed_before = read_file(g_echo_path).value_or("").size();
         call_buffer("GetCSIDL", host.data());
         const std::string echo = read_file(g_echo_path).value_or("");
         EXPECT_TRUE(echo.size() == echoed_before + n && echo.compare(echoed_before, n, upper(name)) == 0)
             << "GetCSIDL, " << n << " bytes: the echo is not the upper-cased name";
         // The path over the upper-cased name; the markers behind it untouched.
         std::string expected = HostBuffer(upper(name), n + 1 + kGuard).bytes();
         std::copy(c.personal_path.c_str(), c.personal_path.c_str() + c.personal_path.size() + 1, expected.begin());
         EXPECT_TRUE(host.bytes() == expected) << "GetCSIDL, " << n << " bytes: " << host.text();
         return std::to_string(host.text().size()) + " ch";
     }},
};

TEST(LongInputs, EveryExportEndsAsItsContractSays) {
    constexpr std::size_t kLengths[] = {1023, 1024, 4096, 65536};
    LongContext c;
    char personal[MAX_PATH] = "";
    ASSERT_TRUE(SHGetSpecialFolderPathA(GetDesktopWindow(), personal, CSIDL_PERSONAL, FALSE));
    c.personal_path = personal;

    std::string table = "long inputs            ";
    for (std::size_t n : kLengths)
        table += std::string(12 - std::to_string(n).size(), ' ') + std::to_string(n);
    table += "   expected\n";
    for (const LongRow& row : kLongRows) {
        std::string line = row.name;
        line.resize(23, ' ');
        for (std::size_t n : kLengths) {
            const std::string cell = row.run(c, n);
            line += std::string(cell.size() < 12 ? 12 - cell.size() : 1, ' ') + cell;
        }
        table += line + "   " + row.rule + "\n";
    }
    std::printf("%s", table.c_str());
    EXPECT_EQ(std::size(kLongRows), 15u) << "thirteen buffer exports, UnquoteString and RunProcess";
}

// ---------------------------------------------------------------------------
// Faults of the platform.

TEST(PlatformFaults, AnAnswerFileInAMissingDirectoryIsPassedOver) {
    SavedIniFile report_ini(kReportIni);
    ScratchDir dir;
    set_key(kReportIni, "Program", "Location", dir.file("no-such-selector.exe"));
    set_key(kReportIni, "Parameters", "Back", "kept");
    HostBuffer host(dir.file("missing\\deeper\\base"), 1024);
    MessageBoxWatch watch;
    EXPECT_EQ(call_buffer("ReporterSelectLayout", host.data()), arg(host.data()));
    ASSERT_EQ(watch.boxes().size(), 1u) << "no box for the failed start (is there a display?)";
    EXPECT_EQ(watch.boxes()[0].caption, "Error executing program");
    expect_answer(host, "kept", "ReporterSelectLayout", 0);
    EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{}) << "a file or directory was made";
}

TEST(PlatformFaults, AWizardSettingsFileThatCannotBeWritten) {
    SavedIniFile wizard_ini(kWizardIni);
    ScratchDir dir;
    const std::string content = "[Program]\r\nDataPath=" + dir.file("missing\\") + "\r\nDictionary=old\r\n";
    struct Fault {
        const char* what;
        bool directory;  // a directory where the file should be, else a read-only file
    };
    for (const Fault& fault : {Fault{"read-only file", false}, Fault{"directory in its place", true}}) {
        SCOPED_TRACE(fault.what);
        wizard_ini.remove();
        if (fault.directory) {
            ASSERT_TRUE(CreateDirectoryA(wizard_ini.path().c_str(), nullptr));
        } else {
            write_file(wizard_ini.path(), content);
            ASSERT_TRUE(SetFileAttributesA(wizard_ini.path().c_str(), FILE_ATTRIBUTE_READONLY));
        }
        flush_profile(kWizardIni);
        const std::vector<std::string> windows_before = names_in(windows_dir());

        // A platform that writes the file all the same (Wine run as root
        // ignores the read-only attribute) shows as a nonzero answer.
        HostBuffer scheme("scheme"), dictionary("dictionary");
        const std::uint32_t config = call_buffer("SaveConfigFile", scheme.data());
        const std::uint32_t dict = call_buffer("SaveDictionaryFile", dictionary.data());
        std::printf("%s: SaveConfigFile %u, SaveDictionaryFile %u\n", fault.what, config, dict);
        EXPECT_TRUE(scheme.untouched_from(0));
        EXPECT_TRUE(dictionary.untouched_from(0));

        // The wizard cannot be found, and its marker cannot be written.
        HostBuffer host("anything");
        MessageBoxWatch watch;
        EXPECT_EQ(call_buffer("ProCheckTXA", host.data()), arg(host.data()));
        EXPECT_EQ(watch.boxes().size(), 1u);
        expect_answer(host, "ERROR", "ProCheckTXA", 0);

        if (fault.directory) {
            EXPECT_EQ(config, 0u);
            EXPECT_EQ(dict, 0u);
            EXPECT_EQ(GetFileAttributesA(wizard_ini.path().c_str()) & FILE_ATTRIBUTE_DIRECTORY,
                      static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
            EXPECT_EQ(names_in(wizard_ini.path()), std::vector<std::string>{});
        } else if (config == 0 && dict == 0) {
            EXPECT_EQ(read_file(wizard_ini.path()), content) << "the read-only file changed";
        }
        EXPECT_EQ(names_in(windows_dir()), windows_before) << "a file was left in the Windows directory";
    }
}

TEST(PlatformFaults, ATemporaryDirectoryThatCannotBeUsed) {
    ScratchDir dir;
    write_file(dir.file("plain-file"), "x");
    struct Fault {
        const char* what;
        std::string tmp;          // TMP and TEMP
        std::string path_answer;  // what VLWGetTempPath answers
    };
    const std::string too_long = "C:\\" + letters(300);
    const Fault faults[] = {
        {"missing directory", dir.file("missing"), dir.file("missing\\")},
        {"a file, not a directory", dir.file("plain-file"), dir.file("plain-file\\")},
        // Longer than the platform's temporary path may be: it gives none.
        {"too long", too_long, ""},
    };
    const std::string here = current_dir();
    const std::vector<std::string> here_before = names_in(here);
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.what);
        ScopedEnv tmp("TMP", f.tmp), temp("TEMP", f.tmp);
        HostBuffer path("old text that is long enough", 1024);
        EXPECT_EQ(call_buffer("VLWGetTempPath", path.data()), arg(path.data()));
        expect_answer(path, f.path_answer, "VLWGetTempPath", 0);

        // No file could be made, so there is no name to give. The default
        // prefix, put in the host buffer first, stays behind the terminator.
        HostBuffer no_prefix("", 1024);
        EXPECT_EQ(call_buffer("VLWGetTempFilename", no_prefix.data()), arg(no_prefix.data()));
        EXPECT_EQ(no_prefix.bytes().substr(0, 4), std::string("\0LP\0", 4));
        EXPECT_TRUE(no_prefix.untouched_from(4));
        HostBuffer prefix("ABCDEF", 1024);
        EXPECT_EQ(call_buffer("VLWGetTempFilename", prefix.data()), arg(prefix.data()));
        expect_answer(prefix, "", "VLWGetTempFilename", 0);
        EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"plain-file"});
        EXPECT_EQ(names_in(here), here_before) << "a file was made in the current directory";
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Before the library is loaded: it takes its standard output once, then.
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    g_echo_path = std::string(temp) + "vl-echo-" + std::to_string(GetCurrentProcessId()) + ".bin";
    g_echo = CreateFileA(g_echo_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (g_echo == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot create %s\n", g_echo_path.c_str());
        return 2;
    }
    SetStdHandle(STD_OUTPUT_HANDLE, g_echo);
    const int status = RUN_ALL_TESTS();
    CloseHandle(g_echo);
    return status;
}
