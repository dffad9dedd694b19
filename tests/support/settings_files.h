// Settings files in the Windows directory, where INI names without a
// directory resolve: tests set them aside and put them back byte for byte.
#pragma once

#include <optional>
#include <string>

// The full path of `name` in the Windows directory.
std::string windows_file(const std::string& name);

// Drops what this process's profile functions may hold of the file.
void flush_profile(const char* name);

// Removes a file, or an empty directory, standing at `path`.
void remove_path(const std::string& path);

// Keeps a file's bytes (or its absence) and puts them back when the scope
// ends, after removing whatever stands at that path by then, a directory
// included. With `absent_meanwhile` the test starts without the file.
class SavedFile {
public:
    explicit SavedFile(std::string path, bool absent_meanwhile = true);
    ~SavedFile() { restore(); }
    SavedFile(const SavedFile&) = delete;
    SavedFile& operator=(const SavedFile&) = delete;
    const std::string& path() const { return path_; }
    // Puts the saved bytes back now (once).
    void restore();

private:
    std::string path_;
    std::optional<std::string> saved_;
    bool restored_ = false;
};

// A settings file of the Windows directory, absent for the scope and put back
// afterwards, with the profile functions' cache dropped at each change.
class SavedIniFile {
public:
    explicit SavedIniFile(const char* name) : name_(name), file_(windows_file(name)) { flush_profile(name_); }
    ~SavedIniFile() {
        file_.restore();
        flush_profile(name_);
    }
    SavedIniFile(const SavedIniFile&) = delete;
    SavedIniFile& operator=(const SavedIniFile&) = delete;
    const std::string& path() const { return file_.path(); }
    void remove() {
        remove_path(file_.path());
        flush_profile(name_);
    }

private:
    const char* name_;
    SavedFile file_;
};
