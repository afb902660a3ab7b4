#include <sys/mount.h>
#include <sys/param.h>

#include "system/probes/DiskSpace.h"

namespace tarq::SystemValuesUtility {

// statfs, not statvfs: macOS's statvfs has 32-bit block counts, which wrap on volumes over
// 16 TiB at 4 KiB blocks (2 TiB at 512-byte blocks), and a wrapped free size could fail the
// disk check falsely. statfs counts in 64 bits, in units of f_bsize.
bool readFileSystemFigures(const std::string& path, FileSystemFigures& figures) {
  struct statfs volume {};
  if (::statfs(path.c_str(), &volume) != 0) {
    return false;
  }
  figures = {volume.f_blocks, volume.f_bfree, volume.f_bavail, volume.f_bsize,
             static_cast<uint64_t>(volume.f_iosize > 0 ? volume.f_iosize : 0)};
  return true;
}

}  // namespace tarq::SystemValuesUtility
