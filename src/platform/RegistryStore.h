#pragma once
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

namespace platform {

enum class RegRoot { CurrentUser, LocalMachine };

// Typed settings store over two REGEDIT4 text files (per-user and machine-wide).
// Key paths are relative to the root and use backslashes: "Software\\Corvane Control\\Lumetra\\Settings".
// Files are read on every query (they are small) and written whole, atomically, on every change.
//
// The reader keeps whatever it can parse from a damaged file and never fails: files are read up to
// kMaxFileBytes (the rest is ignored), lines holding NUL bytes, values longer than kMaxValueBytes,
// key paths longer than kMaxKeyBytes and values of types other than string and dword are skipped,
// a repeated key is merged and a repeated value name keeps its last value.
// Writers return false, and leave the old file as it was, when the file or its folder cannot be written
// or the new file would be longer than the reader takes in.
class CRegistryStore {
public:
    static constexpr size_t kMaxFileBytes = 1024 * 1024;
    static constexpr size_t kMaxValueBytes = 64 * 1024;
    static constexpr size_t kMaxKeyBytes = 1024;

    CRegistryStore(std::string strUserFile, std::string strSystemFile);
    CRegistryStore(const CRegistryStore&) = delete;
    CRegistryStore& operator=(const CRegistryStore&) = delete;

    // The process-wide store at the default places: LUMETRA_REGISTRY_DIR=DIR gives DIR/user.reg and
    // DIR/system.reg; otherwise $XDG_CONFIG_HOME/lumetra/user.reg (default ~/.config) and
    // /etc/xdg/lumetra/system.reg.
    static CRegistryStore& Instance();
    static void ReloadInstance();  // re-reads the environment (tests change LUMETRA_REGISTRY_DIR)

    bool KeyExists(RegRoot root, const std::string& strKey) const;  // "can be opened for reading"
    bool CreateKey(RegRoot root, const std::string& strKey);        // false when the file cannot be written
    std::optional<std::string> GetString(RegRoot root, const std::string& strKey, const std::string& strName) const;
    std::optional<uint32_t> GetDword(RegRoot root, const std::string& strKey, const std::string& strName) const;
    bool SetString(RegRoot root, const std::string& strKey, const std::string& strName, const std::string& strValue);
    bool SetDword(RegRoot root, const std::string& strKey, const std::string& strName, uint32_t dwValue);
    // The key and every key below it; false when there was no such key or the file cannot be written.
    bool DeleteTree(RegRoot root, const std::string& strKey);

    std::string FileOf(RegRoot root) const;

private:
    void SetFiles(std::string strUserFile, std::string strSystemFile);

    mutable std::mutex m_mutex;
    std::string m_strUserFile;
    std::string m_strSystemFile;
};

}  // namespace platform
