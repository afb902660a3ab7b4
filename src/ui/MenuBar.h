#pragma once

#include <wx/frame.h>

namespace tarq {

// Gives the main window its menu bar, with the platform's stock items so that macOS moves About
// and Quit into the application menu:
//   File: Run Checks (Ctrl+R; reads Stop while a pass runs and stops it), Save Report… (Ctrl+S),
//         Quit (Ctrl+Q)
//   Edit: Copy (the selected rows of the focused table), Select All (its rows)
//   Help: About TarqSysValidation
// Save Report is offered once a pass has run to its end, until the next pass starts; a stopped
// pass leaves nothing to save, as its report would look whole but lack checks. Ctrl is Cmd on
// macOS.
void installMenuBar(wxFrame& window);

}  // namespace tarq
