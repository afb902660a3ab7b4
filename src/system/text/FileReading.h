#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tarq::SystemValuesUtility {

// Upper bound for a file read whole: far above any /proc or /sys file we read, low enough
// that a runaway file cannot exhaust memory.
inline constexpr std::size_t kMaxReadableFileBytes = 8u << 20;

// The whole content of a file, read to its end (files under /proc report a size of 0, so the
// size is not trusted). No value when it cannot be opened or read, or is larger than `maxBytes`.
std::optional<std::string> readWholeFile(const std::string& path,
                                         std::size_t maxBytes = kMaxReadableFileBytes);

// The names in a directory, without "." and ".."; empty when it cannot be read.
std::vector<std::string> directoryEntries(const std::string& path);

// While it lives, each file and folder read on the current thread is read once: reading it again
// gives what the first read gave. A pass reads under one, so that its checks see one state of the
// machine and the sources several facts share (/proc/cpuinfo, the cache folders) are read once.
class ReadOnceScope {
 public:
  ReadOnceScope();
  ~ReadOnceScope();
  ReadOnceScope(const ReadOnceScope&) = delete;
  ReadOnceScope& operator=(const ReadOnceScope&) = delete;

  struct Readings;

 private:
  std::unique_ptr<Readings> readings_;
  Readings* previous_;
};

// Whether anything exists at `path`, of whatever kind, as the platform's file manager says it:
// a link counts when what it points to exists.
bool fileExists(const std::string& path);

// Whether `path` is a folder, or a link to one.
bool isDirectory(const std::string& path);

}  // namespace tarq::SystemValuesUtility
