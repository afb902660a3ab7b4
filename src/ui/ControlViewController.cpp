#include "ui/ControlViewController.h"

#include <wx/button.h>
#include <wx/gauge.h>
#include <wx/stattext.h>
#include <wx/toplevel.h>
#include <wx/xrc/xmlres.h>

#include <algorithm>
#include <system_error>

#include "ui/CheckSelection.h"
#include "ui/TestNameViewController.h"
#include "ui/TestResultsViewController.h"
#include "validation/PassStatusText.h"
#include "validation/StatusCounts.h"

namespace tarq {

namespace {

// How much larger than the strip's other lines the verdict is.
constexpr double kVerdictScale = 1.25;

}  // namespace

wxIMPLEMENT_DYNAMIC_CLASS(ControlViewController, wxPanel);

ControlViewController::ControlViewController() = default;

// Every pass is told to stop before any is waited for.
ControlViewController::~ControlViewController() {
  for (const auto& pass : passes_) {
    pass->cancel();
  }
  passes_.clear();
}

wxString ControlViewController::executeLabel(bool passRunning) {
  return passRunning ? "&Stop" : "&Run Checks";
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
  verdict_ = dynamic_cast<wxStaticText*>(FindWindow("passVerdict"));
  status_ = dynamic_cast<wxStaticText*>(FindWindow("passStatus"));
  guidance_ = dynamic_cast<wxStaticText*>(FindWindow("checkGuidance"));
  if (verdict_ != nullptr) {
    verdict_->SetFont(verdict_->GetFont().Bold().Scaled(kVerdictScale));
    // Its line keeps its height while empty, so the strip does not jump when a verdict comes.
    verdict_->SetMinSize(wxSize(-1, verdict_->GetTextExtent("Ag").y));
  }
  if (guidance_ != nullptr) {
    guidance_->SetMinSize(wxSize(-1, guidance_->GetTextExtent("Ag").y));
  }
  progress_ = dynamic_cast<wxGauge*>(FindWindow("passProgress"));
  if (executeButton_ != nullptr) {
    executeButton_->Bind(wxEVT_BUTTON, &ControlViewController::executeTestClicked, this);
  }
  if (wxWindow* window = wxGetTopLevelParent(this)) {
    window->Bind(wxEVT_CHAR_HOOK, &ControlViewController::escapePressed, this);
  }
}

void ControlViewController::linkTables() {
  if (testNameVC_ != nullptr && testResultsVC_ != nullptr) {
    linkCheckSelection(*testNameVC_, *testResultsVC_,
                       [this](const wxString& guidance) { showGuidance(guidance); });
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
  // Read here, on the main thread, where the platform answers.
  const ScreenSize screen = facts_->mainScreenSize();
  auto pass = std::make_unique<BackgroundPass>(
      *facts_, [this](std::function<void()> change) { CallAfter(std::move(change)); });
  BackgroundPass* const started = pass.get();
  running_ = started;
  checksStarted_ = 0;
  passStart_ = std::chrono::steady_clock::now();
  if (executeButton_ != nullptr) {
    executeButton_->SetLabel(executeLabel(true));
  }
  if (progress_ != nullptr) {
    progress_->SetValue(0);
    progress_->Show();
    Layout();
  }
  setVerdict({});
  showGuidance({});
  setStatus(wxString::FromUTF8(startingText()));

  try {
    pass->start(screen, {testResultsVC_, testNameVC_,
                         [this](std::size_t index, std::string_view testName) {
                           checkStarted(index, testName);
                         },
                         [this, started] { passEnded(started); }});
  } catch (const std::system_error& error) {
    // No thread to run it on (a limit on processes): a pass that ended at once, with nothing
    // to save, saying why.
    endPass(true);
    setStatus(wxString::FromUTF8(notStartedText(error.code().message())));
    return;
  }
  passes_.push_back(std::move(pass));
}

void ControlViewController::stopPass() {
  if (!passRunning()) {
    return;
  }
  running_->cancel();
  endPass(true);
}

void ControlViewController::checkStarted(std::size_t index, std::string_view testName) {
  checksStarted_ = index + 1;
  if (progress_ != nullptr) {
    progress_->SetValue(static_cast<int>(index));
  }
  setStatus(wxString::FromUTF8(checkingText(index, testName)));
}

// Told on the main thread once the pass's thread has reported its last; it is let go then.
void ControlViewController::passEnded(BackgroundPass* pass) {
  if (running_ == pass) {
    lastMeasurements_ = pass->measurements();
    lastStartedAt_ = pass->startedAt();
    lastFinishedAt_ = pass->finishedAt();
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
    setStatus(wxString::FromUTF8(stoppedText(checksStarted_, seconds)));
  } else {
    const StatusCounts counts =
        testNameVC_ == nullptr ? StatusCounts{} : countStatuses(testNameVC_->results());
    setVerdict(wxString::FromUTF8(verdictSentence(counts)));
    setStatus(wxString::FromUTF8(verdictText(counts, seconds)));
  }
  if (progress_ != nullptr) {
    progress_->Hide();
    Layout();
  }
  if (executeButton_ != nullptr) {
    executeButton_->SetLabel(executeLabel(false));
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

void ControlViewController::setVerdict(const wxString& text) {
  if (verdict_ != nullptr) {
    verdict_->SetLabel(text);
  }
}

// Shown whole as the line's tooltip too, as a long remedy may not fit the strip.
void ControlViewController::showGuidance(const wxString& text) {
  if (guidance_ == nullptr) {
    return;
  }
  // Taken as it is: a label would read "&" as a mnemonic.
  guidance_->SetLabelText(text);
  if (text.empty()) {
    guidance_->UnsetToolTip();
  } else {
    guidance_->SetToolTip(text);
  }
}

}  // namespace tarq
