#include "system/process/RunCancellation.h"

#include <unistd.h>

#include <cerrno>

#include "system/process/ToolRunPlatform.h"

namespace tarq::SystemValuesUtility {

namespace {

thread_local const RunCancellation* currentCancellation = nullptr;

}  // namespace

RunCancellation::RunCancellation() {
  if (!openOutputPipe(ends_)) {
    ends_[0] = ends_[1] = -1;
  }
}

RunCancellation::~RunCancellation() {
  for (const int end : ends_) {
    if (end >= 0) {
      ::close(end);
    }
  }
}

void RunCancellation::cancel() noexcept {
  if (!cancelled_.exchange(true) && ends_[1] >= 0) {
    const char wake = 1;
    while (::write(ends_[1], &wake, 1) < 0 && errno == EINTR) {
    }
  }
}

bool RunCancellation::cancelled() const noexcept {
  return cancelled_.load();
}

const RunCancellation* currentRunCancellation() noexcept {
  return currentCancellation;
}

CancellationScope::CancellationScope(const RunCancellation& cancellation)
    : previous_(currentCancellation) {
  currentCancellation = &cancellation;
}

CancellationScope::~CancellationScope() {
  currentCancellation = previous_;
}

}  // namespace tarq::SystemValuesUtility
