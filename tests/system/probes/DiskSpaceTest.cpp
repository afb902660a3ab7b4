#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include "support/TemporaryDirectory.h"
#include "system/probes/DiskSpace.h"

namespace tarq::SystemValuesUtility {
namespace {

namespace svu = SystemValuesUtility;

// Every count and size differs: only the available blocks times the fragment size are right.
TEST(DiskSpaceTest, BytesAreBlocksTimesTheFragmentSizeAndFreeMeansAvailable) {
  using enum svu::FileSystemAttributeKey;
  const svu::FileSystemFigures figures{1000, 300, 250, 4096, 1048576};
  EXPECT_EQ(svu::fileSystemAttribute(fileSystemSize, figures), 1000 * 4096);
  EXPECT_EQ(svu::fileSystemAttribute(fileSystemFreeSize, figures), 250 * 4096);
  // 64-bit counts beyond any 32-bit range (a 20 TiB volume), and a product past int64_t.
  const svu::FileSystemFigures large{uint64_t{5} << 30, 0, uint64_t{5} << 30, 4096, 4096};
  EXPECT_EQ(svu::fileSystemAttribute(fileSystemFreeSize, large), int64_t{20} << 40);
  const svu::FileSystemFigures huge{UINT64_MAX, 0, UINT64_MAX, 512, 512};
  EXPECT_EQ(svu::fileSystemAttribute(fileSystemSize, huge), INT64_MAX);
}

// A folder not yet created lies on its nearest existing parent's volume; every failure gives 0.
TEST(DiskSpaceTest, SizesAreThoseOfTheFolderVolume) {
  testing::TemporaryDirectory folder;
  struct statvfs volume {};
  ASSERT_EQ(::statvfs(folder.string().c_str(), &volume), 0);
  const auto total = static_cast<int64_t>(volume.f_blocks * volume.f_frsize);
  const std::string missing = folder.string() + "/Documents/Not/Yet";
  EXPECT_EQ(svu::totalDiskSpace(folder.string()), total);
  EXPECT_EQ(svu::totalDiskSpace(missing), total);
  // Free space moves while the test runs; it stays within the volume.
  for (const std::string& path : {folder.string(), missing}) {
    EXPECT_GT(svu::freeDiskSpace(path), 0);
    EXPECT_LE(svu::freeDiskSpace(path), total);
  }
  folder.write("file", "not a folder");
  EXPECT_EQ(svu::totalDiskSpace(folder.string() + "/file/Documents"), 0) << "ENOTDIR";
  EXPECT_EQ(svu::freeDiskSpace(""), 0);
  EXPECT_EQ(svu::fileSystemAttribute(svu::FileSystemAttributeKey::fileSystemSize, ""), 0);
}

}  // namespace
}  // namespace tarq::SystemValuesUtility
