#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
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

// Short enough for tests, long enough for a shell script to start on a busy machine.
ToolRunLimits shortLimits(int sleeps = 2, milliseconds sleepLength = milliseconds(500)) {
  return {.maximumSleeps = sleeps,
          .sleepLength = sleepLength,
          .terminateGrace = milliseconds(200),
          .outputIdleGrace = milliseconds(100),
          .outputAfterExitLimit = milliseconds(1000)};
}

struct ToolCase {
  std::string name{};
  std::string script{};
  int32_t exitStatus = 0;
  std::string output{};
  ToolRunLimits limits = shortLimits();
  std::vector<std::string> arguments{};
  ToolForm form = ToolForm::script;
  // How long after "<script>.ready" the test makes "<script>.go"; never when negative.
  milliseconds answerAfter{-1};
  bool cancelWhenReady = false;
  bool outputContained = false;  // rather than exactly the output
};

// The script tells the test it is ready, then waits for the test's answer.
std::string awaiting(const std::string& then) {
  return "touch \"$0.ready\"; until [ -e \"$0.go\" ]; do sleep 0.01; done; " + then;
}

using Runner = decltype(&runTool);

// A script notes what it started in the background in "<script>.pid" (in its group) or
// "<script>.left" (outside it).
pid_t pidIn(const std::string& file) {
  pid_t pid = 0;
  std::ifstream(file) >> pid;
  return pid;
}

// Whether the process has ended or ends within seconds: what a run misses sleeps far longer.
bool endsSoon(pid_t pid) {
  const int handle = pid > 0 ? static_cast<int>(::syscall(SYS_pidfd_open, pid, 0u)) : -1;
  pollfd entry{handle, POLLIN, 0};
  const bool ended = handle < 0 || ::poll(&entry, 1, 5000) == 1;
  if (handle >= 0) {
    ::close(handle);
  }
  return ended;
}

class ToolRunTest : public ::testing::Test {
 protected:
  void expectRun(Runner runner, const ToolCase& c) {
    SCOPED_TRACE(c.name);
    // In a folder whose name has a blank.
    const std::string path = testing::writeTool(directory_, "my tools/" + std::to_string(++tools_),
                                                c.form, c.script + "\n");
    RunCancellation cancellation;
    std::atomic<bool> ended{c.answerAfter.count() < 0 && !c.cancelWhenReady};
    ToolRun run;
    {
      // Answers the script once it is ready, unless the run has ended first.
      const std::jthread answer([&] {
        while (!ended && !std::filesystem::exists(path + ".ready")) {
          ::usleep(1000);
        }
        if (!ended && c.cancelWhenReady) {
          cancellation.cancel();
        } else if (!ended) {
          std::this_thread::sleep_for(c.answerAfter);
          std::ofstream(path + ".go").put('\n');
        }
      });
      const CancellationScope scope(cancellation);
      run = runner(path, c.arguments, c.limits);
      ended = true;
    }
    if (const pid_t left = pidIn(path + ".left"); left > 0) {
      ::kill(left, SIGKILL);
    }
    EXPECT_TRUE(endsSoon(pidIn(path + ".pid")));
    EXPECT_EQ(run.launched, c.form == ToolForm::script);
    if (run.launched) {
      EXPECT_EQ(run.exitStatus, c.exitStatus);
    }
    EXPECT_TRUE(c.outputContained ? run.output.find(c.output) != std::string::npos
                                  : run.output == c.output)
        << run.output.substr(0, 200);
  }

  testing::TemporaryDirectory directory_;
  int tools_ = 0;
};

// Whatever the outcome, a run leaves no descriptor, child or process of its group behind; a
// cancelled or timed-out run's tool is asked first.
TEST_F(ToolRunTest, OutcomesOfBothRunsAndTheGuardedRunsBound) {
  // Started outside the tool's process group, `body` outlives the tool once it is ready.
  const auto leaving = [](const std::string& body) {
    return "setsid sh -c '" + body + "' \"$0\" & echo $! > \"$0.left\"; " +
           "until [ -e \"$0.ready\" ]; do sleep 0.01; done; echo done";
  };
  std::string counted;  // eight pipes' worth
  for (int number = 1; number <= 1200000; ++number) {
    counted += std::to_string(number) + '\n';
  }
  ToolRunLimits smallOutput = shortLimits(), timeoutGrace = shortLimits(),
                stopGrace = shortLimits();
  smallOutput.maximumOutputBytes = 1024 * 1024;
  // Each end has its own grace for a tool that ignores the request; the other is an hour.
  timeoutGrace.stopGrace = std::chrono::hours(1);
  stopGrace.terminateGrace = std::chrono::hours(1);
  const std::string ignoring = "trap '' TERM; sleep 60 & echo $! > \"$0.pid\"; ";
  const ToolCase cases[] = {
      {"a failure drops the output", "echo partial; exit 1", 1},
      {"a killed tool", "echo partial; kill -KILL $$", 128 + SIGKILL},
      {.name = "arguments reach the tool as they are",
       .script = "printf '[%s]\\n' \"$@\"",
       .output = "[google\\ chrome.app]\n[two words]\n[]\n[*]\n[$HOME]\n[a\"b'c]\n[--version]\n",
       .arguments = {"google\\ chrome.app", "two words", "", "*", "$HOME", "a\"b'c", "--version"}},
      {"a descendant in the group holds the pipe", "sleep 60 & echo $! > \"$0.pid\"; echo done", 0,
       "done\n"},
      // Outside the group, only a quiet spell after the exit ends the reading.
      {.name = "a descendant outside the group holds the pipe, quiet",
       .script = leaving(awaiting("echo late; exec sleep 30")),
       .output = "done\n",
       .answerAfter = milliseconds(600)},
      {.name = "a descendant outside the group keeps writing",
       .script = leaving("touch \"$0.ready\"; while :; do echo more; sleep 0.01; done"),
       .output = "done\nmore\n",
       .outputContained = true},
      // Killed at the bound, not merely no longer read: this one would wait.
      {"output past the bound, then waiting",
       "trap '' PIPE; head -c 4194304 /dev/zero; " + awaiting("exit 0"), 128 + SIGKILL, "",
       smallOutput},
      // Undrained, the tool would block; read over many reads, every byte in its place.
      {"output larger than the pipe", "exec seq 1200000", 0, counted, shortLimits(30)},
      {.name = "not executable", .script = "exit 0", .form = ToolForm::notExecutable},
      {.name = "missing", .form = ToolForm::missing},
      {.name = "cancelled",
       .script = "sleep 60 & echo $! > \"$0.pid\"; trap 'exit 5' TERM; touch \"$0.ready\"; wait",
       .exitStatus = 5,
       .cancelWhenReady = true},
      {.name = "cancelled, ignoring the request",
       .script = ignoring + "touch \"$0.ready\"; wait",
       .exitStatus = 128 + SIGKILL,
       .limits = stopGrace,
       .cancelWhenReady = true},
  };
  const ToolCase guardedCases[] = {
      // Outlasts a sleep, well within its bound: not asked to terminate.
      {.name = "ends after a sleep, within its bound",
       .script = awaiting("echo finished"),
       .output = "finished\n",
       .limits = shortLimits(50, milliseconds(100)),
       .answerAfter = milliseconds(100)},
      // Answered half a sleep after its one sleep.
      {.name = "still running after its one sleep",
       .script = awaiting("echo late"),
       .exitStatus = 128 + SIGTERM,
       .limits = shortLimits(1, milliseconds(1000)),
       .answerAfter = milliseconds(1500)},
      // Asked to terminate, the run has failed whatever the tool then returns.
      {"ends well when asked to terminate",
       "trap 'echo partial; exit 0' TERM; echo start; sleep 60 & echo $! > \"$0.pid\"; wait",
       128 + SIGTERM},
      {"answers the request in its own way", "trap 'exit 3' TERM; sleep 30 & wait", 3},
      {"ignores the request", ignoring + "wait", 128 + SIGKILL, "", timeoutGrace},
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

// Ours may be a pipe that never closes, or closed; ignored or blocked signals would change the
// tool, and SIGTTOU, blocked, keeps a tool writing to our terminal from being stopped.
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

  // ls's own listing of the folder is the 3.
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
  // Only the 31 standard signals: glibc's spawn leaves its two real-time ones ignored.
  EXPECT_EQ(std::stoull(signalState.substr(17), nullptr, 16) & 0x7fffffffu, 0u) << signalState;
}

TEST_F(ToolRunTest, OnceCancelledARunDoesNotStart) {
  const std::string started = directory_.string() + "/started";
  RunCancellation cancellation;
  cancellation.cancel();
  CancellationScope scope(cancellation);
  EXPECT_FALSE(runTool("/bin/sh", {"-c", "touch '" + started + "'"}).launched);
  EXPECT_FALSE(std::filesystem::exists(started));
}

// Its group's id may pass to another process, which the program's end would then kill.
TEST_F(ToolRunTest, AToolReapedElsewhereLeavesTheGroupTable) {
  const std::size_t before = trackedGroupCount();
  StartedToolRun run("/bin/sh", {"-c", "exit 0"}, shortLimits());
  EXPECT_EQ(trackedGroupCount(), before + 1);
  ASSERT_GT(::waitpid(-1, nullptr, 0), 0);
  testing::CapturedDiagnostics diagnostics;
  EXPECT_NE(run.finish().exitStatus, 0);
  EXPECT_EQ(trackedGroupCount(), before);
  EXPECT_EQ(diagnostics.text(),
            "tool run: /bin/sh was reaped by someone else (is SIGCHLD ignored?); its run counts "
            "as failed\n");
}

// With SIGCHLD ignored the kernel reaps our tools at once, as above, so how they ended is lost.
TEST_F(ToolRunTest, IgnoredChildSignalFailsRunsUntilPutBack) {
  ::signal(SIGCHLD, SIG_IGN);
  const testing::CapturedDiagnostics diagnostics;
  EXPECT_NE(runTool("/bin/sh", {"-c", "echo hi"}).exitStatus, 0);
  prepareProcessForTools();
  EXPECT_EQ(runTool("/bin/sh", {"-c", "echo hi"}).exitStatus, 0);
}

}  // namespace
}  // namespace tarq::SystemValuesUtility
