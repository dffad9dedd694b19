// A stand-in for the programs the library starts, used by the tests. Built
// once and copied under the companions' names. What it does comes from the
// environment it inherits, so its command line stays whatever the caller sent:
//
//   VL_RECORD=FILE   write the command line (GetCommandLineA) and, on a second
//                    line, the current directory into FILE
//   VL_SLEEP_MS=N    then sleep N milliseconds
//   VL_BACK=TEXT     then write TEXT as key Back of section Parameters of
//                    vlreport.ini (what the report layout selector answers)
//   VL_DONE=FILE     finally create FILE, empty, to show that it has ended
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

bool env(const char* name, std::string& value) {
    char buffer[4096];
    DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    if (n == 0 || n >= sizeof buffer)
        return false;
    value.assign(buffer, n);
    return true;
}

void write_file(const std::string& path, const std::string& content) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(f, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(f);
}

}  // namespace

int main() {
    std::string value;
    if (env("VL_RECORD", value)) {
        char directory[MAX_PATH];
        DWORD n = GetCurrentDirectoryA(sizeof directory, directory);
        write_file(value, std::string(GetCommandLineA()) + "\n" + std::string(directory, n) + "\n");
    }
    if (env("VL_SLEEP_MS", value))
        Sleep(std::strtoul(value.c_str(), nullptr, 10));
    if (env("VL_BACK", value))
        WritePrivateProfileStringA("Parameters", "Back", value.c_str(), "vlreport.ini");
    if (env("VL_DONE", value))
        write_file(value, "");
    return 0;
}
