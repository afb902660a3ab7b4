#pragma once

#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dataview.h>
#include <wx/frame.h>
#include <wx/uiaction.h>
#include <wx/xrc/xmlres.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "ui/ControlViewController.h"
#include "ui/MainWindow.h"
#include "ui/TestNameViewController.h"
#include "ui/TestResultsViewController.h"
#include "validation/CheckHarness.h"

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
// machine).
class LaidOutWindow {
 public:
  explicit LaidOutWindow(MachineFacts* facts = nullptr, const wxString& layout = windowLayout())
      : frame_(createMainWindow(layout, facts)) {}
  ~LaidOutWindow() { frame_->Destroy(); }
  LaidOutWindow(const LaidOutWindow&) = delete;
  LaidOutWindow& operator=(const LaidOutWindow&) = delete;

  template <typename Pane>
  Pane* pane(const char* name) const {
    return dynamic_cast<Pane*>(frame_->FindWindow(XRCID(name)));
  }
  TestNameViewController& summary() const { return *pane<TestNameViewController>("testNameView"); }
  TestResultsViewController& lines() const {
    return *pane<TestResultsViewController>("testResultView");
  }
  wxWindow& button() const { return *frame_->FindWindow(XRCID("executeTest")); }
  ControlViewController& control() const { return *pane<ControlViewController>("controlView"); }

 protected:
  wxFrame* frame_;
};

// The window shown on the test display.
class ShownWindow : public LaidOutWindow {
 public:
  explicit ShownWindow(MachineFacts* facts, const wxString& layout = windowLayout())
      : LaidOutWindow(facts, layout) {
    frame_->Show();
    processEventsUntil([this] { return frame_->IsShownOnScreen(); });
    // Let the first layout and paint settle before input arrives.
    processEventsUntil([] { return false; }, std::chrono::milliseconds(300));
  }

  // Presses the execute button as a person does, with a real mouse click, and waits until the
  // pass has started (as `passStarted` tells) and, unless told not to, ended.
  void pressExecuteButton(const std::function<bool()>& passStarted, bool untilEnded = true) const {
    wxUIActionSimulator input;
    const wxRect area = button().GetScreenRect();
    input.MouseMove(area.GetLeft() + area.GetWidth() / 2, area.GetTop() + area.GetHeight() / 2);
    processEventsUntil([] { return false; }, std::chrono::milliseconds(50));
    input.MouseClick();
    processEventsUntil([&] { return passStarted() && !(untilEnded && control().passRunning()); });
  }
};

// The text on the clipboard, once there is some (empty if none comes).
inline std::string copiedText() {
  std::string copied;
  processEventsUntil([&] {
    wxClipboardLocker clipboard;
    wxTextDataObject text;
    if (!!clipboard && wxTheClipboard->GetData(text)) {
      copied = text.GetText().utf8_string();
    }
    return !copied.empty();
  });
  return copied;
}

// What a table shows, row by row, in column `column`, as UTF-8.
inline std::vector<std::string> shownColumn(wxDataViewVirtualListModel& model, unsigned column) {
  std::vector<std::string> cells;
  for (unsigned row = 0; row < model.GetCount(); ++row) {
    wxVariant value;
    model.GetValueByRow(value, row, column);
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

}  // namespace tarq::testing
