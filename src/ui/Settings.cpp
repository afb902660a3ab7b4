#include "ui/Settings.h"

#include <wx/app.h>
#include <wx/config.h>
#include <wx/fileconf.h>
#include <wx/filefn.h>
#include <wx/log.h>

#include <cstdio>
#include <memory>

namespace tarq {
namespace {

// Keeps the errors logged while it is the active log target, away from any dialog.
class ErrorRecorder final : public wxLog {
 public:
  ErrorRecorder() : previous_(wxLog::SetActiveTarget(this)) {}
  ~ErrorRecorder() override { wxLog::SetActiveTarget(previous_); }
  ErrorRecorder(const ErrorRecorder&) = delete;
  ErrorRecorder& operator=(const ErrorRecorder&) = delete;

  const wxString& firstError() const { return firstError_; }

 protected:
  void DoLogRecord(wxLogLevel level, const wxString& message, const wxLogRecordInfo&) override {
    if (level <= wxLOG_Warning && firstError_.empty()) {
      firstError_ = message;
    }
  }

 private:
  wxLog* previous_;
  wxString firstError_;
};

std::unique_ptr<wxConfigBase> readSettings(wxString& error) {
  const ErrorRecorder recorder;
  // What the toolkit would make by itself, on every platform we build for.
  std::unique_ptr<wxConfigBase> settings(new wxFileConfig(wxTheApp->GetAppName()));
  error = recorder.firstError();
  return settings;
}

}  // namespace

void openSettings() {
  wxString error;
  std::unique_ptr<wxConfigBase> settings = readSettings(error);
  if (!error.empty()) {
    settings.reset();
    const wxString file = wxFileConfig::GetLocalFileName(wxTheApp->GetAppName());
    const wxString setAside = file + ".unreadable";
    const bool renamed = wxRenameFile(file, setAside, true);
    std::fprintf(
        stderr, "TarqSysValidation: the settings in %s cannot be read (%s); %s\n",
        file.utf8_str().data(), error.utf8_str().data(),
        renamed
            ? ("they were moved to " + setAside + " and the defaults are used").utf8_str().data()
            : "the defaults are used");
    settings = readSettings(error);
  }
  delete wxConfigBase::Set(settings.release());
}

}  // namespace tarq
