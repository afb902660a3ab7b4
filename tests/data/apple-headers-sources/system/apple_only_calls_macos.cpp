// Calls into headers only macOS has, written as on a Mac: compiles cleanly.
#include <mach-o/dyld.h>
#include <spawn.h>
#include <sys/errno.h>
#include <sys/mount.h>
#include <sys/sysctl.h>

#include <cstdint>

namespace {

[[maybe_unused]] bool probe(posix_spawn_file_actions_t& actions) {
  int mib[CTL_MAXNAME] = {CTL_HW, HW_MEMSIZE};
  uint64_t memory = 0;
  size_t length = sizeof memory;
  struct statfs volume {};
  char executable[1024];
  uint32_t size = sizeof executable;
  const short flags = POSIX_SPAWN_CLOEXEC_DEFAULT;
  return ::sysctl(mib, 2, &memory, &length, nullptr, 0) == 0 && errno <= ELAST &&
         ::statfs("/", &volume) == 0 && volume.f_iosize > 0 &&
         _NSGetExecutablePath(executable, &size) == 0 &&
         posix_spawn_file_actions_addinherit_np(&actions, 2) == flags;
}

}  // namespace
