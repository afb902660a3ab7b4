#include "ui/SplitViewController.h"

#include <wx/xrc/xmlres.h>

#include "ui/ControlViewController.h"
#include "ui/TestNameViewController.h"
#include "ui/TestResultsViewController.h"

namespace tarq {

wxIMPLEMENT_DYNAMIC_CLASS(SplitViewController, wxSplitterWindow);

void SplitViewController::viewDidLoad() {
  if (wired_) {
    return;
  }
  wired_ = true;
  auto* testResultsVC = dynamic_cast<TestResultsViewController*>(FindWindow("testResultView"));
  auto* testNameVC = dynamic_cast<TestNameViewController*>(FindWindow("testNameView"));
  auto* controlVC = dynamic_cast<ControlViewController*>(FindWindow("controlView"));
  if (testResultsVC == nullptr || testNameVC == nullptr || controlVC == nullptr) {
    return;
  }
  controlVC->setTestResultsVC(testResultsVC);
  controlVC->setTestNameVC(testNameVC);
  controlVC->linkTables();
}

}  // namespace tarq
