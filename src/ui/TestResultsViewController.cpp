#include "ui/TestResultsViewController.h"

#include <wx/xrc/xmlres.h>

#include "ui/TableView.h"

namespace tarq {

LinesListModel::LinesListModel(const std::vector<std::string>& lines)
    : wxDataViewVirtualListModel(0), lines_(lines) {}

wxString LinesListModel::GetColumnType(unsigned) const {
  return "string";
}

void LinesListModel::GetValueByRow(wxVariant& value, unsigned row, unsigned) const {
  if (row < lines_.size()) {
    value = shownText(row);
  }
}

bool LinesListModel::SetValueByRow(const wxVariant&, unsigned, unsigned) {
  return false;  // the lines are read-only
}

wxString LinesListModel::shownText(unsigned row) const {
  return row < lines_.size() ? displayText(lines_[row]) : wxString();
}

wxIMPLEMENT_DYNAMIC_CLASS(TestResultsViewController, wxPanel);

TestResultsViewController::TestResultsViewController() : model_(new LinesListModel(resStrings())) {}

TestResultsViewController::~TestResultsViewController() = default;

void TestResultsViewController::viewDidLoad() {
  listTestResults_ = dynamic_cast<wxDataViewCtrl*>(FindWindow("listTestResults"));
  if (listTestResults_ == nullptr) {
    return;
  }
  listTestResults_->AssociateModel(model_.get());
  listTestResults_->AppendTextColumn("Result line", 0, wxDATAVIEW_CELL_INERT);
  setUpTable(*listTestResults_, "Result lines",
             {[this](unsigned row, unsigned) { return model_->shownText(row); },
              [this](unsigned row) { return model_->shownText(row); },
              {}});
}

void TestResultsViewController::reloadData() {
  if (listTestResults_ == nullptr) {
    return;
  }
  model_->Reset(static_cast<unsigned>(resStrings().size()));
  requestRepaint(*listTestResults_);
}

}  // namespace tarq
