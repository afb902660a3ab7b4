#pragma once

#include <wx/frame.h>
#include <wx/string.h>

#include "validation/MachineFacts.h"

namespace tarq {

// The window's layout (XRC) as the program ships it.
wxString windowLayout();

// Builds the main window "mainWindow" from an XRC layout text, lets every pane controller
// connect what it needs, then wires the panes. The window opens within the screen's free area,
// at the size, place and divider positions it had when last closed (kept through wxConfig),
// the first time at most 90 % of that area, centred; it cannot be made so small that a pane is
// cut. The checks learn their facts from `facts` when
// given (it must outlive the window), else from this machine. Null when the layout has no such
// window.
wxFrame* createMainWindow(const wxString& layout, MachineFacts* facts = nullptr);

}  // namespace tarq
