// tarq-validate: runs one validation pass and prints it for a terminal or, with --json, for a
// program. Standard output carries the report alone; the system's diagnostics go to standard
// error.
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

#include "cli/Report.h"
#include "system/Diagnostics.h"
#include "validation/MachineFacts.h"
#include "validation/ValidationRunner.h"

namespace {

constexpr int kExitUsage = 64;        // EX_USAGE
constexpr int kExitOutputError = 74;  // EX_IOERR

constexpr std::string_view kUsage =
    "Usage: tarq-validate [--json]\n"
    "\n"
    "Checks whether this machine meets the client application's system requirements.\n"
    "Prints one row per check (Pass, Warn or Fail and what was detected), then the\n"
    "result lines.\n"
    "\n"
    "Options:\n"
    "  --json     print the report as one JSON object\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Exit status: 0 when every check passes, 1 when a check warns and none fails,\n"
    "2 when a check fails, 64 for a usage error.\n"
    "Colour is used on a terminal unless NO_COLOR is set.\n";

bool colourWanted() {
  const char* noColour = std::getenv("NO_COLOR");
  const char* terminal = std::getenv("TERM");
  return ::isatty(STDOUT_FILENO) == 1 && (noColour == nullptr || noColour[0] == '\0') &&
         (terminal == nullptr || std::string_view(terminal) != "dumb");
}

int usageError(std::string_view problem) {
  std::cerr << "tarq-validate: " << problem << "\n\n" << kUsage;
  return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  bool json = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--json") {
      json = true;
    } else if (argument == "--help" || argument == "-h") {
      std::cout << kUsage;
      return std::cout.flush() ? EXIT_SUCCESS : kExitOutputError;
    } else if (argument == "--version") {
      std::cout << "tarq-validate " << TARQ_VERSION << "\n";
      return std::cout.flush() ? EXIT_SUCCESS : kExitOutputError;
    } else if (argument.starts_with("-")) {
      return usageError("unknown option '" + std::string(argument) + "'");
    } else {
      return usageError("unexpected argument '" + std::string(argument) + "'");
    }
  }

  tarq::setDiagnosticStream(std::cerr);

  tarq::SystemMachineFacts facts;
  tarq::ValidationRunner runner(facts);
  tarq::TestSummaryTable summary;
  tarq::ResultTextTable lines;
  runner.setTestNameVC(&summary);
  runner.setTestResultsVC(&lines);
  runner.runAllTests();

  std::cout << (json ? tarq::jsonReport(summary.results(), lines.resStrings())
                     : tarq::textReport(summary.results(), lines.resStrings(), colourWanted()));
  if (!std::cout.flush()) {
    std::cerr << "tarq-validate: could not write the report\n";
    return kExitOutputError;
  }
  return tarq::exitStatusFor(summary.results());
}
