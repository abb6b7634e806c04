#include "platform/VolumeTable.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "platform/PathUtil.h"

namespace platform {

namespace {

// File systems without storage of their own: never a volume of the table.
const std::set<std::string, std::less<>> kPseudo = {
    "proc",    "sysfs",    "devtmpfs",  "devpts",     "cgroup",    "cgroup2",  "securityfs",      "pstore",
    "debugfs", "tracefs",  "bpf",       "mqueue",     "hugetlbfs", "configfs", "fusectl",         "binfmt_misc",
    "autofs",  "efivarfs", "selinuxfs", "rpc_pipefs", "nsfs",      "nfsd",     "fuse.gvfsd-fuse", "fuse.portal"};
const std::set<std::string, std::less<>> kCdRom = {"iso9660", "udf"};
const std::set<std::string, std::less<>> kRemote = {"nfs",        "nfs4", "cifs", "smb3", "smbfs",    "sshfs",
                                                    "fuse.sshfs", "9p",   "afs",  "ceph", "glusterfs"};
const std::set<std::string, std::less<>> kRamDisk = {"tmpfs", "ramfs"};

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Mount table fields escape space, tab, newline and backslash as \ooo.
std::string Unescape(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && s.size() - i >= 4 && s[i + 1] >= '0' && s[i + 1] <= '3' && s[i + 2] >= '0' &&
            s[i + 2] <= '7' && s[i + 3] >= '0' && s[i + 3] <= '7') {
            out += static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::vector<std::string_view> SplitBlanks(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        size_t b = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > b) fields.push_back(line.substr(b, i - b));
    }
    return fields;
}

bool ReadsOne(const std::filesystem::path& file) {
    std::ifstream in(file);
    char c = 0;
    return in.get(c) && c == '1';
}

// sysfs: dev/block/MAJ:MIN leads to the device; a partition's disk is the folder above it.
bool SysfsRemovable(const std::string& strSysfsRoot, std::string_view strDevice) {
    if (strSysfsRoot.empty() || strDevice.empty() || strDevice.find('/') != std::string_view::npos) return false;
    std::error_code ec;
    auto dev =
        std::filesystem::canonical(std::filesystem::path(strSysfsRoot) / "dev/block" / std::string(strDevice), ec);
    if (ec) return false;
    if (ReadsOne(dev / "removable")) return true;
    if (std::filesystem::exists(dev / "partition", ec)) return ReadsOne(dev.parent_path() / "removable");
    return false;
}

bool IsBelow(std::string_view path, std::string_view folder) {
    return path.size() > folder.size() && path.substr(0, folder.size()) == folder && path[folder.size()] == '/';
}

VolumeType ClassifyMount(const std::string& strMountPoint, const std::string& strFsType, bool bRemovableDevice) {
    if (kCdRom.count(strFsType)) return VolumeType::CdRom;
    if (kRemote.count(strFsType)) return VolumeType::Remote;
    if (kRamDisk.count(strFsType)) return VolumeType::RamDisk;
    if (bRemovableDevice || IsBelow(strMountPoint, "/media") || IsBelow(strMountPoint, "/run/media"))
        return VolumeType::Removable;
    return VolumeType::Fixed;
}

// Whether path lies in (or is) the folder given as a normalised mount point.
bool Holds(std::string_view mount, std::string_view path) {
    if (mount == "/") return !path.empty() && path[0] == '/';
    return path == mount || IsBelow(path, mount);
}

}  // namespace

std::string CVolumeTable::NormalisePath(const std::string& strPath) {
    if (strPath.empty()) return std::string();
    std::string abs = strPath[0] == '/' ? strPath : JoinPath(CurrentDir(), strPath);
    std::string out = std::filesystem::path(abs).lexically_normal().string();
    while (out.size() > 1 && out.back() == '/') out.pop_back();
    return out;
}

std::optional<VolumeType> CVolumeTable::TypeFromName(std::string_view strName) {
    std::string s;
    for (char c : strName) s += LowerAscii(c);
    if (s == "removable") return VolumeType::Removable;
    if (s == "fixed") return VolumeType::Fixed;
    if (s == "remote") return VolumeType::Remote;
    if (s == "cdrom") return VolumeType::CdRom;
    if (s == "ramdisk") return VolumeType::RamDisk;
    if (s == "unknown") return VolumeType::Unknown;
    if (s == "noroot") return VolumeType::NoRoot;
    return std::nullopt;
}

CVolumeTable::CVolumeTable(std::string_view strMountInfo, std::string strSysfsRoot) {
    size_t pos = 0;
    while (pos < strMountInfo.size()) {
        size_t eol = strMountInfo.find('\n', pos);
        if (eol == std::string_view::npos) eol = strMountInfo.size();
        std::string_view line = strMountInfo.substr(pos, eol - pos);
        pos = eol + 1;
        // id parent MAJ:MIN root mountpoint options [optional...] - fstype source superoptions
        auto fields = SplitBlanks(line);
        auto dash = std::find(fields.begin(), fields.end(), std::string_view("-"));
        if (fields.size() < 6 || dash == fields.end() || dash - fields.begin() < 6 || fields.end() - dash < 2) continue;
        std::string strFsType = Unescape(*(dash + 1));
        if (kPseudo.count(strFsType)) continue;
        std::string strMount = Unescape(fields[4]);
        if (strMount.empty() || strMount[0] != '/') continue;
        strMount = NormalisePath(strMount);
        bool bRemovable = kRamDisk.count(strFsType) == 0 && SysfsRemovable(strSysfsRoot, fields[2]);
        stVOLUME v{strMount, ClassifyMount(strMount, strFsType, bRemovable), strFsType};
        // A later mount on the same point hides the earlier one.
        auto same = std::find_if(m_volumes.begin(), m_volumes.end(),
                                 [&](const stVOLUME& x) { return x.strMountPoint == v.strMountPoint; });
        if (same != m_volumes.end())
            *same = std::move(v);
        else
            m_volumes.push_back(std::move(v));
    }
    Sort();
}

CVolumeTable CVolumeTable::FromOverride(std::string_view strVolumes) {
    CVolumeTable table;
    size_t pos = 0;
    while (pos <= strVolumes.size()) {
        size_t end = strVolumes.find(';', pos);
        if (end == std::string_view::npos) end = strVolumes.size();
        std::string entry = Trim(strVolumes.substr(pos, end - pos));
        pos = end + 1;
        size_t eq = entry.rfind('=');
        if (eq == std::string::npos) continue;
        std::string strPath = Trim(entry.substr(0, eq));
        auto type = TypeFromName(Trim(entry.substr(eq + 1)));
        if (!type || strPath.empty() || strPath[0] != '/') continue;
        strPath = NormalisePath(strPath);
        std::erase_if(table.m_volumes, [&](const stVOLUME& x) { return x.strMountPoint == strPath; });
        table.m_volumes.push_back(stVOLUME{strPath, *type, std::string()});
    }
    table.Sort();
    return table;
}

CVolumeTable CVolumeTable::Current() {
    if (const char* env = std::getenv("LUMETRA_VOLUMES")) return FromOverride(env);
    std::ifstream in("/proc/self/mountinfo", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return CVolumeTable(text, "/sys");
}

void CVolumeTable::Sort() {
    std::sort(m_volumes.begin(), m_volumes.end(),
              [](const stVOLUME& a, const stVOLUME& b) { return a.strMountPoint > b.strMountPoint; });
}

const stVOLUME* CVolumeTable::VolumeOf(const std::string& strPath) const {
    std::string path = NormalisePath(strPath);
    const stVOLUME* best = nullptr;
    for (const auto& v : m_volumes)
        if (Holds(v.strMountPoint, path) && (!best || v.strMountPoint.size() > best->strMountPoint.size())) best = &v;
    return best;
}

bool CVolumeTable::IsMountPoint(const std::string& strPath) const {
    std::string path = NormalisePath(strPath);
    if (path.empty()) return false;
    return std::any_of(m_volumes.begin(), m_volumes.end(), [&](const stVOLUME& v) { return v.strMountPoint == path; });
}

}  // namespace platform
