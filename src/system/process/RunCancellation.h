#pragma once

#include <atomic>

namespace tarq::SystemValuesUtility {

// A request, from any thread, that the tool runs of a pass end now. Runs under a
// `CancellationScope` of it end early once it is cancelled: the tool's process group is asked to
// terminate (and killed after a short grace), and the run fails as a terminated one does. Runs
// started after it was cancelled do not start at all.
class RunCancellation {
 public:
  RunCancellation();
  ~RunCancellation();
  RunCancellation(const RunCancellation&) = delete;
  RunCancellation& operator=(const RunCancellation&) = delete;

  // Idempotent; safe from any thread.
  void cancel() noexcept;
  bool cancelled() const noexcept;
  // Readable once cancelled, so a run waiting in poll wakes at once; -1 if it could not be made.
  int descriptor() const noexcept { return ends_[0]; }

 private:
  std::atomic<bool> cancelled_{false};
  int ends_[2] = {-1, -1};
};

// The cancellation tool runs on the current thread answer to; null outside every scope.
const RunCancellation* currentRunCancellation() noexcept;

// While it lives, tool runs on the current thread answer to `cancellation`.
class CancellationScope {
 public:
  explicit CancellationScope(const RunCancellation& cancellation);
  ~CancellationScope();
  CancellationScope(const CancellationScope&) = delete;
  CancellationScope& operator=(const CancellationScope&) = delete;

 private:
  const RunCancellation* previous_;
};

}  // namespace tarq::SystemValuesUtility
