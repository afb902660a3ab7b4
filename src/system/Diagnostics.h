#pragma once

#include <iosfwd>
#include <string_view>

namespace tarq {

// The one stream for the program's own diagnostic lines (the error number of a failed kernel
// parameter size query, and the like). It starts as standard output; the headless report points
// it at standard error so that its standard output carries nothing but the report.
std::ostream& diagnosticStream();
void setDiagnosticStream(std::ostream& stream);

// Writes `line` and a line feed to the diagnostic stream, flushed at once.
void writeDiagnosticLine(std::string_view line);

}  // namespace tarq
