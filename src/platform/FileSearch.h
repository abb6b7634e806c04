#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Wildcard match of a file name: '*' any run of characters, '?' one character
// (one UTF-8 code point); ASCII letters match without regard to case.
bool MatchWildcard(std::string_view pattern, std::string_view name);

struct FileEntry {
    std::string strName;      // name only, no folder
    bool bDirectory = false;  // a real folder (a link to a folder is not one)
    bool bLink = false;       // a symbolic link (never followed by folder walks)
    std::uintmax_t nSize = 0; // bytes, for files
};

// Case-insensitive ascending order of names, bytes as tie-break: the order in
// which every search of the program returns its matches.
bool NameLess(std::string_view a, std::string_view b);

// All entries of a folder ("." and ".." never), in NameLess order.
// An unreadable or missing folder gives an empty list.
std::vector<FileEntry> ListFolder(const std::string& strFolder);

// Entries of a folder whose names match a wildcard pattern, in NameLess order.
std::vector<FileEntry> FindFiles(const std::string& strFolder, std::string_view pattern);

// The same for "folder/pattern" (the pattern is the last path element).
std::vector<FileEntry> FindFiles(const std::string& strPathPattern);

}  // namespace platform
