// tarq-validate end to end, as a terminal user or a fleet tool runs it on this machine, and the
// prefix of its diagnostic lines.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "cli/PrefixedLines.h"
#include "report/Report.h"
#include "support/ProgramCopy.h"
#include "support/TemporaryDirectory.h"
#include "support/VirtualDisplay.h"
#include "system/Diagnostics.h"
#include "validation/CheckHarness.h"

namespace tarq {
namespace {

struct Outcome {
  int exitStatus = -1;
  std::string out, err;
};

// Runs `arguments` (shell words) after the program, with standard output and error in files
// unless `redirection` says otherwise; the redirection "terminal" runs it on a pseudo-terminal
// through script(1), which copies what it wrote.
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

// The JSON report holds one row per check in order, with the stand-in profiler beside the
// program read on the fixture tree, and nothing else; standard error stays empty. The program
// does not link the X libraries: a pass loads them only to ask a display it is given for the
// screen, as the dynamic loader's log of each process of the pass shows. Started by a launcher
// that ignores SIGCHLD, with a standard input that never closes, the report is that of an
// ordinary start: the tools are still waited for, and none waits on us.
TEST(TarqValidateTest, JsonReportOfEachKindOfStart) {
  const testing::VirtualDisplay display(1280, 1024);
  const testing::TemporaryDirectory directory;
  const std::string input = directory.string() + "/input";
  ASSERT_EQ(::mkfifo(input.c_str(), 0600), 0);
  const int held = ::open(input.c_str(), O_RDWR);
  ASSERT_GE(held, 0);
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
    std::vector<ResultRow> rows;
    for (const auto& row : report.at("rows")) {
      rows.push_back({row.at("testName"), row.at("result"), row.at("detected")});
    }
    ASSERT_EQ(rows.size(), 8u);  // their names and order: cli.report_matches_schema
    EXPECT_EQ(rows.at(4),
              (ResultRow{"USB 2.0/3.0/3.1", "Pass", "Highest Available USB Version: 3.1"}));
    EXPECT_EQ(rows.at(5).detected,
              c.loadsX ? "Screen Dimension 1280 X 1024. " : "Screen Dimension 0 X 0. ");
    EXPECT_EQ(report.at("lines").at(0), rows[0].detected);
    EXPECT_EQ(outcome.exitStatus, exitStatusFor(countStatuses(rows)));
    EXPECT_EQ(outcome.err, "");
    std::string loaded;
    for (const auto& log : std::filesystem::directory_iterator(logs.path())) {
      loaded += testing::readFile(log.path());
    }
    EXPECT_NE(loaded.find("libc.so.6"), std::string::npos);
    EXPECT_EQ(loaded.find("libxcb.so.1") != std::string::npos, c.loadsX);
    EXPECT_EQ(loaded.find("libxcb-randr.so.0") != std::string::npos, c.loadsX);
  }
  ::close(held);
}

// Help and version go to standard output; usage errors exit with 64 and a failed write with 74.
// Standard error stays quiet without --verbose, even of what the tools a pass runs complain
// about; with it, it has the system's diagnostics, each line prefixed with the program's name,
// and the tools' own messages, which name their tool. A text report has colour only on a
// terminal, and there not where NO_COLOR is set to something or TERM is dumb.
TEST(TarqValidateTest, ExitStatusesAndStreamsOfEachKindOfRun) {
  const std::string coloured = "[^]*\x1b\\[31mOperating System[^]*";
  // A pipe whose reader has gone: writing to it fails (and would raise SIGPIPE).
  int brokenPipe[2];
  ASSERT_EQ(::pipe(brokenPipe), 0);
  ::close(brokenPipe[0]);
  const std::string toBrokenPipe = ">&" + std::to_string(brokenPipe[1]);
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
      {"--jsn", "", "", 64, "", "tarq-validate: unknown option '--jsn' \\(try --help\\)\n"},
      {"-x", "", "", 64, "", "tarq-validate: unknown option '-x' \\(try --help\\)\n"},
      {"-h", "", "", 0, "Usage: tarq-validate [^]*  -h, --help [^]*", ""},
      {"--json -- --json", "", "", 64, "",
       "tarq-validate: unexpected argument '--json' \\(try --help\\)\n"},
      {"--json extra", "", "", 64, "",
       "tarq-validate: unexpected argument 'extra' \\(try --help\\)\n"},
      {"--help --bogus", "", "", 64, "",
       "tarq-validate: unknown option '--bogus' \\(try --help\\)\n"},
      {"--bogus --version", "", "", 64, "",
       "tarq-validate: unknown option '--bogus' \\(try --help\\)\n"},
      {"--skip ram --json", "", "", 64, "",
       "tarq-validate: unknown check 'ram' [^]*\\(try --help\\)\n"},
      {"--json --skip", "", "", 64, "",
       "tarq-validate: option '--skip' needs a value \\(try --help\\)\n"},
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

// What a tool of the pass writes to standard error reaches ours only with --verbose: here the
// stand-in profiler beside a copy of the program complains and fails.
TEST(TarqValidateTest, AToolsComplaintsShowOnlyWithVerbose) {
  testing::TemporaryDirectory tree;
  const std::string program = testing::copyProgramBesideProfiler(
      tree, TARQ_VALIDATE_PATH, "echo 'system_profiler: a complaint' >&2\nexit 1\n");

  const Outcome quiet = runTarqValidate("--json", "", "", "/dev/null", program);
  const Outcome verbose = runTarqValidate("--json --verbose", "", "", "/dev/null", program);
  EXPECT_EQ(quiet.err, "");
  EXPECT_NE(verbose.err.find("system_profiler: a complaint\n"), std::string::npos) << verbose.err;
}

// With too few descriptors left to start a tool, the check reads it as missing; --verbose says
// why it did not start.
TEST(TarqValidateTest, AToolThatCannotStartSaysWhyWithVerbose) {
  if (TARQ_SANITIZED_BUILD) {
    // The sanitizers' runtimes need descriptors of their own (UndefinedBehaviorSanitizer checks
    // an object's type through a pipe), so under such a limit they, not the program, fail.
    GTEST_SKIP() << "the sanitizers need descriptors the limit takes away";
  }
  testing::TemporaryDirectory directory;
  const std::string err = (directory.path() / "err").string();
  // How many descriptors the program itself needs depends on the build (a sanitizer's runtime
  // opens some): the limits are tried from small up, until one lets the program run and leaves
  // no room for the first tool's pipe.
  std::string said;
  for (rlim_t limit = 4; limit < 32 && said.find("could not be started") == std::string::npos;
       ++limit) {
    const pid_t child = ::fork();
    if (child == 0) {
      const int errorFile = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(errorFile, STDERR_FILENO);
      ::close_range(3, ~0u, 0);
      const int output = ::open("/dev/null", O_WRONLY);
      ::dup2(output, STDOUT_FILENO);
      ::close(output);
      const rlimit few{limit, limit};
      ::setrlimit(RLIMIT_NOFILE, &few);
      ::execl(TARQ_VALIDATE_PATH, TARQ_VALIDATE_PATH, "--verbose", nullptr);
      ::_exit(127);
    }
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    said = testing::readFile(err);
  }
  EXPECT_NE(said.find("/system_profiler could not be started: Too many open files\n"),
            std::string::npos)
      << said;
}

// The threads (and, with the thread, the tasks) that user `uid` runs now.
int tasksOf(uid_t uid) {
  int tasks = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    struct stat owner {};
    if (::stat(entry.path().c_str(), &owner) == 0 && owner.st_uid == uid &&
        entry.path().filename().string().find_first_not_of("0123456789") == std::string::npos) {
      std::error_code gone;
      const auto threads = std::filesystem::directory_iterator(entry.path() / "task", gone);
      tasks += static_cast<int>(std::distance(threads, std::filesystem::directory_iterator()));
    }
  }
  return tasks;
}

// Under a limit on processes that leaves room for the program alone (as a container's pids.max
// can), no thread can be made: the pass asks each tool's fact on its own thread and still reports
// every row. The limit binds only an ordinary user, so root runs it as nobody.
TEST(TarqValidateTest, APassThatCanMakeNoThreadStillReportsEveryRow) {
  const uid_t user = ::getuid() == 0 ? 65534 : ::getuid();
  if (user != 65534) {
    GTEST_SKIP() << "an ordinary user's other processes would share the limit";
  }
  if (TARQ_THREAD_SANITIZED_BUILD) {
    GTEST_SKIP() << "ThreadSanitizer's runtime needs threads of its own, which the limit forbids";
  }
  // A copy the user can reach, wherever the build tree is.
  const testing::TemporaryDirectory directory;
  std::filesystem::permissions(directory.path(), std::filesystem::perms(0755));
  const std::string program =
      testing::copyProgramBesideProfiler(directory, TARQ_VALIDATE_PATH, "exit 1\n");
  for (const char* folder : {"bin", "libexec", "libexec/tarq"}) {
    std::filesystem::permissions(directory.path() / folder, std::filesystem::perms(0755));
  }
  std::filesystem::permissions(program, std::filesystem::perms(0755));
  std::filesystem::permissions(directory.path() / "libexec/tarq/system_profiler",
                               std::filesystem::perms(0755));
  const std::string out = directory.string() + "/out";
  const std::string limit = "--nproc=" + std::to_string(tasksOf(user) + 1);
  const pid_t child = ::fork();
  if (child == 0) {
    const int file = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (file < 0 || ::dup2(file, STDOUT_FILENO) < 0 || ::setgid(user) != 0 || ::setuid(user) != 0) {
      ::_exit(255);
    }
    // LeakSanitizer's check at the end needs a thread of its own, which the limit forbids.
    ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
    ::execlp("prlimit", "prlimit", limit.c_str(), program.c_str(), "--json", nullptr);
    ::_exit(254);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 2);  // the operating system fails on Linux
  EXPECT_EQ(nlohmann::json::parse(testing::readFile(out)).at("rows").size(), 8u);
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
