#pragma once

#include <string>

namespace tarq {

// Where a new file is written before it is renamed over `target`: a folder on the same volume
// that the program may write in, and whether it is to be removed afterwards. An empty path
// means the target's own folder.
struct ReplacementFolder {
  std::string path;
  bool removeAfter = false;
};
ReplacementFolder replacementFolderFor(const std::string& target);

}  // namespace tarq
