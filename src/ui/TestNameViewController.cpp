#include "ui/TestNameViewController.h"

#include <wx/xrc/xmlres.h>

#include <array>
#include <string_view>

#include "ui/StatusColours.h"
#include "ui/TableView.h"

namespace tarq {
namespace {

// The summary's columns, left to right: model column i shows each row's value under
// kColumns[i].identifier. The last one also takes whatever width the table has left, so its own
// width is only what it keeps in a narrow window.
struct SummaryColumn {
  std::string_view identifier;
  const char* title;
  int width;
};
constexpr std::array<SummaryColumn, 3> kColumns{{
    {ResultKey::testName, "Check", 190},
    {ResultKey::result, "Result", 96},
    {ResultKey::detected, "Detected", 240},
}};
// The status column shows a colour marker before the word.
constexpr unsigned kStatusColumn = 1;
static_assert(kColumns[kStatusColumn].identifier == ResultKey::result);

}  // namespace

SummaryListModel::SummaryListModel(const std::vector<ResultRow>& results)
    : wxDataViewVirtualListModel(0), results_(results) {}

const ResultRow* SummaryListModel::rowAt(unsigned row) const {
  return row < results_.size() ? &results_[row] : nullptr;
}

wxString SummaryListModel::GetColumnType(unsigned column) const {
  return column == kStatusColumn ? "wxDataViewIconText" : "string";
}

wxString SummaryListModel::shownText(unsigned row, unsigned column) const {
  const ResultRow* result = rowAt(row);
  if (result == nullptr || column >= kColumns.size()) {
    return {};
  }
  return displayText(*result->valueForKey(kColumns[column].identifier));
}

void SummaryListModel::GetValueByRow(wxVariant& value, unsigned row, unsigned column) const {
  const ResultRow* result = rowAt(row);
  if (result == nullptr || column >= kColumns.size()) {
    return;
  }
  const wxString text = shownText(row, column);
  if (column != kStatusColumn) {
    value = text;
    return;
  }
  value << wxDataViewIconText(text, markers_.marker(result->result));
}

bool SummaryListModel::SetValueByRow(const wxVariant&, unsigned, unsigned) {
  return false;  // the rows are read-only
}

bool SummaryListModel::GetAttrByRow(unsigned row, unsigned, wxDataViewItemAttr& attr) const {
  const ResultRow* result = rowAt(row);
  if (result == nullptr) {
    return false;
  }
  const std::optional<StatusColours> colours = statusColours(result->result);
  if (!colours) {
    return false;
  }
  attr.SetBackgroundColour(colours->background);
  attr.SetColour(colours->text);
  return true;
}

wxString SummaryListModel::rowText(unsigned row) const {
  wxString text;
  for (unsigned column = 0; column < kColumns.size() && rowAt(row) != nullptr; ++column) {
    text << (column > 0 ? "\t" : "") << shownText(row, column);
  }
  return text;
}

wxIMPLEMENT_DYNAMIC_CLASS(TestNameViewController, wxPanel);

TestNameViewController::TestNameViewController() : model_(new SummaryListModel(results())) {}

TestNameViewController::~TestNameViewController() = default;

void TestNameViewController::viewDidLoad() {
  listTests_ = dynamic_cast<wxDataViewCtrl*>(FindWindow("listTests"));
  if (listTests_ == nullptr) {
    return;
  }
  listTests_->AssociateModel(model_.get());
  for (unsigned column = 0; column < kColumns.size(); ++column) {
    const SummaryColumn& summaryColumn = kColumns[column];
    wxDataViewRenderer* renderer =
        column == kStatusColumn ? static_cast<wxDataViewRenderer*>(new wxDataViewIconTextRenderer())
                                : new wxDataViewTextRenderer();
    listTests_->AppendColumn(new wxDataViewColumn(summaryColumn.title, renderer, column,
                                                  FromDIP(summaryColumn.width), wxALIGN_LEFT,
                                                  wxDATAVIEW_COL_RESIZABLE));
  }
  setUpTable(*listTests_, "Check results",
             {[this](unsigned row, unsigned column) { return model_->shownText(row, column); },
              [this](unsigned row) { return model_->rowText(row); },
              [this](unsigned row) { return wxString::FromUTF8(guidanceTip(guidanceOf(row))); }});
}

RowGuidance TestNameViewController::guidanceOf(unsigned row) const {
  if (row >= results().size()) {
    return {};
  }
  return guidanceFor(results()[row], row < remedies().size() ? remedies()[row] : std::string());
}

void TestNameViewController::reloadData() {
  if (listTests_ == nullptr) {
    return;
  }
  model_->Reset(static_cast<unsigned>(results().size()));
  requestRepaint(*listTests_);
}

}  // namespace tarq
