#pragma once

#include <sys/types.h>

#include <filesystem>
#include <fstream>
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

// The live processes whose environment holds `variable`, as inherited (a zombie's is unreadable).
inline std::vector<pid_t> liveProcessesWith(const std::string& variable) {
  std::vector<pid_t> found;
  const std::string separator(1, '\0');
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    std::ifstream environment(entry.path() / "environ", std::ios::binary);
    const std::string variables{std::istreambuf_iterator<char>(environment), {}};
    if ((separator + variables).find(separator + variable + separator) != std::string::npos) {
      found.push_back(std::stoi(entry.path().filename().string()));
    }
  }
  return found;
}

}  // namespace tarq::testing
