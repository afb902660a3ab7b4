// tarq-validate end to end, as a terminal user or a fleet tool runs it on this machine, and the
// prefix of its diagnostic lines.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "cli/PrefixedLines.h"
#include "support/ProgramCopy.h"
#include "support/TemporaryDirectory.h"
#include "support/VirtualDisplay.h"
#include "system/Diagnostics.h"

namespace tarq {
namespace {

struct Outcome {
  int exitStatus = -1;
  std::string out, err;
};

// `arguments` and `environment` are shell words; "terminal" as `redirection` runs the program on a
// pseudo-terminal through script(1), which copies what it wrote.
Outcome runTarqValidate(const std::string& arguments, const std::string& environment = "",
                        const std::string& redirection = "", const std::string& input = "/dev/null",
                        const std::string& programPath = TARQ_VALIDATE_PATH) {
  testing::TemporaryDirectory directory;
  const auto out = directory.path() / "out";
  const auto err = directory.path() / "err";
  const bool terminal = redirection == "terminal";
  const std::string program =
      terminal ? "script -qec \"'" + programPath + "' " + arguments + "\" /dev/null"
               : "'" + programPath + "' " + arguments;
  const std::string command =
      "env " + environment + " " + program +
      (redirection.empty() || terminal ? " >'" + out.string() + "'" : " " + redirection) + " 2>'" +
      err.string() + "' <'" + input + "'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, testing::readFile(out),
          testing::readFile(err)};
}

// The X libraries are loaded only to ask a display the program is given, as the dynamic loader's
// log shows. A launcher that ignores SIGCHLD, or a standard input that never closes, changes
// nothing: the tools are still waited for, and none waits on us.
TEST(TarqValidateTest, JsonReportOfEachKindOfStart) {
  const testing::VirtualDisplay display(1280, 1024);
  int held[2];  // the program inherits the write end too, so its input never ends
  ASSERT_EQ(::pipe(held), 0);
  const std::string input = "/dev/fd/" + std::to_string(held[0]);
  const struct {
    std::string environment, input;
    bool loadsX;
  } cases[] = {{"-u DISPLAY", "/dev/null", false},
               {"--ignore-signal=CHLD DISPLAY=", input, false},
               {"DISPLAY=" + display.name(), "/dev/null", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.environment);
    const testing::TemporaryDirectory logs;
    const Outcome outcome = runTarqValidate(
        "--json",
        c.environment + " TARQ_SYSFS_ROOT='" TARQ_TEST_DATA_DIR "/sysfs/two-buses' " +
            "LD_DEBUG=libs LD_DEBUG_OUTPUT='" + (logs.path() / "ld").string() + "'",
        "", c.input);
    const auto report = nlohmann::json::parse(outcome.out);  // throws on anything extra
    const auto& rows = report.at("rows");
    ASSERT_EQ(rows.size(), 8u);  // their names and order: cli.report_matches_schema
    EXPECT_EQ(rows.at(4), (nlohmann::json{{"testName", "USB 2.0/3.0/3.1"},
                                          {"result", "Pass"},
                                          {"detected", "Highest Available USB Version: 3.1"}}));
    EXPECT_EQ(rows.at(5).at("detected"),
              c.loadsX ? "Screen Dimension 1280 X 1024. " : "Screen Dimension 0 X 0. ");
    EXPECT_EQ(report.at("lines").at(0), rows[0].at("detected"));
    EXPECT_EQ(outcome.exitStatus, 2);  // the operating system fails on Linux
    EXPECT_EQ(outcome.err, "");
    std::string loaded;
    for (const auto& log : std::filesystem::directory_iterator(logs.path())) {
      loaded += testing::readFile(log.path());
    }
    EXPECT_NE(loaded.find("libc.so.6"), std::string::npos);
    EXPECT_EQ(loaded.find("libxcb.so.1") != std::string::npos, c.loadsX);
    EXPECT_EQ(loaded.find("libxcb-randr.so.0") != std::string::npos, c.loadsX);
  }
  ::close(held[0]);
  ::close(held[1]);
}

// Colour only on a terminal, and there not where NO_COLOR is set to something or TERM is dumb.
TEST(TarqValidateTest, ExitStatusesAndStreamsOfEachKindOfRun) {
  const std::string coloured = "[^]*\x1b\\[31mOperating System[^]*";
  // Writing to it fails (and would raise SIGPIPE).
  int brokenPipe[2];
  ASSERT_EQ(::pipe(brokenPipe), 0);
  ::close(brokenPipe[0]);
  const std::string toBrokenPipe = ">&" + std::to_string(brokenPipe[1]);
  const auto usage = [](const std::string& problem) {
    return "tarq-validate: " + problem + " \\(try --help\\)\n";
  };
  const struct {
    std::string arguments, environment, redirection;
    int exitStatus;
    std::string out, err;  // patterns
  } cases[] = {
      {"", "", "", 2, "Check [^\x1b]*\n\n[^\x1b]*", ""},
      {"", "-u NO_COLOR TERM=xterm", "terminal", 2, coloured, ""},
      {"", "NO_COLOR= TERM=xterm", "terminal", 2, coloured, ""},
      {"", "NO_COLOR=1 TERM=xterm", "terminal", 2, "Check [^\x1b]*", ""},
      {"", "-u NO_COLOR TERM=dumb", "terminal", 2, "Check [^\x1b]*", ""},
      {"--json --verbose", "", "", 2, "\\{[^]*\\}\n?",
       "((tarq-validate|/usr/bin/find): [^\n]*\n)*"},
      {"--help", "", "", 0, "Usage: tarq-validate \\[--json \\| --plist\\] [^\n]*\n[^]*", ""},
      {"--version", "", "", 0, "tarq-validate \\d+\\.\\d+\\.\\d+\n", ""},
      {"--jsn", "", "", 64, "", usage("unknown option '--jsn'")},
      {"-x", "", "", 64, "", usage("unknown option '-x'")},
      {"-h", "", "", 0, "Usage: tarq-validate [^]*  -h, --help [^]*", ""},
      {"--json -- --json", "", "", 64, "", usage("unexpected argument '--json'")},
      {"--json extra", "", "", 64, "", usage("unexpected argument 'extra'")},
      {"--help --bogus", "", "", 64, "", usage("unknown option '--bogus'")},
      {"--bogus --version", "", "", 64, "", usage("unknown option '--bogus'")},
      {"--skip ram --json", "", "", 64, "",
       "tarq-validate: unknown check 'ram' [^]*\\(try --help\\)\n"},
      {"--json --skip", "", "", 64, "", usage("option '--skip' needs a value")},
      {"--plist --json", "", "", 64, "", "tarq-validate: options '--json' and '--plist' [^]*"},
      // Linux is never the Mac the client application needs, screen or no screen.
      {"--skip screen --plist", "-u DISPLAY", "", 2, "<\\?xml [^]*</plist>\n", ""},
      {"--json", "", ">/dev/full", 74, "", "[^]*could not write the report[^]*"},
      {"--json", "", toBrokenPipe, 74, "", "tarq-validate: could not write the report\n"},
      {"--json", "", ">&-", 74, "", "[^]*"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments + " " + c.environment + " " + c.redirection);
    const Outcome outcome = runTarqValidate(c.arguments, c.environment, c.redirection);
    EXPECT_EQ(outcome.exitStatus, c.exitStatus);
    EXPECT_TRUE(std::regex_match(outcome.out, std::regex(c.out))) << outcome.out;
    EXPECT_TRUE(std::regex_match(outcome.err, std::regex(c.err))) << outcome.err;
  }
  ::close(brokenPipe[1]);
}

TEST(TarqValidateTest, AToolsComplaintsShowOnlyWithVerbose) {
  testing::TemporaryDirectory tree;
  const std::string program = testing::copyProgramBesideProfiler(
      tree, TARQ_VALIDATE_PATH, "echo 'system_profiler: a complaint' >&2\nexit 1\n");
  EXPECT_EQ(runTarqValidate("--json", "", "", "/dev/null", program).err, "");
  const std::string verbose = runTarqValidate("--json --verbose", "", "", "/dev/null", program).err;
  EXPECT_NE(verbose.find("system_profiler: a complaint\n"), std::string::npos) << verbose;
}

// With too few descriptors left to start a tool, the check reads it as missing.
TEST(TarqValidateTest, AToolThatCannotStartSaysWhyWithVerbose) {
  if (TARQ_SANITIZED_BUILD) {
    GTEST_SKIP() << "the sanitizers' runtimes need descriptors the limit takes away";
  }
  // From small up, until a limit lets the program run and leaves no room for a tool's pipe.
  std::string said;
  for (int limit = 4; limit < 32 && said.find("could not be started") == std::string::npos;
       ++limit) {
    said = runTarqValidate("--verbose", "prlimit --nofile=" + std::to_string(limit)).err;
  }
  EXPECT_NE(said.find("/system_profiler could not be started: Too many open files\n"),
            std::string::npos)
      << said;
}

// As a container's pids.max can, a limit leaves room for the program alone: the pass, which asks
// each tool's fact on its own thread, still reports every row. The limit binds only an ordinary
// user with no other process, so root runs it as a user of its own.
TEST(TarqValidateTest, APassThatCanMakeNoThreadStillReportsEveryRow) {
  if (::getuid() != 0) {
    GTEST_SKIP() << "only root can run it as a user of its own";
  }
  if (TARQ_THREAD_SANITIZED_BUILD) {
    GTEST_SKIP() << "ThreadSanitizer's runtime needs threads of its own, which the limit forbids";
  }
  // A copy the user can reach, wherever the build tree is.
  const testing::TemporaryDirectory directory;
  const std::string program =
      testing::copyProgramBesideProfiler(directory, TARQ_VALIDATE_PATH, "exit 1\n");
  for (const char* path : {"", "bin", "bin/tarq-validate", "libexec", "libexec/tarq",
                           "libexec/tarq/system_profiler"}) {
    std::filesystem::permissions(directory.path() / path, std::filesystem::perms(0755));
  }
  const std::string user = std::to_string(200000 + ::getpid() % 100000);
  // LeakSanitizer's check at the end needs a thread of its own, which the limit forbids.
  const Outcome outcome =
      runTarqValidate("--json",
                      "ASAN_OPTIONS=detect_leaks=0 setpriv --reuid=" + user + " --regid=" + user +
                          " --clear-groups prlimit --nproc=1",
                      "", "/dev/null", program);
  EXPECT_EQ(outcome.exitStatus, 2);  // the operating system fails on Linux
  EXPECT_EQ(nlohmann::json::parse(outcome.out).at("rows").size(), 8u);
}

TEST(PrefixedLinesTest, EveryLineOfADiagnosticSaysWhereItComesFrom) {
  std::ostringstream errors;
  PrefixedLineBuffer prefixed(errors.rdbuf(), "tarq-validate: ");
  std::ostream stream(&prefixed);
  SystemValuesUtility::setDiagnosticStream(stream);
  SystemValuesUtility::writeDiagnosticLine("2");
  SystemValuesUtility::writeDiagnosticLine(
      "/Applications/Google Chrome.app\n/Applications/Old/Google Chrome.app\n");
  SystemValuesUtility::setDiagnosticStream(std::cout);
  EXPECT_EQ(errors.str(),
            "tarq-validate: 2\n"
            "tarq-validate: /Applications/Google Chrome.app\n"
            "tarq-validate: /Applications/Old/Google Chrome.app\n"
            "tarq-validate: \n");
}

}  // namespace
}  // namespace tarq
