#pragma once
#include <string>

namespace platform {

// One bit per drive type.
enum : unsigned {
    DRIVE_MASK_UNKNOWN = 1,
    DRIVE_MASK_NO_ROOT = 2,
    DRIVE_MASK_REMOVABLE = 4,
    DRIVE_MASK_FIXED = 8,
    DRIVE_MASK_REMOTE = 16,
    DRIVE_MASK_CDROM = 32,
    DRIVE_MASK_RAMDISK = 64
};

// The bit of the volume holding the path (the longest mount point that is a prefix of it, see CVolumeTable);
// DRIVE_MASK_NO_ROOT when no volume holds it or the path is empty.
unsigned GetDriveTypeMask(const std::string& strPath);
// False for a path that is empty after trimming blanks; otherwise whether the path's bit is in the mask.
bool IsDriveType(const std::string& strPath, unsigned nMask);
// bFolder false: the path is there and is not a folder. bFolder true: the path is a folder, or else (with a
// mask other than 0) it is a drive root of a type in the mask.
bool PathExists(const std::string& strPath, bool bFolder, unsigned nMask);
// Whether the path is a mount point of the volume table.
bool IsDriveRoot(const std::string& strPath);

}  // namespace platform
