#include "support/settings_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "support/files.h"

std::string windows_file(const std::string& name) {
    char dir[MAX_PATH];
    UINT n = GetWindowsDirectoryA(dir, sizeof dir);
    return std::string(dir, n) + "\\" + name;
}

void flush_profile(const char* name) { WritePrivateProfileStringA(nullptr, nullptr, nullptr, name); }

void remove_path(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    RemoveDirectoryA(path.c_str());
}

SavedFile::SavedFile(std::string path, bool absent_meanwhile) : path_(std::move(path)), saved_(read_file(path_)) {
    if (absent_meanwhile)
        remove_path(path_);
}

void SavedFile::restore() {
    if (restored_)
        return;
    restored_ = true;
    remove_path(path_);
    if (saved_)
        write_file(path_, *saved_);
    EXPECT_EQ(read_file(path_), saved_) << path_ << " was not put back";
}
