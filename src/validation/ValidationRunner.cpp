#include "validation/ValidationRunner.h"

#include <utility>

namespace tarq {

void ValidationRunner::runAllTests() {
  if (testResultsVC_ != nullptr) {
    testResultsVC_->removeAllLines();
  }
  if (testNameVC_ != nullptr) {
    testNameVC_->removeAllResults();
  }
  static constexpr void (ValidationRunner::*checksInRunOrder[])() = {
      &ValidationRunner::checkOperatingSystem, &ValidationRunner::checkMemory,
      &ValidationRunner::checkProcessor,       &ValidationRunner::checkDiskSpace,
      &ValidationRunner::checkUSBVersion,      &ValidationRunner::checkScreenResolution,
      &ValidationRunner::checkBrowser,         &ValidationRunner::checkMonoFramework,
  };
  for (const auto check : checksInRunOrder) {
    (this->*check)();
  }
}

void ValidationRunner::appendResultLine(std::string line) {
  if (testResultsVC_ != nullptr) {
    testResultsVC_->appendLine(std::move(line));
  }
}

void ValidationRunner::reportResultRow(std::string_view testName, std::string_view result,
                                       std::string detected) {
  if (testNameVC_ != nullptr) {
    testNameVC_->addResult(std::string(testName), std::string(result), std::move(detected));
  }
}

}  // namespace tarq
