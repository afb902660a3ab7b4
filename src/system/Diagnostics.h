#pragma once

#include <iosfwd>
#include <string_view>

namespace tarq::SystemValuesUtility {

// The one stream for the program's own diagnostic lines (the error number of a failed kernel
// parameter size query, the browser search's echo). It starts as standard output, as the window
// program has it; the headless report points it elsewhere so that its standard output carries
// nothing but the report.
std::ostream& diagnosticStream();
void setDiagnosticStream(std::ostream& stream);

// Writes `line` and a line feed to the diagnostic stream, flushed at once.
void writeDiagnosticLine(std::string_view line);

// A message for the system log. Like the platform's logger, it also echoes the message on a
// stream, standard error unless set otherwise; null turns the echo off.
void writeSystemLogMessage(std::string_view message);
void setSystemLogEcho(std::ostream* stream);

}  // namespace tarq::SystemValuesUtility
