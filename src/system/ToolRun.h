#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarq {

// The outcome of running one command-line tool.
struct ToolRun {
  // False when the process could not be started (missing file, not executable, any other
  // start error); the other fields then mean nothing.
  bool launched = false;
  // The termination status; 0 is success. A process ended by a signal has a non-zero status.
  int32_t exitStatus = 0;
  // Everything the tool wrote to its standard output; filled only when exitStatus is 0.
  std::string output;
};

namespace SystemValuesUtility {

// How long the guarded run waits, in one-second sleeps, before it asks a tool to terminate.
inline constexpr int kGuardedRunSleeps = 30;

// Runs `path` with `arguments` (no shell: each reaches the child as it is) and waits for it
// without a time limit. Only standard output is captured; the child inherits standard input,
// standard error, the environment and the working directory. Never throws.
ToolRun runTool(const std::string& path, const std::vector<std::string>& arguments);

// The same, but a tool still running after `maximumSleeps` one-second sleeps is asked to
// terminate, and so reports a non-zero status. Never throws.
ToolRun runToolGuarded(const std::string& path, const std::vector<std::string>& arguments,
                       int maximumSleeps = kGuardedRunSleeps);

}  // namespace SystemValuesUtility
}  // namespace tarq
