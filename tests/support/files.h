// Real files for the tests: a fresh scratch directory per test, and reading
// back exactly what is on disk.
#pragma once

#include <optional>
#include <string>

// A new empty directory under the temporary directory, removed with its
// files when the object goes. path() ends without a backslash.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

std::optional<std::string> read_file(const std::string& path);
void write_file(const std::string& path, const std::string& content);
bool file_exists(const std::string& path);
// Waits until the file exists; false after `timeout_ms`.
bool wait_for_file(const std::string& path, unsigned timeout_ms);
// The directory of the running test program, without a trailing backslash.
std::string program_dir();
// The full path of a stand-in program (copies of vlstandin.exe).
std::string standin(const std::string& name);
