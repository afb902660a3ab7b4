#include <sys/statvfs.h>

#include "system/probes/DiskSpace.h"

namespace tarq::SystemValuesUtility {

bool readFileSystemFigures(const std::string& path, FileSystemFigures& figures) {
  struct statvfs volume {};
  if (::statvfs(path.c_str(), &volume) != 0) {
    return false;
  }
  figures = {volume.f_blocks, volume.f_bfree, volume.f_bavail, volume.f_frsize, volume.f_bsize};
  return true;
}

}  // namespace tarq::SystemValuesUtility
