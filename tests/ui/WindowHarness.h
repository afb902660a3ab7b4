#pragma once

#include <wx/app.h>
#include <wx/button.h>
#include <wx/clipbrd.h>
#include <wx/config.h>
#include <wx/dataview.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/frame.h>
#include <wx/splitter.h>
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

// The program's window; on a first launch it forgets the shape earlier windows left in the
// tests' configuration.
inline wxFrame* openWindow(const wxString& layout, MachineFacts* facts, bool firstLaunch) {
  if (firstLaunch) {
    wxConfigBase::Get()->DeleteAll();
  }
  return createMainWindow(layout, facts);
}

// The program's window as the layout builds it, with the checks asking `facts` (null: this
// machine), opened as on a first launch unless told to take the shape the last one left.
class LaidOutWindow {
 public:
  explicit LaidOutWindow(MachineFacts* facts = nullptr, const wxString& layout = windowLayout(),
                         bool firstLaunch = true)
      : frame_(openWindow(layout, facts, firstLaunch)) {}
  // Closed as a person closes it, and gone before what it used goes: what was still on its way
  // to it has arrived.
  ~LaidOutWindow() {
    frame_->Destroy();
    processEventsUntil([this] { return wxTopLevelWindows.Find(frame_) == nullptr; });
  }
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
  wxButton& button() const { return *pane<wxButton>("executeTest"); }
  wxDataViewCtrl& summaryTable() const { return *summary().listTests(); }
  wxSplitterWindow& splitter(const char* name) const { return *pane<wxSplitterWindow>(name); }
  wxDataViewCtrl& linesTable() const { return *lines().listTestResults(); }
  wxFrame& frame() const { return *frame_; }
  ControlViewController& control() const { return *pane<ControlViewController>("controlView"); }

 protected:
  wxFrame* frame_;
};

// The window shown on the test display.
class ShownWindow : public LaidOutWindow {
 public:
  explicit ShownWindow(MachineFacts* facts, const wxString& layout = windowLayout(),
                       bool firstLaunch = true)
      : LaidOutWindow(facts, layout, firstLaunch) {
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

// Where `table` shows the cell of `row` in its column `column` counted from the left, in its
// client coordinates, once it has laid the row out.
inline wxRect shownCell(const wxDataViewCtrl& table, unsigned row, unsigned column) {
  const auto& model = dynamic_cast<const wxDataViewVirtualListModel&>(*table.GetModel());
  wxRect cell;
  processEventsUntil(
      [&] {
        cell = table.GetItemRect(model.GetItem(row), table.GetColumn(column));
        return !cell.IsEmpty();
      },
      std::chrono::seconds(2));
  return cell;
}

// The colour the screen shows at `point` of `window`'s client area, once what is pending has
// been painted.
inline wxColour paintedColour(wxWindow& window, wxPoint point) {
  window.Refresh();
  window.Update();
  processEventsUntil([] { return false; }, std::chrono::milliseconds(50));
  wxBitmap pixel(1, 1, 24);
  {
    wxScreenDC screen;
    wxMemoryDC memory(pixel);
    const wxPoint onScreen = window.ClientToScreen(point);
    memory.Blit(0, 0, 1, 1, &screen, onScreen.x, onScreen.y);
  }
  const wxImage image = pixel.ConvertToImage();
  return {image.GetRed(0, 0), image.GetGreen(0, 0), image.GetBlue(0, 0)};
}

// Presses a key as a person does; waits until the window has taken it in.
inline void pressKey(int key, int modifiers = wxMOD_NONE) {
  wxUIActionSimulator().Char(key, modifiers);
  processEventsUntil([] { return false; }, std::chrono::milliseconds(50));
}

}  // namespace tarq::testing
