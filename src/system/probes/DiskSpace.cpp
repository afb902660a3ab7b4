#include "system/probes/DiskSpace.h"

#include <cerrno>
#include <limits>

namespace tarq::SystemValuesUtility {
namespace {

// "/a/b" gives "/a", "/a" gives "/", "b" gives "."; "/" has no parent.
std::string parentDirectory(std::string path) {
  while (path.size() > 1 && path.back() == '/') {
    path.pop_back();
  }
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    return ".";
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

int64_t fileSystemAttribute(FileSystemAttributeKey key, const FileSystemFigures& figures) {
  const uint64_t blocks =
      key == FileSystemAttributeKey::fileSystemSize ? figures.totalBlocks : figures.availableBlocks;
  uint64_t bytes = 0;
  if (__builtin_mul_overflow(blocks, figures.fragmentSize, &bytes) ||
      bytes > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
    return std::numeric_limits<int64_t>::max();
  }
  return static_cast<int64_t>(bytes);
}

int64_t fileSystemAttribute(FileSystemAttributeKey key, const std::string& path) {
  if (path.empty()) {
    return 0;
  }
  FileSystemFigures figures;
  std::string probe = path;
  while (!readFileSystemFigures(probe, figures)) {
    if (errno != ENOENT || probe == "/" || probe == ".") {
      return 0;
    }
    probe = parentDirectory(probe);
  }
  return fileSystemAttribute(key, figures);
}

int64_t freeDiskSpace(const std::string& path) {
  return fileSystemAttribute(FileSystemAttributeKey::fileSystemFreeSize, path);
}

int64_t totalDiskSpace(const std::string& path) {
  return fileSystemAttribute(FileSystemAttributeKey::fileSystemSize, path);
}

}  // namespace tarq::SystemValuesUtility
