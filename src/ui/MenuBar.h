#pragma once

#include <wx/bmpbndl.h>
#include <wx/frame.h>
#include <wx/string.h>

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

// Where Save Report writes, and which report, for the path chosen in its dialog and the type
// chosen there (0 text, 1 JSON): a name ending in ".json" or ".txt" (in any case) says which
// report it wants; any other name takes the chosen type and its extension.
struct ReportFile {
  wxString path;
  bool json = false;
};
ReportFile reportFileFor(const wxString& path, int chosenType);

// The program's icon, the picture it installs for the desktop, built into the program.
wxBitmapBundle appIcon();

}  // namespace tarq
