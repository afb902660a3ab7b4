#include "system/process/ToolProcess.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "system/Diagnostics.h"
#include "system/process/RunningToolGroups.h"
#include "system/process/ToolRunPlatform.h"
#include "system/process/ToolSpawn.h"

namespace tarq::SystemValuesUtility {

namespace {

using std::chrono::milliseconds;

// While the tool runs, how often it is asked whether it has exited: quickly at first, as most
// tools end at once, then less often. Where the system tells us of the exit (a process
// descriptor) the asking is only a safety net and backs off much further.
constexpr milliseconds kFirstExitCheck{1};
constexpr milliseconds kLongestExitCheck{25};
constexpr milliseconds kLongestExitCheckWithHandle{1000};

// Whether the kernel reaps our children by itself (SIGCHLD ignored, or no zombies asked for):
// then a child's process id may be taken by another process as soon as the child ends.
bool childrenReapedByKernel() {
  struct sigaction current {};
  return ::sigaction(SIGCHLD, nullptr, &current) == 0 &&
         (current.sa_handler == SIG_IGN || (current.sa_flags & SA_NOCLDWAIT) != 0);
}

void pauseFor(milliseconds length) {
  timespec request{static_cast<time_t>(length.count() / 1000),
                   static_cast<long>((length.count() % 1000) * 1000 * 1000)};
  while (::nanosleep(&request, &request) != 0 && errno == EINTR) {
  }
}

}  // namespace

ToolProcess::~ToolProcess() {
  output_.close();
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

int ToolProcess::start(const std::string& path, const std::vector<std::string>& arguments) {
  path_ = path;
  const int writeEnd = output_.openPipe();
  if (writeEnd < 0) {
    return errno;
  }
  int error = ECANCELED;
  {
    // From before the tool exists until its group is tracked, the program's end waits.
    const ToolStartWindow starting;
    if (!starting.programEnding()) {
      error = spawnTool(path, arguments, writeEnd, pid_);
    }
    if (error == 0) {
      groupSignalsSafe_ = !childrenReapedByKernel();
      if (groupSignalsSafe_) {
        trackGroup(pid_);
      }
    }
  }
  ::close(writeEnd);
  if (error != 0) {
    output_.close();
    return error;
  }
  handle_ = openProcessHandle(pid_);
  return 0;
}

bool ToolProcess::hasExited() {
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
    // Someone else reaped it (the kernel, where SIGCHLD is ignored): its status is lost, and
    // its group's id may pass to another process at any moment.
    if (groupSignalsSafe_) {
      untrackGroup(pid_);
    }
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

Wait ToolProcess::waitForExit(Clock::time_point deadline, bool honourCancellation) {
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

void ToolProcess::stop(bool cancelled) {
  terminateRequested_ = true;
  signalRun(SIGTERM);
  const milliseconds grace =
      cancelled ? std::min(limits_.stopGrace, limits_.terminateGrace) : limits_.terminateGrace;
  if (waitForExit(Clock::now() + grace, false) != Wait::exited) {
    signalRun(SIGKILL);
    waitForExit(kNoDeadline, false);
  }
}

ToolRun ToolProcess::finish() {
  signalGroup(SIGKILL);
  ToolRun run;
  run.launched = true;
  run.exitStatus = status_;
  if (terminateRequested_ && run.exitStatus == 0) {
    run.exitStatus = 128 + SIGTERM;
  }
  if (run.exitStatus == 0 && !output_.overflowed()) {
    output_.readRest(limits_.outputIdleGrace, limits_.outputAfterExitLimit);
    killOnOverflow();
  }
  output_.close();
  if (output_.overflowed()) {
    run.exitStatus = 128 + SIGKILL;
  } else if (run.exitStatus == 0) {
    run.output = output_.take();
  }
  return run;
}

// The tool's process group, everything it started that stayed in it. Only while the tool is
// not reaped: until then its process id, the group's id, cannot pass to another process.
void ToolProcess::signalGroup(int number) {
  if (!reaped_ && groupSignalsSafe_) {
    ::kill(-pid_, number);
  }
}

// The group, and the tool itself should it have left the group; through its process
// descriptor where there is one, so that the signal reaches that process and no other.
void ToolProcess::signalRun(int number) {
  signalGroup(number);
  if (reaped_ || exited_) {
    return;
  }
  if (handle_ < 0 || !signalThroughHandle(handle_, number)) {
    if (groupSignalsSafe_) {
      ::kill(pid_, number);
    }
  }
}

// Waits for the tool to end and collects it; its status was taken when its exit was seen.
void ToolProcess::reap() {
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
void ToolProcess::waitForEvents(int timeout, bool honourCancellation) {
  pollfd entries[3];
  nfds_t count = 0;
  const int readEnd = output_.descriptor();
  if (readEnd >= 0) {
    entries[count++] = {readEnd, POLLIN, 0};
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
      output_.close();
    }
    return;
  }
  for (nfds_t i = 0; i < count; ++i) {
    if (entries[i].revents == 0) {
      continue;
    }
    if (entries[i].fd == readEnd) {
      output_.drain();
      killOnOverflow();
    } else if (entries[i].fd == handle_) {
      exitSignalled_ = true;
    }
  }
}

// Output past the bound, or past what memory holds: the tool is killed and its run fails.
void ToolProcess::killOnOverflow() {
  if (output_.overflowed()) {
    signalRun(SIGKILL);
  }
}

}  // namespace tarq::SystemValuesUtility
