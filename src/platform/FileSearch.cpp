#include "platform/FileSearch.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>

namespace platform {
namespace {

unsigned char Fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

// Length of the UTF-8 sequence that starts at s[i] (1 for stray bytes).
size_t CharLen(std::string_view s, size_t i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
    if (i + n > s.size()) return 1;
    for (size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
    return n;
}

}  // namespace

bool MatchWildcard(std::string_view pattern, std::string_view name) {
    // Iterative matcher with one backtrack point for the last '*': linear in
    // practice, never exponential.
    size_t p = 0, n = 0;
    size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = ++p;
            starN = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n += CharLen(name, n);
        } else if (p < pattern.size() && Fold(static_cast<unsigned char>(pattern[p])) ==
                                             Fold(static_cast<unsigned char>(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP;
            starN += CharLen(name, starN);
            n = starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool NameLess(std::string_view a, std::string_view b) {
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        unsigned char ca = Fold(static_cast<unsigned char>(a[i]));
        unsigned char cb = Fold(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

std::vector<FileEntry> ListFolder(const std::string& strFolder) {
    std::vector<FileEntry> entries;
    DIR* dir = opendir(strFolder.empty() ? "." : strFolder.c_str());
    if (!dir) return entries;
    while (dirent* d = readdir(dir)) {
        std::string_view name(d->d_name);
        if (name == "." || name == "..") continue;
        FileEntry e;
        e.strName = d->d_name;
        struct stat st {};
        std::string full = strFolder.empty() ? e.strName : strFolder + "/" + e.strName;
        if (fstatat(dirfd(dir), d->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
            e.bLink = S_ISLNK(st.st_mode);
            e.bDirectory = S_ISDIR(st.st_mode);
            if (e.bLink) {
                // a link to a file reads as that file; a link to a folder is no folder
                struct stat target {};
                if (stat(full.c_str(), &target) == 0 && S_ISREG(target.st_mode)) e.nSize = static_cast<std::uintmax_t>(target.st_size);
            } else if (S_ISREG(st.st_mode)) {
                e.nSize = static_cast<std::uintmax_t>(st.st_size);
            }
        }
        entries.push_back(std::move(e));
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const FileEntry& a, const FileEntry& b) { return NameLess(a.strName, b.strName); });
    return entries;
}

std::vector<FileEntry> FindFiles(const std::string& strFolder, std::string_view pattern) {
    std::vector<FileEntry> all = ListFolder(strFolder);
    std::vector<FileEntry> matches;
    for (auto& e : all)
        if (MatchWildcard(pattern, e.strName)) matches.push_back(std::move(e));
    return matches;
}

std::vector<FileEntry> FindFiles(const std::string& strPathPattern) {
    size_t slash = strPathPattern.find_last_of('/');
    if (slash == std::string::npos) return FindFiles(std::string(), strPathPattern);
    std::string folder = slash == 0 ? std::string("/") : strPathPattern.substr(0, slash);
    return FindFiles(folder, std::string_view(strPathPattern).substr(slash + 1));
}

}  // namespace platform
