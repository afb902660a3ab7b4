// A pass on a thread of its own, whose reports the test takes from its queue on the test's thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <thread>

#include "support/CapturedDiagnostics.h"
#include "support/FakeTool.h"
#include "support/ProcessCensus.h"
#include "system/probes/UsbProbe.h"
#include "validation/BackgroundPass.h"
#include "validation/CheckHarness.h"

namespace tarq {
namespace {

constexpr ScreenSize kScreen{800, 600};  // given to the pass; the machine's own screen differs
constexpr std::string_view kUsbStarted = "started USB 2.0/3.0/3.1";

// The owner's side of a pass: what it posts waits here until the test runs it, in order.
class PostedChanges {
 public:
  BackgroundPass::Post post() {
    return [this](std::function<void()> change) {
      const std::lock_guard lock(mutex_);
      changes_.push_back(std::move(change));
      arrived_.notify_one();
    };
  }

  // Runs the posted changes in order until `done` holds; false when none comes for long.
  bool runUntil(const std::function<bool()>& done) {
    while (!done()) {
      std::unique_lock lock(mutex_);
      if (!arrived_.wait_for(lock, std::chrono::seconds(20),
                             [this] { return !changes_.empty(); })) {
        return false;
      }
      const std::function<void()> change = std::move(changes_.front());
      changes_.pop_front();
      lock.unlock();
      change();
    }
    return true;
  }
  void runPosted() {
    runUntil([this] {
      const std::lock_guard lock(mutex_);
      return changes_.empty();
    });
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::function<void()>> changes_;
};

// USB from a real profiler that fails once let through, or is ended with its pass.
struct HeldUsbFacts final : testing::FakeMachineFacts {
  explicit HeldUsbFacts(const testing::TemporaryDirectory& directory)
      : profiler(testing::writeScript(directory, "system_profiler",
                                      "while [ ! -e \"$0.go\" ]; do sleep 0.01; done\nexit 1\n")) {}
  double highestUSBVersion() override { return SystemValuesUtility::highestUSBVersion(profiler); }
  ScreenSize mainScreenSize() override {
    ++screenQuestions;
    return FakeMachineFacts::mainScreenSize();
  }
  void letThrough() const { std::ofstream(profiler + ".go").flush(); }
  void hold() const { std::filesystem::remove(profiler + ".go"); }

  // The profiler's failures are logged; not on the test's output.
  const testing::CapturedDiagnostics quiet;
  const std::string profiler;
  std::atomic<int> screenQuestions = 0;
};

ValidationRunner::CheckStarted noteStarts(std::vector<std::string>& log) {
  return [&log](std::size_t, std::string_view testName) {
    log.push_back("started " + std::string(testName));
  };
}

// The owner's tables and notices, each noted in one log as it arrives.
struct Owner {
  BackgroundPass::Receivers receivers() {
    return {&lines, &summary, noteStarts(log), [this] { log.push_back("ended"); }};
  }
  bool ended() const { return !log.empty() && log.back() == "ended"; }
  bool usbStarted() const { return !log.empty() && log.back() == kUsbStarted; }

  std::vector<std::string> log;
  testing::Recording<ResultTextTable> lines{log};
  testing::Recording<TestSummaryTable> summary{log};
};

bool eventually(const std::function<bool()>& holds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!holds()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// Until stopped the owner sees what the pass would report in place; a cancel lets only its end
// through, a destruction not even that. No check starts after, and no tool or thread is left.
TEST(BackgroundPassTest, ReportsArriveInOrderUntilThePassIsStopped) {
  for (const std::string_view stop :
       {"never", "cancelled before the start", "cancelled during the USB check",
        "destroyed during the USB check"}) {
    SCOPED_TRACE(stop);
    const bool never = stop == "never", destroyed = stop.starts_with("destroyed"),
               duringUsb = stop.ends_with("the USB check");
    const testing::TemporaryDirectory directory;
    HeldUsbFacts facts(directory);
    facts.letThrough();
    // What a pass on this thread reports: the owner sees it up to the stop.
    std::vector<std::string> shown;
    testing::RecordingRunner inPlace(facts, shown);
    inPlace.runner.setCheckStarted(noteStarts(shown));
    inPlace.runner.runAllTests(nullptr, kScreen);
    if (!never) {
      facts.hold();
    }
    // ThreadSanitizer starts a lifelong thread of its own with the process's second thread.
    std::thread([] {}).join();
    const testing::ProcessCensus before = testing::ProcessCensus::take();
    PostedChanges changes;
    Owner owner;
    auto pass = std::make_unique<BackgroundPass>(facts, changes.post());
    if (stop == "cancelled before the start") {
      pass->cancel();
    }
    pass->start(kScreen, owner.receivers());
    if (duringUsb) {
      ASSERT_TRUE(changes.runUntil([&] { return owner.usbStarted(); }));
      ASSERT_TRUE(eventually(
          [&] { return testing::ProcessCensus::take().childProcesses > before.childProcesses; }));
      destroyed ? pass.reset() : pass->cancel();
    }
    if (destroyed) {
      changes.runPosted();
    } else {
      ASSERT_TRUE(changes.runUntil([&] { return owner.ended(); }));
    }

    shown.erase(never       ? shown.end()
                : duringUsb ? std::find(shown.begin(), shown.end(), kUsbStarted) + 1
                            : shown.begin(),
                shown.end());
    if (!destroyed) {
      shown.push_back("ended");
    }
    EXPECT_EQ(owner.log, shown);
    EXPECT_EQ(facts.screenQuestions, 0);
    pass.reset();
    EXPECT_EQ(testing::ProcessCensus::take().childProcesses, before.childProcesses);
    EXPECT_TRUE(
        eventually([&] { return testing::ProcessCensus::take().threads == before.threads; }));
  }
}

}  // namespace
}  // namespace tarq
