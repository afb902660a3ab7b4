#pragma once

#include <sys/types.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "support/FakeTool.h"
#include "support/TemporaryDirectory.h"

namespace tarq::testing {

// A program finds its helpers from its own place: a copy in `tree`/bin runs the test's stand-in
// profiler (`profilerBody`, after "#!/bin/sh") in `tree`/libexec/tarq. Returns the copy's path.
inline std::string copyProgramBesideProfiler(const TemporaryDirectory& tree,
                                             const std::string& program,
                                             std::string_view profilerBody) {
  const std::filesystem::path copy =
      tree.path() / "bin" / std::filesystem::path(program).filename();
  std::filesystem::create_directories(copy.parent_path());
  std::filesystem::copy_file(program, copy);
  writeScript(tree, "libexec/tarq/system_profiler", profilerBody);
  return copy.string();
}

// The live processes (zombies left out) whose environment holds `variable`, as inherited.
inline std::vector<pid_t> liveProcessesWith(const std::string& variable) {
  std::vector<pid_t> found;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    std::ifstream environment(entry.path() / "environ", std::ios::binary);
    const std::string variables{std::istreambuf_iterator<char>(environment), {}};
    std::ifstream stat(entry.path() / "stat");
    std::string line, state;
    std::getline(stat, line);
    std::istringstream(line.substr(line.rfind(')') + 1)) >> state;
    const std::string separator(1, '\0');
    if (state != "Z" &&
        (separator + variables).find(separator + variable + separator) != std::string::npos) {
      found.push_back(std::stoi(entry.path().filename().string()));
    }
  }
  return found;
}

}  // namespace tarq::testing
