// A fresh folder under Windows' temporary folder for one test, removed with
// everything in it (read-only and hidden files included) when the test ends.
#pragma once
#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    // The folder joined with a backslash and a relative name.
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// Removes a file or a folder tree, clearing attributes that would block it.
void RemoveTree(const std::string& path);
