#include <gtest/gtest.h>

#include <thread>

#include "support/TemporaryDirectory.h"
#include "system/text/FileReading.h"

namespace tarq::SystemValuesUtility {
namespace {

using Names = std::vector<std::string>;

// Other threads, and this one once the scope has ended, read afresh.
TEST(FileReadingTest, UnderAReadOnceScopeEachFileAndFolderIsReadOnce) {
  testing::TemporaryDirectory directory;
  const std::string folder = directory.string(), file = folder + "/cpuinfo";
  directory.write("cpuinfo", "first");
  {
    const ReadOnceScope scope;
    EXPECT_EQ(readWholeFile(file), "first");
    EXPECT_EQ(readWholeFile(folder + "/missing"), std::nullopt);
    EXPECT_EQ(directoryEntries(folder), Names{"cpuinfo"});
    directory.write("cpuinfo", "second");
    directory.write("missing", "there");
    EXPECT_EQ(readWholeFile(file), "first");
    EXPECT_EQ(readWholeFile(folder + "/missing"), std::nullopt);
    EXPECT_EQ(directoryEntries(folder), Names{"cpuinfo"});
    std::thread([&] { EXPECT_EQ(readWholeFile(file), "second"); }).join();
  }
  EXPECT_EQ(readWholeFile(file), "second");
  EXPECT_EQ(directoryEntries(folder).size(), 2u);
}

}  // namespace
}  // namespace tarq::SystemValuesUtility
