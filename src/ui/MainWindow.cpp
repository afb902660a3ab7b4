#include "ui/MainWindow.h"

#include <wx/button.h>
#include <wx/display.h>
#include <wx/iconbndl.h>
#include <wx/persist/splitter.h>
#include <wx/persist/toplevel.h>
#include <wx/sizer.h>
#include <wx/sstream.h>
#include <wx/xml/xml.h>
#include <wx/xrc/xmlres.h>

#include <algorithm>
#include <memory>

#include "ui/AppIcon.h"
#include "ui/ControlViewController.h"
#include "ui/ViewController.h"

namespace tarq {
namespace {

// The first time, the window opens at the layout's size where the screen has room for it, else at
// this share of the screen's free area (without panels and docks), centred on it.
constexpr double kMostOfScreen = 0.9;
// The least size of a table pane: its heading and three rows, and room for the summary's name
// and status columns with the start of what was detected.
const wxSize kLeastTableSize(600, 110);

// The program's icon at the sizes desktops ask a window for.
wxIconBundle appIcons() {
  const wxBitmapBundle icon = appIcon();
  wxIconBundle icons;
  for (const int side : {16, 24, 32, 48, 64, 128}) {
    icons.AddIcon(icon.GetIcon(wxSize(side, side)));
  }
  return icons;
}

// Children first, as each controller's view is complete before the one that holds it.
void loadViews(wxWindow& window) {
  for (wxWindow* child : window.GetChildren()) {
    loadViews(*child);
  }
  if (auto* controller = dynamic_cast<ViewController*>(&window)) {
    controller->viewDidLoad();
  }
}

// The free area of the screen the window is on, else of the main screen.
wxRect freeAreaOf(const wxWindow& window) {
  const int index = wxDisplay::GetFromWindow(&window);
  return wxDisplay(index == wxNOT_FOUND ? 0u : static_cast<unsigned>(index)).GetClientArea();
}

// No larger than `area`, and moved into it.
wxRect fittedInto(wxRect rect, const wxRect& area) {
  wxSize size = rect.GetSize();
  size.DecTo(area.GetSize());
  rect.SetSize(size);
  rect.SetLeft(std::clamp(rect.GetLeft(), area.GetLeft(), area.GetRight() - rect.GetWidth() + 1));
  rect.SetTop(std::clamp(rect.GetTop(), area.GetTop(), area.GetBottom() - rect.GetHeight() + 1));
  return rect;
}

// Gives each pane the least size at which nothing in it is cut, which the dividers keep to, and
// returns the least client size of the window that holds all three. The control strip is widest
// during a pass, with its progress bar shown.
wxSize keepPanesWhole(wxFrame& frame) {
  wxWindow* control = frame.FindWindow("controlView");
  wxWindow* progress = frame.FindWindow("passProgress");
  auto* outer = dynamic_cast<wxSplitterWindow*>(frame.FindWindow("splitView"));
  auto* inner = dynamic_cast<wxSplitterWindow*>(frame.FindWindow("lowerSplit"));
  if (control == nullptr || control->GetSizer() == nullptr || outer == nullptr ||
      inner == nullptr) {
    return wxDefaultSize;
  }
  const bool progressHidden = progress != nullptr && !progress->IsShown();
  if (progressHidden) {
    progress->Show();
  }
  const wxSize strip = control->GetSizer()->GetMinSize();
  if (progressHidden) {
    progress->Hide();
  }
  control->SetMinSize(strip);
  const wxSize table = frame.FromDIP(kLeastTableSize);
  for (const char* name : {"testNameView", "testResultView"}) {
    if (wxWindow* pane = frame.FindWindow(name)) {
      pane->SetMinSize(table);
    }
  }
  const wxSize lower(std::max(strip.x, table.x), strip.y + inner->GetSashSize() + table.y);
  inner->SetMinSize(lower);
  return {lower.x, table.y + outer->GetSashSize() + lower.y};
}

// The first time, the layout's size where the screen has room for it, centred; after that, the
// size, place and divider positions the window had when it was last closed, kept within the
// screen.
void placeWindow(wxFrame& frame) {
  const wxSize least = keepPanesWhole(frame);
  // In a sizer, the window's best size is what its panes need rather than what they have, so a
  // remembered size is not raised to the size the window opened at.
  if (wxWindow* content = frame.FindWindow("splitView")) {
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(content, 1, wxEXPAND);
    frame.SetSizer(sizer);
  }
  const wxRect area = freeAreaOf(frame);
  wxSize size = frame.GetSize();
  size.DecTo(wxSize(static_cast<int>(area.GetWidth() * kMostOfScreen),
                    static_cast<int>(area.GetHeight() * kMostOfScreen)));
  size.IncTo(frame.ClientToWindowSize(least));
  frame.SetMinClientSize(least);
  frame.SetSize(fittedInto(wxRect(size).CentreIn(area), area));

  wxPersistenceManager& persistence = wxPersistenceManager::Get();
  persistence.RegisterAndRestore(&frame);
  for (const char* name : {"splitView", "lowerSplit"}) {
    if (auto* splitter = dynamic_cast<wxSplitterWindow*>(frame.FindWindow(name))) {
      persistence.RegisterAndRestore(splitter);
    }
  }
  frame.SetSize(fittedInto(frame.GetRect(), freeAreaOf(frame)));
}

}  // namespace

wxFrame* createMainWindow(const wxString& layout, MachineFacts* facts) {
  wxXmlResource resources;
  resources.InitAllHandlers();
  auto document = std::make_unique<wxXmlDocument>();
  wxStringInputStream input(layout);
  if (!document->Load(input) || !resources.LoadDocument(document.release(), "window")) {
    return nullptr;
  }
  wxFrame* frame = resources.LoadFrame(nullptr, "mainWindow");
  if (frame == nullptr) {
    return nullptr;
  }
  loadViews(*frame);
  frame->SetIcons(appIcons());
  auto* control = dynamic_cast<ControlViewController*>(frame->FindWindow("controlView"));
  if (control != nullptr && facts != nullptr) {
    control->useMachineFacts(*facts);
  }
  placeWindow(*frame);
  // Return presses the execute button from the start.
  if (auto* button = dynamic_cast<wxButton*>(frame->FindWindow("executeTest"))) {
    button->SetFocus();
  }
  return frame;
}

}  // namespace tarq
