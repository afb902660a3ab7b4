#pragma once

#include <wx/dataview.h>
#include <wx/panel.h>

#include <string>
#include <vector>

#include "ui/ViewController.h"
#include "validation/ResultTables.h"

namespace tarq {

// The result lines as the table's model sees them: one column, one line per row, as appended.
class LinesListModel final : public wxDataViewVirtualListModel {
 public:
  explicit LinesListModel(const std::vector<std::string>& lines);

  wxString GetColumnType(unsigned column) const override;
  void GetValueByRow(wxVariant& value, unsigned row, unsigned column) const override;
  bool SetValueByRow(const wxVariant& value, unsigned row, unsigned column) override;

  // What a row shows and copies: the line less trailing white space.
  wxString shownText(unsigned row) const;

 private:
  const std::vector<std::string>& lines_;
};

// The result-lines pane: the lines of the last pass, top to bottom in the order the checks
// produced them, under the heading "Result line". Screen readers know the table as "Result
// lines".
class TestResultsViewController final : public wxPanel,
                                        public ResultTextTable,
                                        public ViewController {
 public:
  TestResultsViewController();
  ~TestResultsViewController() override;

  // Connects the table `listTestResults` from the layout and gives it its column and model.
  void viewDidLoad() override;

  wxDataViewCtrl* listTestResults() const { return listTestResults_; }
  LinesListModel& model() const { return *model_; }

 protected:
  void reloadData() override;

 private:
  wxDataViewCtrl* listTestResults_ = nullptr;
  wxObjectDataPtr<LinesListModel> model_;

  wxDECLARE_DYNAMIC_CLASS(TestResultsViewController);
};

}  // namespace tarq
