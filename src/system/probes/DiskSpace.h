#pragma once

#include <cstdint>
#include <string>

namespace tarq::SystemValuesUtility {

// The current user's Documents folder. macOS: as the platform resolves it (the sandbox
// container's, in the sandbox). Linux: XDG_DOCUMENTS_DIR of the user-dirs file, else
// $HOME/Documents.
std::string documentsDirectory();

// The file-system attributes the disk check reads (NSFileSystemSize, NSFileSystemFreeSize).
enum class FileSystemAttributeKey { fileSystemSize, fileSystemFreeSize };

// A volume's figures as the platform's file-system query reports them. Block counts are in units
// of `fragmentSize`; `blockSize` is the preferred transfer size and counts nothing.
struct FileSystemFigures {
  uint64_t totalBlocks = 0;
  uint64_t freeBlocks = 0;       // including the blocks reserved for the administrator
  uint64_t availableBlocks = 0;  // what an ordinary user may fill
  uint64_t fragmentSize = 0;
  uint64_t blockSize = 0;
};

// The attribute in bytes: the total, or the space available to the user (not the free space,
// part of which only the administrator may use). Saturates at the largest int64_t.
int64_t fileSystemAttribute(FileSystemAttributeKey key, const FileSystemFigures& figures);

// The figures of the volume that holds `path`; errno is set when there are none. Linux: statvfs.
// macOS: statfs, whose counts are 64-bit (statvfs's are 32-bit there and wrap on large volumes).
bool readFileSystemFigures(const std::string& path, FileSystemFigures& figures);

// The attribute, in bytes, of the volume that holds `path`. A folder not yet created lies on the
// volume of its nearest existing parent. Any failure gives 0.
int64_t fileSystemAttribute(FileSystemAttributeKey key,
                            const std::string& path = documentsDirectory());

// Bytes available to the user, and bytes in all, on the Documents folder's volume.
int64_t freeDiskSpace(const std::string& path = documentsDirectory());
int64_t totalDiskSpace(const std::string& path = documentsDirectory());

}  // namespace tarq::SystemValuesUtility
