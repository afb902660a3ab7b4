#include "system/process/ToolRun.h"

#include <algorithm>
#include <cstring>

#include "system/Diagnostics.h"
#include "system/process/ObjC.h"
#include "system/process/RunCancellation.h"
#include "system/process/ToolProcess.h"
#include "system/process/ToolRunPlatform.h"

namespace tarq::SystemValuesUtility {

namespace {

// Asked right after the start, then after each sleep: a tool that has already ended costs no
// sleep. The sleeps are counted from the tool's start, however late the wait begins, so a run
// waited for after another is bounded as if waited for at once. One still running after the
// last sleep is asked to terminate, and killed if it has not ended within the grace.
void waitBounded(ToolProcess& tool, const ToolRunLimits& limits, Clock::time_point startedAt) {
  if (tool.hasExited()) {
    return;
  }
  const int sleeps = std::max(1, limits.maximumSleeps);
  for (int sleep = 1; sleep <= sleeps; ++sleep) {
    switch (tool.waitForExit(startedAt + sleep * limits.sleepLength, true)) {
      case Wait::exited:
        return;
      case Wait::cancelled:
        tool.stop(true);
        return;
      case Wait::timedOut:
        break;
    }
  }
  tool.stop(false);
}

// The process of a run under the thread's cancellation; none once that has come, when the run
// does not start at all.
std::unique_ptr<ToolProcess> processUnlessCancelled(const ToolRunLimits& limits) {
  const RunCancellation* cancellation = currentRunCancellation();
  if (cancellation != nullptr && cancellation->cancelled()) {
    return nullptr;
  }
  return std::make_unique<ToolProcess>(limits, cancellation);
}

}  // namespace

ToolRun runTool(const std::string& path, const std::vector<std::string>& arguments,
                const ToolRunLimits& limits) {
  try {
    const std::unique_ptr<ToolProcess> tool = processUnlessCancelled(limits);
    if (!tool) {
      return {};
    }
    if (const int error = tool->start(path, arguments); error != 0) {
      writeDiagnosticLine("tool run: " + path + " could not be started: " + std::strerror(error));
      return {};
    }
    if (tool->waitForExit(kNoDeadline, true) == Wait::cancelled) {
      tool->stop(true);
    }
    return tool->finish();
  } catch (const std::exception&) {
    return {};
  }
}

ToolRun runToolGuarded(const std::string& path, const std::vector<std::string>& arguments,
                       int maximumSleeps) {
  ToolRunLimits limits;
  limits.maximumSleeps = maximumSleeps;
  return runToolGuarded(path, arguments, limits);
}

ToolRun runToolGuarded(const std::string& path, const std::vector<std::string>& arguments,
                       const ToolRunLimits& limits) {
  return StartedToolRun(path, arguments, limits).finish();
}

StartedToolRun::StartedToolRun(const std::string& path, const std::vector<std::string>& arguments,
                               const ToolRunLimits& limits)
    : limits_(limits), startedAt_(Clock::now()) {
  try {
    std::unique_ptr<ToolProcess> tool = processUnlessCancelled(limits_);
    ErrorValue failure;
    if (tool && ObjC::catchException(
                    [&] {
                      const int error = tool->start(path, arguments);
                      if (error != 0) {
                        raiseStartFailure(path, error);
                      }
                    },
                    failure)) {
      tool_ = std::move(tool);
    } else if (tool) {
      // A tool that cannot start reads as a missing one to the checks; the reason (a missing
      // file, or no descriptor or process left) is told where diagnostics go.
      writeDiagnosticLine("tool run: " + path +
                          " could not be started: " + failure.userInfo["reason"]);
    }
  } catch (const std::exception&) {
  }
}

StartedToolRun::~StartedToolRun() = default;

ToolRun StartedToolRun::finish() {
  const std::unique_ptr<ToolProcess> tool = std::move(tool_);
  if (!tool) {
    return {};
  }
  try {
    waitBounded(*tool, limits_, startedAt_);
    return tool->finish();
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace tarq::SystemValuesUtility
