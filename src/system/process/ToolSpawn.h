#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace tarq::SystemValuesUtility {

// Starts `path` with `arguments` (no shell: each reaches the child as it is) in a process group
// of its own, with `outputEnd` as its standard output and /dev/null as its standard input. It
// inherits standard error (/dev/null where ours is closed), the environment and the working
// directory, and no other descriptor; every signal is at its default and none is blocked.
// `outputEnd` must lie above the standard descriptors. Returns 0 with `pid` set, or the error
// number of the failed start with `pid` -1.
int spawnTool(const std::string& path, const std::vector<std::string>& arguments, int outputEnd,
              pid_t& pid);

}  // namespace tarq::SystemValuesUtility
