#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "system/process/Deadline.h"
#include "system/process/RunCancellation.h"
#include "system/process/ToolOutput.h"
#include "system/process/ToolRun.h"

namespace tarq::SystemValuesUtility {

inline constexpr Clock::time_point kNoDeadline = Clock::time_point::max();

enum class Wait { exited, timedOut, cancelled };

// One child process, leader of its own process group, with its standard output piped to us.
// Its exit is seen without reaping it, so that while we signal its group the group's id cannot
// pass to another process. Only the destructor reaps it, killing it first if it still runs, so
// no path leaves a descriptor, a zombie or a process of the run behind.
class ToolProcess {
 public:
  ToolProcess(const ToolRunLimits& limits, const RunCancellation* cancellation)
      : limits_(limits), cancellation_(cancellation), output_(limits.maximumOutputBytes) {}
  ~ToolProcess();
  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  // Starts the tool; 0, or the error number of the failed start.
  int start(const std::string& path, const std::vector<std::string>& arguments);

  // Non-blocking: true once the tool has exited. It is not reaped here.
  bool hasExited();

  // Drains the output until the tool has exited, `deadline` has passed or, when
  // `honourCancellation`, the run's cancellation has come.
  Wait waitForExit(Clock::time_point deadline, bool honourCancellation);

  // Asks the tool's whole process group to terminate and kills it if it has not ended within
  // the grace. The run has then failed, whatever the tool returns.
  void stop(bool cancelled);

  // The outcome of a tool that has exited: what is left of its process group is killed; its
  // output is kept only when it succeeded on its own. The tool is reaped by the destructor.
  ToolRun finish();

 private:
  void signalGroup(int number);
  void signalRun(int number);
  void reap();
  void waitForEvents(int timeout, bool honourCancellation);
  void killOnOverflow();

  const ToolRunLimits& limits_;
  const RunCancellation* cancellation_;
  ToolOutput output_;
  std::string path_;
  pid_t pid_ = -1;
  int handle_ = -1;
  bool groupSignalsSafe_ = true;
  bool exited_ = false;
  bool exitSignalled_ = false;
  bool reaped_ = false;
  bool terminateRequested_ = false;
  int status_ = -1;
};

}  // namespace tarq::SystemValuesUtility
