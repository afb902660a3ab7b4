#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "support/CapturedDiagnostics.h"
#include "support/FakeTool.h"
#include "support/ProcessCensus.h"
#include "system/process/RunCancellation.h"
#include "system/process/RunningToolGroups.h"
#include "system/process/ToolRun.h"

namespace tarq::SystemValuesUtility {
namespace {

using std::chrono::milliseconds;
using testing::ToolForm;

// Bounds short enough for tests, long enough for a shell script to start on a busy machine.
ToolRunLimits shortLimits(int sleeps = 2, milliseconds sleepLength = milliseconds(500)) {
  return {.maximumSleeps = sleeps,
          .sleepLength = sleepLength,
          .terminateGrace = milliseconds(200),
          .outputIdleGrace = milliseconds(100),
          .outputAfterExitLimit = milliseconds(1000)};
}

// How a case's expected output is compared with the run's.
enum class Output { exactly, contains };

struct ToolCase {
  std::string name{};
  std::string script{};
  int32_t exitStatus = 0;
  std::string output{};
  ToolRunLimits limits = shortLimits();
  std::vector<std::string> arguments{};
  ToolForm form = ToolForm::script;
  // How long after the script says "<script>.ready" the test creates "<script>.go"; never when
  // negative.
  milliseconds answerAfter{-1};
  Output compared = Output::exactly;
};

// A script's part that waits for the test: it says so in "<script>.ready", then waits for
// "<script>.go".
std::string awaiting(const std::string& then) {
  return "touch \"$0.ready\"; until [ -e \"$0.go\" ]; do sleep 0.01; done; " + then;
}

using Runner = ToolRun (*)(const std::string&, const std::vector<std::string>&,
                           const ToolRunLimits&);

// A script may start something in the background, noting its process id in "<script>.pid".
pid_t backgroundOf(const std::string& script) {
  pid_t pid = 0;
  std::ifstream(script + ".pid") >> pid;
  return pid;
}

class ToolRunTest : public ::testing::Test {
 protected:
  // Writes the script into a folder whose name has a blank, and returns its path.
  std::string tool(std::string_view script, ToolForm form = ToolForm::script) {
    return testing::writeTool(directory_, "my tools/" + std::to_string(++tools_), form, script);
  }

  void expectRun(Runner runner, const ToolCase& c) {
    SCOPED_TRACE(c.name);
    const std::string path = tool(c.script + "\n", c.form);
    std::atomic<bool> ended{false};
    std::thread answer([&] {
      while (c.answerAfter.count() >= 0 && !ended && !std::filesystem::exists(path + ".ready")) {
        ::usleep(1000);
      }
      if (c.answerAfter.count() >= 0 && !ended) {
        std::this_thread::sleep_for(c.answerAfter);
        std::ofstream(path + ".go").put('\n');
      }
    });
    const ToolRun run = runner(path, c.arguments, c.limits);
    ended = true;
    answer.join();
    if (const pid_t background = backgroundOf(path); background > 0) {
      ::kill(background, SIGKILL);
    }
    EXPECT_EQ(run.launched, c.form == ToolForm::script);
    if (run.launched) {
      EXPECT_EQ(run.exitStatus, c.exitStatus);
    }
    EXPECT_TRUE(c.compared == Output::contains ? run.output.find(c.output) != std::string::npos
                                               : run.output == c.output)
        << run.output.substr(0, 200);
  }

  testing::TemporaryDirectory directory_;
  int tools_ = 0;
};

// Whatever the outcome, a run leaves no descriptor or child process behind.
TEST_F(ToolRunTest, OutcomesOfBothRunsAndTheGuardedRunsBound) {
  // The tool starts `body` outside its process group and, once that has said it is ready, ends.
  const auto leaving = [](const std::string& body) {
    return "setsid sh -c '" + body + "' \"$0\" & echo $! > \"$0.pid\"; " +
           "until [ -e \"$0.ready\" ]; do sleep 0.01; done; echo done";
  };
  ToolRunLimits smallOutput = shortLimits();
  smallOutput.maximumOutputBytes = 1024 * 1024;
  const ToolCase cases[] = {
      {"a line", "printf 'Mono JIT compiler version 6.12.0\\n'", 0,
       "Mono JIT compiler version 6.12.0\n"},
      {"a failure drops the output", "echo partial; exit 1", 1},
      {"a killed tool", "echo partial; kill -KILL $$", 128 + SIGKILL},
      {"arguments reach the tool as they are",
       "printf '[%s]\\n' \"$@\"",
       0,
       "[google\\ chrome.app]\n[two words]\n[]\n[*]\n[$HOME]\n[a\"b'c]\n[--version]\n",
       shortLimits(),
       {"google\\ chrome.app", "two words", "", "*", "$HOME", "a\"b'c", "--version"}},
      // A descendant holds the pipe; outside the process group (left before the tool exits) only
      // the quiet spell after the exit ends the reading: what it writes six quiet spells later
      // is not waited for.
      {"a descendant in the group holds the pipe", "sleep 300 & echo $! > \"$0.pid\"; echo done", 0,
       "done\n"},
      {.name = "a descendant outside the group holds the pipe, quiet",
       .script = leaving(awaiting("echo late; exec sleep 30")),
       .output = "done\n",
       .answerAfter = milliseconds(600)},
      // One that keeps writing is cut off at the limit.
      {.name = "a descendant outside the group keeps writing",
       .script = leaving("touch \"$0.ready\"; while :; do echo more; sleep 0.01; done"),
       .output = "done\nmore\n",
       .compared = Output::contains},
      {"output past the bound", "exec head -c 4194304 /dev/zero", 128 + SIGKILL, "", smallOutput},
      // Past the bound the tool is killed, not merely no longer read: this one would wait.
      {"output past the bound, then waiting",
       "trap '' PIPE; head -c 4194304 /dev/zero; " + awaiting("exit 0"), 128 + SIGKILL, "",
       smallOutput},
      // Drained while the tool runs, or the tool would block on a full pipe: eight times the
      // pipe's size.
      {"output larger than the pipe", "exec head -c 8388608 /dev/zero", 0,
       std::string(8 << 20, '\0'), shortLimits(30)},
      {.name = "not executable", .script = "exit 0", .form = ToolForm::notExecutable},
      {.name = "missing", .form = ToolForm::missing},
  };
  // The guarded run bounds the wait.
  const ToolCase guardedCases[] = {
      // Answered a sleep after it has started, so it outlasts at least one sleep, and well
      // within its bound: not asked to terminate.
      {.name = "ends after a sleep, within its bound",
       .script = awaiting("echo finished"),
       .output = "finished\n",
       .limits = shortLimits(50, milliseconds(100)),
       .answerAfter = milliseconds(100)},
      // Answered half a sleep after its one sleep: the count of sleeps shows only in time.
      {.name = "still running after its one sleep",
       .script = awaiting("echo late"),
       .exitStatus = 128 + SIGTERM,
       .limits = shortLimits(1, milliseconds(1000)),
       .answerAfter = milliseconds(1500)},
      {"never ends on its own", "echo started; exec sleep 30", 128 + SIGTERM},
      // A run that had to be asked to terminate has failed, whatever the tool then returns.
      {"ends well when asked to terminate",
       "trap 'echo partial; exit 0' TERM; echo start; sleep 30 & wait", 128 + SIGTERM},
      // The request comes first and the tool may answer it in its own way within the grace.
      {"answers the request in its own way", "trap 'exit 3' TERM; sleep 30 & wait", 3},
      {"ignores the request", "trap '' TERM; echo started; exec sleep 30", 128 + SIGKILL},
  };
  const auto before = testing::ProcessCensus::take();
  for (const Runner runner : {runTool, runToolGuarded}) {
    SCOPED_TRACE(runner == runTool ? "runTool" : "runToolGuarded");
    for (const ToolCase& c : cases) {
      expectRun(runner, c);
    }
  }
  for (const ToolCase& c : guardedCases) {
    expectRun(runToolGuarded, c);
  }
  const auto after = testing::ProcessCensus::take();
  EXPECT_EQ(after.openDescriptors, before.openDescriptors);
  EXPECT_EQ(after.childProcesses, before.childProcesses);
}

// The child gets /dev/null as standard input, never ours (a tool reading a pipe that stays open
// would hang the run), and as standard error where ours is closed; no other descriptor of ours,
// default handling of the signals we ignore and nothing blocked but SIGTTOU, which would stop a
// tool writing to our terminal from the background.
TEST_F(ToolRunTest, ChildStartsClean) {
  int input[2];
  ASSERT_EQ(::pipe(input), 0);
  const int savedInput = ::dup(STDIN_FILENO), savedError = ::dup(STDERR_FILENO);
  ::dup2(input[0], STDIN_FILENO);
  ASSERT_EQ(::dup2(input[0], 200), 200);
  const auto previousPipe = ::signal(SIGPIPE, SIG_IGN);
  const auto previousTerm = ::signal(SIGTERM, SIG_IGN);
  sigset_t blocked, previousMask;
  sigemptyset(&blocked);
  sigaddset(&blocked, SIGTERM);
  sigaddset(&blocked, SIGUSR1);
  ::pthread_sigmask(SIG_BLOCK, &blocked, &previousMask);
  ::close(STDERR_FILENO);

  // Each tool looks at itself as it was started; ls's own listing of the folder is the 3. Of
  // the ignored signals only the 31 standard ones count: glibc's spawn leaves its two internal
  // real-time signals ignored.
  const std::string descriptors = runTool("/bin/ls", {"/proc/self/fd"}).output;
  const std::string standardStreams =
      runTool("/bin/readlink", {"/proc/self/fd/0", "/proc/self/fd/2"}).output;
  const std::string signalState =
      runTool("/bin/sed", {"-n", "s/^Sig\\(Blk\\|Ign\\):.//p", "/proc/self/status"}).output;

  ::dup2(savedInput, STDIN_FILENO);
  ::dup2(savedError, STDERR_FILENO);
  for (const int descriptor : {savedInput, savedError, input[0], input[1], 200}) {
    ::close(descriptor);
  }
  ::pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
  ::signal(SIGPIPE, previousPipe);
  ::signal(SIGTERM, previousTerm);
  EXPECT_EQ(descriptors, "0\n1\n2\n3\n");
  EXPECT_EQ(standardStreams, "/dev/null\n/dev/null\n");
  ASSERT_EQ(signalState.size(), 34u) << signalState;
  EXPECT_EQ(signalState.substr(0, 17), "0000000000200000\n");
  EXPECT_EQ(std::stoull(signalState.substr(17), nullptr, 16) & 0x7fffffffu, 0u) << signalState;
}

// Whether the process `pid`, an orphan of a run and so this test's child (a subreaper's), was
// ended by a signal; one the run missed ends on its own after its sleep. One that ended before
// its parent was reaped by that parent: it is gone.
bool killed(pid_t pid) {
  int status = 0;
  return ::waitpid(pid, &status, 0) == pid ? WIFSIGNALED(status) : ::kill(pid, 0) != 0;
}

// Whatever a run started in the tool's process group ends with the run, whether the tool ended
// on its own, timed out or was cancelled; and a cancelled run's tool is asked first.
TEST_F(ToolRunTest, NothingARunStartedOutlivesIt) {
  ::prctl(PR_SET_CHILD_SUBREAPER, 1);
  const std::string started = directory_.string() + "/started";
  // Each end waits its own grace for a tool that ignores the request: the other is an hour.
  ToolRunLimits timeoutGrace = shortLimits();
  timeoutGrace.stopGrace = std::chrono::hours(1);
  ToolRunLimits stopGrace = shortLimits();
  stopGrace.terminateGrace = std::chrono::hours(1);
  const std::string ignoring = "trap '' TERM; sleep 60 & echo $! > \"$0.pid\"; ";
  const struct {
    std::string name;
    std::string script;
    Runner runner;
    bool cancel;
    int32_t exitStatus;
    ToolRunLimits limits = shortLimits();
  } cases[] = {
      {"the tool ended on its own", "sleep 60 & echo $! > \"$0.pid\"; echo done", runTool, false,
       0},
      {"the tool timed out", "sh -c 'sleep 60; echo x' & echo $! > \"$0.pid\"; wait",
       runToolGuarded, false, 128 + SIGTERM},
      {"the run was cancelled",
       "sleep 60 & echo $! > \"$0.pid\"; trap 'exit 5' TERM; touch '" + started + "'; wait",
       runTool, true, 5},
      {"the tool timed out and ignores the request", ignoring + "wait", runToolGuarded, false,
       128 + SIGKILL, timeoutGrace},
      {"the run was cancelled and the tool ignores the request",
       ignoring + "touch '" + started + "'; wait", runTool, true, 128 + SIGKILL, stopGrace},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = tool(c.script);
    RunCancellation cancellation;
    std::thread canceller([&] {
      while (c.cancel && !std::filesystem::exists(started)) {
        ::usleep(1000);
      }
      if (c.cancel) {
        cancellation.cancel();
      }
    });
    ToolRun run;
    {
      CancellationScope scope(cancellation);
      run = c.runner(path, {}, c.limits);
    }
    canceller.join();
    std::filesystem::remove(started);
    EXPECT_EQ(run.exitStatus, c.exitStatus);
    EXPECT_TRUE(killed(backgroundOf(path)));
  }
  while (::waitpid(-1, nullptr, WNOHANG) > 0) {
  }
  ::prctl(PR_SET_CHILD_SUBREAPER, 0);
  // Once cancelled, a run does not start.
  RunCancellation cancellation;
  cancellation.cancel();
  CancellationScope scope(cancellation);
  EXPECT_FALSE(runTool("/bin/sh", {"-c", "touch '" + started + ".again'"}).launched);
  EXPECT_FALSE(std::filesystem::exists(started + ".again"));
}

// A tool reaped by someone else leaves the table of running groups at once: its group's id may
// pass to another process, which the program's end would otherwise kill.
TEST_F(ToolRunTest, AToolReapedElsewhereLeavesTheGroupTable) {
  const std::size_t before = trackedGroupCount();
  StartedToolRun run("/bin/sh", {"-c", "exit 0"}, shortLimits());
  EXPECT_EQ(trackedGroupCount(), before + 1);
  ASSERT_GT(::waitpid(-1, nullptr, 0), 0);
  testing::CapturedDiagnostics diagnostics;
  EXPECT_NE(run.finish().exitStatus, 0);
  EXPECT_EQ(trackedGroupCount(), before);
}

// With SIGCHLD ignored the kernel reaps our tools at once: the run cannot know how they ended
// and says so. The programs put SIGCHLD back first thing.
TEST_F(ToolRunTest, IgnoredChildSignalIsSaidAndPutBack) {
  ::signal(SIGCHLD, SIG_IGN);
  testing::CapturedDiagnostics diagnostics;
  EXPECT_NE(runTool("/bin/sh", {"-c", "echo hi"}).exitStatus, 0);
  EXPECT_EQ(diagnostics.text(),
            "tool run: /bin/sh was reaped by someone else (is SIGCHLD ignored?); its run counts "
            "as failed\n");
  prepareProcessForTools();
  EXPECT_EQ(runTool("/bin/sh", {"-c", "echo hi"}).exitStatus, 0);
}

}  // namespace
}  // namespace tarq::SystemValuesUtility
