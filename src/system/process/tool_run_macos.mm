#import <Foundation/Foundation.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "system/process/ToolRunPlatform.h"

namespace tarq::tool_run_platform {

bool openOutputPipe(int ends[2]) {
  if (::pipe(ends) != 0) {
    return false;
  }
  if (::fcntl(ends[0], F_SETFD, FD_CLOEXEC) != 0 || ::fcntl(ends[1], F_SETFD, FD_CLOEXEC) != 0) {
    ::close(ends[0]);
    ::close(ends[1]);
    return false;
  }
  return true;
}

// Under POSIX_SPAWN_CLOEXEC_DEFAULT the child keeps only what the file actions name: the
// redirected standard output and the two descriptors inherited here.
short keepOnlyStandardDescriptors(posix_spawn_file_actions_t& actions) {
  if (posix_spawn_file_actions_addinherit_np(&actions, STDIN_FILENO) != 0 ||
      posix_spawn_file_actions_addinherit_np(&actions, STDERR_FILENO) != 0) {
    return -1;
  }
  return POSIX_SPAWN_CLOEXEC_DEFAULT;
}

// The system's allocator needs no hint for large buffers.
void adviseLargeBuffer(char* /*start*/, std::size_t /*length*/) {}

void raiseStartFailure(const std::string& path, int error) {
  [NSException raise:NSInvalidArgumentException
              format:@"cannot start %s: %s", path.c_str(), std::strerror(error)];
  __builtin_unreachable();
}

}  // namespace tarq::tool_run_platform
