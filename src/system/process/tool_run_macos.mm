#import <Foundation/Foundation.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "system/process/ToolRunPlatform.h"

namespace tarq::SystemValuesUtility {

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
// redirected standard output, the opened standard input and, where inherited, standard error.
short keepOnlyStandardDescriptors(posix_spawn_file_actions_t& actions, bool inheritStandardError) {
  if (inheritStandardError &&
      posix_spawn_file_actions_addinherit_np(&actions, STDERR_FILENO) != 0) {
    return -1;
  }
  return POSIX_SPAWN_CLOEXEC_DEFAULT;
}

// macOS has no process descriptors; the run signals the process id, which stays ours until we
// reap the child.
int openProcessHandle(pid_t /*pid*/) {
  return -1;
}

bool signalThroughHandle(int /*handle*/, int /*signal*/) {
  return false;
}

// The system's allocator needs no hint for large buffers.
void adviseLargeBuffer(char* /*start*/, std::size_t /*length*/) {}

void raiseStartFailure(const std::string& path, int error) {
  [NSException raise:NSInvalidArgumentException
              format:@"cannot start %s: %s", path.c_str(), std::strerror(error)];
  __builtin_unreachable();
}

}  // namespace tarq::SystemValuesUtility
