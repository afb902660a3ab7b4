#pragma once

// The few steps of a tool run that differ between the platforms' process services.

#include <spawn.h>

#include <cstddef>
#include <string>

namespace tarq::tool_run_platform {

// Opens a pipe with both ends closed on exec. False, with no descriptor left open, on failure.
bool openOutputPipe(int ends[2]);

// Arranges that the child keeps only standard input, output and error: adds to `actions` (after
// the standard-output redirection) and returns the spawn flags this needs, or -1 on failure.
short keepOnlyStandardDescriptors(posix_spawn_file_actions_t& actions);

// Tells the memory manager that a large buffer about to be filled will be filled entirely.
void adviseLargeBuffer(char* start, std::size_t length);

// Raises the platform's exception for a tool that could not be started.
[[noreturn]] void raiseStartFailure(const std::string& path, int error);

}  // namespace tarq::tool_run_platform
