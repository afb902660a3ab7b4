#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <thread>

#include "system/process/ToolOutput.h"

namespace tarq::SystemValuesUtility {
namespace {

// Writes `bytes` whole into the pipe's write end.
void writeAll(int end, const std::string& bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    const ssize_t count = ::write(end, bytes.data() + done, bytes.size() - done);
    ASSERT_GT(count, 0);
    done += static_cast<std::size_t>(count);
  }
}

// What a plain pipe of `bytes`, then its end, leaves in an output bounded at `maximumBytes`.
struct Outcome {
  std::string output;
  bool overflowed;
};
Outcome readWhole(const std::string& bytes, std::size_t maximumBytes) {
  ToolOutput output(maximumBytes);
  const int writeEnd = output.openPipe();
  EXPECT_GT(writeEnd, STDERR_FILENO);
  writeAll(writeEnd, bytes);
  ::close(writeEnd);
  while (output.descriptor() >= 0) {
    output.readAvailable(1000);
  }
  return {output.take(), output.overflowed()};
}

TEST(ToolOutputTest, KeepsOutputUpToItsBoundAndDropsOutputPastIt) {
  const struct {
    std::string name;
    std::size_t written;
    std::size_t maximumBytes;
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
    const Outcome outcome = readWhole(bytes, c.maximumBytes);
    EXPECT_EQ(outcome.overflowed, c.overflows);
    EXPECT_EQ(outcome.output, c.overflows ? "" : bytes);
  }
}

// Output grows over many reads, from the short first ones to whole pipes, while a writer keeps
// the pipe full; it comes out in order, and the end of the file closes the pipe.
TEST(ToolOutputTest, GrowsOverManyReadsInOrderUntilTheEnd) {
  std::string bytes(3 * 1024 * 1024 + 12345, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<char>(i % 251);
  }
  ToolOutput output(bytes.size());
  const int writeEnd = output.openPipe();
  ASSERT_GE(writeEnd, 0);
  std::thread writer([&] {
    // Pieces of every size from a byte up, so that reads find the pipe in many states.
    std::size_t done = 0;
    for (std::size_t piece = 1; done < bytes.size(); piece = piece * 3 + 1) {
      const std::size_t length = std::min(piece, bytes.size() - done);
      writeAll(writeEnd, bytes.substr(done, length));
      done += length;
    }
    ::close(writeEnd);
  });
  int reads = 0;
  while (output.descriptor() >= 0) {
    output.readAvailable(1000);
    ++reads;
  }
  writer.join();
  EXPECT_GT(reads, 2);
  EXPECT_FALSE(output.overflowed());
  const std::string read = output.take();
  ASSERT_EQ(read.size(), bytes.size());
  EXPECT_TRUE(read == bytes);
}

}  // namespace
}  // namespace tarq::SystemValuesUtility
