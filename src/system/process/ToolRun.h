#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tarq::SystemValuesUtility {

// The outcome of running one command-line tool.
struct ToolRun {
  // False when the process could not be started (missing file, not executable, any other
  // start error); the other fields then mean nothing.
  bool launched = false;
  // The termination status; 0 is success. A process ended by a signal has a non-zero status
  // (128 plus the signal number).
  int32_t exitStatus = 0;
  // Everything the tool wrote to its standard output; filled only when exitStatus is 0.
  std::string output;
};

// How long the guarded run waits, in one-second sleeps, before it asks a tool to terminate.
inline constexpr int kGuardedRunSleeps = 30;

// The bounds of a run. The defaults are what the probes use; tests shorten them.
struct ToolRunLimits {
  // Guarded run only: the number and length of the sleeps before the terminate request.
  int maximumSleeps = kGuardedRunSleeps;
  std::chrono::milliseconds sleepLength{1000};
  // Guarded run only: how long a tool asked to terminate has before it is killed.
  std::chrono::milliseconds terminateGrace{3000};
  // The same for a run ended by its cancellation: short, since a person is waiting.
  std::chrono::milliseconds stopGrace{250};
  // Once the tool has exited, something it started may still hold its standard output open.
  // Reading then stops when the pipe has been quiet this long, or at the latest after
  // `outputAfterExitLimit`.
  std::chrono::milliseconds outputIdleGrace{500};
  std::chrono::milliseconds outputAfterExitLimit{5000};
  // The most output a run keeps. A tool writing more is killed and counts as failed, with the
  // status of a killed process.
  std::size_t maximumOutputBytes = std::size_t{1} << 30;
};

// Both runs answer to the current thread's `RunCancellation` (RunCancellation.h).

// Runs `path` with `arguments` (no shell: each reaches the child as it is) and waits for it
// without a time limit. Only standard output is captured. The child reads /dev/null as its
// standard input, inherits standard error (/dev/null where ours is closed), the environment and
// the working directory, and no other descriptor; it starts in a process group of its own,
// which is killed once the tool has exited, so nothing the run started outlives it. The output
// is drained while the tool runs, so a tool printing a lot never blocks. Never throws.
ToolRun runTool(const std::string& path, const std::vector<std::string>& arguments,
                const ToolRunLimits& limits = {});

// The same, but a tool still running after `maximumSleeps` one-second sleeps is asked to
// terminate (its whole process group, killed if it ignores that). A run that had to be asked to
// terminate has failed, whatever the tool then returns: non-zero status, no output. The start
// runs through the exception bridge. Never throws.
ToolRun runToolGuarded(const std::string& path, const std::vector<std::string>& arguments,
                       int maximumSleeps = kGuardedRunSleeps);
ToolRun runToolGuarded(const std::string& path, const std::vector<std::string>& arguments,
                       const ToolRunLimits& limits);

class ToolProcess;

// A guarded run started at once and waited for later, so that one thread can have tools running
// side by side. It answers to the thread's cancellation as it is at the start. While it is not
// waited for, its output stays in the pipe, which a chatty tool may fill and then wait on.
// Dropped unfinished, it kills the tool's whole process group and reaps the tool.
class StartedToolRun {
 public:
  StartedToolRun(const std::string& path, const std::vector<std::string>& arguments,
                 const ToolRunLimits& limits = {});
  ~StartedToolRun();
  StartedToolRun(const StartedToolRun&) = delete;
  StartedToolRun& operator=(const StartedToolRun&) = delete;

  // Waits as runToolGuarded does, its sleeps counted from the start (so two runs started
  // together and waited for one after the other end within one bound), and gives the outcome.
  // Asked again, it gives a run that was not launched.
  ToolRun finish();

 private:
  ToolRunLimits limits_;
  std::chrono::steady_clock::time_point startedAt_;
  std::unique_ptr<ToolProcess> tool_;
};

}  // namespace tarq::SystemValuesUtility
