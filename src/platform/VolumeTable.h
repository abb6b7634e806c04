#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The kind of a mounted volume, as the drive types of the program know them.
enum class VolumeType { Unknown, NoRoot, Removable, Fixed, Remote, CdRom, RamDisk };

struct stVOLUME {
    std::string strMountPoint;  // absolute, without a trailing "/" (except the root itself)
    VolumeType type = VolumeType::Unknown;
    std::string strFsType;  // file system type from the mount table ("" for LUMETRA_VOLUMES entries)
};

// The table of mounted volumes that stands in for drive letters: one entry per mount point with its type,
// pseudo file systems (proc, sysfs, cgroup, ...) left out, in descending order of mount points (the order
// in which the card search visits them, as Z: comes before D:).
//
// Types: CD-ROM for iso9660 and udf, remote for network file systems, RAM disk for tmpfs and ramfs,
// removable when sysfs marks the device or its disk removable or the mount point lies below /media or
// /run/media, fixed otherwise.
class CVolumeTable {
public:
    // The running system: LUMETRA_VOLUMES="PATH=removable;PATH=fixed" (when set, even empty) replaces the
    // mount table; otherwise /proc/self/mountinfo with /sys.
    static CVolumeTable Current();

    // A table from mountinfo text; strSysfsRoot is where "dev/block/MAJ:MIN" is looked up ("" = no sysfs).
    CVolumeTable(std::string_view strMountInfo, std::string strSysfsRoot);
    // A table from the LUMETRA_VOLUMES form; entries that cannot be understood are left out.
    static CVolumeTable FromOverride(std::string_view strVolumes);

    const std::vector<stVOLUME>& Volumes() const& { return m_volumes; }
    // A copy for a temporary table, so that "for (auto& v : CVolumeTable::Current().Volumes())" is safe.
    std::vector<stVOLUME> Volumes() && { return std::move(m_volumes); }
    // The volume holding a path: the longest mount point that is a prefix of it (by whole path elements).
    const stVOLUME* VolumeOf(const std::string& strPath) const;
    // Whether the path is a mount point of the table.
    bool IsMountPoint(const std::string& strPath) const;

    // "removable", "fixed", "remote", "cdrom", "ramdisk", "unknown", "noroot" (any case).
    static std::optional<VolumeType> TypeFromName(std::string_view strName);
    // Absolute (relative paths against the current folder), "." and ".." resolved by text, no trailing "/".
    static std::string NormalisePath(const std::string& strPath);

private:
    CVolumeTable() = default;
    void Sort();

    std::vector<stVOLUME> m_volumes;
};

}  // namespace platform
