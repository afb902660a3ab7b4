#pragma once

// What the window tests share: the window on the test display, real input, and what it shows.
#include <wx/button.h>
#include <wx/colour.h>
#include <wx/config.h>
#include <wx/dataview.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/xrc/xmlres.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "system/probes/MonoLocator.h"
#include "ui/ControlViewController.h"
#include "ui/MainWindow.h"
#include "ui/TestNameViewController.h"
#include "ui/TestResultsViewController.h"
#include "validation/CheckHarness.h"

// Colours in test messages as "rgb(255, 0, 0)".
void PrintTo(const wxColour& colour, std::ostream* out);

namespace tarq::testing {

// Runs the event loop until `done` holds or `limit` has passed; says whether it holds.
bool processEventsUntil(const std::function<bool()>& done,
                        std::chrono::milliseconds limit = std::chrono::seconds(20));
// Runs the event loop for `time`, for what the toolkit does in its own time.
inline void settle(std::chrono::milliseconds time) {
  processEventsUntil([] { return false; }, time);
}

// The program's window, its checks asking `facts` (null: this machine); a first launch forgets
// the shape an earlier test's window left.
class ShownWindow {
 public:
  explicit ShownWindow(MachineFacts* facts, const wxString& layout = windowLayout(),
                       bool firstLaunch = true);
  // Closed as a person closes it, and gone before its facts go.
  ~ShownWindow();
  ShownWindow(const ShownWindow&) = delete;
  ShownWindow& operator=(const ShownWindow&) = delete;

  template <typename Pane>
  Pane* pane(const char* name) const {
    return dynamic_cast<Pane*>(frame_->FindWindow(XRCID(name)));
  }
  TestNameViewController& summary() const { return *pane<TestNameViewController>("testNameView"); }
  TestResultsViewController& lines() const {
    return *pane<TestResultsViewController>("testResultView");
  }
  wxButton& button() const { return *pane<wxButton>("executeTest"); }
  wxDataViewCtrl& summaryTable() const { return *summary().listTests(); }
  wxDataViewCtrl& linesTable() const { return *lines().listTestResults(); }
  wxFrame& frame() const { return *frame_; }
  ControlViewController& control() const { return *pane<ControlViewController>("controlView"); }
  std::string status() const { return text("passStatus"); }
  std::string verdict() const { return text("passVerdict"); }
  std::string guidance() const { return text("checkGuidance"); }
  std::string text(const char* label) const {
    return pane<wxWindow>(label)->GetLabel().utf8_string();
  }

  // Gives the window its menu bar, as the program does.
  void installMenu() const;
  // A menu item as the menu shows it when opened.
  bool enabled(int item) const;
  std::string label(int item) const;

  // Clicks the button; says whether `pressed` then holds and, if `untilEnded`, no pass runs.
  bool clickButton(const std::function<bool()>& pressed, bool untilEnded = true) const;

 private:
  wxFrame* frame_;
};

// Real input, each waited for until the window has taken it in. Columns count from the left.
void clickCell(const wxDataViewCtrl& table, unsigned row, unsigned column);
void pressKey(int key, int modifiers = wxMOD_NONE);
// The pointer near a cell's left end; says whether the table's tooltip becomes `tip`.
bool tipOverCell(wxDataViewCtrl& table, unsigned row, unsigned column, const std::string& tip);

// The clipboard's text once there is some (else empty); leaves the clipboard empty.
std::string copiedText();

// A column's cells, row by row, as UTF-8.
std::vector<std::string> shownColumn(const wxDataViewCtrl& table, unsigned column);
// The screen's colour mid-cell once it is `expected` (the window paints in its own time).
wxColour paintedColour(const wxDataViewCtrl& table, unsigned row, unsigned column,
                       const wxColour& expected);

inline const wxColour kRed(255, 0, 0);
inline const wxColour kYellow(255, 255, 0);

// Counts a pass's questions for its last fact; with `heldMono` set, that real tool answers.
struct ObservedFacts final : FakeMachineFacts {
  MonoVersionInfo monoVersion() override {
    ++monoQuestions;
    return heldMono.empty() ? FakeMachineFacts::monoVersion()
                            : SystemValuesUtility::monoVersion({heldMono});
  }
  std::atomic<int> monoQuestions = 0;
  std::string heldMono;
};

}  // namespace tarq::testing
