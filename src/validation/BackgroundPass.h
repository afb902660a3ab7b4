#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "system/process/ToolRun.h"
#include "validation/CheckMeasurements.h"
#include "validation/MachineFacts.h"
#include "validation/ResultTables.h"
#include "validation/ValidationRunner.h"

namespace tarq {

// One validation pass on a thread of its own, for a front end that must stay live meanwhile.
// The owner's tables are emptied as it starts; what the pass then reports (each line and row,
// each check as it begins, its end) reaches the owner's thread in order through the owner's post
// function: the window's queues a call on its event loop, a test's a queue it drains. Every
// member is called on the owner's thread.
//
// Once cancelled, the pass's tools are ended, no further check starts, and what it still posts
// is dropped when it arrives, except its end, so that the owner knows when to let it go.
// Destroying it cancels it and waits for its thread; nothing it posted arrives after that.
class BackgroundPass {
 public:
  // Runs `change` on the owner's thread after the call returns, in the order of the calls.
  // Called on the pass's thread.
  using Post = std::function<void(std::function<void()> change)>;

  // Where the pass's reports go, each on the owner's thread. A table left null is not reported
  // to; the checks run all the same. Its end comes after everything else it reported.
  struct Receivers {
    ResultTextTable* lines = nullptr;
    TestSummaryTable* summary = nullptr;
    ValidationRunner::CheckStarted checkStarted;
    std::function<void()> ended;
  };

  // `facts` must outlive the pass.
  BackgroundPass(MachineFacts& facts, Post post);
  ~BackgroundPass();
  BackgroundPass(const BackgroundPass&) = delete;
  BackgroundPass& operator=(const BackgroundPass&) = delete;

  // Starts the pass once, with the main screen the owner read (on macOS only the main thread
  // may ask): empties the tables unless cancelled, then starts its thread. Throws
  // std::system_error where no thread can be made; the pass has then run nothing.
  void start(ScreenSize screen, Receivers receivers);
  // Idempotent; also before start, when the pass then runs no check.
  void cancel();
  bool cancelled() const;
  // Waits for the pass's thread to end; nothing when it has not started or has been joined.
  void join();

  // What the checks measured and when the pass ran; read them once its end has arrived.
  const CheckMeasurementTable& measurements() const { return measurements_; }
  std::chrono::system_clock::time_point startedAt() const { return startedAt_; }
  std::chrono::system_clock::time_point finishedAt() const { return finishedAt_; }

 private:
  struct Delivery;
  class ForwardedLines;
  class ForwardedSummary;

  std::shared_ptr<Delivery> delivery_;
  SystemValuesUtility::RunCancellation cancellation_;
  std::unique_ptr<ForwardedLines> lines_;
  std::unique_ptr<ForwardedSummary> summary_;
  ValidationRunner runner_;
  CheckMeasurementTable measurements_;
  std::chrono::system_clock::time_point startedAt_;
  std::chrono::system_clock::time_point finishedAt_;
  std::thread thread_;
};

}  // namespace tarq
