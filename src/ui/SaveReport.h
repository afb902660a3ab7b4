#pragma once

#include <wx/string.h>
#include <wx/window.h>

#include <string>
#include <vector>

#include "validation/ResultRecords.h"

namespace tarq {

// Where Save Report writes, and which report, for the path chosen in its dialog and the type
// chosen there (0 text, 1 JSON): a name ending in ".json" or ".txt" (in any case) says which
// report it wants; any other name takes the chosen type and its extension.
struct ReportFile {
  wxString path;
  bool json = false;
};
ReportFile reportFileFor(const wxString& path, int chosenType);

// Asks where to save the report of a pass with these rows and lines, then saves the report that
// tarq-validate writes for the same pass: the JSON one, or the text one as it writes it to a
// file (without colour). The dialog opens in `lastFolder`, which then becomes the folder chosen.
// The file is replaced whole or not at all; why it could not be is shown in a message.
void saveReport(wxWindow& parent, const std::vector<ResultRow>& rows,
                const std::vector<std::string>& lines, wxString& lastFolder);

}  // namespace tarq
