#include "platform/VolumeTable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "TempDir.h"
#include "platform/DriveType.h"

namespace {

using namespace platform;
using lumetra_test::CTempDir;

// A mount table as a desktop machine shows it, with a card, a DVD, a share and the usual pseudo file systems.
const char* kMountInfo =
    "21 26 0:20 / /sys rw,nosuid,nodev,noexec,relatime shared:7 - sysfs sysfs rw\n"
    "22 26 0:21 / /proc rw,nosuid,nodev,noexec,relatime shared:13 - proc proc rw\n"
    "23 26 0:5 / /dev rw,nosuid,relatime shared:2 - devtmpfs udev rw,size=8000000k\n"
    "24 23 0:22 / /dev/pts rw,nosuid,noexec,relatime shared:3 - devpts devpts rw,gid=5,mode=620\n"
    "25 26 0:23 / /run rw,nosuid,nodev,noexec,relatime shared:5 - tmpfs tmpfs rw,size=1600000k,mode=755\n"
    "26 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw,errors=remount-ro\n"
    "27 21 0:26 / /sys/fs/cgroup rw,nosuid,nodev,noexec,relatime shared:9 - cgroup2 cgroup2 rw\n"
    "30 26 8:1 / /boot/efi rw,relatime shared:29 - vfat /dev/sda1 rw,fmask=0077\n"
    "31 26 8:3 / /home rw,relatime shared:30 - ext4 /dev/sda3 rw\n"
    "40 25 8:17 / /run/media/anna/SD\\040CARD rw,nosuid,nodev,relatime shared:80 - vfat /dev/sdb1 rw\n"
    "41 26 8:33 / /mnt/usb\\134disk rw,relatime shared:81 - exfat /dev/sdc1 rw\n"
    "42 26 11:0 / /mnt/dvd ro,relatime shared:82 - iso9660 /dev/sr0 ro\n"
    "43 26 0:50 / /srv/share rw,relatime shared:83 - cifs //server/share rw\n"
    "44 31 0:51 / /home/anna/remote rw,relatime shared:84 - fuse.sshfs anna@host: rw\n"
    "45 26 0:52 / /mnt/ram rw,relatime shared:85 - ramfs none rw\n"
    "46 26 8:49 / /media/cam rw,relatime shared:86 - vfat /dev/sdd1 rw\n"
    "47 26 8:2 / /mnt/tagged rw master:1 propagate_from:2 unbindable - ext4 /dev/sda2 rw\n"
    "broken line without fields\n"
    "48 26 8:2 / relative rw - ext4 /dev/sda2 rw\n"
    "49 26 8:2 / /mnt/nodash rw ext4 /dev/sda2 rw\n"
    "50 26 0:60 / /mnt/over rw - ext4 /dev/sda3 rw\n"
    "51 26 0:61 / /mnt/over rw - tmpfs tmpfs rw\n";

// sysfs below a temp folder: sdb (removable 1) with partition sdb1 as 8:17, sdc1 (8:33) on a fixed disk.
class VolumeTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        const std::string sys = m_dir.Path();
        fs::create_directories(sys + "/devices/sdb/sdb1");
        fs::create_directories(sys + "/devices/sdc/sdc1");
        fs::create_directories(sys + "/dev/block");
        CTempDir::Write(sys + "/devices/sdb/removable", "1\n");
        CTempDir::Write(sys + "/devices/sdb/sdb1/partition", "1\n");
        CTempDir::Write(sys + "/devices/sdc/removable", "0\n");
        CTempDir::Write(sys + "/devices/sdc/sdc1/partition", "1\n");
        fs::create_directory_symlink("../../devices/sdb/sdb1", sys + "/dev/block/8:17");
        fs::create_directory_symlink("../../devices/sdc/sdc1", sys + "/dev/block/8:33");
    }
    CTempDir m_dir;
};

TEST_F(VolumeTableTest, ReadsMountInfoWithTypesInDescendingOrder) {
    CVolumeTable table(kMountInfo, m_dir.Path());
    std::vector<std::pair<std::string, VolumeType>> got;
    for (const auto& v : table.Volumes()) got.emplace_back(v.strMountPoint, v.type);
    std::vector<std::pair<std::string, VolumeType>> expected = {
        {"/srv/share", VolumeType::Remote},
        {"/run/media/anna/SD CARD", VolumeType::Removable},  // sysfs of its disk, and below /run/media
        {"/run", VolumeType::RamDisk},
        {"/mnt/usb\\disk", VolumeType::Fixed},  // sysfs says fixed
        {"/mnt/tagged", VolumeType::Fixed},
        {"/mnt/ram", VolumeType::RamDisk},
        {"/mnt/over", VolumeType::RamDisk},  // the later mount hides the earlier one
        {"/mnt/dvd", VolumeType::CdRom},
        {"/media/cam", VolumeType::Removable},  // no sysfs entry, but below /media
        {"/home/anna/remote", VolumeType::Remote},
        {"/home", VolumeType::Fixed},
        {"/boot/efi", VolumeType::Fixed},
        {"/", VolumeType::Fixed},
    };
    EXPECT_EQ(got, expected);
}

TEST_F(VolumeTableTest, RemovableDeviceOutsideMediaIsFoundThroughSysfs) {
    CVolumeTable table("40 26 8:17 / /mnt/card rw - vfat /dev/sdb1 rw\n", m_dir.Path());
    ASSERT_EQ(table.Volumes().size(), 1u);
    EXPECT_EQ(table.Volumes()[0].type, VolumeType::Removable);
    CVolumeTable noSysfs("40 26 8:17 / /mnt/card rw - vfat /dev/sdb1 rw\n", "");
    EXPECT_EQ(noSysfs.Volumes()[0].type, VolumeType::Fixed);
}

struct HolderCase {
    const char* path;
    const char* mount;  // nullptr: no volume
};

class VolumeOfTest : public ::testing::TestWithParam<HolderCase> {};

TEST_P(VolumeOfTest, LongestMountPointByWholeElements) {
    CVolumeTable table =
        CVolumeTable::FromOverride("/=fixed;/media/card=removable;/media/card/inner=cdrom;/mnt=ramdisk");
    const stVOLUME* v = table.VolumeOf(GetParam().path);
    if (!GetParam().mount) {
        EXPECT_EQ(v, nullptr) << GetParam().path;
    } else {
        ASSERT_NE(v, nullptr) << GetParam().path;
        EXPECT_EQ(v->strMountPoint, GetParam().mount) << GetParam().path;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, VolumeOfTest,
    ::testing::Values(HolderCase{"/media/card", "/media/card"}, HolderCase{"/media/card/", "/media/card"},
                      HolderCase{"/media/card/Log/MTR0001", "/media/card"}, HolderCase{"/media/cards/Log", "/"},
                      HolderCase{"/media/card/inner/x", "/media/card/inner"},
                      HolderCase{"/media/card/inner/../x", "/media/card"},
                      HolderCase{"/media/card//inner", "/media/card/inner"}, HolderCase{"/media/./card", "/media/card"},
                      HolderCase{"/mnt", "/mnt"}, HolderCase{"/", "/"}, HolderCase{"/usr/share", "/"}));

TEST(VolumeOverrideTest, ParsesEntriesAndSkipsBadOnes) {
    CVolumeTable table = CVolumeTable::FromOverride(
        " /media/a = Removable ;/data=fixed;;relative=fixed;/x=floppy;/noequals;/srv/=REMOTE;/a=b=cdrom;/data=ramdisk");
    std::vector<std::pair<std::string, VolumeType>> got;
    for (const auto& v : table.Volumes()) got.emplace_back(v.strMountPoint, v.type);
    std::vector<std::pair<std::string, VolumeType>> expected = {
        {"/srv", VolumeType::Remote},
        {"/media/a", VolumeType::Removable},
        {"/data", VolumeType::RamDisk},  // the last entry for a path wins
        {"/a=b", VolumeType::CdRom},
    };
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(CVolumeTable::FromOverride("").Volumes().empty());
}

TEST(VolumeSystemTest, RealMountTableHasTheRootAndNoPseudoFileSystems) {
    const char* old = std::getenv("LUMETRA_VOLUMES");
    if (old) GTEST_SKIP() << "LUMETRA_VOLUMES is set";
    CVolumeTable table = CVolumeTable::Current();
    ASSERT_FALSE(table.Volumes().empty());
    EXPECT_NE(table.VolumeOf("/"), nullptr);
    // Walking the volumes of a temporary table is safe.
    for (const auto& v : CVolumeTable::Current().Volumes()) {
        EXPECT_NE(v.strFsType, "proc");
        EXPECT_NE(v.strFsType, "sysfs");
        EXPECT_NE(v.strMountPoint, "/proc");
    }
}

// ---- drive types through LUMETRA_VOLUMES ----------------------------------------------------------------

class DriveTypeTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("LUMETRA_VOLUMES");
        m_bHadOld = old != nullptr;
        if (old) m_strOld = old;
        std::filesystem::create_directories(m_dir / "card/Log");
        std::filesystem::create_directories(m_dir / "disk");
        CTempDir::Write(m_dir / "disk/file.txt", "x");
        std::string volumes = m_dir.Path() + "/card=removable;" + m_dir.Path() + "/disk=fixed;" + m_dir.Path() +
                              "/gone=removable;" + m_dir.Path() + "/dvd=cdrom";
        setenv("LUMETRA_VOLUMES", volumes.c_str(), 1);
    }
    void TearDown() override {
        if (m_bHadOld)
            setenv("LUMETRA_VOLUMES", m_strOld.c_str(), 1);
        else
            unsetenv("LUMETRA_VOLUMES");
    }
    CTempDir m_dir;
    bool m_bHadOld = false;
    std::string m_strOld;
};

TEST_F(DriveTypeTest, TypesOfPathsComeFromTheHoldingVolume) {
    EXPECT_EQ(GetDriveTypeMask(m_dir / "card"), DRIVE_MASK_REMOVABLE);
    EXPECT_EQ(GetDriveTypeMask(m_dir / "card/Log/MTR0001"), DRIVE_MASK_REMOVABLE);
    EXPECT_EQ(GetDriveTypeMask(m_dir / "disk/file.txt"), DRIVE_MASK_FIXED);
    EXPECT_EQ(GetDriveTypeMask(m_dir / "dvd"), DRIVE_MASK_CDROM);
    EXPECT_EQ(GetDriveTypeMask(m_dir / "elsewhere"), DRIVE_MASK_NO_ROOT);  // no volume of the table holds it
    EXPECT_EQ(GetDriveTypeMask(""), DRIVE_MASK_NO_ROOT);

    EXPECT_TRUE(IsDriveType(m_dir / "card", DRIVE_MASK_REMOVABLE));
    EXPECT_TRUE(IsDriveType("  " + (m_dir / "card") + " ", DRIVE_MASK_REMOVABLE | DRIVE_MASK_FIXED));
    EXPECT_FALSE(IsDriveType(m_dir / "card", DRIVE_MASK_FIXED));
    EXPECT_FALSE(IsDriveType("   ", 0x7F));

    EXPECT_TRUE(IsDriveRoot(m_dir / "card"));
    EXPECT_TRUE(IsDriveRoot(m_dir / "card/"));
    EXPECT_FALSE(IsDriveRoot(m_dir / "card/Log"));
    EXPECT_FALSE(IsDriveRoot(""));
}

struct ExistsCase {
    const char* rel;
    bool bFolder;
    unsigned nMask;
    bool bExpected;
};

class PathExistsTest : public DriveTypeTest, public ::testing::WithParamInterface<ExistsCase> {};

TEST_P(PathExistsTest, FilesFoldersAndDriveRoots) {
    const auto& c = GetParam();
    EXPECT_EQ(PathExists(m_dir / c.rel, c.bFolder, c.nMask), c.bExpected) << c.rel;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PathExistsTest,
    ::testing::Values(ExistsCase{"disk/file.txt", false, 0, true}, ExistsCase{"disk/file.txt", true, 12, false},
                      ExistsCase{"disk", false, 0, false}, ExistsCase{"disk", true, 0, true},
                      ExistsCase{"card/Log", true, 0, true}, ExistsCase{"missing", false, 0, false},
                      ExistsCase{"missing", true, 124, false},
                      // A drive root that is not there as a folder counts when its type is in the mask.
                      ExistsCase{"gone", true, DRIVE_MASK_REMOVABLE, true},
                      ExistsCase{"gone", true, DRIVE_MASK_FIXED, false}, ExistsCase{"gone", true, 0, false},
                      ExistsCase{"gone", false, DRIVE_MASK_REMOVABLE, false}));

}  // namespace
