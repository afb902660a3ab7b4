#pragma once

#include <wx/app.h>
#include <wx/button.h>
#include <wx/clipbrd.h>
#include <wx/config.h>
#include <wx/dataview.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/uiaction.h>
#include <wx/xrc/xmlres.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "ui/ControlViewController.h"
#include "ui/MainWindow.h"
#include "ui/MenuBar.h"
#include "ui/TestNameViewController.h"
#include "ui/TestResultsViewController.h"
#include "validation/CheckHarness.h"

// Colours in test messages as "rgb(255, 0, 0)".
inline void PrintTo(const wxColour& colour, std::ostream* out) {
  *out << colour.GetAsString(wxC2S_CSS_SYNTAX);
}

namespace tarq::testing {

// Runs the event loop until `done` holds or `limit` has passed; says whether it holds.
inline bool processEventsUntil(const std::function<bool()>& done,
                               std::chrono::milliseconds limit = std::chrono::seconds(20)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    wxTheApp->Yield(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

// The program's window as the layout builds it, with the checks asking `facts` (null: this
// machine), shown on the test display. On a first launch it forgets the shape earlier windows
// left in the tests' configuration.
class ShownWindow {
 public:
  explicit ShownWindow(MachineFacts* facts, const wxString& layout = windowLayout(),
                       bool firstLaunch = true) {
    if (firstLaunch) {
      wxConfigBase::Get()->DeleteAll();
    }
    frame_ = createMainWindow(layout, facts);
    frame_->Show();
    processEventsUntil([this] { return frame_->IsShownOnScreen(); });
    // Let the first layout and paint settle before input arrives.
    processEventsUntil([] { return false; }, std::chrono::milliseconds(300));
  }
  // Closed as a person closes it, and gone before what it used goes: what was still on its way
  // to it has arrived.
  ~ShownWindow() {
    frame_->Destroy();
    processEventsUntil([this] { return wxTopLevelWindows.Find(frame_) == nullptr; });
  }
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
  std::string status() const { return pane<wxWindow>("passStatus")->GetLabel().utf8_string(); }

  // Gives the window its menu bar, as the program does; the panes move down to make room for it.
  void installMenu() const {
    installMenuBar(*frame_);
    processEventsUntil([] { return false; }, std::chrono::milliseconds(300));
  }
  // A menu item's state as the menu shows it when opened.
  bool enabled(int item) const {
    frame_->UpdateWindowUI();
    return frame_->GetMenuBar()->IsEnabled(item);
  }
  std::string label(int item) const {
    frame_->UpdateWindowUI();
    return wxMenuItem::GetLabelText(frame_->GetMenuBar()->GetLabel(item)).utf8_string();
  }

  // Presses the execute button as a person does, with a real mouse click; says whether, within a
  // while, `pressed` holds and, unless told not to, no pass runs.
  bool clickButton(const std::function<bool()>& pressed, bool untilEnded = true) const {
    wxUIActionSimulator input;
    const wxRect area = button().GetScreenRect();
    input.MouseMove(area.GetLeft() + area.GetWidth() / 2, area.GetTop() + area.GetHeight() / 2);
    processEventsUntil([] { return false; }, std::chrono::milliseconds(50));
    input.MouseClick();
    return processEventsUntil(
        [&] { return pressed() && !(untilEnded && control().passRunning()); });
  }

 protected:
  wxFrame* frame_;
};

// Presses a key as a person does; waits until the window has taken it in.
inline void pressKey(int key, int modifiers = wxMOD_NONE) {
  wxUIActionSimulator().Char(key, modifiers);
  processEventsUntil([] { return false; }, std::chrono::milliseconds(50));
}

// The text on the clipboard, once there is some (empty if none comes), which leaves it empty.
inline std::string copiedText() {
  std::string copied;
  processEventsUntil([&] {
    wxClipboardLocker clipboard;
    wxTextDataObject text;
    if (!!clipboard && wxTheClipboard->GetData(text)) {
      copied = text.GetText().utf8_string();
      wxTheClipboard->Clear();
    }
    return !copied.empty();
  });
  return copied;
}

// What a table shows, row by row, in its column `column` counted from the left, as UTF-8.
inline std::vector<std::string> shownColumn(const wxDataViewCtrl& table, unsigned column) {
  std::vector<std::string> cells;
  const auto& model = dynamic_cast<const wxDataViewVirtualListModel&>(*table.GetModel());
  const unsigned modelColumn = table.GetColumn(column)->GetModelColumn();
  for (unsigned row = 0; row < model.GetCount(); ++row) {
    wxVariant value;
    model.GetValueByRow(value, row, modelColumn);
    if (value.GetType() == "wxDataViewIconText") {
      wxDataViewIconText iconText;
      iconText << value;
      cells.push_back(iconText.GetText().utf8_string());
    } else {
      cells.push_back(value.GetString().utf8_string());
    }
  }
  return cells;
}

// Where `table` shows the cell of `row` in its column `column` counted from the left, in its client
// coordinates.
inline wxRect shownCell(const wxDataViewCtrl& table, unsigned row, unsigned column) {
  const auto& model = dynamic_cast<const wxDataViewVirtualListModel&>(*table.GetModel());
  return table.GetItemRect(model.GetItem(row), table.GetColumn(column));
}

// The colour the screen shows in the middle of a cell, once it is `expected` or, after a while,
// whatever it is: the window lays out and paints in its own time, so the cell's place is asked
// afresh each time.
wxColour paintedColour(const wxDataViewCtrl& table, unsigned row, unsigned column,
                       const wxColour& expected);

}  // namespace tarq::testing
