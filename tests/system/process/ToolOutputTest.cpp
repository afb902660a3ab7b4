#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "system/process/ToolOutput.h"

namespace tarq::SystemValuesUtility {
namespace {

// Outputs read over many reads while a tool writes them: ToolRunTest.
TEST(ToolOutputTest, KeepsOutputUpToItsBoundAndDropsOutputPastIt) {
  const struct {
    std::string name;
    std::size_t written, maximumBytes;
    bool overflows;
  } cases[] = {
      {"empty", 0, 16, false},
      {"exactly at the bound", 16, 16, false},
      {"one byte past the bound", 17, 16, true},
      {"a whole first read at the bound", 4096, 4096, false},
      {"a byte past a whole first read", 4097, 4096, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string bytes(c.written, 'x');
    ToolOutput output(c.maximumBytes);
    const int writeEnd = output.openPipe();
    ASSERT_EQ(::write(writeEnd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(writeEnd);
    while (output.descriptor() >= 0) {
      output.readAvailable(1000);
    }
    EXPECT_EQ(output.overflowed(), c.overflows);
    EXPECT_EQ(output.take(), c.overflows ? "" : bytes);
  }
}

}  // namespace
}  // namespace tarq::SystemValuesUtility
