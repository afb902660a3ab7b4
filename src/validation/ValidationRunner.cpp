#include "validation/ValidationRunner.h"

#include <future>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include "system/text/FileReading.h"
#include "validation/ForwardingMachineFacts.h"

namespace tarq {
namespace {

// One fact asked on a thread of its own, under the pass's cancellation, and handed over when a
// check asks for it. Where no thread can be made (a limit on processes, a container's
// pids.max), it is asked on the pass's own thread when its check wants it: slower, but the pass
// still ends. The thread is joined when the fact goes, so none outlives the pass.
template <typename Fact>
class FactAside {
 public:
  FactAside(MachineFacts& facts, Fact (MachineFacts::*question)(),
            const SystemValuesUtility::RunCancellation* cancellation)
      : task_([&facts, question, cancellation] {
          std::optional<SystemValuesUtility::CancellationScope> scope;
          if (cancellation != nullptr) {
            scope.emplace(*cancellation);
          }
          return (facts.*question)();
        }),
        answer_(task_.get_future().share()) {
    try {
      thread_ = std::thread([this] { task_(); });
    } catch (const std::system_error&) {
    }
  }
  ~FactAside() {
    if (thread_.joinable()) {
      thread_.join();
    }
  }
  FactAside(const FactAside&) = delete;
  FactAside& operator=(const FactAside&) = delete;

  Fact get() {
    if (!thread_.joinable() && !askedHere_) {
      askedHere_ = true;
      task_();
    }
    return answer_.get();
  }

 private:
  std::packaged_task<Fact()> task_;
  std::shared_future<Fact> answer_;
  std::thread thread_;
  bool askedHere_ = false;
};

// The facts of one pass: those that come from tools are asked for at once, each aside, and the
// screen, unless given, is read next on the pass's thread while the tools run: on X it means
// loading the X libraries and talking to the server.
class FactsOfOnePass final : public ForwardingMachineFacts {
 public:
  FactsOfOnePass(MachineFacts& facts, const SystemValuesUtility::RunCancellation* cancellation,
                 std::optional<ScreenSize> screen)
      : ForwardingMachineFacts(facts),
        usb_(facts, &MachineFacts::highestUSBVersion, cancellation),
        chrome_(facts, &MachineFacts::locateChrome, cancellation),
        mono_(facts, &MachineFacts::monoVersion, cancellation),
        screen_(screen ? *screen : facts.mainScreenSize()) {}

  double highestUSBVersion() override { return usb_.get(); }
  ScreenSize mainScreenSize() override { return screen_; }
  ChromeLocation locateChrome() override { return chrome_.get(); }
  MonoVersionInfo monoVersion() override { return mono_.get(); }

 private:
  FactAside<double> usb_;
  FactAside<ChromeLocation> chrome_;
  FactAside<MonoVersionInfo> mono_;
  const ScreenSize screen_;
};

}  // namespace

void ValidationRunner::runAllTests(const SystemValuesUtility::RunCancellation* cancellation,
                                   std::optional<ScreenSize> screen) {
  if (testResultsVC_ != nullptr) {
    testResultsVC_->removeAllLines();
  }
  if (testNameVC_ != nullptr) {
    testNameVC_->removeAllResults();
  }
  if (measurements_ != nullptr) {
    measurements_->clear();
  }
  using Check = void (ValidationRunner::*)();
  // Sized by the list of checks, and filled: a check listed but not here fails to build.
  static constexpr std::array<Check, kTestNamesInRunOrder.size()> checksInRunOrder = {
      &ValidationRunner::checkOperatingSystem, &ValidationRunner::checkMemory,
      &ValidationRunner::checkProcessor,       &ValidationRunner::checkDiskSpace,
      &ValidationRunner::checkUSBVersion,      &ValidationRunner::checkScreenResolution,
      &ValidationRunner::checkBrowser,         &ValidationRunner::checkMonoFramework,
  };
  MachineFacts* const given = facts_;
  FactsOfOnePass pass(*given, cancellation, screen);
  // The checks see one state of the machine; what several facts read is read once.
  const SystemValuesUtility::ReadOnceScope readOnce;
  facts_ = &pass;
  std::size_t index = 0;
  for (const Check check : checksInRunOrder) {
    if (cancellation != nullptr && cancellation->cancelled()) {
      break;
    }
    if (skipped_.test(index)) {
      ++index;
      continue;
    }
    if (checkStarted_) {
      checkStarted_(index, kTestNamesInRunOrder[index]);
    }
    currentCheck_ = index++;
    (this->*check)();
  }
  currentCheck_ = ResultTextTable::kNoCheck;
  facts_ = given;
}

void ValidationRunner::appendResultLine(std::string line) {
  if (testResultsVC_ != nullptr) {
    testResultsVC_->appendLine(std::move(line), currentCheck_);
  }
}

void ValidationRunner::reportResultRow(std::string_view testName, std::string_view result,
                                       std::string detected, std::string remedy) {
  if (testNameVC_ != nullptr) {
    // A passing check has nothing to be done about.
    if (result == StatusWord::pass) {
      remedy.clear();
    }
    testNameVC_->addResult(std::string(testName), std::string(result), std::move(detected),
                           std::move(remedy));
  }
}

void ValidationRunner::measure(Measurement measurement) {
  if (measurements_ != nullptr) {
    measurements_->record(currentCheck_, std::move(measurement));
  }
}

}  // namespace tarq
