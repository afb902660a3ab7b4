#pragma once

#include <wx/panel.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "ui/ViewController.h"
#include "validation/BackgroundPass.h"
#include "validation/CheckMeasurements.h"
#include "validation/MachineFacts.h"

class wxButton;
class wxGauge;
class wxKeyEvent;
class wxStaticText;

namespace tarq {

class TestNameViewController;
class TestResultsViewController;

// The control pane: its execute button runs one validation pass into the two table panes that
// the split view controller hands it. Without them the checks still run, reporting nowhere.
//
// After a pass that ran to its end the strip leads with its verdict in a larger bold font, the
// counts and time below it; a stopped pass has no verdict. Under them goes what the selected
// summary row's check requires and, if it did not pass, what to do.
//
// The pass runs as a BackgroundPass; each line and row reaches its pane on the main thread
// through a queued call, so the window stays live and shows each as it comes. While a pass runs
// the button reads "Stop" (Escape presses it too): the pass's tools are ended, what it showed
// stays, and late reports of a stopped pass are dropped. Destroying the pane ends a running pass
// the same way and waits for its threads.
class ControlViewController final : public wxPanel, public ViewController {
 public:
  ControlViewController();
  ~ControlViewController() override;

  void setTestResultsVC(TestResultsViewController* testResultsVC);
  void setTestNameVC(TestNameViewController* testNameVC);
  TestResultsViewController* testResultsVC() const { return testResultsVC_; }
  TestNameViewController* testNameVC() const { return testNameVC_; }
  // What the last pass that ran to its end measured, and when it ran.
  const CheckMeasurementTable& lastMeasurements() const { return lastMeasurements_; }
  std::chrono::system_clock::time_point lastStartedAt() const { return lastStartedAt_; }
  std::chrono::system_clock::time_point lastFinishedAt() const { return lastFinishedAt_; }

  // Where the checks learn their facts: this machine unless given others, which must then
  // outlive this controller.
  void useMachineFacts(MachineFacts& facts);

  // Connects the execute button, the verdict, status and guidance lines and the progress bar from
  // the layout.
  void viewDidLoad() override;
  // Once both table panes are set: ties their selections together by check, and shows the
  // requirement and remedy of the selected row under the verdict.
  void linkTables();

  // The execute button: starts a pass, or stops the one running.
  void executeTestClicked(wxCommandEvent& event);
  // Starts one pass; nothing while one runs.
  void runAllTests();
  // Ends the running pass, keeping what it has shown; nothing when none runs.
  void stopPass();
  bool passRunning() const { return running_ != nullptr; }
  // What the execute button, and the menu item that does the same, read: "&Run Checks", or
  // "&Stop" while a pass runs.
  static wxString executeLabel(bool passRunning);
  // Told each time the shown pass ends, whether it ran to its end or was stopped.
  void setPassEnded(std::function<void(bool stopped)> passEnded);

 private:
  void checkStarted(std::size_t index, std::string_view testName);
  void passEnded(BackgroundPass* pass);
  void endPass(bool stopped);
  void setStatus(const wxString& text);
  void setVerdict(const wxString& text);
  void showGuidance(const wxString& text);
  void escapePressed(wxKeyEvent& event);

  SystemMachineFacts systemFacts_;
  MachineFacts* facts_ = &systemFacts_;
  TestResultsViewController* testResultsVC_ = nullptr;
  TestNameViewController* testNameVC_ = nullptr;
  wxButton* executeButton_ = nullptr;
  wxStaticText* verdict_ = nullptr;
  wxStaticText* status_ = nullptr;
  wxStaticText* guidance_ = nullptr;
  wxGauge* progress_ = nullptr;

  // The pass whose reports are shown; null when none runs.
  BackgroundPass* running_ = nullptr;
  std::size_t checksStarted_ = 0;
  std::chrono::steady_clock::time_point passStart_;
  // Every pass whose thread has not been joined yet, the running one and stopped ones ending.
  std::vector<std::unique_ptr<BackgroundPass>> passes_;
  std::function<void(bool stopped)> passEnded_;
  CheckMeasurementTable lastMeasurements_;
  std::chrono::system_clock::time_point lastStartedAt_;
  std::chrono::system_clock::time_point lastFinishedAt_;

  wxDECLARE_DYNAMIC_CLASS(ControlViewController);
};

}  // namespace tarq
