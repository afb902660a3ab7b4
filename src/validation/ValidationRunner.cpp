#include "validation/ValidationRunner.h"

#include <future>
#include <optional>
#include <system_error>
#include <utility>

#include "system/text/FileReading.h"
#include "validation/ForwardingMachineFacts.h"

namespace tarq {
namespace {

// The facts of one pass: those that come from tools are asked for at once, each on a thread of
// its own under the pass's cancellation, and handed over when a check asks for them. The screen,
// unless given, is read next on the pass's thread while the tools run: on X it means loading the
// X libraries and talking to the server. The destructor waits for all three threads, so none
// outlives the pass.
class FactsOfOnePass final : public ForwardingMachineFacts {
 public:
  FactsOfOnePass(MachineFacts& facts, const SystemValuesUtility::RunCancellation* cancellation,
                 std::optional<ScreenSize> screen)
      : ForwardingMachineFacts(facts),
        usb_(aside(cancellation, &MachineFacts::highestUSBVersion)),
        chrome_(aside(cancellation, &MachineFacts::locateChrome)),
        mono_(aside(cancellation, &MachineFacts::monoVersion)),
        screen_(screen ? *screen : facts.mainScreenSize()) {}

  double highestUSBVersion() override { return usb_.get(); }
  ScreenSize mainScreenSize() override { return screen_; }
  ChromeLocation locateChrome() override { return chrome_.get(); }
  MonoVersionInfo monoVersion() override { return mono_.get(); }

 private:
  // Where no thread can be made (a limit on processes, a container's pids.max), the fact is
  // asked on the pass's own thread when its check wants it: slower, but the pass still ends.
  template <typename Fact>
  std::shared_future<Fact> aside(const SystemValuesUtility::RunCancellation* cancellation,
                                 Fact (MachineFacts::*question)()) {
    auto ask = [this, cancellation, question] {
      std::optional<SystemValuesUtility::CancellationScope> scope;
      if (cancellation != nullptr) {
        scope.emplace(*cancellation);
      }
      return (facts_.*question)();
    };
    try {
      return std::async(std::launch::async, ask).share();
    } catch (const std::system_error&) {
      return std::async(std::launch::deferred, ask).share();
    }
  }

  std::shared_future<double> usb_;
  std::shared_future<ChromeLocation> chrome_;
  std::shared_future<MonoVersionInfo> mono_;
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
