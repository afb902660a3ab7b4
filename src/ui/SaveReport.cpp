#include "ui/SaveReport.h"

#include <wx/display.h>
#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include "report/AtomicFile.h"
#include "report/Report.h"
#include "ui/NativeDialogPlace.h"

namespace tarq {
namespace {

const wxString kReportTypes = "Text report (*.txt)|*.txt|JSON report (*.json)|*.json";
constexpr int kJsonReportType = 1;
// Left alone, the toolkit sizes the dialog from its font, larger than a 1024x768 screen.
const wxSize kSaveDialogSize(860, 600);
constexpr double kMostOfScreen = 0.9;

}  // namespace

wxString suggestedReportName(const wxString& host, const wxDateTime& day) {
  return "TarqSysValidation-" + (host.empty() ? wxString() : host + "-") + day.FormatISODate() +
         ".txt";
}

wxSize saveDialogSize(const wxRect& area) {
  wxSize size = kSaveDialogSize;
  size.DecTo(wxSize(static_cast<int>(area.GetWidth() * kMostOfScreen),
                    static_cast<int>(area.GetHeight() * kMostOfScreen)));
  return size;
}

ReportFile reportFileFor(const wxString& path, int chosenType) {
  const wxString lower = path.Lower();
  if (lower.EndsWith(".json") || lower.EndsWith(".txt")) {
    return {path, lower.EndsWith(".json")};
  }
  const bool json = chosenType == kJsonReportType;
  return {path.empty() ? path : path + (json ? ".json" : ".txt"), json};
}

std::string fileSystemPath(const wxString& path) {
  const wxScopedCharBuffer bytes = path.fn_str();
  if (path.empty() || bytes.data() == nullptr || bytes.length() == 0 ||
      wxString(bytes.data(), *wxConvFileName, bytes.length()) != path) {
    return {};
  }
  return std::string(bytes.data(), bytes.length());
}

std::error_code writeReportFile(const ReportFile& file, std::string_view report) {
  return writeFileAtomically(fileSystemPath(file.path), report);
}

void saveReport(wxWindow& parent, const PassRecord& pass, wxString& lastFolder) {
  const int display = wxDisplay::GetFromWindow(&parent);
  const wxRect area =
      wxDisplay(display == wxNOT_FOUND ? 0u : static_cast<unsigned>(display)).GetClientArea();
  // The text report is the type first chosen, so the name offered ends in its extension.
  wxFileDialog dialog(&parent, "Save Report", lastFolder,
                      suggestedReportName(wxGetHostName(), wxDateTime::Now()), kReportTypes,
                      wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  // Placed once shown, as the platform sizes it as it shows it.
  const wxRect place = wxRect(saveDialogSize(area)).CentreIn(area);
  dialog.CallAfter([&dialog, place] {
    placeNativeDialog(dialog.GetHandle(), place.x, place.y, place.width, place.height);
  });
  if (dialog.ShowModal() != wxID_OK) {
    return;
  }
  lastFolder = dialog.GetDirectory();
  const ReportFile file = reportFileFor(dialog.GetPath(), dialog.GetFilterIndex());
  // The dialog asked about replacing the name as typed, not with the extension added.
  if (file.path != dialog.GetPath() && wxFileExists(file.path) &&
      wxMessageBox(
          wxString::Format(
              wxString::FromUTF8("A file named “%s” already exists. Do you want to replace it?"),
              wxFileNameFromPath(file.path)),
          "Save Report", wxYES_NO | wxNO_DEFAULT | wxICON_WARNING, &parent) != wxYES) {
    return;
  }
  const std::string report = file.json ? jsonPassReport(pass)
                                       : textReport(pass.summary.results(), pass.summary.remedies(),
                                                    pass.lines.resStrings(), false);
  if (const std::error_code error = writeReportFile(file, report)) {
    wxMessageBox(
        wxString::Format(wxString::FromUTF8("The report could not be saved as “%s”.\n\n%s"),
                         file.path, wxString::FromUTF8(error.message())),
        "Report Not Saved", wxOK | wxICON_ERROR, &parent);
  }
}

}  // namespace tarq
