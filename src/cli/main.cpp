// tarq-validate: runs one validation pass and prints it for a terminal or, with --json, for a
// program. Standard output carries the report alone; the system's diagnostics are shown on
// standard error only with --verbose, so fleet tools that collect standard error see nothing on
// an ordinary run.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "cli/PrefixedLines.h"
#include "report/AtomicFile.h"
#include "report/PassReport.h"
#include "report/Report.h"
#include "system/Diagnostics.h"
#include "system/process/HeapSetting.h"
#include "system/process/RunningToolGroups.h"
#include "validation/MachineFacts.h"
#include "validation/StatusCounts.h"
#include "validation/ValidationRunner.h"

namespace {

constexpr int kExitUsage = 64;        // EX_USAGE
constexpr int kExitOutputError = 74;  // EX_IOERR

constexpr std::string_view kUsage =
    "Usage: tarq-validate [--json | --plist] [--skip ID]... [--output FILE] [--verbose]\n"
    "\n"
    "Checks whether this machine meets the client application's system requirements.\n"
    "Prints one row per check (Pass, Warn or Fail and what was detected), the result\n"
    "lines, what to do about each check that did not pass, and the verdict.\n"
    "\n"
    "Options:\n"
    "  --json         print the report as one JSON object\n"
    "  --plist        print the same report as an XML property list\n"
    "  --skip ID      leave a check out: os, memory, processor, disk, usb, screen,\n"
    "                 browser or mono (may be repeated)\n"
    "  --output FILE  write the report to FILE, whole or not at all\n"
    "  --verbose      show the system's diagnostic lines on standard error\n"
    "  -h, --help     show this help and exit\n"
    "  --version      show the version and exit\n"
    "  --             end of the options\n"
    "\n"
    "Exit status: 0 when every check passes, 1 when a check warns and none fails,\n"
    "2 when a check fails, 64 for a usage error, 74 when the report cannot be written.\n"
    "Colour is used on a terminal unless NO_COLOR is set.\n";

constexpr std::string_view kProgramName = "tarq-validate";

// Colour on a terminal, unless NO_COLOR is set to something (an empty NO_COLOR leaves it on, as
// the convention has it) or the terminal is dumb.
bool colourWanted() {
  const char* noColour = std::getenv("NO_COLOR");
  const char* terminal = std::getenv("TERM");
  return ::isatty(STDOUT_FILENO) == 1 && (noColour == nullptr || noColour[0] == '\0') &&
         (terminal == nullptr || std::string_view(terminal) != "dumb");
}

// While it lives, standard error points at /dev/null, so that what the tools a pass runs write
// there (find's complaint about a missing /Applications, say) stays out of a quiet run. The
// program's own standard error comes back when it ends.
class QuietStandardError {
 public:
  QuietStandardError() {
    const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    saved_ = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    if (nowhere >= 0 && saved_ >= 0) {
      ::dup2(nowhere, STDERR_FILENO);
    }
    if (nowhere >= 0) {
      ::close(nowhere);
    }
  }
  ~QuietStandardError() {
    if (saved_ >= 0) {
      ::dup2(saved_, STDERR_FILENO);
      ::close(saved_);
    }
  }
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int saved_ = -1;
};

// One line: what is wrong, and where to read more.
int usageError(std::string_view problem) {
  std::cerr << kProgramName << ": " << problem << " (try --help)\n";
  return kExitUsage;
}

// What the command line asks of a run beyond the report's form: a property list, checks left
// out, a file to write.
struct RunOptions {
  bool plist = false;
  tarq::ValidationRunner::CheckSet skipped;
  std::optional<std::string> outputPath;
};

// Reads argv[i] when it is one of the options of RunOptions, moving `i` past the option's value.
// False when it is none of them; `problem` says what is wrong with one that is.
bool readRunOption(int argc, char** argv, int& i, RunOptions& options, std::string& problem) {
  const std::string_view argument = argv[i];
  if (argument == "--plist") {
    options.plist = true;
    return true;
  }
  if (argument != "--skip" && argument != "--output") {
    return false;
  }
  if (i + 1 >= argc) {
    problem = "option '" + std::string(argument) + "' needs a value";
    return true;
  }
  const std::string_view value = argv[++i];
  if (argument == "--output") {
    options.outputPath = std::string(value);
    return true;
  }
  for (std::size_t check = 0; check < tarq::kChecksInRunOrder.size(); ++check) {
    if (tarq::kChecksInRunOrder[check].id == value) {
      options.skipped.set(check);
      return true;
    }
  }
  problem = "unknown check '" + std::string(value) +
            "' (known: os, memory, processor, disk, usb, screen, browser, mono)";
  return true;
}

// The report to standard output, or to the file asked for, whole or not at all.
bool writeReport(const std::string& report, const std::optional<std::string>& outputPath) {
  if (!outputPath) {
    std::cout << report;
    return static_cast<bool>(std::cout.flush());
  }
  const std::error_code error = tarq::writeFileAtomically(*outputPath, report);
  if (error) {
    std::cerr << kProgramName << ": could not write the report to " << *outputPath << ": "
              << error.message() << "\n";
  }
  return !error;
}

}  // namespace

int main(int argc, char** argv) {
  // Before the pass's threads start, each of which would map an arena of its own.
  // Started with no standard output, there is nowhere for the report: it fails to be written,
  // as it would have. The descriptor itself is then given /dev/null, so that nothing the pass
  // opens takes its number.
  const bool outputClosed = ::fcntl(STDOUT_FILENO, F_GETFD) == -1;
  tarq::SystemValuesUtility::shareOneHeapAcrossThreads();
  tarq::SystemValuesUtility::prepareProcessForTools();
  if (outputClosed) {
    std::cout.setstate(std::ios::badbit);
  }
  // A reader that has gone away is a failed write (74), not a death by SIGPIPE. The tools a pass
  // starts get every signal back at its default.
  ::signal(SIGPIPE, SIG_IGN);
  bool json = false;
  bool verbose = false;
  bool help = false;
  bool version = false;
  RunOptions run;
  std::string problem;
  // Every argument is read before any is acted on: a usage error is one wherever it stands.
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (optionsEnded) {
      // The program takes no operands.
      return usageError("unexpected argument '" + std::string(argument) + "'");
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--json") {
      json = true;
    } else if (argument == "--verbose") {
      verbose = true;
    } else if (argument == "--help" || argument == "-h") {
      help = true;
    } else if (argument == "--version") {
      version = true;
    } else if (readRunOption(argc, argv, i, run, problem)) {
      if (!problem.empty()) {
        return usageError(problem);
      }
    } else if (argument.starts_with("-")) {
      return usageError("unknown option '" + std::string(argument) + "'");
    } else {
      return usageError("unexpected argument '" + std::string(argument) + "'");
    }
  }
  if (json && run.plist) {
    return usageError("options '--json' and '--plist' exclude each other");
  }
  if (help) {
    std::cout << kUsage;
    return std::cout.flush() ? EXIT_SUCCESS : kExitOutputError;
  }
  if (version) {
    std::cout << "tarq-validate " << TARQ_VERSION << "\n";
    return std::cout.flush() ? EXIT_SUCCESS : kExitOutputError;
  }
  if (outputClosed && !run.outputPath) {
    std::cerr << "tarq-validate: could not write the report\n";
    return kExitOutputError;
  }

  tarq::PrefixedLineBuffer prefixedErrors(std::cerr.rdbuf(), std::string(kProgramName) + ": ");
  std::ostream verboseStream(&prefixedErrors);
  std::ostream nowhere(nullptr);  // writes to it are dropped
  tarq::SystemValuesUtility::setDiagnosticStream(verbose ? verboseStream : nowhere);
  tarq::SystemValuesUtility::setSystemLogEcho(verbose ? &verboseStream : nullptr);

  tarq::SystemMachineFacts facts;
  tarq::ValidationRunner runner(facts);
  tarq::TestSummaryTable summary;
  tarq::ResultTextTable lines;
  runner.setTestNameVC(&summary);
  runner.setTestResultsVC(&lines);
  tarq::CheckMeasurementTable measurements;
  runner.setMeasurementTable(&measurements);
  runner.setSkippedChecks(run.skipped);
  const auto startedAt = std::chrono::system_clock::now();
  {
    std::optional<QuietStandardError> quiet;
    if (!verbose) {
      quiet.emplace();
    }
    runner.runAllTests();
  }

  const tarq::PassRecord pass{
      summary,
      lines,
      measurements,
      run.skipped,
      startedAt,
      std::chrono::system_clock::now(),
      json || run.plist ? tarq::describeThisMachine() : tarq::MachineDescription{},
      TARQ_VERSION};
  const std::string report =
      run.plist ? tarq::plistPassReport(pass)
      : json    ? tarq::jsonPassReport(pass)
                : tarq::textReport(summary.results(), summary.remedies(), lines.resStrings(),
                                   !run.outputPath && colourWanted());
  if (!writeReport(report, run.outputPath)) {
    if (!std::cout.flush()) {
      std::cerr << "tarq-validate: could not write the report\n";
    }
    return kExitOutputError;
  }
  return tarq::exitStatusFor(tarq::countStatuses(summary.results()));
}
