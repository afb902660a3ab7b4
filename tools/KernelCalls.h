#pragma once

#include <asm/unistd.h>
#include <linux/errno.h>
#include <linux/fcntl.h>

#include <cstddef>
#include <string_view>

// The stand-in profiler reaches the kernel only through these few calls, so that the same code
// runs without the C library (the programs' lean build by GCC for x86-64, where the C library's
// start-up alone was most of each start) and on it everywhere else (see CMakeLists.txt). Each
// returns what the kernel returns: a count or a descriptor, or minus the error number.
namespace tarq::standin {

// One system call. Defined through the C library in KernelCalls_libc.cpp, and by the start-up
// code of the build without it.
long kernelCall(long number, long first = 0, long second = 0, long third = 0);

// The stand-in's own entry, called by either start-up with the process's arguments and
// environment; its result is the exit status.
int systemProfilerMain(int argc, char** argv, char** environment);

inline int openForReading(const char* path, bool directory) {
  const long flags = O_RDONLY | O_CLOEXEC | (directory ? O_DIRECTORY : 0);
  return static_cast<int>(kernelCall(__NR_openat, AT_FDCWD, reinterpret_cast<long>(path), flags));
}

inline long readSome(int descriptor, char* buffer, std::size_t size) {
  return kernelCall(__NR_read, descriptor, reinterpret_cast<long>(buffer), static_cast<long>(size));
}

// Fills `buffer` with whole directory entries (struct linux_dirent64); 0 at the end.
inline long readDirectoryEntries(int descriptor, char* buffer, std::size_t size) {
  return kernelCall(__NR_getdents64, descriptor, reinterpret_cast<long>(buffer),
                    static_cast<long>(size));
}

inline void closeDescriptor(int descriptor) {
  kernelCall(__NR_close, descriptor);
}

// Writes all of `text`, however many calls that takes; false on an error.
inline bool writeAll(int descriptor, std::string_view text) {
  while (!text.empty()) {
    const long written = kernelCall(__NR_write, descriptor, reinterpret_cast<long>(text.data()),
                                    static_cast<long>(text.size()));
    if (written == -EINTR) {
      continue;
    }
    if (written <= 0) {
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace tarq::standin
