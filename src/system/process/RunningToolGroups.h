#pragma once

#include <signal.h>
#include <sys/types.h>

#include <cstddef>

namespace tarq::SystemValuesUtility {

// Called first thing in a program that runs tools:
// - a closed standard descriptor is opened onto /dev/null, so that no file, pipe or connection
//   the program opens later takes its number (and a tool's standard error is never one of ours);
// - SIGCHLD goes back to its default: a launcher that left it ignored would have the kernel reap
//   our tools before their status is read;
// - an interrupt, quit, hang-up or terminate request ends the process groups of the running tools
//   before the program ends as the signal asks (status 128 + the signal, also as process 1 of a
//   PID namespace, where the kernel ignores a signal's default action), and so does any other
//   end through exit() (a toolkit's own, say): no tool outlives the program.
void prepareProcessForTools();

// The process groups of the tools running now, which the program's end ends. Lock-free, since
// the signal handler reads them; a group past the table's room is simply not ended.
void trackGroup(pid_t group);
void untrackGroup(pid_t group);
// Ends the process groups of the running tools now, waiting briefly for starts under way; no
// tool starts after it. For a program's own ends that neither the signal handlers nor exit()
// see, such as a toolkit leaving through _exit(). Async-signal-safe.
void endRunningTools();

// How many groups the table holds now.
std::size_t trackedGroupCount();

// A tool's start, from before its process exists until its group is tracked. While one lasts,
// the program's end waits for it (briefly), and the ending signals wait on this thread, so no
// tool can start untracked in the moment the program ends. A start that finds the program
// ending does not start.
class ToolStartWindow {
 public:
  ToolStartWindow();
  ~ToolStartWindow();
  ToolStartWindow(const ToolStartWindow&) = delete;
  ToolStartWindow& operator=(const ToolStartWindow&) = delete;

  bool programEnding() const;

 private:
  sigset_t previousMask_;
};

}  // namespace tarq::SystemValuesUtility
