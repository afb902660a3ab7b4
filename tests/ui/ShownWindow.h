#pragma once

// What the window tests share: the program's window shown on the test display, the event loop
// run until something holds, key presses, the clipboard, and what the tables and the screen show.
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

// The program's window as the layout builds it, with the checks asking `facts` (null: this
// machine), shown on the test display. On a first launch it forgets the shape earlier windows
// left in the tests' configuration.
class ShownWindow {
 public:
  explicit ShownWindow(MachineFacts* facts, const wxString& layout = windowLayout(),
                       bool firstLaunch = true);
  // Closed as a person closes it, and gone before what it used goes: what was still on its way
  // to it has arrived.
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

  // Gives the window its menu bar, as the program does; the panes move down to make room for it.
  void installMenu() const;
  // A menu item's state as the menu shows it when opened.
  bool enabled(int item) const;
  std::string label(int item) const;

  // Presses the execute button as a person does, with a real mouse click; says whether, within a
  // while, `pressed` holds and, unless told not to, no pass runs.
  bool clickButton(const std::function<bool()>& pressed, bool untilEnded = true) const;

 private:
  wxFrame* frame_;
};

// Clicks the middle of a cell of `table` as a person does; waits until the window has taken it in.
void clickCell(const wxDataViewCtrl& table, unsigned row, unsigned column);
// Moves the pointer over a cell, near its left end; says whether, within a while, the table's
// tooltip becomes `tip`.
bool tipOverCell(wxDataViewCtrl& table, unsigned row, unsigned column, const std::string& tip);

// Presses a key as a person does; waits until the window has taken it in.
void pressKey(int key, int modifiers = wxMOD_NONE);

// The text on the clipboard, once there is some (empty if none comes), which leaves it empty.
std::string copiedText();

// What a table shows, row by row, in its column `column` counted from the left, as UTF-8.
std::vector<std::string> shownColumn(const wxDataViewCtrl& table, unsigned column);

// Where `table` shows the cell of `row` in its column `column` counted from the left, in its
// client coordinates.
wxRect shownCell(const wxDataViewCtrl& table, unsigned row, unsigned column);

// The colour the screen shows in the middle of a cell, once it is `expected` or, after a while,
// whatever it is: the window lays out and paints in its own time, so the cell's place is asked
// afresh each time.
wxColour paintedColour(const wxDataViewCtrl& table, unsigned row, unsigned column,
                       const wxColour& expected);

// Too long for any cell.
inline std::string longText() {
  return "Detected:" + std::string(400, 'x');
}

inline const wxColour kRed(255, 0, 0);
inline const wxColour kYellow(255, 255, 0);

// A machine whose last check counts how often a pass asked for its fact; with `heldMono` set, a
// real tool there gives the fact.
struct ObservedFacts final : FakeMachineFacts {
  MonoVersionInfo monoVersion() override;
  std::atomic<int> monoQuestions = 0;
  std::string heldMono;
};

}  // namespace tarq::testing
