#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "support/CapturedDiagnostics.h"
#include "support/FakeTool.h"
#include "system/process/ToolRun.h"

namespace tarq::SystemValuesUtility {
namespace {

using std::chrono::milliseconds;

// Bounds short enough for tests, long enough for a shell script to start on a busy machine.
ToolRunLimits shortLimits() {
  return {.maximumSleeps = 2,
          .sleepLength = milliseconds(500),
          .terminateGrace = milliseconds(200),
          .outputIdleGrace = milliseconds(100),
          .outputAfterExitLimit = milliseconds(1000)};
}

enum class Form { kExecutable, kNotExecutable, kMissing };

struct ToolCase {
  std::string name;
  std::string script;
  std::vector<std::string> arguments;
  int32_t exitStatus;
  std::string output;
  bool launched = true;
  Form form = Form::kExecutable;
  ToolRunLimits limits = shortLimits();
};

using Runner = ToolRun (*)(const std::string&, const std::vector<std::string>&,
                           const ToolRunLimits&);
const std::pair<const char*, Runner> kRunners[] = {{"runTool", runTool},
                                                   {"runToolGuarded", runToolGuarded}};

class ToolRunTest : public ::testing::Test {
 protected:
  // Our standard input is a pipe that never closes: a tool that inherited it and read would
  // hang the run.
  void SetUp() override {
    ASSERT_EQ(::pipe(openInput_), 0);
    savedInput_ = ::dup(STDIN_FILENO);
    ::dup2(openInput_[0], STDIN_FILENO);
  }
  void TearDown() override {
    ::dup2(savedInput_, STDIN_FILENO);
    for (const int descriptor : {savedInput_, openInput_[0], openInput_[1]}) {
      ::close(descriptor);
    }
  }

  // Writes a /bin/sh script into a folder whose name has a blank, and returns its path.
  std::string tool(const ToolCase& c) {
    const std::string relative = "my tools/" + c.name;
    if (c.form == Form::kMissing) {
      return directory_.string() + "/" + relative;
    }
    const std::string path = testing::writeScript(directory_, relative, c.script + "\n");
    if (c.form == Form::kNotExecutable) {
      ::chmod(path.c_str(), 0644);
    }
    return path;
  }

  // A script may start something in the background that outlives it, noting its process id in
  // "<script>.pid"; it is ended here.
  static void endBackground(const std::string& toolPath) {
    std::ifstream file(toolPath + ".pid");
    pid_t pid = 0;
    if (file >> pid && pid > 0) {
      ::kill(pid, SIGKILL);
    }
  }

  void expectRun(const Runner& runner, const ToolCase& c, const char* runnerName) {
    const std::string path = tool(c);
    const ToolRun run = runner(path, c.arguments, c.limits);
    endBackground(path);
    EXPECT_EQ(run.launched, c.launched) << runnerName << ": " << c.name;
    if (c.launched) {
      EXPECT_EQ(run.exitStatus, c.exitStatus) << runnerName << ": " << c.name;
    }
    EXPECT_TRUE(run.output == c.output)
        << runnerName << ": " << c.name << ": " << run.output.substr(0, 200);
  }

  testing::TemporaryDirectory directory_;
  int openInput_[2] = {-1, -1};
  int savedInput_ = -1;
};

TEST_F(ToolRunTest, OutcomesOfBothRuns) {
  ToolRunLimits smallOutput = shortLimits();
  smallOutput.maximumOutputBytes = 1024 * 1024;
  const ToolCase cases[] = {
      {"prints",
       "printf 'Mono JIT compiler version 6.12.0\\n'",
       {},
       0,
       "Mono JIT compiler version 6.12.0\n"},
      {"silent", "exit 0", {}, 0, ""},
      {"fails after printing", "echo partial; exit 1", {}, 1, ""},
      {"killed", "echo partial; kill -KILL $$", {}, 128 + SIGKILL, ""},
      {"arguments",
       "printf '[%s]\\n' \"$@\"",
       {"google\\ chrome.app", "two words", "", "*", "$HOME", "a\"b'c", "--version"},
       0,
       "[google\\ chrome.app]\n[two words]\n[]\n[*]\n[$HOME]\n[a\"b'c]\n[--version]\n"},
      {"descendant holds the pipe", "sleep 300 & echo $! > \"$0.pid\"; echo done", {}, 0, "done\n"},
      // Outside its process group, so only the quiet spell after the exit ends the reading.
      {"descendant outside the group holds the pipe",
       "setsid sh -c 'sleep 0.6; echo late; exec sleep 30' & echo $! > \"$0.pid\"; echo done",
       {},
       0,
       "done\n"},
      // Standard input is /dev/null, never ours (a pipe that stays open in these tests).
      {"reads standard input", "cat; echo end", {}, 0, "end\n"},
      {"too much output",
       "exec head -c 4194304 /dev/zero",
       {},
       128 + SIGKILL,
       "",
       true,
       Form::kExecutable,
       smallOutput},
      // Drained while the tool runs, or the tool would block on a full pipe.
      {"large", "exec head -c 67108864 /dev/zero", {}, 0, std::string(64 << 20, '\0')},
      {"not executable", "exit 0", {}, 0, "", false, Form::kNotExecutable},
      {"missing", "", {}, 0, "", false, Form::kMissing},
  };
  for (const auto& [runnerName, runner] : kRunners) {
    for (const ToolCase& c : cases) {
      expectRun(runner, c, runnerName);
    }
  }
}

TEST_F(ToolRunTest, GuardedRunBoundsTheWait) {
  ToolRunLimits threeHalfSeconds = shortLimits();
  threeHalfSeconds.maximumSleeps = 3;
  ToolRunLimits oneSecond = shortLimits();
  oneSecond.maximumSleeps = 1;
  oneSecond.sleepLength = milliseconds(1000);
  const ToolCase cases[] = {
      // Ends during the third sleep: not asked to terminate.
      {"ends in the last sleep",
       "sleep 1.25; echo finished",
       {},
       0,
       "finished\n",
       true,
       Form::kExecutable,
       threeHalfSeconds},
      {"ends one sleep after the last",
       "sleep 1.5; echo late",
       {},
       128 + SIGTERM,
       "",
       true,
       Form::kExecutable,
       oneSecond},
      {"hangs", "echo started; exec sleep 30", {}, 128 + SIGTERM, ""},
      // A run that had to be asked to terminate has failed, whatever the tool then returns.
      {"exits 0 when asked to terminate",
       "trap 'echo partial; exit 0' TERM; echo start; sleep 30 & wait",
       {},
       128 + SIGTERM,
       ""},
      // The request comes first and the tool may answer it in its own way within the grace.
      {"answers the terminate request", "trap 'exit 3' TERM; sleep 30 & wait", {}, 3, ""},
      {"ignores the terminate request",
       "trap '' TERM; echo started; exec sleep 30",
       {},
       128 + SIGKILL,
       ""},
  };
  for (const ToolCase& c : cases) {
    expectRun(kRunners[1].second, c, "runToolGuarded");
  }
}

// A descendant that keeps writing after the tool has exited is cut off at the limit.
TEST_F(ToolRunTest, ChattyDescendantDoesNotHoldTheRun) {
  const std::string path = tool({"chatty",
                                 "(while :; do echo more; sleep 0.01; done) & "
                                 "echo $! > \"$0.pid\"; echo done",
                                 {},
                                 0,
                                 ""});
  const ToolRun run = runTool(path, {}, shortLimits());
  endBackground(path);
  EXPECT_TRUE(run.launched);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_NE(run.output.find("done\n"), std::string::npos) << run.output.substr(0, 100);
}

// The child gets /dev/null as standard input (and as standard error where ours is closed), no
// other descriptor of ours, default handling of the signals we ignore and nothing blocked.
TEST_F(ToolRunTest, ChildStartsClean) {
  const std::string file = directory_.string() + "/held";
  directory_.write("held", "");
  const int held = ::open(file.c_str(), O_RDONLY);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::dup2(held, 200), 200);
  ::close(held);
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  struct sigaction previous[2]{};
  ::sigaction(SIGPIPE, &ignore, &previous[0]);
  ::sigaction(SIGTERM, &ignore, &previous[1]);
  sigset_t blocked;
  sigset_t previousMask;
  sigemptyset(&blocked);
  sigaddset(&blocked, SIGTERM);
  sigaddset(&blocked, SIGUSR1);
  ::pthread_sigmask(SIG_BLOCK, &blocked, &previousMask);
  const int savedError = ::dup(STDERR_FILENO);
  ::close(STDERR_FILENO);

  // Each tool looks at itself as it was started; ls's own listing of the folder is the 3. Of
  // the ignored signals only the 31 standard ones count: glibc's spawn leaves its two internal
  // real-time signals ignored.
  const std::string descriptors = runTool("/bin/ls", {"/proc/self/fd"}).output;
  const std::string standardStreams =
      runTool("/bin/readlink", {"/proc/self/fd/0", "/proc/self/fd/2"}).output;
  const std::string signalState =
      runTool("/bin/sed", {"-n", "s/^Sig\\(Blk\\|Ign\\):.//p", "/proc/self/status"}).output;

  ::dup2(savedError, STDERR_FILENO);
  ::close(savedError);
  ::pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
  ::sigaction(SIGPIPE, &previous[0], nullptr);
  ::sigaction(SIGTERM, &previous[1], nullptr);
  ::close(200);
  EXPECT_EQ(descriptors, "0\n1\n2\n3\n");
  EXPECT_EQ(standardStreams, "/dev/null\n/dev/null\n");
  ASSERT_EQ(signalState.size(), 34u) << signalState;
  EXPECT_EQ(signalState.substr(0, 17), "0000000000000000\n");
  EXPECT_EQ(std::stoull(signalState.substr(17), nullptr, 16) & 0x7fffffffu, 0u) << signalState;
}

// Orphans of the runs become this test's children, so their end can be seen.
class OrphanCatcher {
 public:
  OrphanCatcher() { ::prctl(PR_SET_CHILD_SUBREAPER, 1); }
  ~OrphanCatcher() {
    while (::waitpid(-1, nullptr, WNOHANG) > 0) {
    }
    ::prctl(PR_SET_CHILD_SUBREAPER, 0);
  }
  // Whether the process `pid` has been ended by a signal, waiting up to ten seconds for it. One
  // that ended before its parent was reaped by that parent: it is gone.
  static bool killed(pid_t pid) {
    int status = 0;
    for (int i = 0; i < 1000; ++i) {
      const pid_t result = ::waitpid(pid, &status, WNOHANG);
      if (result == pid) {
        return WIFSIGNALED(status);
      }
      if (result < 0 && ::kill(pid, 0) != 0) {
        return true;
      }
      ::usleep(10'000);
    }
    ::kill(pid, SIGKILL);
    return false;
  }
};

pid_t pidIn(const std::string& file) {
  std::ifstream stream(file);
  pid_t pid = 0;
  stream >> pid;
  return pid;
}

// Whatever a run started in the tool's process group ends with the run, whether the tool ended
// on its own, timed out or was cancelled; and a cancelled run's tool is asked first.
TEST_F(ToolRunTest, NothingARunStartedOutlivesIt) {
  OrphanCatcher orphans;
  RunCancellation cancellation;
  const std::string started = directory_.string() + "/started";
  const struct {
    const char* name;
    std::string script;
    Runner runner;
    bool cancel;
    int32_t exitStatus;
  } cases[] = {
      {"ends", "sleep 60 & echo $! > \"$0.pid\"; echo done", runTool, false, 0},
      {"times out", "sh -c 'sleep 60; echo x' & echo $! > \"$0.pid\"; wait", runToolGuarded, false,
       128 + SIGTERM},
      {"cancelled while unbounded",
       "sleep 60 & echo $! > \"$0.pid\"; trap 'exit 5' TERM; touch '" + started + "'; wait",
       runTool, true, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = tool({c.name, c.script, {}, 0, ""});
    std::thread canceller;
    if (c.cancel) {
      canceller = std::thread([&] {
        while (!std::filesystem::exists(started)) {
          ::usleep(1000);
        }
        cancellation.cancel();
      });
    }
    ToolRun run;
    {
      CancellationScope scope(cancellation);
      run = c.runner(path, {}, shortLimits());
    }
    if (canceller.joinable()) {
      canceller.join();
    }
    EXPECT_EQ(run.exitStatus, c.exitStatus);
    EXPECT_TRUE(OrphanCatcher::killed(pidIn(path + ".pid")));
  }
  // Once cancelled, a run does not start.
  CancellationScope scope(cancellation);
  EXPECT_FALSE(runTool("/bin/sh", {"-c", "touch '" + started + ".again'"}).launched);
  EXPECT_FALSE(std::filesystem::exists(started + ".again"));
}

// With SIGCHLD ignored the kernel reaps our tools at once: the run cannot know how they ended
// and says so. The programs put SIGCHLD back first thing.
TEST_F(ToolRunTest, IgnoredChildSignalIsSaidAndPutBack) {
  ::signal(SIGCHLD, SIG_IGN);
  testing::CapturedDiagnostics diagnostics;
  const ToolRun lost = runTool("/bin/sh", {"-c", "echo hi"});
  EXPECT_NE(lost.exitStatus, 0);
  EXPECT_EQ(diagnostics.text(),
            "tool run: /bin/sh was reaped by someone else (is SIGCHLD ignored?); its run counts "
            "as failed\n");
  prepareProcessForTools();
  const ToolRun run = runTool("/bin/sh", {"-c", "echo hi"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.output, "hi\n");
}

std::size_t openDescriptors() {
  const auto entries = std::filesystem::directory_iterator("/proc/self/fd");
  return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
}

// Our children, zombies included.
std::size_t childProcesses() {
  std::size_t count = 0;
  const std::string self = std::to_string(::getpid());
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    if (!std::getline(stat, line)) {
      continue;
    }
    std::istringstream fields(line.substr(line.rfind(')') + 1));
    std::string state;
    std::string parent;
    if (fields >> state >> parent && parent == self) {
      ++count;
    }
  }
  return count;
}

TEST_F(ToolRunTest, ManyRunsLeaveNoDescriptorOrChild) {
  const std::string missing = directory_.string() + "/missing";
  const std::size_t descriptors = openDescriptors();
  const std::size_t children = childProcesses();
  for (int i = 0; i < 1000; ++i) {
    switch (i % 4) {
      case 0:
        ASSERT_TRUE(runTool("/bin/true", {}).launched);
        break;
      case 1:
        ASSERT_FALSE(runTool(missing, {}).launched);
        break;
      case 2:
        ASSERT_EQ(runToolGuarded("/bin/false", {}, shortLimits()).exitStatus, 1);
        break;
      default:
        ASSERT_FALSE(runToolGuarded(missing, {}, shortLimits()).launched);
        break;
    }
  }
  EXPECT_EQ(openDescriptors(), descriptors);
  EXPECT_EQ(childProcesses(), children);
}

}  // namespace
}  // namespace tarq::SystemValuesUtility
