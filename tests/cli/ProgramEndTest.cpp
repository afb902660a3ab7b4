// tarq-validate's end, whenever and however it comes: no tool it started outlives it, and it ends
// as the signal asks; and its tools never start without standard error.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "support/ProgramCopy.h"
#include "support/TemporaryDirectory.h"

extern char** environ;

namespace tarq {
namespace {

using std::chrono::milliseconds;

// Says it has started, leaves a child of its own in its group, and never answers.
constexpr std::string_view kHangingProfiler =
    "touch \"$STARTED_DIR/$$\"\nsleep 1000 &\nexec sleep 1000\n";

// A run of the program whose every process carries a mark of its own in its environment. Its
// orphans become this test's children, to be seen and reaped.
class MarkedRun {
 public:
  explicit MarkedRun(std::string_view profilerBody)
      : program_(testing::copyProgramBesideProfiler(tree_, TARQ_VALIDATE_PATH, profilerBody)) {
    std::filesystem::create_directory(startedFolder());
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    // No core files from SIGQUIT, whichever process of the run it reaches.
    ::getrlimit(RLIMIT_CORE, &coreLimit_);
    const rlimit noCoreFiles{0, coreLimit_.rlim_max};
    ::setrlimit(RLIMIT_CORE, &noCoreFiles);
  }
  ~MarkedRun() {
    ::setrlimit(RLIMIT_CORE, &coreLimit_);
    ::prctl(PR_SET_CHILD_SUBREAPER, 0);
  }

  const std::string& program() const { return program_; }
  std::filesystem::path startedFolder() const { return tree_.path() / "started"; }

  // The program's copy when `command` is empty; `command` may begin with variables to set, as
  // env(1) runs it. Standard error to /dev/null, or closed.
  pid_t start(std::vector<std::string> command = {}, bool closeStandardError = false) const {
    if (command.empty()) {
      command = {program_, "--json"};
    }
    // sh execs env(1), which marks its process and execs the command.
    const std::string redirections =
        " >'" + output_.string() + "' 2>" + (closeStandardError ? "&-" : "/dev/null");
    command.insert(command.begin(),
                   {"/bin/sh", "-c", "exec \"$@\"" + redirections, "sh", "/usr/bin/env", mark_,
                    "STARTED_DIR=" + startedFolder().string()});
    std::vector<char*> argv;
    for (std::string& word : command) {
      argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    ::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
    return pid;
  }

  std::string output() const { return testing::readFile(output_); }

  // Waits a while for those just killed, reaping those left to this test.
  bool allGone() const {
    for (int attempt = 0; attempt < 500; ++attempt) {
      while (::waitpid(-1, nullptr, WNOHANG) > 0) {
      }
      if (testing::liveProcessesWith(mark_).empty()) {
        return true;
      }
      std::this_thread::sleep_for(milliseconds(10));
    }
    for (const pid_t left : testing::liveProcessesWith(mark_)) {
      ::kill(left, SIGKILL);
    }
    return false;
  }

 private:
  testing::TemporaryDirectory tree_;
  std::string program_;
  rlimit coreLimit_{};
  std::string mark_ = "TARQ_TEST_RUN=" + tree_.string();
  std::filesystem::path output_ = tree_.path() / "output";
};

// Before, while or after the tools start; random moments from a fixed seed, so that a failure
// can be repeated.
TEST(ProgramEndTest, AnEndingSignalAtAnyMomentEndsEveryTool) {
  const MarkedRun run(kHangingProfiler);
  const int signals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
  std::mt19937 moments(20261207);
  std::uniform_int_distribution<int> microseconds(0, 60000);
  for (int attempt = 0; attempt < 40; ++attempt) {
    const int number = signals[attempt % 4];
    const int moment = microseconds(moments);
    SCOPED_TRACE("signal " + std::to_string(number) + " after " + std::to_string(moment) + " µs");
    const pid_t program = run.start();
    ASSERT_GT(program, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(moment));
    ::kill(program, number);
    int status = 0;
    ASSERT_EQ(::waitpid(program, &status, 0), program);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == number) << status;
    EXPECT_TRUE(run.allGone());
  }
}

// There (as in a container) the kernel ignores a signal's default action.
TEST(ProgramEndTest, AsProcessOneOfItsNamespaceATerminateRequestEndsIt) {
  if (::getuid() != 0) {
    GTEST_SKIP() << "a PID namespace needs root";
  }
  const MarkedRun run(kHangingProfiler);
  // Ended by the signal, the pass's threads are rightly left unjoined: no leak.
  const char* sanitizerOptions = std::getenv("TSAN_OPTIONS");
  const pid_t unshare =
      run.start({"TSAN_OPTIONS=" + std::string(sanitizerOptions ? sanitizerOptions : "") +
                     ":report_thread_leaks=0",
                 "/usr/bin/unshare", "--pid", "--fork", run.program(), "--json"});
  ASSERT_GT(unshare, 0);
  // Once a profiler has started, the namespace's process 1 is in its pass.
  for (int attempt = 0; attempt < 3000 && std::filesystem::is_empty(run.startedFolder());
       ++attempt) {
    std::this_thread::sleep_for(milliseconds(10));
  }
  std::string children;
  const std::string self = std::to_string(unshare);
  std::ifstream("/proc/" + self + "/task/" + self + "/children") >> children;
  ASSERT_FALSE(children.empty());
  ::kill(std::stoi(children), SIGTERM);
  int status = 0;
  ASSERT_EQ(::waitpid(unshare, &status, 0), unshare);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 128 + SIGTERM) << status;
  EXPECT_EQ(run.output(), "");
  EXPECT_TRUE(run.allGone());
}

// Never a descriptor of the program's own that happens to take that number.
TEST(ProgramEndTest, ToolsHaveStandardErrorWhenTheProgramStartsWithout) {
  const MarkedRun run("readlink /proc/$$/fd/2 >>\"$STARTED_DIR/standard-error\"\nexit 1\n");
  for (int attempt = 0; attempt < 10; ++attempt) {
    const pid_t program = run.start({}, true);
    ASSERT_GT(program, 0);
    ASSERT_EQ(::waitpid(program, nullptr, 0), program);
  }
  const std::string said = testing::readFile(run.startedFolder() / "standard-error");
  EXPECT_TRUE(std::regex_match(said, std::regex("(/dev/null\n){20}"))) << said;
}

}  // namespace
}  // namespace tarq
