#include "system/Diagnostics.h"

#include <iostream>

namespace tarq {
namespace {

std::ostream* currentStream = &std::cout;

}  // namespace

std::ostream& diagnosticStream() {
  return *currentStream;
}

void setDiagnosticStream(std::ostream& stream) {
  currentStream = &stream;
}

void writeDiagnosticLine(std::string_view line) {
  *currentStream << line << '\n' << std::flush;
}

}  // namespace tarq
