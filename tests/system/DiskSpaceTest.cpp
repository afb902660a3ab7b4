#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include "support/TemporaryDirectory.h"
#include "system/DiskSpace.h"

namespace tarq {
namespace {

namespace svu = SystemValuesUtility;

TEST(DiskSpaceTest, SizesAreThoseOfTheFolderVolume) {
  testing::TemporaryDirectory folder;
  struct statvfs volume {};
  ASSERT_EQ(::statvfs(folder.string().c_str(), &volume), 0);
  const auto total = static_cast<int64_t>(volume.f_blocks * volume.f_frsize);
  EXPECT_EQ(svu::totalDiskSpace(folder.string()), total);
  // Free space moves while the test runs; it stays within the volume.
  const int64_t free = svu::freeDiskSpace(folder.string());
  EXPECT_GT(free, 0);
  EXPECT_LE(free, total);
}

TEST(DiskSpaceTest, FolderNotYetCreatedLiesOnItsParentsVolume) {
  testing::TemporaryDirectory folder;
  const std::string missing = folder.string() + "/Documents/Not/Yet";
  EXPECT_EQ(svu::totalDiskSpace(missing), svu::totalDiskSpace(folder.string()));
  EXPECT_GT(svu::freeDiskSpace(missing), 0);
}

TEST(DiskSpaceTest, EveryFailureGivesZero) {
  testing::TemporaryDirectory folder;
  folder.write("file", "not a folder");
  EXPECT_EQ(svu::totalDiskSpace(folder.string() + "/file/Documents"), 0) << "ENOTDIR";
  EXPECT_EQ(svu::freeDiskSpace(""), 0);
  EXPECT_EQ(svu::fileSystemAttribute(svu::FileSystemAttributeKey::fileSystemSize, ""), 0);
}

}  // namespace
}  // namespace tarq
