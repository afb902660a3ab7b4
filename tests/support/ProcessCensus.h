#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tarq::testing {

// What this process holds, to show that runs leave nothing behind.
struct ProcessCensus {
  long threads = 0;
  long openDescriptors = 0;
  long childProcesses = 0;  // zombies included
  long residentKiB = 0;

  static long entriesIn(const std::filesystem::path& directory) {
    return static_cast<long>(std::distance(std::filesystem::directory_iterator(directory), {}));
  }

  static ProcessCensus take() {
    ProcessCensus census{entriesIn("/proc/self/task"), entriesIn("/proc/self/fd")};
    const std::string self = std::to_string(::getpid());
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
      std::ifstream stat(entry.path() / "stat");
      std::string line, state, parent;
      // "pid (name) state ppid ...": the name may hold blanks, so read after its last ')'.
      if (std::getline(stat, line) &&
          std::istringstream(line.substr(line.rfind(')') + 1)) >> state >> parent &&
          parent == self) {
        ++census.childProcesses;
      }
    }
    long sizePages = 0;
    std::ifstream("/proc/self/statm") >> sizePages >> census.residentKiB;
    census.residentKiB *= ::sysconf(_SC_PAGESIZE) / 1024;
    return census;
  }
};

}  // namespace tarq::testing
