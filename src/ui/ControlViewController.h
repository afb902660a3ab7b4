#pragma once

#include <wx/panel.h>

#include <memory>

#include "ui/ViewController.h"
#include "validation/MachineFacts.h"
#include "validation/ValidationRunner.h"

class wxButton;

namespace tarq {

class TestNameViewController;
class TestResultsViewController;

// The control pane: its execute button runs one validation pass into the two table panes that
// the split view controller hands it. Without them the checks still run, reporting nowhere.
class ControlViewController final : public wxPanel, public ViewController {
 public:
  ControlViewController();
  ~ControlViewController() override;

  void setTestResultsVC(TestResultsViewController* testResultsVC);
  void setTestNameVC(TestNameViewController* testNameVC);
  TestResultsViewController* testResultsVC() const { return testResultsVC_; }
  TestNameViewController* testNameVC() const { return testNameVC_; }

  // Where the checks learn their facts: this machine unless given others, which must then
  // outlive this controller.
  void useMachineFacts(MachineFacts& facts);

  // Connects the execute button from the layout.
  void viewDidLoad() override;

  // One press of the execute button: one whole pass. The button is off and the cursor busy
  // until the pass ends.
  void executeTestClicked(wxCommandEvent& event);
  void runAllTests();

 private:
  SystemMachineFacts systemFacts_;
  std::unique_ptr<ValidationRunner> runner_;
  TestResultsViewController* testResultsVC_ = nullptr;
  TestNameViewController* testNameVC_ = nullptr;
  wxButton* executeButton_ = nullptr;
  bool passRunning_ = false;

  wxDECLARE_DYNAMIC_CLASS(ControlViewController);
};

}  // namespace tarq
