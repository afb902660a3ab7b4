#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

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
      {"hangs", "echo started; exec sleep 30", {}, 128 + SIGTERM, ""},
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

// The child gets default signal handling and none of this program's other descriptors.
TEST_F(ToolRunTest, ChildStartsClean) {
  const std::string file = directory_.string() + "/held";
  directory_.write("held", "");
  const int held = ::open(file.c_str(), O_RDONLY);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::dup2(held, 200), 200);
  ::close(held);
  struct sigaction ignore {};
  struct sigaction previous {};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGPIPE, &ignore, &previous);

  const std::string path = tool({"inspect",
                                 "[ -e /proc/$$/fd/200 ] && echo 'descriptor 200 open'\n"
                                 "sed -n 's/^SigIgn:[[:space:]]*//p' /proc/$$/status",
                                 {},
                                 0,
                                 ""});
  const ToolRun run = runTool(path, {}, shortLimits());
  ::sigaction(SIGPIPE, &previous, nullptr);
  ::close(200);

  ASSERT_EQ(run.exitStatus, 0);
  std::istringstream lines(run.output);
  unsigned long long ignored = 0;
  ASSERT_TRUE(lines >> std::hex >> ignored) << run.output;
  EXPECT_EQ(ignored & (1ULL << (SIGPIPE - 1)), 0u) << run.output;
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
