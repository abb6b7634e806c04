#include "platform/RegistryStore.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unordered_map>
#include <vector>

#include "platform/PathUtil.h"

namespace platform {

namespace {

constexpr const char* kUserRootName = "HKEY_CURRENT_USER";
constexpr const char* kMachineRootName = "HKEY_LOCAL_MACHINE";

struct stRegValue {
    std::string strName;
    bool bDword = false;
    std::string strText;
    uint32_t dwValue = 0;
};

struct stRegKey {
    std::string strPath;  // with the root name: "HKEY_CURRENT_USER\Software\..."
    std::vector<stRegValue> values;
};

struct stRegFile {
    bool bReadable = false;  // the file exists and could be opened
    std::vector<stRegKey> keys;
};

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = LowerAscii(c);
    return out;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && EqualNoCase(s.substr(0, prefix.size()), prefix);
}

bool HasControlChar(std::string_view s) {
    for (unsigned char c : s)
        if (c < 0x20 || c == 0x7F) return true;
    return false;
}

// Backslash-separated path without empty elements; nothing for text that cannot be a key path.
std::optional<std::string> NormaliseKey(std::string_view strKey) {
    if (HasControlChar(strKey)) return std::nullopt;
    std::string out;
    size_t i = 0;
    while (i <= strKey.size()) {
        size_t j = strKey.find('\\', i);
        if (j == std::string_view::npos) j = strKey.size();
        if (j > i) {
            if (!out.empty()) out += '\\';
            out.append(strKey.substr(i, j - i));
        }
        i = j + 1;
    }
    if (out.size() > CRegistryStore::kMaxKeyBytes) return std::nullopt;
    return out;
}

const char* RootName(RegRoot root) {
    return root == RegRoot::CurrentUser ? kUserRootName : kMachineRootName;
}

std::optional<std::string> FullKey(RegRoot root, const std::string& strKey) {
    auto rel = NormaliseKey(strKey);
    if (!rel) return std::nullopt;
    std::string full = RootName(root);
    if (!rel->empty()) full += '\\' + *rel;
    return full;
}

// ---- reading -------------------------------------------------------------------------------------------

// Reads at most kMaxFileBytes; bCut tells that the file went on.
std::optional<std::string> ReadBounded(const std::string& strPath, bool& bCut) {
    bCut = false;
    if (strPath.empty()) return std::nullopt;
    // Non-blocking, so that a named pipe in place of the store is refused instead of waited on.
    int fd = ::open(strPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    // Sized by the file (it may still grow while being read), never beyond one byte over the limit.
    const size_t nCap = CRegistryStore::kMaxFileBytes + 1;
    std::string data;
    data.resize(std::min(nCap, static_cast<size_t>(std::max<off_t>(st.st_size, 0)) + 1));
    size_t nHave = 0;
    while (nHave < nCap) {
        if (nHave == data.size()) data.resize(std::min(nCap, data.size() * 2));
        ssize_t n = ::read(fd, data.data() + nHave, data.size() - nHave);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        nHave += static_cast<size_t>(n);
    }
    ::close(fd);
    if (nHave > CRegistryStore::kMaxFileBytes) {
        bCut = true;
        nHave = CRegistryStore::kMaxFileBytes;
    }
    data.resize(nHave);
    return data;
}

// A quoted text starting at s[i] == '"'; i ends after the closing quote.
std::optional<std::string> ParseQuoted(std::string_view s, size_t& i) {
    if (i >= s.size() || s[i] != '"') return std::nullopt;
    std::string out;
    ++i;
    while (true) {
        // Plain runs are taken whole; only quotes and backslashes need a look.
        size_t j = s.find_first_of("\\\"", i);
        if (j == std::string_view::npos) return std::nullopt;  // cut line: no closing quote
        out.append(s.substr(i, j - i));
        i = j;
        if (s[i] == '"') {
            ++i;
            break;
        }
        if (++i >= s.size()) return std::nullopt;
        switch (s[i]) {
            case '\\':
                out += '\\';
                break;
            case '"':
                out += '"';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case '0':
                out += '\0';
                break;
            default:
                out += '\\';
                out += s[i];
                break;
        }
        ++i;
        if (out.size() > CRegistryStore::kMaxValueBytes) return std::nullopt;
    }
    if (out.size() > CRegistryStore::kMaxValueBytes) return std::nullopt;
    return out;
}

void SkipBlanks(std::string_view s, size_t& i) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
}

bool OnlyBlanksFrom(std::string_view s, size_t i) {
    SkipBlanks(s, i);
    return i == s.size();
}

std::optional<stRegValue> ParseValueLine(std::string_view line) {
    stRegValue v;
    size_t i = 0;
    if (line[0] == '@') {
        i = 1;
    } else {
        auto name = ParseQuoted(line, i);
        if (!name) return std::nullopt;
        v.strName = std::move(*name);
    }
    SkipBlanks(line, i);
    if (i >= line.size() || line[i] != '=') return std::nullopt;
    ++i;
    SkipBlanks(line, i);
    if (i < line.size() && line[i] == '"') {
        auto text = ParseQuoted(line, i);
        if (!text || !OnlyBlanksFrom(line, i)) return std::nullopt;
        v.strText = std::move(*text);
        return v;
    }
    if (StartsWithNoCase(line.substr(i), "dword:")) {
        i += 6;
        size_t nDigits = 0;
        uint32_t dw = 0;
        for (; i < line.size() && nDigits <= 8; ++i, ++nDigits) {
            char c = LowerAscii(line[i]);
            int d = (c >= '0' && c <= '9') ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
            if (d < 0) break;
            dw = (dw << 4) | static_cast<uint32_t>(d);
        }
        if (nDigits == 0 || nDigits > 8 || !OnlyBlanksFrom(line, i)) return std::nullopt;
        v.bDword = true;
        v.dwValue = dw;
        return v;
    }
    return std::nullopt;  // another type (hex:, hex(2): ...) or junk
}

// The path inside "[...]" with the root spelled out; nothing for a deletion entry or junk.
std::optional<std::string> ParseSectionLine(std::string_view line) {
    size_t close = line.rfind(']');
    if (close == std::string_view::npos || close < 1) return std::nullopt;
    std::string_view inner = line.substr(1, close - 1);
    if (!inner.empty() && inner[0] == '-') return std::nullopt;
    auto path = NormaliseKey(inner);
    if (!path || path->empty()) return std::nullopt;
    size_t slash = path->find('\\');
    std::string_view first = std::string_view(*path).substr(0, slash);
    std::string rest = slash == std::string::npos ? std::string() : path->substr(slash);
    if (EqualNoCase(first, "HKCU") || EqualNoCase(first, kUserRootName)) return kUserRootName + rest;
    if (EqualNoCase(first, "HKLM") || EqualNoCase(first, kMachineRootName)) return kMachineRootName + rest;
    return path;
}

stRegFile ParseFile(std::string_view data, bool bCut) {
    stRegFile file;
    file.bReadable = true;
    std::unordered_map<std::string, size_t> keyIndex;    // lower-case path -> index
    std::unordered_map<std::string, size_t> valueIndex;  // key index + '\\' + lower-case name -> index
    long nCurrent = -1;
    if (data.size() >= 3 && data.substr(0, 3) == "\xEF\xBB\xBF") data.remove_prefix(3);
    size_t pos = 0;
    while (pos < data.size()) {
        size_t eol = data.find('\n', pos);
        if (eol == std::string_view::npos) {
            if (bCut) break;  // the last line was cut by the size limit
            eol = data.size();
        }
        std::string_view line = data.substr(pos, eol - pos);
        pos = eol + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find('\0') != std::string_view::npos) continue;
        size_t b = 0;
        SkipBlanks(line, b);
        line.remove_prefix(b);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            nCurrent = -1;
            auto path = ParseSectionLine(line);
            if (!path) continue;
            std::string lower = Lower(*path);
            auto it = keyIndex.find(lower);
            if (it != keyIndex.end()) {
                nCurrent = static_cast<long>(it->second);
            } else {
                keyIndex.emplace(std::move(lower), file.keys.size());
                nCurrent = static_cast<long>(file.keys.size());
                file.keys.push_back(stRegKey{std::move(*path), {}});
            }
            continue;
        }
        if (nCurrent < 0 || (line[0] != '"' && line[0] != '@')) continue;
        auto value = ParseValueLine(line);
        if (!value) continue;
        stRegKey& key = file.keys[static_cast<size_t>(nCurrent)];
        std::string id = std::to_string(nCurrent) + '\\' + Lower(value->strName);
        auto it = valueIndex.find(id);
        if (it != valueIndex.end()) {
            key.values[it->second] = std::move(*value);  // the last one wins
        } else {
            valueIndex.emplace(std::move(id), key.values.size());
            key.values.push_back(std::move(*value));
        }
    }
    return file;
}

stRegFile LoadFile(const std::string& strPath) {
    bool bCut = false;
    auto data = ReadBounded(strPath, bCut);
    if (!data) return stRegFile{};
    return ParseFile(*data, bCut);
}

// ---- writing -------------------------------------------------------------------------------------------

void AppendQuoted(std::string& out, std::string_view s) {
    static constexpr std::string_view kSpecial("\\\"\n\r\0", 5);
    out += '"';
    size_t i = 0;
    while (i < s.size()) {
        size_t j = s.find_first_of(kSpecial, i);
        if (j == std::string_view::npos) j = s.size();
        out.append(s.substr(i, j - i));
        if (j == s.size()) break;
        switch (s[j]) {
            case '\\':
                out += "\\\\";
                break;
            case '"':
                out += "\\\"";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += "\\0";
                break;
        }
        i = j + 1;
    }
    out += '"';
}

std::string Serialise(const stRegFile& file) {
    std::string out = "REGEDIT4\n";
    for (const auto& key : file.keys) {
        out += "\n[";
        out += key.strPath;
        out += "]\n";
        for (const auto& v : key.values) {
            if (v.strName.empty())
                out += '@';
            else
                AppendQuoted(out, v.strName);
            out += '=';
            if (v.bDword) {
                char buf[16];
                std::snprintf(buf, sizeof buf, "dword:%08x", v.dwValue);
                out += buf;
            } else {
                AppendQuoted(out, v.strText);
            }
            out += '\n';
        }
    }
    out += '\n';
    return out;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// The whole file under a temporary name in the same folder, flushed, then renamed into place.
bool WriteFileReplacing(const std::string& strPathIn, const std::string& strData) {
    if (strPathIn.empty()) return false;
    std::string strPath = strPathIn;
    // A store that is a symbolic link keeps the link: the file it points to is replaced.
    char resolved[PATH_MAX];
    struct stat lst {};
    if (lstat(strPath.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode) && realpath(strPath.c_str(), resolved))
        strPath = resolved;

    struct stat st {};
    mode_t mode = 0644;
    if (stat(strPath.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return false;
        if (access(strPath.c_str(), W_OK) != 0) return false;  // a read-only store stays as it is
        mode = st.st_mode & 07777;
    }
    std::string strFolder = FolderOf(strPath);
    if (!strFolder.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(strFolder, ec);
        if (ec) return false;
    }
    std::string strTemp = strPath + ".XXXXXX";
    int fd = mkostemp(strTemp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool bOk = WriteAll(fd, strData) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    if (::close(fd) != 0) bOk = false;
    if (bOk && std::rename(strTemp.c_str(), strPath.c_str()) != 0) bOk = false;
    if (!bOk) {
        ::unlink(strTemp.c_str());
        return false;
    }
    int dfd = ::open(strFolder.empty() ? "." : strFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        fsync(dfd);
        ::close(dfd);
    }
    return true;
}

// Writes the store unless it would grow beyond what the reader takes in. Keys without values (left by a
// damaged file of many sections) are dropped first when the text is too long.
bool WriteStore(const std::string& strFile, stRegFile& file, std::string_view strKeep) {
    std::string text = Serialise(file);
    if (text.size() > CRegistryStore::kMaxFileBytes) {
        std::erase_if(file.keys,
                      [&](const stRegKey& key) { return key.values.empty() && !EqualNoCase(key.strPath, strKeep); });
        text = Serialise(file);
        if (text.size() > CRegistryStore::kMaxFileBytes) return false;
    }
    return WriteFileReplacing(strFile, text);
}

// Reads the file for a change; nothing when an existing file cannot be read (it must not be overwritten).
std::optional<stRegFile> LoadForChange(const std::string& strPath) {
    if (strPath.empty()) return std::nullopt;
    stRegFile file = LoadFile(strPath);
    if (!file.bReadable) {
        std::error_code ec;
        auto status = std::filesystem::symlink_status(strPath, ec);
        if (status.type() != std::filesystem::file_type::not_found) return std::nullopt;
    }
    return file;
}

stRegKey* FindKey(stRegFile& file, std::string_view strFull) {
    for (auto& key : file.keys)
        if (EqualNoCase(key.strPath, strFull)) return &key;
    return nullptr;
}

stRegKey& FindOrAddKey(stRegFile& file, const std::string& strFull) {
    if (stRegKey* key = FindKey(file, strFull)) return *key;
    file.keys.push_back(stRegKey{strFull, {}});
    return file.keys.back();
}

const stRegValue* FindValue(const stRegKey& key, std::string_view strName) {
    for (const auto& v : key.values)
        if (EqualNoCase(v.strName, strName)) return &v;
    return nullptr;
}

bool SetValue(const std::string& strFile, RegRoot root, const std::string& strKey, stRegValue value) {
    auto full = FullKey(root, strKey);
    if (!full || full->size() <= std::string(RootName(root)).size()) return false;
    if (value.strName.size() > CRegistryStore::kMaxValueBytes || value.strText.size() > CRegistryStore::kMaxValueBytes)
        return false;
    auto file = LoadForChange(strFile);
    if (!file) return false;
    stRegKey& key = FindOrAddKey(*file, *full);
    bool bFound = false;
    for (auto& v : key.values) {
        if (EqualNoCase(v.strName, value.strName)) {
            value.strName = v.strName;  // keep the spelling already in the file
            v = std::move(value);
            bFound = true;
            break;
        }
    }
    if (!bFound) key.values.push_back(std::move(value));
    return WriteStore(strFile, *file, *full);
}

std::string DefaultUserFile() {
    const char* dir = std::getenv("LUMETRA_REGISTRY_DIR");
    if (dir && *dir) return JoinPath(dir, "user.reg");
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return JoinPath(JoinPath(xdg, "lumetra"), "user.reg");
    std::string strHome;
    if (const char* home = std::getenv("HOME"); home && *home) {
        strHome = home;
    } else if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) {
        strHome = pw->pw_dir;
    }
    if (strHome.empty()) return std::string();
    return JoinPath(JoinPath(strHome, ".config/lumetra"), "user.reg");
}

std::string DefaultSystemFile() {
    const char* dir = std::getenv("LUMETRA_REGISTRY_DIR");
    if (dir && *dir) return JoinPath(dir, "system.reg");
    return "/etc/xdg/lumetra/system.reg";
}

}  // namespace

CRegistryStore::CRegistryStore(std::string strUserFile, std::string strSystemFile)
    : m_strUserFile(std::move(strUserFile)), m_strSystemFile(std::move(strSystemFile)) {}

CRegistryStore& CRegistryStore::Instance() {
    static CRegistryStore store(DefaultUserFile(), DefaultSystemFile());
    return store;
}

void CRegistryStore::ReloadInstance() {
    Instance().SetFiles(DefaultUserFile(), DefaultSystemFile());
}

void CRegistryStore::SetFiles(std::string strUserFile, std::string strSystemFile) {
    std::lock_guard lock(m_mutex);
    m_strUserFile = std::move(strUserFile);
    m_strSystemFile = std::move(strSystemFile);
}

std::string CRegistryStore::FileOf(RegRoot root) const {
    std::lock_guard lock(m_mutex);
    return root == RegRoot::CurrentUser ? m_strUserFile : m_strSystemFile;
}

bool CRegistryStore::KeyExists(RegRoot root, const std::string& strKey) const {
    std::lock_guard lock(m_mutex);
    auto full = FullKey(root, strKey);
    if (!full) return false;
    stRegFile file = LoadFile(root == RegRoot::CurrentUser ? m_strUserFile : m_strSystemFile);
    if (!file.bReadable) return false;
    if (*full == RootName(root)) return true;
    std::string prefix = *full + '\\';
    for (const auto& key : file.keys)
        if (EqualNoCase(key.strPath, *full) || StartsWithNoCase(key.strPath, prefix)) return true;
    return false;
}

bool CRegistryStore::CreateKey(RegRoot root, const std::string& strKey) {
    std::lock_guard lock(m_mutex);
    const std::string& strFile = root == RegRoot::CurrentUser ? m_strUserFile : m_strSystemFile;
    auto full = FullKey(root, strKey);
    if (!full || *full == RootName(root)) return false;
    auto file = LoadForChange(strFile);
    if (!file) return false;
    FindOrAddKey(*file, *full);
    return WriteStore(strFile, *file, *full);
}

std::optional<std::string> CRegistryStore::GetString(RegRoot root, const std::string& strKey,
                                                     const std::string& strName) const {
    std::lock_guard lock(m_mutex);
    auto full = FullKey(root, strKey);
    if (!full) return std::nullopt;
    stRegFile file = LoadFile(root == RegRoot::CurrentUser ? m_strUserFile : m_strSystemFile);
    const stRegKey* key = FindKey(file, *full);
    if (!key) return std::nullopt;
    const stRegValue* v = FindValue(*key, strName);
    if (!v || v->bDword) return std::nullopt;
    return v->strText;
}

std::optional<uint32_t> CRegistryStore::GetDword(RegRoot root, const std::string& strKey,
                                                 const std::string& strName) const {
    std::lock_guard lock(m_mutex);
    auto full = FullKey(root, strKey);
    if (!full) return std::nullopt;
    stRegFile file = LoadFile(root == RegRoot::CurrentUser ? m_strUserFile : m_strSystemFile);
    const stRegKey* key = FindKey(file, *full);
    if (!key) return std::nullopt;
    const stRegValue* v = FindValue(*key, strName);
    if (!v || !v->bDword) return std::nullopt;
    return v->dwValue;
}

bool CRegistryStore::SetString(RegRoot root, const std::string& strKey, const std::string& strName,
                               const std::string& strValue) {
    std::lock_guard lock(m_mutex);
    stRegValue v;
    v.strName = strName;
    v.strText = strValue;
    return SetValue(root == RegRoot::CurrentUser ? m_strUserFile : m_strSystemFile, root, strKey, std::move(v));
}

bool CRegistryStore::SetDword(RegRoot root, const std::string& strKey, const std::string& strName, uint32_t dwValue) {
    std::lock_guard lock(m_mutex);
    stRegValue v;
    v.strName = strName;
    v.bDword = true;
    v.dwValue = dwValue;
    return SetValue(root == RegRoot::CurrentUser ? m_strUserFile : m_strSystemFile, root, strKey, std::move(v));
}

bool CRegistryStore::DeleteTree(RegRoot root, const std::string& strKey) {
    std::lock_guard lock(m_mutex);
    const std::string& strFile = root == RegRoot::CurrentUser ? m_strUserFile : m_strSystemFile;
    auto full = FullKey(root, strKey);
    if (!full || *full == RootName(root)) return false;  // the whole root is never deleted
    auto file = LoadForChange(strFile);
    if (!file) return false;
    std::string prefix = *full + '\\';
    size_t nBefore = file->keys.size();
    std::erase_if(file->keys, [&](const stRegKey& key) {
        return EqualNoCase(key.strPath, *full) || StartsWithNoCase(key.strPath, prefix);
    });
    if (file->keys.size() == nBefore) return false;
    return WriteStore(strFile, *file, std::string_view());
}

}  // namespace platform
