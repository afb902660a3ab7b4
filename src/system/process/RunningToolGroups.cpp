#include "system/process/RunningToolGroups.h"

#include <fcntl.h>
#include <pthread.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <initializer_list>

namespace tarq::SystemValuesUtility {

namespace {

constexpr std::size_t kTrackedGroups = 64;
std::atomic<pid_t> runningGroups[kTrackedGroups];

// The signals that end the program, and its tools with it.
constexpr int kEndingSignals[] = {SIGINT, SIGQUIT, SIGHUP, SIGTERM};

std::atomic<bool> programEnding{false};
std::atomic<int> startsUnderway{0};

// How long the end waits for starts under way: a spawn takes a fraction of that even on a
// loaded machine, and an end must not hang on one that never returns.
constexpr int kLongestStartWaitMilliseconds = 500;

sigset_t endingSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (const int number : kEndingSignals) {
    sigaddset(&set, number);
  }
  return set;
}

}  // namespace

// Async-signal-safe: atomics, nanosleep and kill only.
void endRunningTools() {
  programEnding.store(true);
  for (int waited = 0; startsUnderway.load() > 0 && waited < kLongestStartWaitMilliseconds;
       ++waited) {
    const timespec millisecond{0, 1000 * 1000};
    ::nanosleep(&millisecond, nullptr);
  }
  for (std::atomic<pid_t>& slot : runningGroups) {
    const pid_t group = slot.load();
    if (group > 0) {
      ::kill(-group, SIGKILL);
    }
  }
}

namespace {

extern "C" void endToolsAndProgram(int number) {
  endRunningTools();
  // The signal's own end, so that whoever started us sees what ended us. The signal is blocked
  // while its handler runs: unblocked, it acts at once.
  ::signal(number, SIG_DFL);
  ::raise(number);
  sigset_t self;
  sigemptyset(&self);
  sigaddset(&self, number);
  ::pthread_sigmask(SIG_UNBLOCK, &self, nullptr);
  // Still here: as process 1 of a PID namespace the default action is ignored.
  ::_exit(128 + number);
}

extern "C" void endToolsAtExit() {
  endRunningTools();
}

void openClosedStandardDescriptors() {
  for (const int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (::fcntl(descriptor, F_GETFD) == -1) {
      // The lowest free number: the one closed, as those below it are open.
      const int opened = ::open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
      if (opened >= 0 && opened != descriptor) {
        ::close(opened);
      }
    }
  }
}

}  // namespace

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

std::size_t trackedGroupCount() {
  std::size_t count = 0;
  for (const std::atomic<pid_t>& slot : runningGroups) {
    count += slot.load() != 0 ? 1u : 0u;
  }
  return count;
}

ToolStartWindow::ToolStartWindow() {
  const sigset_t ending = endingSignalSet();
  ::pthread_sigmask(SIG_BLOCK, &ending, &previousMask_);
  startsUnderway.fetch_add(1);
}

ToolStartWindow::~ToolStartWindow() {
  startsUnderway.fetch_sub(1);
  ::pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
}

bool ToolStartWindow::programEnding() const {
  return SystemValuesUtility::programEnding.load();
}

void prepareProcessForTools() {
  openClosedStandardDescriptors();
  ::signal(SIGCHLD, SIG_DFL);
  struct sigaction ending {};
  ending.sa_handler = endToolsAndProgram;
  sigemptyset(&ending.sa_mask);
  for (const int number : kEndingSignals) {
    struct sigaction current {};
    // A signal the launcher had us ignore stays ignored, as it would without tools.
    if (::sigaction(number, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
      ::sigaction(number, &ending, nullptr);
    }
  }
  static std::atomic<bool> registered{false};
  if (!registered.exchange(true)) {
    std::atexit(endToolsAtExit);
  }
}

}  // namespace tarq::SystemValuesUtility
