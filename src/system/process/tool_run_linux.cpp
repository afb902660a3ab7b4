#include <fcntl.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

#include "system/process/ToolRunPlatform.h"
#include "system/process/platform_exception_linux.h"

namespace tarq::SystemValuesUtility {

// A pipe larger than the 64 KiB default lets a tool write on while the reader catches up, which
// saves most of the switching between the two on large output. Where the system allows less,
// the default stays.
constexpr int kPipeSize = 1024 * 1024;

bool openOutputPipe(int ends[2]) {
  if (::pipe2(ends, O_CLOEXEC) != 0) {
    return false;
  }
  ::fcntl(ends[1], F_SETPIPE_SZ, kPipeSize);
  return true;
}

short keepOnlyStandardDescriptors(posix_spawn_file_actions_t& actions,
                                  bool /*inheritStandardError*/) {
  return posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1) == 0 ? 0 : -1;
}

// A pidfd (Linux 5.3 and later); older kernels answer ENOSYS and the run falls back to the
// process id, which stays ours until we reap the child.
// Called through syscall: glibc's own wrappers are newer than some systems we build on.
// Kept above the standard descriptors, so that it never stands in for one that was closed.
int openProcessHandle(pid_t pid) {
  const int handle = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0u));
  if (handle < 0 || handle > STDERR_FILENO) {
    return handle;
  }
  const int moved = ::fcntl(handle, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
  ::close(handle);
  return moved;
}

bool signalThroughHandle(int handle, int signal) {
  return ::syscall(SYS_pidfd_send_signal, handle, signal, nullptr, 0u) == 0;
}

// Huge pages spare the filling of a large buffer most of its page faults.
void adviseLargeBuffer(char* start, std::size_t length) {
  constexpr std::uintptr_t kHugePage = 2 * 1024 * 1024;
  const std::uintptr_t first =
      (reinterpret_cast<std::uintptr_t>(start) + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(start) + length) & ~(kHugePage - 1);
  if (end > first) {
    ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
  }
}

void raiseStartFailure(const std::string& path, int error) {
  throw PlatformException("ToolStartFailure", {{"path", path}, {"reason", std::strerror(error)}});
}

}  // namespace tarq::SystemValuesUtility
