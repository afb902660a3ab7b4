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

// The attribute, in bytes, of the volume that holds `path`. A folder not yet created lies on the
// volume of its nearest existing parent. Any failure gives 0.
int64_t fileSystemAttribute(FileSystemAttributeKey key,
                            const std::string& path = documentsDirectory());

// Bytes available to the user, and bytes in all, on the Documents folder's volume.
int64_t freeDiskSpace(const std::string& path = documentsDirectory());
int64_t totalDiskSpace(const std::string& path = documentsDirectory());

}  // namespace tarq::SystemValuesUtility
