#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "validation/StatusCounts.h"

namespace tarq {

// What the window's control strip says about a pass, in UTF-8. Each text counts the checks of a
// whole pass (kTestNamesInRunOrder).

// A pass's duration as a person reads it: "21 ms" below a second (where "0.0 s" would look as if
// nothing ran), at least "1 ms"; "1.2 s" from the point where milliseconds would round to 1000.
std::string durationText(double seconds);

// Before the first check has begun.
std::string startingText();
// While the check at `index` of the run order (from 0) runs: "Checking Processor (3 of 8)…".
std::string checkingText(std::size_t index, std::string_view testName);
// A pass that ran to its end: "1 failed, 1 warned, 6 passed in 512 ms".
std::string verdictText(const StatusCounts& counts, double seconds);
// A pass stopped while its `checksStarted`th check ran: "Stopped during check 8 of 8, after 1.2
// s.", or before any had begun: "Stopped before the first check, after 8 ms.".
std::string stoppedText(std::size_t checksStarted, double seconds);
// A pass that could not begin, for `reason` (the system's words): "Could not start the checks:
// Resource temporarily unavailable".
std::string notStartedText(std::string_view reason);

}  // namespace tarq
