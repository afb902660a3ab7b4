#pragma once

#include <wx/dataview.h>
#include <wx/panel.h>

#include <vector>

#include "ui/RowGuidance.h"
#include "ui/StatusColours.h"
#include "ui/ViewController.h"
#include "validation/ResultTables.h"

namespace tarq {

// The summary rows as the table's model sees them: one row per result row, one column per
// identifier of the summary's column list. A row is coloured by its status alone, every time the
// table asks, so a reused row never keeps an earlier colour.
class SummaryListModel final : public wxDataViewVirtualListModel {
 public:
  explicit SummaryListModel(const std::vector<ResultRow>& results);

  wxString GetColumnType(unsigned column) const override;
  void GetValueByRow(wxVariant& value, unsigned row, unsigned column) const override;
  bool SetValueByRow(const wxVariant& value, unsigned row, unsigned column) override;
  bool GetAttrByRow(unsigned row, unsigned column, wxDataViewItemAttr& attr) const override;

  // What a cell shows: its stored text less trailing white space.
  wxString shownText(unsigned row, unsigned column) const;
  // One row as copied: what its cells show, separated by tabs.
  wxString rowText(unsigned row) const;

 private:
  const ResultRow* rowAt(unsigned row) const;

  const std::vector<ResultRow>& results_;
  StatusMarkers markers_;
};

// The summary pane: one row per check of the last pass with its name, its status word and what
// it detected. "Fail" rows are red and "Warn" rows yellow, with a marker of the same colour
// beside the status that stays visible when the row is selected; the pointer over a row that did
// not pass shows what its check requires and what to do. Screen readers know the table
// as "Check results".
class TestNameViewController final : public wxPanel,
                                     public TestSummaryTable,
                                     public ViewController {
 public:
  TestNameViewController();
  ~TestNameViewController() override;

  // Connects the table `listTests` from the layout and gives it its columns and model.
  void viewDidLoad() override;

  wxDataViewCtrl* listTests() const { return listTests_; }
  SummaryListModel& model() const { return *model_; }
  // The requirement and remedy of the check that made `row`; empty past the end.
  RowGuidance guidanceOf(unsigned row) const;

 protected:
  void reloadData() override;

 private:
  wxDataViewCtrl* listTests_ = nullptr;
  wxObjectDataPtr<SummaryListModel> model_;

  wxDECLARE_DYNAMIC_CLASS(TestNameViewController);
};

}  // namespace tarq
