#include "system/process/ToolRun.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>

#include "system/Diagnostics.h"
#include "system/process/ObjC.h"
#include "system/process/ToolRunPlatform.h"

extern char** environ;

namespace tarq::SystemValuesUtility {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// While the tool runs, how often it is asked whether it has exited: quickly at first, as most
// tools end at once, then less often. Where the system tells us of the exit (a process
// descriptor) the asking is only a safety net and backs off much further.
constexpr milliseconds kFirstExitCheck{1};
constexpr milliseconds kLongestExitCheck{25};
constexpr milliseconds kLongestExitCheckWithHandle{1000};
constexpr Clock::time_point kNoDeadline = Clock::time_point::max();

// Most tools print a few lines: the first read has a page of room and each read of a short
// output doubles it, so that little memory is cleared and touched for them. Past that, a read is
// as large as the pipe and takes all a chatty tool has written meanwhile.
constexpr std::size_t kFirstRead = 4 * 1024;
constexpr std::size_t kShortOutput = 64 * 1024;
constexpr std::size_t kReadChunk = 1024 * 1024;

// The process groups of the tools running now, so that an interrupt of the program can end
// them. Lock-free, since the signal handler reads it.
constexpr std::size_t kTrackedGroups = 64;
std::atomic<pid_t> runningGroups[kTrackedGroups];

void trackGroup(pid_t group) {
  for (std::atomic<pid_t>& slot : runningGroups) {
    pid_t empty = 0;
    if (slot.compare_exchange_strong(empty, group)) {
      return;
    }
  }
}

void untrackGroup(pid_t group) {
  for (std::atomic<pid_t>& slot : runningGroups) {
    pid_t expected = group;
    if (slot.compare_exchange_strong(expected, 0)) {
      return;
    }
  }
}

extern "C" void endToolsAndRaise(int number) {
  for (std::atomic<pid_t>& slot : runningGroups) {
    const pid_t group = slot.load();
    if (group > 0) {
      ::kill(-group, SIGKILL);
    }
  }
  ::signal(number, SIG_DFL);
  ::raise(number);
}

thread_local const RunCancellation* currentCancellation = nullptr;

// Whether the kernel reaps our children by itself (SIGCHLD ignored, or no zombies asked for):
// then a child's process id may be taken by another process as soon as the child ends.
bool childrenReapedByKernel() {
  struct sigaction current {};
  return ::sigaction(SIGCHLD, nullptr, &current) == 0 &&
         (current.sa_handler == SIG_IGN || (current.sa_flags & SA_NOCLDWAIT) != 0);
}

int millisecondsUntil(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(std::clamp<decltype(left)>(left, 0, 60 * 60 * 1000));
}

void pauseFor(milliseconds length) {
  timespec request{static_cast<time_t>(length.count() / 1000),
                   static_cast<long>((length.count() % 1000) * 1000 * 1000)};
  while (::nanosleep(&request, &request) != 0 && errno == EINTR) {
  }
}

// A pipe end of ours kept above the standard descriptors, so that redirecting the child's
// standard output never collides with it even when the program was started without them.
bool aboveStandardDescriptors(int& end) {
  if (end > STDERR_FILENO) {
    return true;
  }
  const int moved = ::fcntl(end, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
  ::close(end);
  end = moved;
  return moved >= 0;
}

bool isOpen(int descriptor) {
  return ::fcntl(descriptor, F_GETFD) != -1;
}

enum class Wait { exited, timedOut, cancelled };

}  // namespace

// One child process, leader of its own process group, with its standard output piped to us.
// Its exit is seen without reaping it, so that while we signal its group the group's id cannot
// pass to another process. Only the destructor reaps it, killing it first if it still runs, so
// no path leaves a descriptor, a zombie or a process of the run behind.
class ToolProcess {
 public:
  ToolProcess(const ToolRunLimits& limits, const RunCancellation* cancellation)
      : limits_(limits), cancellation_(cancellation) {}
  ~ToolProcess() {
    closeOutput();
    if (pid_ > 0 && !reaped_) {
      if (!exited_) {
        signalRun(SIGKILL);
      }
      reap();
    }
    if (handle_ >= 0) {
      ::close(handle_);
    }
  }
  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  // Starts the tool; 0, or the error number of the failed start.
  int start(const std::string& path, const std::vector<std::string>& arguments) {
    path_ = path;
    int ends[2];
    if (!tool_run_platform::openOutputPipe(ends)) {
      return errno;
    }
    readEnd_ = ends[0];
    int writeEnd = ends[1];
    if (!aboveStandardDescriptors(readEnd_) || !aboveStandardDescriptors(writeEnd) ||
        ::fcntl(readEnd_, F_SETFL, O_NONBLOCK) != 0) {
      const int error = errno;
      if (writeEnd >= 0) {
        ::close(writeEnd);
      }
      closeOutput();
      return error;
    }
    const int error = spawn(path, arguments, writeEnd);
    ::close(writeEnd);
    if (error != 0) {
      closeOutput();
      return error;
    }
    groupSignalsSafe_ = !childrenReapedByKernel();
    if (groupSignalsSafe_) {
      trackGroup(pid_);
    }
    handle_ = tool_run_platform::openProcessHandle(pid_);
    return 0;
  }

  // Non-blocking: true once the tool has exited. It is not reaped here.
  bool hasExited() {
    if (exited_) {
      return true;
    }
    siginfo_t info{};
    int result;
    while ((result = ::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT)) <
               0 &&
           errno == EINTR) {
    }
    if (result < 0) {
      // Someone else reaped it (the kernel, where SIGCHLD is ignored): its status is lost.
      exited_ = true;
      reaped_ = true;
      status_ = -1;
      writeDiagnosticLine("tool run: " + path_ +
                          " was reaped by someone else (is SIGCHLD ignored?); its run counts "
                          "as failed");
      return true;
    }
    if (info.si_pid == 0) {
      return false;
    }
    exited_ = true;
    if (info.si_code == CLD_EXITED) {
      status_ = info.si_status;
    } else if (info.si_code == CLD_KILLED || info.si_code == CLD_DUMPED) {
      status_ = 128 + info.si_status;
    } else {
      status_ = -1;
    }
    return true;
  }

  // Drains the output until the tool has exited, `deadline` has passed or, when
  // `honourCancellation`, the run's cancellation has come.
  Wait waitForExit(Clock::time_point deadline, bool honourCancellation) {
    const milliseconds longest = handle_ >= 0 ? kLongestExitCheckWithHandle : kLongestExitCheck;
    milliseconds pause = handle_ >= 0 ? longest : kFirstExitCheck;
    Clock::time_point nextCheck = Clock::now();
    for (;;) {
      const Clock::time_point now = Clock::now();
      if (now >= nextCheck || exitSignalled_) {
        exitSignalled_ = false;
        if (hasExited()) {
          return Wait::exited;
        }
        nextCheck = now + pause;
        pause = std::min(pause * 2, longest);
      }
      if (honourCancellation && cancellation_ != nullptr && cancellation_->cancelled()) {
        return Wait::cancelled;
      }
      if (now >= deadline) {
        return Wait::timedOut;
      }
      waitForEvents(millisecondsUntil(std::min(nextCheck, deadline)), honourCancellation);
    }
  }

  // Asks the tool's whole process group to terminate and kills it if it has not ended within
  // the grace. The run has then failed, whatever the tool returns.
  void stop(bool cancelled) {
    terminateRequested_ = true;
    signalRun(SIGTERM);
    const milliseconds grace =
        cancelled ? std::min(limits_.stopGrace, limits_.terminateGrace) : limits_.terminateGrace;
    if (waitForExit(Clock::now() + grace, false) != Wait::exited) {
      signalRun(SIGKILL);
      waitForExit(kNoDeadline, false);
    }
  }

  // The outcome of a tool that has exited: what is left of its process group is killed; its
  // output is kept only when it succeeded on its own. The tool is reaped by the destructor.
  ToolRun finish() {
    signalGroup(SIGKILL);
    ToolRun run;
    run.launched = true;
    run.exitStatus = status_;
    if (terminateRequested_ && run.exitStatus == 0) {
      run.exitStatus = 128 + SIGTERM;
    }
    if (run.exitStatus == 0) {
      readRest();
    }
    closeOutput();
    if (overflowed_) {
      run.exitStatus = 128 + SIGKILL;
    } else if (run.exitStatus == 0) {
      // A short output need not keep the room of a whole read.
      if (output_.size() < kReadChunk) {
        output_.shrink_to_fit();
      }
      run.output = std::move(output_);
    }
    return run;
  }

 private:
  int spawn(const std::string& path, const std::vector<std::string>& arguments, int writeEnd) {
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 2);
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const std::string& argument : arguments) {
      argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    int error = posix_spawn_file_actions_init(&actions);
    if (error != 0) {
      return error;
    }
    error = posix_spawnattr_init(&attributes);
    if (error != 0) {
      posix_spawn_file_actions_destroy(&actions);
      return error;
    }
    // The child starts with default handling of every signal and nothing blocked, whatever this
    // program or its launcher set up: a tool writing to a closed pipe ends, a terminate request
    // reaches it, and its own children can be waited for.
    sigset_t defaults;
    sigset_t unblocked;
    sigfillset(&defaults);
    sigemptyset(&unblocked);
    // Standard input is /dev/null: a tool that reads must not wait on, or swallow, ours. A
    // closed standard error is given /dev/null too, as a tool may fail on a missing one.
    const bool standardErrorOpen = isOpen(STDERR_FILENO);
    error = posix_spawn_file_actions_adddup2(&actions, writeEnd, STDOUT_FILENO);
    if (error == 0) {
      error = posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    }
    if (error == 0 && !standardErrorOpen) {
      error = posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    const short keepFlags =
        error == 0 ? tool_run_platform::keepOnlyStandardDescriptors(actions, standardErrorOpen)
                   : -1;
    if (error == 0 && keepFlags < 0) {
      error = EINVAL;
    }
    if (error == 0) {
      const short flags = static_cast<short>(keepFlags | POSIX_SPAWN_SETSIGDEF |
                                             POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);
      error = posix_spawnattr_setflags(&attributes, flags);
    }
    if (error == 0) {
      error = posix_spawnattr_setpgroup(&attributes, 0);
    }
    if (error == 0) {
      error = posix_spawnattr_setsigdefault(&attributes, &defaults);
    }
    if (error == 0) {
      error = posix_spawnattr_setsigmask(&attributes, &unblocked);
    }
    if (error == 0) {
      error = ::posix_spawn(&pid_, path.c_str(), &actions, &attributes, argv.data(), environ);
    }
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
      pid_ = -1;
    }
    return error;
  }

  // The tool's process group, everything it started that stayed in it. Only while the tool is
  // not reaped: until then its process id, the group's id, cannot pass to another process.
  void signalGroup(int number) {
    if (!reaped_ && groupSignalsSafe_) {
      ::kill(-pid_, number);
    }
  }

  // The group, and the tool itself should it have left the group; through its process
  // descriptor where there is one, so that the signal reaches that process and no other.
  void signalRun(int number) {
    signalGroup(number);
    if (reaped_ || exited_) {
      return;
    }
    if (handle_ < 0 || !tool_run_platform::signalThroughHandle(handle_, number)) {
      if (groupSignalsSafe_) {
        ::kill(pid_, number);
      }
    }
  }

  // Waits for the tool to end and collects it; its status was taken when its exit was seen.
  void reap() {
    if (groupSignalsSafe_) {
      untrackGroup(pid_);
    }
    int status = 0;
    pid_t result;
    while ((result = ::waitpid(pid_, &status, 0)) < 0 && errno == EINTR) {
    }
    if (!exited_) {
      exited_ = true;
      status_ = result < 0            ? -1
                : WIFEXITED(status)   ? WEXITSTATUS(status)
                : WIFSIGNALED(status) ? 128 + WTERMSIG(status)
                                      : -1;
    }
    reaped_ = true;
  }

  // Sleeps up to `timeout` milliseconds or until output arrives (and is read), the tool exits
  // or the cancellation comes.
  void waitForEvents(int timeout, bool honourCancellation) {
    pollfd entries[3];
    nfds_t count = 0;
    if (readEnd_ >= 0) {
      entries[count++] = {readEnd_, POLLIN, 0};
    }
    if (handle_ >= 0 && !exited_) {
      entries[count++] = {handle_, POLLIN, 0};
    }
    if (honourCancellation && cancellation_ != nullptr && cancellation_->descriptor() >= 0) {
      entries[count++] = {cancellation_->descriptor(), POLLIN, 0};
    }
    if (count == 0) {
      pauseFor(milliseconds(timeout));
      return;
    }
    const int ready = ::poll(entries, count, timeout);
    if (ready <= 0) {
      if (ready < 0 && errno != EINTR && errno != EAGAIN) {
        // Not a state poll can leave: stop reading rather than spin.
        closeOutput();
      }
      return;
    }
    for (nfds_t i = 0; i < count; ++i) {
      if (entries[i].revents == 0) {
        continue;
      }
      if (entries[i].fd == readEnd_) {
        drain();
      } else if (entries[i].fd == handle_) {
        exitSignalled_ = true;
      }
    }
  }

  // Waits up to `timeout` milliseconds for output and reads all there is. Returns the number of
  // bytes read; at end of file, or on a read error, the pipe is closed.
  std::size_t readAvailable(int timeout) {
    pollfd entry{readEnd_, POLLIN, 0};
    const int ready = ::poll(&entry, 1, timeout);
    if (ready <= 0) {
      if (ready < 0 && errno != EINTR) {
        closeOutput();
      }
      return 0;
    }
    return drain();
  }

  // Reads all the pipe holds now. Returns the number of bytes read; at end of file, or on a
  // read error, the pipe is closed.
  std::size_t drain() {
    std::size_t total = 0;
    while (readEnd_ >= 0) {
      // The kernel copies straight into the output; nothing is copied a second time.
      const std::size_t chunk =
          output_.size() < kShortOutput ? std::max(kFirstRead, output_.size()) : kReadChunk;
      char* room = roomFor(chunk);
      if (room == nullptr) {
        return total;
      }
      const ssize_t count = ::read(readEnd_, room, chunk);
      const std::size_t kept = count > 0 ? static_cast<std::size_t>(count) : 0;
      output_.resize(output_.size() - chunk + kept);
      if (output_.size() > limits_.maximumOutputBytes) {
        dropOutput();
        return total;
      }
      total += kept;
      if (count > 0) {
        if (kept < chunk) {
          return total;
        }
      } else if (count < 0 && errno == EINTR) {
        continue;
      } else {
        if (count == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
          closeOutput();
        }
        return total;
      }
    }
    return total;
  }

  // Extends the output by `count` bytes to read into and gives where they start; null, with the
  // output dropped, once memory runs out or after the output has been dropped.
  char* roomFor(std::size_t count) {
    if (overflowed_) {
      return nullptr;
    }
    try {
      const std::size_t used = output_.size();
      if (output_.capacity() - used < count) {
        if (used < kShortOutput) {
          // A short output grows as strings do, doubling.
          output_.reserve(used + count);
        } else {
          // Growing by a large step touches and copies less fresh memory on the way up.
          output_.reserve(
              std::max(used + count, std::min(std::max(output_.capacity(), kReadChunk) * 8,
                                              limits_.maximumOutputBytes + count)));
        }
        // Only a large output is worth huge pages: a short one would pay a huge page's worth of
        // memory for its first read.
        if (used >= kReadChunk) {
          tool_run_platform::adviseLargeBuffer(output_.data() + used, output_.capacity() - used);
        }
      }
      output_.resize(used + count);
      return output_.data() + used;
    } catch (const std::bad_alloc&) {
      dropOutput();
      return nullptr;
    }
  }

  // Output past the limit, or past what memory holds: the tool is killed and its run fails.
  void dropOutput() {
    overflowed_ = true;
    output_ = std::string();
    closeOutput();
    signalRun(SIGKILL);
  }

  // After a successful exit: whatever is still in the pipe, until end of file, a quiet spell or
  // the limit after exit, whichever comes first. A descendant that left the tool's process group
  // may still hold the pipe; it cannot hold the run.
  void readRest() {
    const Clock::time_point limit = Clock::now() + limits_.outputAfterExitLimit;
    while (readEnd_ >= 0 && !overflowed_) {
      const Clock::time_point now = Clock::now();
      if (now >= limit) {
        return;
      }
      const Clock::time_point quietUntil = std::min(limit, now + limits_.outputIdleGrace);
      if (readAvailable(millisecondsUntil(quietUntil)) == 0 && readEnd_ >= 0 &&
          Clock::now() >= quietUntil) {
        return;
      }
    }
  }

  void closeOutput() {
    if (readEnd_ >= 0) {
      ::close(readEnd_);
      readEnd_ = -1;
    }
  }

  const ToolRunLimits& limits_;
  const RunCancellation* cancellation_;
  std::string path_;
  pid_t pid_ = -1;
  int handle_ = -1;
  bool groupSignalsSafe_ = true;
  bool exited_ = false;
  bool exitSignalled_ = false;
  bool reaped_ = false;
  bool terminateRequested_ = false;
  int status_ = -1;
  int readEnd_ = -1;
  std::string output_;
  bool overflowed_ = false;
};

namespace {

// Asked right after the start, then after each sleep: a tool that has already ended costs no
// sleep. One still running after the last sleep is asked to terminate, and killed if it has not
// ended within the grace.
void waitBounded(ToolProcess& tool, const ToolRunLimits& limits) {
  if (tool.hasExited()) {
    return;
  }
  for (int sleeps = 0; sleeps < std::max(1, limits.maximumSleeps); ++sleeps) {
    switch (tool.waitForExit(Clock::now() + limits.sleepLength, true)) {
      case Wait::exited:
        return;
      case Wait::cancelled:
        tool.stop(true);
        return;
      case Wait::timedOut:
        break;
    }
  }
  tool.stop(false);
}

// The process of a run under the thread's cancellation; none once that has come, when the run
// does not start at all.
std::unique_ptr<ToolProcess> processUnlessCancelled(const ToolRunLimits& limits) {
  const RunCancellation* cancellation = currentCancellation;
  if (cancellation != nullptr && cancellation->cancelled()) {
    return nullptr;
  }
  return std::make_unique<ToolProcess>(limits, cancellation);
}

}  // namespace

RunCancellation::RunCancellation() {
  if (!tool_run_platform::openOutputPipe(ends_)) {
    ends_[0] = ends_[1] = -1;
  }
}

RunCancellation::~RunCancellation() {
  for (const int end : ends_) {
    if (end >= 0) {
      ::close(end);
    }
  }
}

void RunCancellation::cancel() noexcept {
  if (!cancelled_.exchange(true) && ends_[1] >= 0) {
    const char wake = 1;
    while (::write(ends_[1], &wake, 1) < 0 && errno == EINTR) {
    }
  }
}

bool RunCancellation::cancelled() const noexcept {
  return cancelled_.load();
}

const RunCancellation* currentRunCancellation() noexcept {
  return currentCancellation;
}

CancellationScope::CancellationScope(const RunCancellation& cancellation)
    : previous_(currentCancellation) {
  currentCancellation = &cancellation;
}

CancellationScope::~CancellationScope() {
  currentCancellation = previous_;
}

void prepareProcessForTools() {
  tool_run_platform::shareOneHeap();
  ::signal(SIGCHLD, SIG_DFL);
  struct sigaction ending {};
  ending.sa_handler = endToolsAndRaise;
  sigemptyset(&ending.sa_mask);
  for (const int number : {SIGINT, SIGHUP, SIGTERM}) {
    struct sigaction current {};
    // A signal the launcher had us ignore stays ignored, as it would without tools.
    if (::sigaction(number, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
      ::sigaction(number, &ending, nullptr);
    }
  }
}

ToolRun runTool(const std::string& path, const std::vector<std::string>& arguments,
                const ToolRunLimits& limits) {
  try {
    const std::unique_ptr<ToolProcess> tool = processUnlessCancelled(limits);
    if (!tool || tool->start(path, arguments) != 0) {
      return {};
    }
    if (tool->waitForExit(kNoDeadline, true) == Wait::cancelled) {
      tool->stop(true);
    }
    return tool->finish();
  } catch (const std::exception&) {
    return {};
  }
}

ToolRun runToolGuarded(const std::string& path, const std::vector<std::string>& arguments,
                       int maximumSleeps) {
  ToolRunLimits limits;
  limits.maximumSleeps = maximumSleeps;
  return runToolGuarded(path, arguments, limits);
}

ToolRun runToolGuarded(const std::string& path, const std::vector<std::string>& arguments,
                       const ToolRunLimits& limits) {
  return StartedToolRun(path, arguments, limits).finish();
}

StartedToolRun::StartedToolRun(const std::string& path, const std::vector<std::string>& arguments,
                               const ToolRunLimits& limits)
    : limits_(limits) {
  try {
    std::unique_ptr<ToolProcess> tool = processUnlessCancelled(limits_);
    ErrorValue ignored;
    if (tool && ObjC::catchException(
                    [&] {
                      const int error = tool->start(path, arguments);
                      if (error != 0) {
                        tool_run_platform::raiseStartFailure(path, error);
                      }
                    },
                    ignored)) {
      tool_ = std::move(tool);
    }
  } catch (const std::exception&) {
  }
}

StartedToolRun::~StartedToolRun() = default;

ToolRun StartedToolRun::finish() {
  const std::unique_ptr<ToolProcess> tool = std::move(tool_);
  if (!tool) {
    return {};
  }
  try {
    waitBounded(*tool, limits_);
    return tool->finish();
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace tarq::SystemValuesUtility
