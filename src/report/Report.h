#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "validation/ResultRecords.h"
#include "validation/StatusCounts.h"

namespace tarq {

// The exit status of the headless report, from its rows' counts: 0 when every row passes, 1 when
// some row warns and none fails, 2 when some row fails.
inline constexpr int kExitAllPassed = 0;
inline constexpr int kExitSomeWarned = 1;
inline constexpr int kExitSomeFailed = 2;
int exitStatusFor(const StatusCounts& counts);

// `text` made fit for a terminal: control characters shown as escapes ("\n", "\x1b") so that a
// row stays on one line and tool output cannot drive the terminal, ill-formed UTF-8 as U+FFFD.
std::string terminalSafe(std::string_view text);

// The report a person reads: the summary table with aligned columns, a blank line, the result
// lines in order, then what to do about each row that did not pass (its remedy, from
// `remedies`, which parallels `rows`) and the pass's verdict. Texts lose their trailing white
// space and line ends, as a person reads them; what is left is made terminal-safe. With
// `colour`, "Fail" rows are red and "Warn" rows yellow.
std::string textReport(const std::vector<ResultRow>& rows, const std::vector<std::string>& remedies,
                       const std::vector<std::string>& lines, bool colour);

// {"rows":[{"testName":…,"result":…,"detected":…},…],"lines":[…]} on one line, valid UTF-8
// (ill-formed input bytes become U+FFFD).
std::string jsonReport(const std::vector<ResultRow>& rows, const std::vector<std::string>& lines);

}  // namespace tarq
