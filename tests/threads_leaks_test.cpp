// Many threads and many calls: the text exports give every thread exactly the
// answers they give one thread alone, temporary names never repeat, and a few
// hundred calls leave the process's handle count and heap as they found them.
//
// GetCSIDL echoes each name on the standard output the library took at load;
// main() points that at NUL first, so the echo does not flood the test log,
// and the test counts the bytes the library writes there.
#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <cstring>
#include <cstdio>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "support/environment.h"
#include "support/files.h"
#include "support/import_hook.h"
#include "support/vlrun32.h"

namespace {

HANDLE g_echo = INVALID_HANDLE_VALUE;  // the library's standard output

// The bytes the library has written on its standard output, counted at its
// import of WriteFile: Wine's emulation of appending to a file can lose
// writes that race each other, so the file's size is no count.
volatile LONG g_echoed = 0;

BOOL WINAPI counting_write(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
    if (file == g_echo)
        InterlockedExchangeAdd(&g_echoed, static_cast<LONG>(size));
    return WriteFile(file, data, size, written, overlapped);
}

int env_count(const char* name, int fallback) {
    char value[32];
    DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    return (n > 0 && n < sizeof value) ? std::atoi(value) : fallback;
}

double seconds_since(DWORD start) { return (GetTickCount() - start) / 1000.0; }

// ---------------------------------------------------------------------------
// Threads.

constexpr int kThreads = 8;

// Inputs the threads take in turn; each thread starts at another place.
const char* const kFileNames[] = {"C:\\dir\\file.txt", "abc.txt", "..x", "dir/sub/f.e", "\\\\server\\share\\x",
                                  "a.b.c", ""};
const char* const kQuoted[] = {"'abc'", "''abc''", "abc'", "'", "a'b", ""};
const char* const kCsidlNames[] = {"csidl_appdata", "CSIDL_FONTS", "Csidl_Personal", "not a name", ""};
constexpr std::size_t kHostSize = 1024;

template <std::size_t N>
std::size_t pick(const char* const (&)[N], int i) { return static_cast<std::size_t>(i) % N; }

// One thread's view of the answers: every host buffer in whole, as the
// single-thread pass left it.
struct Reference {
    std::vector<std::string> file_name, file_name_only, unquoted, csidl;
    std::string ini;  // the bytes of the INI file after the request sequence
};

// The PutIniW request of step i: a few sections and keys, a value per step.
std::string ini_request(int i, const std::string& file) {
    return "S" + std::to_string(i % 3) + ",K" + std::to_string(i % 7) + ",v" + std::to_string(i) + "," + file;
}

std::string buffer_answer(const char* name, const char* input, bool returns_host) {
    HostBuffer host(input, kHostSize);
    const std::uint32_t eax = call_buffer(name, host.data());
    if (returns_host && eax != arg(host.data()))
        return "<EAX is not the host buffer>";
    return host.bytes();
}

std::string unquote_answer(const char* input) {
    HostBuffer text(input, 64);
    if (call_stack("UnquoteString", {arg(text.data())}) != arg(text.data()))
        return "<EAX is not the text>";
    return text.bytes();
}

// What one thread finds: each difference from the reference, and every
// temporary name it was given.
struct ThreadResult {
    std::vector<std::string> mismatches;
    std::vector<std::string> temp_names;
};

void note(ThreadResult& r, const char* what, int i, const std::string& input) {
    if (r.mismatches.size() < 20)
        r.mismatches.push_back(std::string(what) + " step " + std::to_string(i) + " input \"" + input + "\"");
}

// The six exports in turn, `iterations` times. PutIniW writes `ini_file`.
void hammer(int thread, int iterations, const Reference& ref, const std::string& ini_file, ThreadResult& r) {
    for (int step = 0; step < iterations; ++step) {
        const int i = step + thread * 5;
        const std::size_t f = pick(kFileNames, i), q = pick(kQuoted, i), c = pick(kCsidlNames, i);
        if (buffer_answer("GetFileName", kFileNames[f], true) != ref.file_name[f])
            note(r, "GetFileName", step, kFileNames[f]);
        if (buffer_answer("GetFileNameOnly", kFileNames[f], true) != ref.file_name_only[f])
            note(r, "GetFileNameOnly", step, kFileNames[f]);
        if (unquote_answer(kQuoted[q]) != ref.unquoted[q])
            note(r, "UnquoteString", step, kQuoted[q]);
        if (buffer_answer("GetCSIDL", kCsidlNames[c], false) != ref.csidl[c])
            note(r, "GetCSIDL", step, kCsidlNames[c]);

        const std::string request = ini_request(step, ini_file);
        HostBuffer put(request, request.size() + 16);
        call_buffer("PutIniW", put.data());
        if (!put.untouched_from(0))
            note(r, "PutIniW changed the host buffer", step, request);

        HostBuffer temp("VLT", 300);
        if (call_buffer("VLWGetTempFilename", temp.data()) != arg(temp.data()))
            note(r, "VLWGetTempFilename EAX", step, "VLT");
        r.temp_names.push_back(temp.text());
    }
}

TEST(Threads, EightThreadsGetTheSingleThreadAnswersAndUniqueTemporaryNames) {
    const int iterations = env_count("VL_THREAD_ITERATIONS", 1000);
    ScratchDir dir;
    // Temporary files go to the scratch directory, where each can be counted.
    ScopedEnv tmp("TMP", dir.path()), temp("TEMP", dir.path());
    const std::string temp_dir = dir.path() + "\\";

    Reference ref;
    for (const char* name : kFileNames) {
        ref.file_name.push_back(buffer_answer("GetFileName", name, true));
        ref.file_name_only.push_back(buffer_answer("GetFileNameOnly", name, true));
    }
    for (const char* text : kQuoted)
        ref.unquoted.push_back(unquote_answer(text));
    for (const char* name : kCsidlNames)
        ref.csidl.push_back(buffer_answer("GetCSIDL", name, false));
    EXPECT_EQ(ref.unquoted[0].c_str(), std::string("abc"));
    EXPECT_NE(ref.csidl[0].c_str(), std::string()) << "no application data folder";

    // The single-thread pass: the INI bytes it leaves are every thread's answer.
    ThreadResult single;
    ImportHook count_echo("KERNEL32.dll", "WriteFile", reinterpret_cast<void*>(&counting_write));
    ASSERT_TRUE(count_echo.installed());
    const LONG echo_before = g_echoed;
    DWORD start = GetTickCount();
    hammer(0, iterations, ref, dir.file("single.ini"), single);
    const double single_seconds = seconds_since(start);
    ref.ini = read_file(dir.file("single.ini")).value_or("<none>");
    EXPECT_EQ(single.mismatches, std::vector<std::string>{});
    EXPECT_NE(ref.ini.find("[S0]\r\n"), std::string::npos) << ref.ini;

    std::vector<ThreadResult> results(kThreads);
    std::vector<std::thread> threads;
    start = GetTickCount();
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            hammer(t, iterations, ref, dir.file("thread" + std::to_string(t) + ".ini"), results[t]);
        });
    for (std::thread& t : threads)
        t.join();
    const double threaded_seconds = seconds_since(start);
    std::printf("threads: %d x %d iterations of 6 exports in %.1f s; one thread alone: %d in %.1f s\n", kThreads,
                iterations, threaded_seconds, iterations, single_seconds);

    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(results[t].mismatches, std::vector<std::string>{}) << "thread " << t;
        EXPECT_EQ(read_file(dir.file("thread" + std::to_string(t) + ".ini")), ref.ini) << "thread " << t;
    }
    // Every echo reached standard output whole: the names' lengths, summed.
    auto echoed = [&](int thread) {
        std::uint64_t n = 0;
        for (int step = 0; step < iterations; ++step)
            n += std::strlen(kCsidlNames[pick(kCsidlNames, step + thread * 5)]);
        return n;
    };
    std::uint64_t expected_echo = echoed(0);
    for (int t = 0; t < kThreads; ++t)
        expected_echo += echoed(t);
    EXPECT_EQ(static_cast<std::uint64_t>(g_echoed - echo_before), expected_echo);

    // Names never repeat, each names the file it made, and nothing else is left.
    std::set<std::string> names;
    std::size_t total = 0;
    int missing = 0;
    results.push_back(single);
    for (const ThreadResult& r : results)
        for (const std::string& name : r.temp_names) {
            ++total;
            names.insert(name);
            EXPECT_EQ(name.rfind(temp_dir + "VLT", 0), 0u) << name;
            if (!DeleteFileA((name + ".tmp").c_str()))
                ++missing;
        }
    EXPECT_EQ(total, static_cast<std::size_t>(iterations) * (kThreads + 1));
    EXPECT_EQ(names.size(), total) << "a temporary name was given twice";
    EXPECT_EQ(missing, 0) << "answers without their file";
    for (int t = 0; t < kThreads; ++t)
        DeleteFileA(dir.file("thread" + std::to_string(t) + ".ini").c_str());
    DeleteFileA(dir.file("single.ini").c_str());
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA(dir.file("*").c_str(), &found);
    int left = 0;
    if (h != INVALID_HANDLE_VALUE) {
        do
            left += found.cFileName[0] != '.';
        while (FindNextFileA(h, &found));
        FindClose(h);
    }
    EXPECT_EQ(left, 0) << "files left in the temporary directory";
}

// ---------------------------------------------------------------------------
// Leaks.

// Handles of this process in the system's handle list. Wine's
// GetProcessHandleCount answers 0 whatever the process holds; this list is
// real there (and on Windows).
struct HandleEntry {
    ULONG owner;
    UCHAR type, flags;
    USHORT value;
    void* object;
    ACCESS_MASK access;
};
using QuerySystem = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
constexpr ULONG kSystemHandleInformation = 16;

long listed_handles() {
    static const auto query =
        reinterpret_cast<QuerySystem>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    static std::vector<char> list(1 << 20);
    if (!query)
        return -1;
    ULONG needed = 0;
    while (query(kSystemHandleInformation, list.data(), static_cast<ULONG>(list.size()), &needed) != 0) {
        if (list.size() >= (64u << 20))
            return -1;
        list.resize(list.size() * 2);
    }
    const ULONG count = *reinterpret_cast<const ULONG*>(list.data());
    const auto* entries = reinterpret_cast<const HandleEntry*>(list.data() + sizeof(ULONG_PTR));
    long mine = 0;
    for (ULONG i = 0; i < count; ++i)
        mine += entries[i].owner == GetCurrentProcessId();
    return mine;
}

// GDI objects of this process. Wine's GetGuiResources answers 0; its GDI
// handle table, which the process environment block points at as on
// Windows, has an entry of a nonzero type for each object in use.
struct WineGdiEntry {
    std::uint64_t object;
    USHORT owner, count;
    USHORT unique;
    UCHAR type, flags;
    std::uint64_t user;
};
static_assert(sizeof(WineGdiEntry) == 24, "Wine's GDI handle entry");

bool under_wine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

long gdi_objects() {
    if (!under_wine())
        return static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    const unsigned char* peb;  // the process environment block
    __asm__("movl %%fs:0x30, %0" : "=r"(peb));
    const auto* table = *reinterpret_cast<const WineGdiEntry* const*>(peb + 0x94);  // GdiSharedHandleTable
    if (!table)
        return -1;
    // Wine's table belongs to this process alone and records no owner.
    long mine = 0;
    for (int i = 0; i < 0x10000; ++i)
        mine += table[i].type != 0;
    return mine;
}

struct Usage {
    DWORD handle_count = 0;  // GetProcessHandleCount
    long handles = 0;        // the system's handle list
    std::uint64_t heap_bytes = 0, heap_blocks = 0;  // busy blocks of the process heap
    long gdi = 0;
};

Usage measure() {
    Usage u;
    GetProcessHandleCount(GetCurrentProcess(), &u.handle_count);
    u.handles = listed_handles();
    HANDLE heap = GetProcessHeap();
    HeapLock(heap);
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
            u.heap_bytes += entry.cbData;
            ++u.heap_blocks;
        }
    HeapUnlock(heap);
    u.gdi = gdi_objects();
    return u;
}

// Waits until no process that this one started is still running.
void wait_for_children() {
    const DWORD self = GetCurrentProcessId();
    for (int tries = 0; tries < 600; ++tries) {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32 p{};
        p.dwSize = sizeof p;
        bool running = false;
        for (BOOL more = Process32First(snapshot, &p); more; more = Process32Next(snapshot, &p))
            running = running || p.th32ParentProcessID == self;
        CloseHandle(snapshot);
        if (!running)
            return;
        Sleep(100);
    }
    ADD_FAILURE() << "children still running after 60 s";
}

struct Round {
    int processes;  // RunProcess calls, half waited for, half not
    int others;     // calls of each other export
};

// One round of calls, with every buffer made before the first call, so that
// the test itself allocates nothing while the library runs.
void run_round(const Round& round, const std::string& command, const std::string& request) {
    std::string csidl(kHostSize, '\0'), put(request), fonts(8, '\0');
    for (int i = 0; i < round.processes; ++i)
        EXPECT_EQ(call_stack("RunProcess", {arg(command.c_str()), i % 2 == 0 ? 1u : 0u}), 1u);
    wait_for_children();
    for (int i = 0; i < round.others; ++i) {
        std::strcpy(&csidl[0], i % 2 ? "csidl_appdata" : "CSIDL_FONTS");
        call_buffer("GetCSIDL", &csidl[0]);
        call_buffer("PutIniW", &put[0]);
        call_buffer("UsingLargeFonts", &fonts[0]);
    }
}

TEST(Leaks, HandlesAndHeapAreAsBeforeAfterHundredsOfCalls) {
    const Round round{env_count("VL_LEAK_PROCESSES", 200), env_count("VL_LEAK_CALLS", 300)};
    ScratchDir dir;
    ScopedEnv sleep("VL_SLEEP_MS", "0");
    const std::string command = "\"" + standin("vlrecord.exe") + "\" leak";
    const std::string request = "Leak,Key,value," + dir.file("leak.ini");

    // A first, shorter round fills what the platform caches on first use.
    DWORD start = GetTickCount();
    run_round({round.processes / 10, round.others / 10}, command, request);
    const double warm_seconds = seconds_since(start);
    const Usage before = measure();
    start = GetTickCount();
    run_round(round, command, request);
    const double round_seconds = seconds_since(start);
    const Usage after = measure();

    std::printf("leaks: %d RunProcess (half waited), %d each of GetCSIDL, PutIniW, UsingLargeFonts; "
                "rounds of %.1f s and %.1f s\n",
                round.processes, round.others, warm_seconds, round_seconds);
    std::printf("leaks: handle list %ld -> %ld (GetProcessHandleCount %lu -> %lu); process heap busy %llu bytes "
                "in %llu blocks -> %llu bytes in %llu blocks; GDI objects %ld -> %ld\n",
                before.handles, after.handles, before.handle_count, after.handle_count,
                static_cast<unsigned long long>(before.heap_bytes),
                static_cast<unsigned long long>(before.heap_blocks),
                static_cast<unsigned long long>(after.heap_bytes),
                static_cast<unsigned long long>(after.heap_blocks), before.gdi, after.gdi);
    EXPECT_GT(before.handles, 0) << "the handle list gives nothing";
    EXPECT_GT(before.heap_blocks, 0u) << "HeapWalk gives nothing";
    EXPECT_EQ(after.handle_count, before.handle_count);
    EXPECT_EQ(after.handles, before.handles);
    EXPECT_EQ(after.heap_bytes, before.heap_bytes);
    EXPECT_EQ(after.heap_blocks, before.heap_blocks);
    EXPECT_EQ(after.gdi, before.gdi);
}

TEST(Leaks, TheMeasuresSeeALeak) {
    // One handle, one heap block and device contexts, taken and not yet given
    // back, show in the measures. (Wine keeps released device contexts of
    // windows for reuse, so only more than it keeps show; run after the test
    // above, which would otherwise find them kept.)
    const Usage before = measure();
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    void* block = HeapAlloc(GetProcessHeap(), 0, 1000);
    std::vector<HDC> dcs(100);
    const Usage mid = measure();
    for (HDC& dc : dcs)
        dc = GetDC(GetDesktopWindow());
    const Usage after = measure();
    for (HDC dc : dcs)
        ReleaseDC(GetDesktopWindow(), dc);
    HeapFree(GetProcessHeap(), 0, block);
    CloseHandle(event);
    std::printf("measures: handle list %ld -> %ld, heap blocks %llu -> %llu, GDI objects %ld -> %ld (100 DCs), "
                "GetProcessHandleCount %lu -> %lu\n",
                before.handles, mid.handles, static_cast<unsigned long long>(before.heap_blocks),
                static_cast<unsigned long long>(mid.heap_blocks), mid.gdi, after.gdi, before.handle_count,
                mid.handle_count);
    EXPECT_GT(before.handles, 0);
    EXPECT_EQ(mid.handles, before.handles + 1);
    EXPECT_GE(mid.heap_blocks, before.heap_blocks + 1);
    EXPECT_GT(after.gdi, mid.gdi);
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Before the library is loaded: it takes its standard output once, then.
    g_echo = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
    if (g_echo == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot open NUL\n");
        return 2;
    }
    SetStdHandle(STD_OUTPUT_HANDLE, g_echo);
    const int status = RUN_ALL_TESTS();
    CloseHandle(g_echo);
    return status;
}
