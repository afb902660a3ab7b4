#pragma once

// The few steps of a tool run that differ between the platforms' process services.

#include <spawn.h>
#include <sys/types.h>

#include <cstddef>
#include <string>

namespace tarq::SystemValuesUtility {

// Opens a pipe with both ends closed on exec. False, with no descriptor left open, on failure.
bool openOutputPipe(int ends[2]);

// Arranges that the child keeps only standard input, output and error (all three already set up
// in `actions`, standard error inherited when `inheritStandardError`): adds to `actions` and
// returns the spawn flags this needs, or -1 on failure.
short keepOnlyStandardDescriptors(posix_spawn_file_actions_t& actions, bool inheritStandardError);

// A descriptor that stands for the child `pid` for as long as we hold it, readable once the child
// has exited, through which signals reach that child and no other; -1 where the system has none.
int openProcessHandle(pid_t pid);
// Sends `signal` through a handle from openProcessHandle; false if it could not.
bool signalThroughHandle(int handle, int signal);

// Tells the memory manager that a large buffer about to be filled will be filled entirely.
void adviseLargeBuffer(char* start, std::size_t length);

// Raises the platform's exception for a tool that could not be started.
[[noreturn]] void raiseStartFailure(const std::string& path, int error);

}  // namespace tarq::SystemValuesUtility
