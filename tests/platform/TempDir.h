#pragma once
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace lumetra_test {

// A fresh folder below the system temp folder, removed (with write rights restored) at the end.
class CTempDir {
public:
    CTempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "lumetra_plat_XXXXXX").string();
        if (mkdtemp(tmpl.data())) m_strPath = tmpl;
    }
    ~CTempDir() {
        if (m_strPath.empty()) return;
        std::error_code ec;
        chmod(m_strPath.c_str(), 0755);
        for (auto it = std::filesystem::recursive_directory_iterator(m_strPath, ec);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            if (it->is_directory(ec) && !it->is_symlink(ec)) chmod(it->path().c_str(), 0755);
        }
        std::filesystem::remove_all(m_strPath, ec);
    }
    const std::string& Path() const { return m_strPath; }
    std::string operator/(const std::string& strName) const { return m_strPath + "/" + strName; }

    static void Write(const std::string& strPath, const std::string& strData) {
        std::ofstream out(strPath, std::ios::binary | std::ios::trunc);
        out << strData;
    }
    static std::string Read(const std::string& strPath) {
        std::ifstream in(strPath, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::string m_strPath;
};

// Whether permissions hold for this process (they do not for root).
inline bool PermissionsApply(const std::string& strReadOnlyFolder) {
    return access(strReadOnlyFolder.c_str(), W_OK) != 0;
}

}  // namespace lumetra_test
