#include "system/Diagnostics.h"

#include <syslog.h>

#include <iostream>
#include <mutex>
#include <string>

namespace tarq::SystemValuesUtility {
namespace {

std::ostream* currentStream = &std::cout;
std::ostream* systemLogEcho = &std::cerr;
// Tools run on several threads at once in a pass; each line is written whole.
std::mutex writing;

}  // namespace

std::ostream& diagnosticStream() {
  return *currentStream;
}

void setDiagnosticStream(std::ostream& stream) {
  currentStream = &stream;
}

void writeDiagnosticLine(std::string_view line) {
  const std::lock_guard<std::mutex> lock(writing);
  *currentStream << line << '\n' << std::flush;
}

void writeSystemLogMessage(std::string_view message) {
  const std::string text(message);
  ::syslog(LOG_NOTICE, "%s", text.c_str());
  const std::lock_guard<std::mutex> lock(writing);
  if (systemLogEcho != nullptr) {
    *systemLogEcho << text << '\n' << std::flush;
  }
}

void setSystemLogEcho(std::ostream* stream) {
  systemLogEcho = stream;
}

}  // namespace tarq::SystemValuesUtility
