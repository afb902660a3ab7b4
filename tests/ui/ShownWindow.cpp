#include "ui/ShownWindow.h"

#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/uiaction.h>

#include <thread>

#include "ui/MenuBar.h"

void PrintTo(const wxColour& colour, std::ostream* out) {
  *out << colour.GetAsString(wxC2S_CSS_SYNTAX);
}

// Read from the X server itself: the toolkit's screen DC would stop the window's later repaints.
wxColour screenColourAt(const wxPoint& point);

namespace tarq::testing {

static wxRect shownCell(const wxDataViewCtrl& table, unsigned row, unsigned column) {
  const auto& model = dynamic_cast<const wxDataViewVirtualListModel&>(*table.GetModel());
  return table.GetItemRect(model.GetItem(row), table.GetColumn(column));
}

static void clickAt(const wxPoint& point) {
  wxUIActionSimulator input;
  input.MouseMove(point);
  settle(std::chrono::milliseconds(50));
  input.MouseClick();
}

bool processEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
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

ShownWindow::ShownWindow(MachineFacts* facts, const wxString& layout, bool firstLaunch) {
  if (firstLaunch) {
    wxConfigBase::Get()->DeleteAll();
  }
  frame_ = createMainWindow(layout, facts);
  frame_->Show();
  processEventsUntil([this] { return frame_->IsShownOnScreen(); });
  // The first layout and paint settle before input arrives.
  settle(std::chrono::milliseconds(300));
}

ShownWindow::~ShownWindow() {
  frame_->Destroy();
  processEventsUntil([this] { return wxTopLevelWindows.Find(frame_) == nullptr; });
}

void ShownWindow::installMenu() const {
  installMenuBar(*frame_);
  settle(std::chrono::milliseconds(300));
}

bool ShownWindow::enabled(int item) const {
  frame_->UpdateWindowUI();
  return frame_->GetMenuBar()->IsEnabled(item);
}

std::string ShownWindow::label(int item) const {
  frame_->UpdateWindowUI();
  return wxMenuItem::GetLabelText(frame_->GetMenuBar()->GetLabel(item)).utf8_string();
}

bool ShownWindow::clickButton(const std::function<bool()>& pressed, bool untilEnded) const {
  const wxRect area = button().GetScreenRect();
  clickAt(area.GetPosition() + area.GetSize() / 2);
  return processEventsUntil([&] { return pressed() && !(untilEnded && control().passRunning()); });
}

void clickCell(const wxDataViewCtrl& table, unsigned row, unsigned column) {
  const wxRect cell = shownCell(table, row, column);
  clickAt(table.ClientToScreen(cell.GetPosition() + cell.GetSize() / 2));
  settle(std::chrono::milliseconds(100));
}

bool tipOverCell(wxDataViewCtrl& table, unsigned row, unsigned column, const std::string& tip) {
  const wxRect rect = shownCell(table, row, column);
  wxUIActionSimulator().MouseMove(
      table.ClientToScreen(wxPoint(rect.GetLeft() + 10, rect.GetTop() + rect.GetHeight() / 2)));
  return processEventsUntil([&] { return table.GetToolTipText().utf8_string() == tip; },
                            std::chrono::seconds(2));
}

void pressKey(int key, int modifiers) {
  wxUIActionSimulator().Char(key, modifiers);
  settle(std::chrono::milliseconds(50));
}

std::string copiedText() {
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

std::vector<std::string> shownColumn(const wxDataViewCtrl& table, unsigned column) {
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

wxColour paintedColour(const wxDataViewCtrl& table, unsigned row, unsigned column,
                       const wxColour& expected) {
  wxColour painted;
  processEventsUntil(
      [&] {
        const wxRect cell = shownCell(table, row, column);
        painted = screenColourAt(table.ClientToScreen(cell.GetPosition() + cell.GetSize() / 2));
        return painted == expected;
      },
      std::chrono::seconds(2));
  return painted;
}

}  // namespace tarq::testing

// Last, as Xlib's macros (None, Bool, Status) would break the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

wxColour screenColourAt(const wxPoint& point) {
  Display* display = XOpenDisplay(nullptr);
  XImage* image =
      XGetImage(display, DefaultRootWindow(display), point.x, point.y, 1, 1, AllPlanes, ZPixmap);
  const unsigned long rgb = XGetPixel(image, 0, 0);
  XDestroyImage(image);
  XCloseDisplay(display);
  return wxColour((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff);
}
