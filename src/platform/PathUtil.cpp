#include "platform/PathUtil.h"

#include <unistd.h>

#include <climits>
#include <vector>

namespace platform {

std::string JoinPath(std::string_view strFolder, std::string_view strName) {
    if (strFolder.empty()) return std::string(strName);
    std::string s(strFolder);
    if (s.back() != '/') s += '/';
    while (!strName.empty() && strName.front() == '/') strName.remove_prefix(1);
    s += strName;
    return s;
}

std::string FolderOf(std::string_view strPath) {
    size_t slash = strPath.find_last_of('/');
    if (slash == std::string_view::npos) return std::string();
    if (slash == 0) return "/";
    return std::string(strPath.substr(0, slash));
}

std::string FileNameOf(std::string_view strPath) {
    size_t slash = strPath.find_last_of('/');
    return std::string(slash == std::string_view::npos ? strPath : strPath.substr(slash + 1));
}

std::string ExecutableDir() {
    std::vector<char> buf(PATH_MAX + 1);
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0) return std::string();
    return FolderOf(std::string_view(buf.data(), static_cast<size_t>(n)));
}

std::string CurrentDir() {
    std::vector<char> buf(PATH_MAX + 1);
    if (!getcwd(buf.data(), buf.size())) return std::string();
    return std::string(buf.data());
}

std::string Trim(std::string_view strText) {
    const char* blanks = " \t\r\n";
    size_t b = strText.find_first_not_of(blanks);
    if (b == std::string_view::npos) return std::string();
    size_t e = strText.find_last_not_of(blanks);
    return std::string(strText.substr(b, e - b + 1));
}

}  // namespace platform
