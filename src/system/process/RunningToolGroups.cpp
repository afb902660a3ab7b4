#include "system/process/RunningToolGroups.h"

#include <signal.h>

#include <atomic>
#include <cstddef>

namespace tarq::SystemValuesUtility {

namespace {

constexpr std::size_t kTrackedGroups = 64;
std::atomic<pid_t> runningGroups[kTrackedGroups];

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

void prepareProcessForTools() {
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

}  // namespace tarq::SystemValuesUtility
