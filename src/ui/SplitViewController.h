#pragma once

#include <wx/splitter.h>

#include "ui/ViewController.h"

namespace tarq {

// The window's content: the three panes "testNameView", "controlView" and "testResultView" in
// resizable splits. Once loaded it hands the control pane the two table panes, all or nothing:
// if any pane is missing or of another class, neither table is handed over.
class SplitViewController final : public wxSplitterWindow, public ViewController {
 public:
  SplitViewController() = default;

  void viewDidLoad() override;

 private:
  bool wired_ = false;

  wxDECLARE_DYNAMIC_CLASS(SplitViewController);
};

}  // namespace tarq
