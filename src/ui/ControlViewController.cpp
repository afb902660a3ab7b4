#include "ui/ControlViewController.h"

#include <fmt/format.h>
#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/stattext.h>
#include <wx/toplevel.h>
#include <wx/xrc/xmlres.h>

#include <algorithm>
#include <functional>
#include <thread>

#include "system/process/RunCancellation.h"
#include "ui/TestNameViewController.h"
#include "ui/TestResultsViewController.h"
#include "validation/ForwardingMachineFacts.h"
#include "validation/ValidationRunner.h"

namespace tarq {
namespace {

const wxString kRunLabel = "&Run Checks";
const wxString kStopLabel = "&Stop";

// A pass's duration as a person reads it: "21 ms" below a second (where "0.0 s" would look as if
// nothing ran), "1.2 s" from there on.
std::string durationText(double seconds) {
  if (seconds < 0.9995) {
    return fmt::format("{:.0f} ms", std::max(1.0, seconds * 1000));
  }
  return fmt::format("{:.1f} s", seconds);
}

// Hands a change over to the main thread, where it is shown if its pass is still the one shown.
using Post = std::function<void(std::function<void()>)>;

// The main screen, read on the main thread when the pass starts (the platform answers only
// there); everything else is asked on the pass's thread.
class ScreenReadBefore final : public ForwardingMachineFacts {
 public:
  ScreenReadBefore(MachineFacts& facts, ScreenSize screen)
      : ForwardingMachineFacts(facts), screen_(screen) {}
  ScreenSize mainScreenSize() override { return screen_; }

 private:
  ScreenSize screen_;
};

// The pass's own lists, on its thread; each change is posted to the pane that shows it.
class ForwardedLines final : public ResultTextTable {
 public:
  ForwardedLines(Post post, TestResultsViewController& pane)
      : post_(std::move(post)), pane_(pane) {}

 protected:
  void reloadData() override {
    if (resStrings().empty()) {
      post_([&pane = pane_] { pane.removeAllLines(); });
    } else {
      post_([&pane = pane_, line = resStrings().back()] { pane.appendLine(line); });
    }
  }

 private:
  Post post_;
  TestResultsViewController& pane_;
};

class ForwardedSummary final : public TestSummaryTable {
 public:
  ForwardedSummary(Post post, TestNameViewController& pane) : post_(std::move(post)), pane_(pane) {}

 protected:
  void reloadData() override {
    if (results().empty()) {
      post_([&pane = pane_] { pane.removeAllResults(); });
    } else {
      post_([&pane = pane_, row = results().back()] {
        pane.addResult(row.testName, row.result, row.detected);
      });
    }
  }

 private:
  Post post_;
  TestNameViewController& pane_;
};

}  // namespace

// One pass and the thread it runs on.
struct ControlViewController::Pass {
  Pass(MachineFacts& given, ScreenSize screen) : facts(given, screen), runner(facts) {}

  SystemValuesUtility::RunCancellation cancellation;
  ScreenReadBefore facts;
  std::unique_ptr<ForwardedLines> lines;
  std::unique_ptr<ForwardedSummary> summary;
  ValidationRunner runner;
  std::thread thread;
};

wxIMPLEMENT_DYNAMIC_CLASS(ControlViewController, wxPanel);

ControlViewController::ControlViewController() = default;

ControlViewController::~ControlViewController() {
  for (const auto& pass : passes_) {
    pass->cancellation.cancel();
  }
  for (const auto& pass : passes_) {
    pass->thread.join();
  }
}

void ControlViewController::setTestResultsVC(TestResultsViewController* testResultsVC) {
  testResultsVC_ = testResultsVC;
}

void ControlViewController::setTestNameVC(TestNameViewController* testNameVC) {
  testNameVC_ = testNameVC;
}

void ControlViewController::useMachineFacts(MachineFacts& facts) {
  facts_ = &facts;
}

void ControlViewController::setPassEnded(std::function<void(bool stopped)> passEnded) {
  passEnded_ = std::move(passEnded);
}

void ControlViewController::viewDidLoad() {
  executeButton_ = dynamic_cast<wxButton*>(FindWindow("executeTest"));
  status_ = dynamic_cast<wxStaticText*>(FindWindow("passStatus"));
  progress_ = dynamic_cast<wxGauge*>(FindWindow("passProgress"));
  if (executeButton_ != nullptr) {
    executeButton_->Bind(wxEVT_BUTTON, &ControlViewController::executeTestClicked, this);
  }
  if (wxWindow* window = wxGetTopLevelParent(this)) {
    window->Bind(wxEVT_CHAR_HOOK, &ControlViewController::escapePressed, this);
  }
}

void ControlViewController::executeTestClicked(wxCommandEvent&) {
  if (passRunning()) {
    stopPass();
  } else {
    runAllTests();
  }
}

void ControlViewController::escapePressed(wxKeyEvent& event) {
  if (event.GetKeyCode() == WXK_ESCAPE && passRunning()) {
    stopPass();
  } else {
    event.Skip();
  }
}

void ControlViewController::runAllTests() {
  if (passRunning()) {
    return;
  }
  auto pass = std::make_unique<Pass>(*facts_, facts_->mainScreenSize());
  Pass* const shown = pass.get();
  const Post post = [this, shown](std::function<void()> change) {
    CallAfter([this, shown, change = std::move(change)] {
      if (running_ == shown) {
        change();
      }
    });
  };
  if (testResultsVC_ != nullptr) {
    pass->lines = std::make_unique<ForwardedLines>(post, *testResultsVC_);
    pass->runner.setTestResultsVC(pass->lines.get());
  }
  if (testNameVC_ != nullptr) {
    pass->summary = std::make_unique<ForwardedSummary>(post, *testNameVC_);
    pass->runner.setTestNameVC(pass->summary.get());
  }
  pass->runner.setCheckStarted([post, this](std::size_t index, std::string_view testName) {
    post([this, index, name = std::string(testName)] { checkStarted(index, name); });
  });

  running_ = shown;
  checksStarted_ = 0;
  passStart_ = std::chrono::steady_clock::now();
  if (executeButton_ != nullptr) {
    executeButton_->SetLabel(kStopLabel);
  }
  if (progress_ != nullptr) {
    progress_->SetValue(0);
    progress_->Show();
    Layout();
  }
  setStatus(wxString::FromUTF8("Starting the checks…"));

  pass->thread = std::thread([this, shown] {
    shown->runner.runAllTests(&shown->cancellation);
    CallAfter([this, shown] { passEnded(shown); });
  });
  passes_.push_back(std::move(pass));
}

void ControlViewController::stopPass() {
  if (!passRunning()) {
    return;
  }
  running_->cancellation.cancel();
  endPass(true);
}

void ControlViewController::checkStarted(std::size_t index, std::string_view testName) {
  checksStarted_ = index + 1;
  if (progress_ != nullptr) {
    progress_->SetValue(static_cast<int>(index));
  }
  setStatus(wxString::FromUTF8(
      fmt::format("Checking {} ({} of {})…", testName, index + 1, kTestNamesInRunOrder.size())));
}

void ControlViewController::passEnded(Pass* pass) {
  pass->thread.join();
  const bool shown = running_ == pass;
  if (shown) {
    endPass(false);
  }
  passes_.erase(std::find_if(passes_.begin(), passes_.end(),
                             [pass](const auto& held) { return held.get() == pass; }));
}

// The verdict, or how far a stopped pass came, and the button ready for the next pass.
void ControlViewController::endPass(bool stopped) {
  running_ = nullptr;
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - passStart_).count();
  if (stopped) {
    setStatus(
        wxString::FromUTF8(fmt::format("Stopped during check {} of {}, after {}.", checksStarted_,
                                       kTestNamesInRunOrder.size(), durationText(seconds))));
  } else {
    const auto count = [this](std::string_view status) {
      return testNameVC_ == nullptr
                 ? 0
                 : std::count_if(testNameVC_->results().begin(), testNameVC_->results().end(),
                                 [status](const ResultRow& row) { return row.result == status; });
    };
    const auto failed = count(StatusWord::fail);
    const auto warned = count(StatusWord::warn);
    const auto passed = count(StatusWord::pass);
    setStatus(wxString::FromUTF8(fmt::format("{} failed, {} warned, {} passed in {}", failed,
                                             warned, passed, durationText(seconds))));
  }
  if (progress_ != nullptr) {
    progress_->Hide();
    Layout();
  }
  if (executeButton_ != nullptr) {
    executeButton_->SetLabel(kRunLabel);
  }
  if (passEnded_) {
    passEnded_(stopped);
  }
}

void ControlViewController::setStatus(const wxString& text) {
  if (status_ != nullptr) {
    status_->SetLabel(text);
  }
}

}  // namespace tarq
