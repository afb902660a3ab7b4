#pragma once

#include <wx/string.h>

#include <functional>

namespace tarq {

class TestNameViewController;
class TestResultsViewController;

// Ties the summary's rows to the lines their checks wrote: selecting rows selects all their
// checks' lines and scrolls the first into view; selecting lines selects their checks' rows.
// Each time the summary's selection changes, `showGuidance` is told the requirement and remedy of
// its current row, or an empty text when none is selected. The tables do as they are told
// without telling back, so neither answer starts the other again.
void linkCheckSelection(TestNameViewController& summary, TestResultsViewController& lines,
                        std::function<void(const wxString& guidance)> showGuidance);

}  // namespace tarq
