#include "ui/MainWindow.h"

#include <wx/button.h>
#include <wx/sstream.h>
#include <wx/xml/xml.h>
#include <wx/xrc/xmlres.h>

#include <memory>

#include "ui/ControlViewController.h"
#include "ui/ViewController.h"

namespace tarq {
namespace {

// Children first, as each controller's view is complete before the one that holds it.
void loadViews(wxWindow& window) {
  for (wxWindow* child : window.GetChildren()) {
    loadViews(*child);
  }
  if (auto* controller = dynamic_cast<ViewController*>(&window)) {
    controller->viewDidLoad();
  }
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
  auto* control = dynamic_cast<ControlViewController*>(frame->FindWindow("controlView"));
  if (control != nullptr && facts != nullptr) {
    control->useMachineFacts(*facts);
  }
  // Return presses the execute button from the start.
  if (auto* button = dynamic_cast<wxButton*>(frame->FindWindow("executeTest"))) {
    button->SetFocus();
  }
  return frame;
}

}  // namespace tarq
