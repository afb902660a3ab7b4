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
#include <optional>

#include "system/process/ObjC.h"
#include "system/process/ToolRunPlatform.h"

extern char** environ;

namespace tarq::SystemValuesUtility {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// While the tool runs quietly, how often it is asked whether it has exited: quickly at first,
// as most tools end at once, then less often.
constexpr milliseconds kFirstExitCheck{1};
constexpr milliseconds kLongestExitCheck{25};

// Most tools print a few lines: their reads are small, so that little room is cleared for
// them. Past that, a read is as large as the pipe and takes all a chatty tool has written
// meanwhile.
constexpr std::size_t kShortOutput = 64 * 1024;
constexpr std::size_t kReadChunk = 1024 * 1024;

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

// One child process with its standard output piped to us. The destructor closes the pipe and
// kills and reaps a child still running, so no path leaves a descriptor or a zombie behind.
class ToolProcess {
 public:
  explicit ToolProcess(const ToolRunLimits& limits) : limits_(limits) {}
  ~ToolProcess() {
    closeOutput();
    if (pid_ > 0 && !reaped_) {
      ::kill(pid_, SIGKILL);
      reap(0);
    }
  }
  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  // Starts the tool; 0, or the error number of the failed start.
  int start(const std::string& path, const std::vector<std::string>& arguments) {
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
    }
    return error;
  }

  // Non-blocking: true once the tool has exited (and been reaped).
  bool hasExited() { return reaped_ || reap(WNOHANG); }

  // Drains the output until the tool has exited, or `deadline` has passed; true when it exited.
  // While output flows it is only now and then asked whether it has exited.
  bool waitForExit(std::optional<Clock::time_point> deadline) {
    milliseconds pause = kFirstExitCheck;
    Clock::time_point nextCheck = Clock::now();
    for (;;) {
      const Clock::time_point now = Clock::now();
      if (now >= nextCheck || readEnd_ < 0) {
        if (hasExited()) {
          return true;
        }
        // A tool that has closed its output is about to end: ask again soon.
        nextCheck = now + (readEnd_ < 0 ? kFirstExitCheck : pause);
        pause = std::min(pause * 2, kLongestExitCheck);
      }
      if (deadline && now >= *deadline) {
        return false;
      }
      const Clock::time_point wakeUp = deadline ? std::min(nextCheck, *deadline) : nextCheck;
      if (readEnd_ >= 0) {
        readAvailable(millisecondsUntil(wakeUp));
      } else if (!deadline) {
        return reap(0);
      } else {
        pauseFor(milliseconds(millisecondsUntil(wakeUp)));
      }
    }
  }

  // Signals the tool, if it has not been reaped (only then is its process id still its own).
  void signal(int number) {
    if (!reaped_) {
      ::kill(pid_, number);
    }
  }

  // The outcome of a tool that has exited: its status, and its output only when that is 0.
  ToolRun finish() {
    ToolRun run;
    run.launched = true;
    run.exitStatus = status_;
    if (status_ == 0) {
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
    // The child starts with default signal handling and nothing blocked, whatever this program
    // set up: a tool writing to a closed pipe ends, and a terminate request reaches it.
    sigset_t defaults;
    sigset_t unblocked;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGTERM);
    sigemptyset(&unblocked);
    error = posix_spawn_file_actions_adddup2(&actions, writeEnd, STDOUT_FILENO);
    const short keepFlags = tool_run_platform::keepOnlyStandardDescriptors(actions);
    if (error == 0 && keepFlags < 0) {
      error = EINVAL;
    }
    if (error == 0) {
      const short flags =
          static_cast<short>(keepFlags | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
      error = posix_spawnattr_setflags(&attributes, flags);
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

  // Waits for the child with `options`; true once it has been reaped. A child this program
  // cannot wait for any more (reaped elsewhere) counts as ended with an unknown, failed status.
  bool reap(int options) {
    int status = 0;
    pid_t result;
    while ((result = ::waitpid(pid_, &status, options)) < 0 && errno == EINTR) {
    }
    if (result == 0) {
      return false;
    }
    reaped_ = true;
    if (result < 0) {
      status_ = -1;
    } else if (WIFEXITED(status)) {
      status_ = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
      status_ = 128 + WTERMSIG(status);
    } else {
      status_ = -1;
    }
    return true;
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
    std::size_t total = 0;
    for (;;) {
      // The kernel copies straight into the output; nothing is copied a second time.
      const std::size_t chunk = output_.size() < kShortOutput ? kShortOutput : kReadChunk;
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
        // Growing by a large step touches and copies less fresh memory on the way up.
        output_.reserve(
            std::max(used + count, std::min(std::max(output_.capacity(), kReadChunk) * 8,
                                            limits_.maximumOutputBytes + count)));
        tool_run_platform::adviseLargeBuffer(output_.data() + used, output_.capacity() - used);
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
    signal(SIGKILL);
  }

  // After a successful exit: whatever is still in the pipe, until end of file, a quiet spell or
  // the limit after exit, whichever comes first.
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
  pid_t pid_ = -1;
  bool reaped_ = false;
  int status_ = -1;
  int readEnd_ = -1;
  std::string output_;
  bool overflowed_ = false;
};

// Asked right after the start, then after each sleep: a tool that has already ended costs no
// sleep. One still running after the last sleep is asked to terminate, and killed if it has not
// ended within the grace.
void waitBounded(ToolProcess& tool, const ToolRunLimits& limits) {
  if (tool.hasExited()) {
    return;
  }
  for (int sleeps = 0; sleeps < std::max(1, limits.maximumSleeps); ++sleeps) {
    if (tool.waitForExit(Clock::now() + limits.sleepLength)) {
      return;
    }
  }
  tool.signal(SIGTERM);
  if (!tool.waitForExit(Clock::now() + limits.terminateGrace)) {
    tool.signal(SIGKILL);
    tool.waitForExit(std::nullopt);
  }
}

}  // namespace

ToolRun runTool(const std::string& path, const std::vector<std::string>& arguments,
                const ToolRunLimits& limits) {
  try {
    ToolProcess tool(limits);
    if (tool.start(path, arguments) != 0) {
      return {};
    }
    tool.waitForExit(std::nullopt);
    return tool.finish();
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
  try {
    ToolProcess tool(limits);
    ErrorValue ignored;
    const bool started = ObjC::catchException(
        [&] {
          const int error = tool.start(path, arguments);
          if (error != 0) {
            tool_run_platform::raiseStartFailure(path, error);
          }
          waitBounded(tool, limits);
        },
        ignored);
    if (!started) {
      return {};
    }
    return tool.finish();
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace tarq::SystemValuesUtility
