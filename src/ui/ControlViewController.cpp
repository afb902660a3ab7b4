#include "ui/ControlViewController.h"

#include <wx/button.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include "ui/TestNameViewController.h"
#include "ui/TestResultsViewController.h"

namespace tarq {

wxIMPLEMENT_DYNAMIC_CLASS(ControlViewController, wxPanel);

ControlViewController::ControlViewController()
    : runner_(std::make_unique<ValidationRunner>(systemFacts_)) {}

ControlViewController::~ControlViewController() = default;

void ControlViewController::setTestResultsVC(TestResultsViewController* testResultsVC) {
  testResultsVC_ = testResultsVC;
  runner_->setTestResultsVC(testResultsVC);
}

void ControlViewController::setTestNameVC(TestNameViewController* testNameVC) {
  testNameVC_ = testNameVC;
  runner_->setTestNameVC(testNameVC);
}

void ControlViewController::useMachineFacts(MachineFacts& facts) {
  runner_ = std::make_unique<ValidationRunner>(facts);
  runner_->setTestResultsVC(testResultsVC_);
  runner_->setTestNameVC(testNameVC_);
}

void ControlViewController::viewDidLoad() {
  executeButton_ = dynamic_cast<wxButton*>(FindWindow("executeTest"));
  if (executeButton_ != nullptr) {
    executeButton_->Bind(wxEVT_BUTTON, &ControlViewController::executeTestClicked, this);
  }
}

void ControlViewController::executeTestClicked(wxCommandEvent&) {
  runAllTests();
}

void ControlViewController::runAllTests() {
  if (passRunning_) {
    return;
  }
  passRunning_ = true;
  const wxBusyCursor busy;
  if (executeButton_ != nullptr) {
    executeButton_->Disable();
  }
  runner_->runAllTests();
  if (executeButton_ != nullptr) {
    executeButton_->Enable();
    // Disabling took the keyboard focus away; give it back so Return runs the next pass.
    executeButton_->SetFocus();
  }
  passRunning_ = false;
}

}  // namespace tarq
