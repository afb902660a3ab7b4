#pragma once

#include <sys/types.h>

namespace tarq::SystemValuesUtility {

// Called first thing in a program that runs tools. Puts SIGCHLD back to its default: a launcher
// that left it ignored would have the kernel reap our tools before their status is read. An
// interrupt, hang-up or terminate request then ends the process groups of the running tools
// before the program ends as the signal asks, so no tool outlives the program.
void prepareProcessForTools();

// The process groups of the tools running now, which that interrupt ends. Lock-free, since the
// signal handler reads them; a group past the table's room is simply not ended.
void trackGroup(pid_t group);
void untrackGroup(pid_t group);

}  // namespace tarq::SystemValuesUtility
