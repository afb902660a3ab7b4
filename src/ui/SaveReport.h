#pragma once

#include <wx/datetime.h>
#include <wx/gdicmn.h>
#include <wx/string.h>
#include <wx/window.h>

#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "report/PassReport.h"
#include "validation/ResultRecords.h"
#include "validation/ResultTables.h"

namespace tarq {

// Where Save Report writes, and which report, for the path chosen in its dialog and the type
// chosen there (0 text, 1 JSON): a name ending in ".json" or ".txt" (in any case) says which
// report it wants; any other name takes the chosen type and its extension. An empty path stays
// empty: an extension alone would name a hidden file in the working folder.
struct ReportFile {
  wxString path;
  bool json = false;
};
ReportFile reportFileFor(const wxString& path, int chosenType);

// The path in the file system's own bytes, whatever they are (a folder's name need not be
// UTF-8); empty where the path is empty or does not convert back to itself.
std::string fileSystemPath(const wxString& path);

// Writes `report` to `file` whole or not at all; a path without file-system bytes is an error
// (SaveError::noPath), so the report goes where the person chose or nowhere.
std::error_code writeReportFile(const ReportFile& file, std::string_view report);

// The name Save Report first offers, for a machine named `host` on `day` (local):
// "TarqSysValidation-<host>-<YYYY-MM-DD>.txt", so that the reports of several machines and days
// can lie in one folder. Without a host name, "TarqSysValidation-<YYYY-MM-DD>.txt".
wxString suggestedReportName(const wxString& host, const wxDateTime& day);

// The size Save Report's dialog opens at on a screen whose free area is `area`: its usual size
// where that fits, else most of the area, so that its buttons are never off the screen.
wxSize saveDialogSize(const wxRect& area);

// Asks where to save the report of this pass, then saves the report that
// tarq-validate writes for the same pass: the JSON one, or the text one as it writes it to a
// file (without colour). The dialog opens in `lastFolder`, which then becomes the folder chosen.
// The file is replaced whole or not at all; why it could not be is shown in a message.
void saveReport(wxWindow& parent, const PassRecord& pass, wxString& lastFolder);

}  // namespace tarq
