#include "platform/DriveType.h"

#include <sys/stat.h>

#include "platform/PathUtil.h"
#include "platform/VolumeTable.h"

namespace platform {

namespace {

unsigned MaskOf(VolumeType type) {
    switch (type) {
        case VolumeType::Unknown:
            return DRIVE_MASK_UNKNOWN;
        case VolumeType::NoRoot:
            return DRIVE_MASK_NO_ROOT;
        case VolumeType::Removable:
            return DRIVE_MASK_REMOVABLE;
        case VolumeType::Fixed:
            return DRIVE_MASK_FIXED;
        case VolumeType::Remote:
            return DRIVE_MASK_REMOTE;
        case VolumeType::CdRom:
            return DRIVE_MASK_CDROM;
        case VolumeType::RamDisk:
            return DRIVE_MASK_RAMDISK;
    }
    return DRIVE_MASK_UNKNOWN;
}

}  // namespace

unsigned GetDriveTypeMask(const std::string& strPath) {
    if (strPath.empty()) return DRIVE_MASK_NO_ROOT;
    CVolumeTable table = CVolumeTable::Current();
    const stVOLUME* v = table.VolumeOf(strPath);
    return v ? MaskOf(v->type) : DRIVE_MASK_NO_ROOT;
}

bool IsDriveType(const std::string& strPath, unsigned nMask) {
    std::string path = Trim(strPath);
    if (path.empty()) return false;
    return (GetDriveTypeMask(path) & nMask) != 0;
}

bool PathExists(const std::string& strPath, bool bFolder, unsigned nMask) {
    struct stat st {};
    bool bFound = !strPath.empty() && stat(strPath.c_str(), &st) == 0;
    if (!bFolder) return bFound && !S_ISDIR(st.st_mode);
    if (bFound && S_ISDIR(st.st_mode)) return true;
    return nMask != 0 && IsDriveRoot(strPath) && IsDriveType(strPath, nMask);
}

bool IsDriveRoot(const std::string& strPath) {
    if (strPath.empty()) return false;
    return CVolumeTable::Current().IsMountPoint(strPath);
}

}  // namespace platform
