// The companion launchers: ProCheckTXA starts the wizard program and
// ReporterSelectLayout the report layout selector. The programs they start are
// the stand-in (copied under the companions' names), which records the exact
// command line it received and, for the selector, answers with a Back value
// of the test's choosing. The settings files are the real ones, where a bare
// INI name resolves (the Windows directory); message boxes are real too, seen
// and closed by a hook.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "support/environment.h"
#include "support/files.h"
#include "support/settings_files.h"
#include "support/message_box_watch.h"
#include "support/vlrun32.h"

#ifndef VL_SUPPORT_CONTACT
#error "VL_SUPPORT_CONTACT comes from the build settings"
#endif

namespace {

constexpr const char* kWizardIni = "vlwizardpro.ini";
constexpr const char* kReportIni = "vlreport.ini";
const std::string kWizardTail = "vlwizpro.exe \"99\"";
const std::string kSelectorFailure =
    "The Varnel Wizard could not be run.  Please contact " VL_SUPPORT_CONTACT " if this condition persist.";

// Puts exactly these bytes into a settings file.
void put_ini_file(const char* name, const std::string& content) {
    write_file(windows_file(name), content);
    flush_profile(name);
}

std::optional<std::string> ini_file(const char* name) { return read_file(windows_file(name)); }

void set_key(const char* file, const char* section, const char* key, const std::string& value) {
    ASSERT_TRUE(WritePrivateProfileStringA(section, key, value.c_str(), file));
}

// Runs in another current directory for one scope.
class ScopedCurrentDirectory {
public:
    explicit ScopedCurrentDirectory(const std::string& dir) {
        GetCurrentDirectoryA(sizeof previous_, previous_);
        EXPECT_TRUE(SetCurrentDirectoryA(dir.c_str())) << dir;
    }
    ~ScopedCurrentDirectory() { SetCurrentDirectoryA(previous_); }
    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

private:
    char previous_[MAX_PATH];
};

std::string standins_dir() { return program_dir() + "\\standins"; }

// A copy of the stand-in under another name or in another directory.
std::string copy_standin(const std::string& to) {
    EXPECT_TRUE(CopyFileA(standin("vlrecord.exe").c_str(), to.c_str(), FALSE)) << to;
    return to;
}

// The names of all files under dir, relative to it, sorted.
void list_files(const std::string& dir, const std::string& prefix, std::vector<std::string>& out) {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            list_files(dir + "\\" + name, prefix + name + "\\", out);
        else
            out.push_back(prefix + name);
    } while (FindNextFileA(h, &found));
    FindClose(h);
}

std::vector<std::string> files_under(const std::string& dir) {
    std::vector<std::string> names;
    list_files(dir, "", names);
    std::sort(names.begin(), names.end());
    return names;
}

// ".\.\...\name", exactly `length` characters: a long relative file name that
// still resolves to `name` in the current directory. length - name.size()
// must be even.
std::string padded_name(std::size_t length, const std::string& name) {
    std::string text;
    while (text.size() + name.size() < length)
        text += ".\\";
    EXPECT_EQ(text.size() + name.size(), length);
    return text + name;
}

// A command head of exactly `length` characters that starts the stand-in
// `program`: its path, a blank and filler, which the program receives as its
// first argument. Any cut of it would still start the stand-in, so a call
// that must start nothing shows a cut as a recorded command line.
std::string standin_with_filler(const std::string& program, std::size_t length) {
    std::string head = standin(program) + " ";
    EXPECT_LT(head.size(), length);
    head += std::string(length - head.size(), 'f');
    return head;
}

// Each test starts without the companions' settings files, with a scratch
// directory of its own and another where the stand-ins record their runs.
class CompanionTest : public ::testing::Test {
protected:
    SavedIniFile wizard_ini_{kWizardIni};
    SavedIniFile report_ini_{kReportIni};
    ScratchDir records_;
    ScratchDir dir_;
    std::string record_ = records_.file("record.txt");
    std::string done_ = records_.file("done");
    ScopedEnv record_env_{"VL_RECORD", record_};
    ScopedEnv done_env_{"VL_DONE", done_};

    struct Call {
        std::uint32_t eax = 0;
        std::vector<SeenMessageBox> boxes;
        std::optional<std::string> command;  // what a started stand-in received
        bool ended_first = false;            // the stand-in had ended when the call returned
    };

    Call call(const char* name, HostBuffer& host) {
        DeleteFileA(record_.c_str());
        DeleteFileA(done_.c_str());
        Call result;
        MessageBoxWatch watch;
        EXPECT_TRUE(watch.installed());
        result.eax = call_buffer(name, host.data());
        result.ended_first = file_exists(done_);
        result.boxes = watch.boxes();
        if (std::optional<std::string> record = read_file(record_))
            result.command = record->substr(0, record->find('\n'));
        return result;
    }

    // Checks that the stand-in was started with exactly `command` and no box
    // was shown. Windows hands a program its command line unchanged; Wine
    // puts quotes around an unquoted program path that contains blanks
    // (`program`, the head of `command`), and that form is accepted too.
    static void expect_started(const Call& c, const std::string& program, const std::string& command) {
        EXPECT_TRUE(c.boxes.empty()) << "a message box was shown";
        ASSERT_TRUE(c.command) << "nothing was started";
        if (program.find(' ') != std::string::npos && command.compare(0, program.size(), program) == 0 &&
            *c.command == "\"" + program + "\"" + command.substr(program.size()))
            return;
        EXPECT_EQ(*c.command, command);
    }

    // Checks the one message box of a failed start.
    static void expect_failure_box(const Call& c, const std::string& caption, const std::string& text) {
        ASSERT_EQ(c.boxes.size(), 1u) << "expected one message box (is there a display?)";
        EXPECT_EQ(c.boxes[0].caption, caption);
        EXPECT_EQ(c.boxes[0].text, text);
        EXPECT_EQ(c.boxes[0].button_ids, std::vector<int>{IDOK}) << "not a box with OK alone";
        EXPECT_FALSE(c.boxes[0].has_icon);
    }
    static void expect_wizard_failure(const Call& c) { expect_failure_box(c, "Error", "Could not run the wizard"); }
    static void expect_selector_failure(const Call& c) {
        expect_failure_box(c, "Error executing program", kSelectorFailure);
    }
};

using ProCheckTXA = CompanionTest;
using ReporterSelectLayout = CompanionTest;

// ---------------------------------------------------------------- ProCheckTXA

TEST_F(ProCheckTXA, AStartedRunIsWaitedForAndAnsweredWithTheEmptyText) {
    const std::string data_path = standins_dir() + "\\";
    set_key(kWizardIni, "Program", "DataPath", data_path);
    set_key(kWizardIni, "Program", "DllReturn", "from before");
    const std::optional<std::string> settings = ini_file(kWizardIni);
    ScopedEnv sleep("VL_SLEEP_MS", "1500");

    HostBuffer host("whatever the host had here");
    Call c = call("ProCheckTXA", host);

    EXPECT_EQ(c.eax, arg(host.data()));
    expect_started(c, data_path + "vlwizpro.exe", data_path + kWizardTail);
    EXPECT_TRUE(c.ended_first) << "returned before the wizard program ended";
    EXPECT_EQ(host.text(), "");
    EXPECT_TRUE(host.untouched_from(1));
    EXPECT_EQ(ini_file(kWizardIni), settings) << "the settings file changed";
}

TEST_F(ProCheckTXA, AFailedStartIsShownMarkedAndAnsweredWithError) {
    const std::string data_path = dir_.path() + "\\";  // holds no wizard program
    struct Case {
        const char* before;  // settings beyond DataPath
        const char* after;
    } cases[] = {
        {"", "DllReturn=ERROR\r\n"},
        {"DllReturn=OK\r\n", "DllReturn=ERROR\r\n"},
        {"DllReturn=ERROR\r\nOther=kept\r\n", "DllReturn=ERROR\r\nOther=kept\r\n"},
    };
    for (const Case& k : cases) {
        const std::string head = "[Program]\r\nDataPath=" + data_path + "\r\n";
        put_ini_file(kWizardIni, head + k.before);
        HostBuffer host("previous answer of some length");
        Call c = call("ProCheckTXA", host);

        expect_wizard_failure(c);
        EXPECT_FALSE(c.command) << "something was started";
        EXPECT_EQ(c.eax, arg(host.data()));
        EXPECT_EQ(host.text(), "ERROR");
        EXPECT_TRUE(host.untouched_from(6));
        EXPECT_EQ(ini_file(kWizardIni), head + k.after);
    }
}

TEST_F(ProCheckTXA, TheMarkerCreatesAMissingSettingsFile) {
    ScopedCurrentDirectory cwd(dir_.path());
    HostBuffer host("");
    Call c = call("ProCheckTXA", host);
    expect_wizard_failure(c);
    EXPECT_EQ(host.text(), "ERROR");
    EXPECT_EQ(ini_file(kWizardIni), "[Program]\r\nDllReturn=ERROR\r\n");
}

TEST_F(ProCheckTXA, WithoutADataPathTheBareProgramNameIsStarted) {
    // The bare name is found where the platform looks for programs, the
    // current directory among them; from an empty one nothing starts.
    const std::optional<std::string> settings[] = {
        std::nullopt,
        std::string("[Other]\r\nDataPath=C:\\elsewhere\\\r\n"),
        std::string("[Program]\r\nLanguage=en\r\n"),
        std::string("[Program]\r\nDataPath=\r\n"),
    };
    for (const std::optional<std::string>& content : settings) {
        SCOPED_TRACE(content.value_or("<no settings file>"));
        if (content)
            put_ini_file(kWizardIni, *content);
        {
            ScopedCurrentDirectory cwd(standins_dir());
            HostBuffer host("x");
            Call c = call("ProCheckTXA", host);
            expect_started(c, "vlwizpro.exe", kWizardTail);
            EXPECT_EQ(host.text(), "");
        }
        {
            ScopedCurrentDirectory cwd(dir_.path());
            HostBuffer host("x");
            Call c = call("ProCheckTXA", host);
            expect_wizard_failure(c);
            EXPECT_EQ(host.text(), "ERROR");
        }
        flush_profile(kWizardIni);
        DeleteFileA(windows_file(kWizardIni).c_str());
        flush_profile(kWizardIni);
    }
}

TEST_F(ProCheckTXA, DataPathIsUsedAsWrittenWithNothingAddedOrQuoted) {
    CreateDirectoryA(dir_.file("wizard dir").c_str(), nullptr);
    copy_standin(dir_.file("wizard dir\\vlwizpro.exe"));
    copy_standin(dir_.file("toolsvlwizpro.exe"));
    struct Case {
        std::string data_path;
        bool started;
    } cases[] = {
        {dir_.file("wizard dir") + "\\", true},  // spaces, passed without quotes
        {dir_.file("tools"), true},               // no backslash: runs into the name
        {standins_dir(), false},                  // ...so this names "standinsvlwizpro.exe"
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.data_path);
        set_key(kWizardIni, "Program", "DataPath", k.data_path);
        HostBuffer host("x");
        Call c = call("ProCheckTXA", host);
        if (k.started) {
            expect_started(c, k.data_path + "vlwizpro.exe", k.data_path + kWizardTail);
            EXPECT_EQ(host.text(), "");
        } else {
            EXPECT_FALSE(c.command);
            expect_wizard_failure(c);
            EXPECT_EQ(host.text(), "ERROR");
        }
    }
}

TEST_F(ProCheckTXA, ADataPathTooLongForTheCommandLineIsAFailedStart) {
    // 498 characters and the 17 of the program name make the longest command
    // line the runner takes, 515. Beyond it nothing may start, not even a
    // command cut to fit.
    const std::size_t lengths[] = {498, 499, 1006, 1007, 1023, 1500};
    for (std::size_t length : lengths) {
        SCOPED_TRACE(length);
        const std::string data_path = standin_with_filler("vlwizpro.exe", length);
        set_key(kWizardIni, "Program", "DataPath", data_path);
        HostBuffer host("x");
        Call c = call("ProCheckTXA", host);
        if (length == 498) {
            ASSERT_EQ((data_path + kWizardTail).size(), 515u);
            expect_started(c, standin("vlwizpro.exe"), data_path + kWizardTail);
            EXPECT_EQ(host.text(), "");
        } else {
            EXPECT_FALSE(c.command) << "started: " << c.command.value_or("");
            expect_wizard_failure(c);
            EXPECT_EQ(host.text(), "ERROR");
            EXPECT_TRUE(host.untouched_from(6));
        }
    }
}

// ------------------------------------------------------- ReporterSelectLayout

TEST_F(ReporterSelectLayout, AStartedRunAnswersWithTheSelectorsBackValue) {
    const std::string location = standin("vlrexe.exe");
    set_key(kReportIni, "Program", "Location", location);
    write_file(dir_.file("kept.rpt.txa"), "the selector's own answer");
    struct Case {
        std::string base;
        std::string back;
    } cases[] = {
        {dir_.file("kept.rpt"), "Layout 7"},  // its answer file is neither read nor changed
        {dir_.file("report"), "C:\\layouts\\wide.vlr"},
        {"", "empty base"},
        {"name with spaces", std::string(1023, 'B')},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.base);
        set_key(kReportIni, "Parameters", "Back", "from before");
        ScopedEnv back("VL_BACK", k.back);
        ScopedEnv sleep("VL_SLEEP_MS", "500");
        HostBuffer host(k.base, 2048);
        Call c = call("ReporterSelectLayout", host);

        EXPECT_EQ(c.eax, arg(host.data()));
        expect_started(c, location, location + " \"" + k.base + " \"");
        EXPECT_TRUE(c.ended_first) << "returned before the selector ended";
        EXPECT_EQ(host.text(), k.back);
        EXPECT_TRUE(host.untouched_from(k.back.size() + 1));
    }
    EXPECT_EQ(files_under(dir_.path()), std::vector<std::string>{"kept.rpt.txa"}) << "an answer file was written";
    EXPECT_EQ(read_file(dir_.file("kept.rpt.txa")), "the selector's own answer");
}

TEST_F(ReporterSelectLayout, ASelectorThatLeavesNoBackGivesTheEmptyText) {
    set_key(kReportIni, "Program", "Location", standin("vlrexe.exe"));
    HostBuffer host("base");
    Call c = call("ReporterSelectLayout", host);
    EXPECT_TRUE(c.command);
    EXPECT_EQ(host.text(), "");
    EXPECT_TRUE(host.untouched_from(1));
}

TEST_F(ReporterSelectLayout, AFailedStartIsShownAndLeavesCancelInTheAnswerFile) {
    const std::string location = dir_.file("missing\\vlrexe.exe");
    struct Case {
        std::optional<std::string> back;         // before the call
        std::optional<std::string> answer_file;  // before the call
    } cases[] = {
        {std::string("previous choice"), std::nullopt},
        {std::nullopt, std::string("an older, longer answer\r\n")},
        {std::string(""), std::string("CANCEL")},
    };
    for (const Case& k : cases) {
        put_ini_file(kReportIni, "[Program]\r\nLocation=" + location + "\r\n" +
                                     (k.back ? "[Parameters]\r\nBack=" + *k.back + "\r\n" : ""));
        const std::optional<std::string> settings = ini_file(kReportIni);
        const std::string base = dir_.file("layout.rpt");
        if (k.answer_file)
            write_file(base + ".txa", *k.answer_file);
        else
            DeleteFileA((base + ".txa").c_str());
        HostBuffer host(base);
        Call c = call("ReporterSelectLayout", host);

        expect_selector_failure(c);
        EXPECT_FALSE(c.command);
        EXPECT_EQ(c.eax, arg(host.data()));
        EXPECT_EQ(read_file(base + ".txa"), "CANCEL");
        EXPECT_EQ(host.text(), k.back.value_or(""));
        EXPECT_TRUE(host.untouched_from(k.back.value_or("").size() + 1));
        EXPECT_EQ(ini_file(kReportIni), settings) << "the settings file changed";
    }
}

TEST_F(ReporterSelectLayout, TheAnswerFileIsTheBaseNameWithTxaAppended) {
    set_key(kReportIni, "Program", "Location", dir_.file("no-selector.exe"));
    CreateDirectoryA(dir_.file("sub").c_str(), nullptr);
    struct Case {
        const char* base;
        const char* answer_file;  // relative to the current directory
    } cases[] = {
        {"", ".txa"},
        {"sub\\layout", "sub\\layout.txa"},
        {"layout.rpt", "layout.rpt.txa"},
        {"two words", "two words.txa"},
    };
    ScopedCurrentDirectory cwd(dir_.path());
    for (const Case& k : cases) {
        SCOPED_TRACE(k.base);
        HostBuffer host(k.base);
        Call c = call("ReporterSelectLayout", host);
        expect_selector_failure(c);
        EXPECT_EQ(files_under(dir_.path()), std::vector<std::string>{k.answer_file});
        EXPECT_EQ(read_file(dir_.file(k.answer_file)), "CANCEL");
        EXPECT_EQ(host.text(), "");
        DeleteFileA(dir_.file(k.answer_file).c_str());
    }
}

TEST_F(ReporterSelectLayout, AnAnswerFileThatCannotBeOpenedIsPassedOver) {
    set_key(kReportIni, "Program", "Location", dir_.file("no-selector.exe"));
    set_key(kReportIni, "Parameters", "Back", "still answered");
    HostBuffer host(dir_.file("no-such-dir\\layout"));
    Call c = call("ReporterSelectLayout", host);
    expect_selector_failure(c);
    EXPECT_EQ(host.text(), "still answered");
    EXPECT_TRUE(files_under(dir_.path()).empty());
}

TEST_F(ReporterSelectLayout, WithoutALocationTheBareProgramNameIsStarted) {
    const std::string base = dir_.file("layout");
    {
        ScopedCurrentDirectory cwd(standins_dir());
        HostBuffer host(base);
        Call c = call("ReporterSelectLayout", host);
        expect_started(c, "vlrexe.exe", "vlrexe.exe \"" + base + " \"");
        EXPECT_FALSE(file_exists(base + ".txa"));
    }
    {
        ScratchDir empty;
        ScopedCurrentDirectory cwd(empty.path());
        HostBuffer host(base);
        Call c = call("ReporterSelectLayout", host);
        expect_selector_failure(c);
        EXPECT_EQ(read_file(base + ".txa"), "CANCEL");
    }
}

TEST_F(ReporterSelectLayout, ALocationWithSpacesIsPassedWithoutQuotes) {
    CreateDirectoryA(dir_.file("selector dir").c_str(), nullptr);
    const std::string location = copy_standin(dir_.file("selector dir\\vlrexe.exe"));
    set_key(kReportIni, "Program", "Location", location);
    HostBuffer host("base");
    Call c = call("ReporterSelectLayout", host);
    expect_started(c, location, location + " \"base \"");
}

TEST_F(ReporterSelectLayout, NamesTooLongForACommandLineOrAnswerFileAreAFailedStart) {
    // Location and base name together may have 511 characters (515 with the
    // two blanks and quotes); the answer file name fits while the base name
    // has 1,019. Beyond either, nothing starts, not even a command cut to fit,
    // and an answer file is written only under its whole name. Long base
    // names here are ".\.\...\answer", which resolves in the current directory.
    enum class Answer {
        kNone,
        kCancel,
        // The name is longer than the platform's 8-bit file functions take
        // (MAX_PATH), so the platform itself refuses to create it.
        kRefusedByPlatform,
    };
    const std::size_t short_location = standin("vlrexe.exe").size() + 2;
    struct Case {
        std::size_t location;  // characters
        std::size_t base;      // 0: the empty name; 6: "answer"
        bool started;
        Answer answer;
    } cases[] = {
        {511 - 6, 6, true, Answer::kNone},
        {512 - 6, 6, false, Answer::kCancel},
        {short_location, 511 - short_location, true, Answer::kNone},
        {short_location, 512 - short_location, false, Answer::kRefusedByPlatform},
        {short_location, 1019, false, Answer::kRefusedByPlatform},
        {short_location, 1020, false, Answer::kNone},
        {short_location, 3000, false, Answer::kNone},
        {1019, 0, false, Answer::kCancel},
        {1020, 0, false, Answer::kCancel},
        {1023, 0, false, Answer::kCancel},
        {3000, 0, false, Answer::kCancel},  // read cut to 1,023 characters
    };
    ScopedCurrentDirectory cwd(dir_.path());
    set_key(kReportIni, "Parameters", "Back", "kept");
    for (const Case& k : cases) {
        SCOPED_TRACE(::testing::Message() << "location " << k.location << ", base " << k.base);
        const std::string location = standin_with_filler("vlrexe.exe", k.location);
        set_key(kReportIni, "Program", "Location", location);
        const std::string name = k.base % 2 ? "answerX" : "answer";
        const std::string base = k.base == 0 ? std::string() : padded_name(k.base, name);
        const std::string answer_file = (k.base == 0 ? std::string() : name) + ".txa";
        HostBuffer host(base, 4096);
        Call c = call("ReporterSelectLayout", host);

        EXPECT_EQ(host.text(), "kept");
        EXPECT_TRUE(host.untouched_from(5));
        if (k.started) {
            ASSERT_EQ(location.size() + base.size() + 4, 515u);
            expect_started(c, standin("vlrexe.exe"), location + " \"" + base + " \"");
        } else {
            EXPECT_FALSE(c.command) << "started: " << c.command.value_or("");
            expect_selector_failure(c);
        }
        if (k.answer == Answer::kCancel) {
            EXPECT_EQ(files_under(dir_.path()), std::vector<std::string>{answer_file});
            EXPECT_EQ(read_file(dir_.file(answer_file)), "CANCEL");
        } else {
            EXPECT_TRUE(files_under(dir_.path()).empty()) << "an answer file was written";
        }
        DeleteFileA(dir_.file(answer_file).c_str());
    }
}

// ------------------------------------------------------------------- both

TEST_F(CompanionTest, ANullHostBufferStartsNothing) {
    set_key(kWizardIni, "Program", "DataPath", standins_dir() + "\\");
    set_key(kReportIni, "Program", "Location", standin("vlrexe.exe"));
    for (const char* name : {"ProCheckTXA", "ReporterSelectLayout"}) {
        DeleteFileA(record_.c_str());
        MessageBoxWatch watch;
        EXPECT_EQ(call_buffer(name, nullptr), 0u) << name;
        EXPECT_TRUE(watch.boxes().empty()) << name;
        EXPECT_FALSE(file_exists(record_)) << name << " started a program";
    }
}

}  // namespace
