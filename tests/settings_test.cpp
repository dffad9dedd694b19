// The INI writers: PutIniW, SaveConfigFile and SaveDictionaryFile. First what
// each hands the platform (the DLL's import of WritePrivateProfileStringA
// replaced by a recorder), then what lands on disk under Wine, byte for byte.
// INI files in the Windows directory that a test touches are put back as they
// were when it ends.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "cases/request_field_cases.h"
#include "support/files.h"
#include "support/settings_files.h"
#include "support/import_hook.h"
#include "support/vlrun32.h"

namespace {

std::string current_dir_file(const std::string& name) {
    char dir[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(sizeof dir, dir);
    return std::string(dir, n) + "\\" + name;
}

// A value as the platform's INI read gives it back; "<absent>" when the key
// is not there.
std::string profile_value(const char* section, const char* key, const char* file) {
    std::vector<char> value(16384);
    GetPrivateProfileStringA(section, key, "<absent>", value.data(), static_cast<DWORD>(value.size()), file);
    return value.data();
}

// ---------------------------------------------------------------------------
// What reaches the platform.

struct PlatformWrite {
    std::optional<std::string> section, key, value, file;
};

std::vector<PlatformWrite> g_writes;
BOOL g_write_result = TRUE;

std::optional<std::string> text_or_null(const char* p) {
    return p ? std::optional<std::string>(p) : std::nullopt;
}

BOOL WINAPI record_write(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
    g_writes.push_back({text_or_null(section), text_or_null(key), text_or_null(value), text_or_null(file)});
    return g_write_result;
}

LPVOID WINAPI no_memory(HANDLE, DWORD, SIZE_T) { return nullptr; }

std::string show(const std::optional<std::string>& field) { return field ? "\"" + *field + "\"" : "null"; }

class RecordedWrites : public ::testing::Test {
protected:
    void SetUp() override {
        g_writes.clear();
        g_write_result = TRUE;
        ASSERT_TRUE(hook_.installed()) << "VLRun32.dll does not import WritePrivateProfileStringA";
    }
    ImportHook hook_{"KERNEL32.dll", "WritePrivateProfileStringA", reinterpret_cast<void*>(&record_write)};
};

void expect_one_write(const PlatformWrite& expected, const std::string& request) {
    ASSERT_EQ(g_writes.size(), 1u) << "request \"" << request << "\"";
    const PlatformWrite& got = g_writes[0];
    EXPECT_EQ(show(got.section), show(expected.section)) << "section of \"" << request << "\"";
    EXPECT_EQ(show(got.key), show(expected.key)) << "key of \"" << request << "\"";
    EXPECT_EQ(show(got.value), show(expected.value)) << "value of \"" << request << "\"";
    EXPECT_EQ(show(got.file), show(expected.file)) << "file name of \"" << request << "\"";
}

TEST_F(RecordedWrites, PutIniWMakesOneWriteWithTheFieldsInOrderAndNullsForAbsentOnes) {
    for (const RequestFieldCase& c : kRequestFieldCases) {
        g_writes.clear();
        HostBuffer host(c.request);
        call_buffer("PutIniW", host.data());
        expect_one_write({text_or_null(c.fields[0]), text_or_null(c.fields[1]), text_or_null(c.fields[2]),
                          text_or_null(c.fields[3])},
                         c.request);
        EXPECT_TRUE(host.untouched_from(0)) << "PutIniW changed the host buffer of \"" << c.request << "\"";
    }
}

TEST_F(RecordedWrites, PutIniWTakesARequestFarLongerThanAWorkBuffer) {
    const std::string section(700, 'S'), key(900, 'K'), value(3000, 'V'), file(1500, 'f');
    const std::string request = ",," + section + "," + key + ",," + value + "," + file + ",tail";
    HostBuffer host(request, request.size() + 64);
    call_buffer("PutIniW", host.data());
    expect_one_write({section, key, value, file}, "<" + std::to_string(request.size()) + " characters>");
    EXPECT_TRUE(host.untouched_from(0));
}

TEST_F(RecordedWrites, PutIniWWithoutMemoryForItsCopyWritesNothing) {
    ImportHook heap("KERNEL32.dll", "HeapAlloc", reinterpret_cast<void*>(&no_memory));
    ASSERT_TRUE(heap.installed()) << "VLRun32.dll does not import HeapAlloc";
    HostBuffer host("Sec,Key,Value,C:\\never.ini");
    call_buffer("PutIniW", host.data());
    EXPECT_TRUE(g_writes.empty());
    EXPECT_TRUE(host.untouched_from(0));
}

struct FixedKey {
    const char* export_name;
    const char* section;
    const char* key;
};
constexpr FixedKey kFixedKeys[] = {
    {"SaveConfigFile", "Preserve", "Last scheme"},
    {"SaveDictionaryFile", "Program", "Dictionary"},
};

TEST_F(RecordedWrites, FixedKeyExportsPassTheWholeTextAndHandBackThePlatformsResult) {
    const std::string texts[] = {"a,b, c,", "", " 'quoted' \"scheme\" ", ",", std::string(3000, 'd') + ",x"};
    const BOOL results[] = {TRUE, FALSE, 0x7FFFFFFF};
    for (const FixedKey& k : kFixedKeys) {
        for (const std::string& text : texts) {
            for (BOOL result : results) {
                g_writes.clear();
                g_write_result = result;
                HostBuffer host(text, text.size() + 64);
                EXPECT_EQ(call_buffer(k.export_name, host.data()), static_cast<std::uint32_t>(result))
                    << k.export_name;
                expect_one_write({k.section, k.key, text, "vlwizardpro.ini"},
                                 std::string(k.export_name) + " " + text.substr(0, 40));
                EXPECT_TRUE(host.untouched_from(0)) << k.export_name << " changed the host buffer";
            }
        }
    }
}

TEST_F(RecordedWrites, TextsLongerThanThePlatformStoresWholeAreNotWritten) {
    // The platform's INI write takes a text of at most 32,766 characters
    // whole; Wine loses a longer one and answers success all the same, which
    // wipes the old value. Such a write is not made: the fixed keys answer 0.
    const std::string longest(32766, 'w'), too_long(32767, 'w');
    struct Case {
        std::string request;
        bool written;
    };
    const Case requests[] = {
        {longest + "," + longest + "," + longest + ",C:\\f.ini", true},
        {too_long + ",K,V,C:\\f.ini", false},
        {"S," + too_long + ",V,C:\\f.ini", false},
        {"S,K," + too_long + ",C:\\f.ini", false},
        {"S,K,V," + too_long, false},
        {"S,K," + too_long, false},
    };
    for (const Case& c : requests) {
        g_writes.clear();
        HostBuffer host(c.request, c.request.size() + 64);
        call_buffer("PutIniW", host.data());
        EXPECT_EQ(g_writes.size(), c.written ? 1u : 0u) << c.request.size() << " characters";
        EXPECT_TRUE(host.untouched_from(0));
    }
    for (const FixedKey& k : kFixedKeys) {
        for (const std::string* text : {&longest, &too_long}) {
            g_writes.clear();
            HostBuffer host(*text, text->size() + 64);
            const bool fits = text == &longest;
            EXPECT_EQ(call_buffer(k.export_name, host.data()), fits ? 1u : 0u) << k.export_name;
            EXPECT_EQ(g_writes.size(), fits ? 1u : 0u) << k.export_name << ", " << text->size() << " characters";
            EXPECT_TRUE(host.untouched_from(0));
        }
    }
}

// ---------------------------------------------------------------------------
// What lands on disk.

TEST(PutIniW, FourFieldsStoreTheValueInTheNamedFile) {
    ScratchDir dir;
    const std::string file = dir.file("settings.ini");
    const std::string long_value(3000, 'v');
    struct Case {
        const char* before;  // the file's content first; null: no file
        std::string request_head, request_tail;  // around the file's name
        const char* section;
        const char* key;
        std::string read_back;  // the value as the platform's INI read gives it
        std::string after;      // the file's exact bytes afterwards
    };
    const Case cases[] = {
        {nullptr, "Sec,Key,Value,", "", "Sec", "Key", "Value", "[Sec]\r\nKey=Value\r\n"},
        {"[Other]\r\nx=1\r\n[Sec]\r\nKey=old\r\nMore=2\r\n", ",,Sec,Key,New value,", ",ignored.ini,,", "Sec",
         "Key", "New value", "[Other]\r\nx=1\r\n[Sec]\r\nKey=New value\r\nMore=2\r\n"},
        // The quotes are stored; the platform's read drops them.
        {"[Other]\r\nx=1\r\n", "Added,Key,'quoted',", "", "Added", "Key", "quoted",
         "[Other]\r\nx=1\r\n[Added]\r\nKey='quoted'\r\n"},
        {nullptr, "Long,Key," + long_value + ",", "", "Long", "Key", long_value,
         "[Long]\r\nKey=" + long_value + "\r\n"},
    };
    for (const Case& c : cases) {
        remove_path(file);
        if (c.before)
            write_file(file, c.before);
        const std::string request = c.request_head + file + c.request_tail;
        HostBuffer host(request, request.size() + 64);
        call_buffer("PutIniW", host.data());
        EXPECT_EQ(read_file(file), c.after) << request.substr(0, 60);
        EXPECT_EQ(profile_value(c.section, c.key, file.c_str()), c.read_back);
        EXPECT_TRUE(host.untouched_from(0)) << "PutIniW changed the host buffer";
    }
    EXPECT_FALSE(file_exists(dir.file("ignored.ini")));
    EXPECT_FALSE(file_exists(current_dir_file("ignored.ini")));
    EXPECT_FALSE(file_exists(windows_file("ignored.ini")));
}

TEST(PutIniW, ACommaInsideTheValueNamesTheFileAfterTheSecondPiece) {
    // The second value piece is a name without a directory: the platform puts
    // it in the Windows directory, not the current one.
    SavedFile piece(windows_file("vltest-second-piece.ini"));
    ScratchDir dir;
    const std::string named = dir.file("named.ini");
    const std::string request = "VLTest,Key,first,vltest-second-piece.ini," + named;
    HostBuffer host(request);
    call_buffer("PutIniW", host.data());
    EXPECT_EQ(read_file(piece.path()), std::string("[VLTest]\r\nKey=first\r\n"));
    EXPECT_EQ(profile_value("VLTest", "Key", "vltest-second-piece.ini"), "first");
    EXPECT_FALSE(file_exists(named));
    EXPECT_FALSE(file_exists(current_dir_file("vltest-second-piece.ini")));
    EXPECT_TRUE(host.untouched_from(0));
}

TEST(PutIniW, FewerThanFourFieldsGoToWinIniAndNeverToANamedFile) {
    // With no file name, Wine's INI write uses win.ini in the Windows
    // directory; a request of no fields (all four arguments null) writes
    // nothing at all.
    SavedFile win_ini(windows_file("win.ini"), false);
    WritePrivateProfileStringA("VLTestSection", nullptr, nullptr, "win.ini");  // a left-over of an earlier run
    const std::optional<std::string> base = read_file(win_ini.path());
    ASSERT_TRUE(base.has_value()) << "no win.ini in the Windows directory";

    struct Step {
        const char* request;
        const char* win_ini_tail;  // win.ini afterwards: its first bytes, then these
        const char* value;         // what VLTestKey reads back as
    };
    const Step steps[] = {
        {"VLTestSection,VLTestKey,vltest-value.ini", "[VLTestSection]\r\nVLTestKey=vltest-value.ini\r\n",
         "vltest-value.ini"},
        {"", "[VLTestSection]\r\nVLTestKey=vltest-value.ini\r\n", "vltest-value.ini"},
        {",,,", "[VLTestSection]\r\nVLTestKey=vltest-value.ini\r\n", "vltest-value.ini"},
        {"VLTestSection,VLTestKey", "[VLTestSection]\r\n", "<absent>"},
        {"VLTestSection,VLTestKey,again", "[VLTestSection]\r\nVLTestKey=again\r\n", "again"},
        {",VLTestSection,", "", "<absent>"},
    };
    const char* names[] = {"vltest-value.ini", "VLTestSection", "VLTestKey", "again"};
    for (const Step& s : steps) {
        HostBuffer host(s.request);
        call_buffer("PutIniW", host.data());
        EXPECT_EQ(read_file(win_ini.path()), *base + s.win_ini_tail) << "after \"" << s.request << "\"";
        EXPECT_EQ(profile_value("VLTestSection", "VLTestKey", "win.ini"), s.value) << "after \"" << s.request << "\"";
        for (const char* name : names) {
            EXPECT_FALSE(file_exists(windows_file(name))) << name << " after \"" << s.request << "\"";
            EXPECT_FALSE(file_exists(current_dir_file(name))) << name << " after \"" << s.request << "\"";
        }
        EXPECT_TRUE(host.untouched_from(0));
    }
}

TEST(FixedKeys, StoreTheWholeTextCommasAndEmptyIncluded) {
    SavedFile settings(windows_file("vlwizardpro.ini"));
    // Blanks before a value reach the platform (see above) but Wine's write
    // drops them, so none stand first here; blanks after it are kept.
    const std::string texts[] = {"a,b, c,", "", "My scheme ", std::string(2000, 's')};
    for (const FixedKey& k : kFixedKeys) {
        for (const std::string& text : texts) {
            remove_path(settings.path());
            HostBuffer host(text, text.size() + 64);
            EXPECT_NE(call_buffer(k.export_name, host.data()), 0u) << k.export_name;
            EXPECT_EQ(read_file(settings.path()),
                      "[" + std::string(k.section) + "]\r\n" + k.key + "=" + text + "\r\n")
                << k.export_name << " \"" << text.substr(0, 40) << "\"";
            EXPECT_TRUE(host.untouched_from(0)) << k.export_name << " changed the host buffer";
        }
    }
    // An empty text leaves the key present, with an empty value.
    EXPECT_EQ(profile_value("Program", "Dictionary", "vlwizardpro.ini"), std::string(2000, 's'));
    HostBuffer empty("");
    EXPECT_NE(call_buffer("SaveDictionaryFile", empty.data()), 0u);
    EXPECT_EQ(profile_value("Program", "Dictionary", "vlwizardpro.ini"), "");
}

TEST(FixedKeys, ReplaceTheirValueAndKeepTheRestOfTheFile) {
    SavedFile settings(windows_file("vlwizardpro.ini"));
    write_file(settings.path(),
               "[Program]\r\nDataPath=C:\\wizard\r\nDictionary=old.dic\r\n[Preserve]\r\nLast scheme=old\r\n");
    HostBuffer dictionary("C:\\dic\\new, with commas.dic");
    EXPECT_NE(call_buffer("SaveDictionaryFile", dictionary.data()), 0u);
    HostBuffer scheme("");
    EXPECT_NE(call_buffer("SaveConfigFile", scheme.data()), 0u);
    EXPECT_EQ(read_file(settings.path()),
              std::string("[Program]\r\nDataPath=C:\\wizard\r\nDictionary=C:\\dic\\new, with commas.dic\r\n"
                          "[Preserve]\r\nLast scheme=\r\n"));
    EXPECT_TRUE(dictionary.untouched_from(0));
    EXPECT_TRUE(scheme.untouched_from(0));
}

TEST(FixedKeys, AFailedWriteReturnsZero) {
    // A directory where the settings file should be: Wine cannot write it.
    // (A read-only file is no sure failure: Wine run as root writes it all the
    // same.)
    SavedFile settings(windows_file("vlwizardpro.ini"));
    ASSERT_TRUE(CreateDirectoryA(settings.path().c_str(), nullptr));
    for (const FixedKey& k : kFixedKeys) {
        HostBuffer host("value,with,commas");
        EXPECT_EQ(call_buffer(k.export_name, host.data()), 0u) << k.export_name;
        EXPECT_TRUE(host.untouched_from(0));
    }
}

}  // namespace
