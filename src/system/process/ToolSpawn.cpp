#include "system/process/ToolSpawn.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <cerrno>

#include "system/process/ToolRunPlatform.h"

extern char** environ;

namespace tarq::SystemValuesUtility {

namespace {

bool isOpen(int descriptor) {
  return ::fcntl(descriptor, F_GETFD) != -1;
}

// Standard input is /dev/null: a tool that reads must not wait on, or swallow, ours. A closed
// standard error is given /dev/null too, as a tool may fail on a missing one. Returns 0, with the
// spawn flags that keeping only these three needs in `keepFlags`, or an error number.
int redirectStandardDescriptors(posix_spawn_file_actions_t& actions, int outputEnd,
                                short& keepFlags) {
  const bool standardErrorOpen = isOpen(STDERR_FILENO);
  int error = posix_spawn_file_actions_adddup2(&actions, outputEnd, STDOUT_FILENO);
  if (error == 0) {
    error = posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  }
  if (error == 0 && !standardErrorOpen) {
    error = posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  }
  if (error != 0) {
    return error;
  }
  keepFlags = keepOnlyStandardDescriptors(actions, standardErrorOpen);
  return keepFlags < 0 ? EINVAL : 0;
}

// The child starts with default handling of every signal, whatever this program or its launcher
// set up: a tool writing to a closed pipe ends, a terminate request reaches it, and its own
// children can be waited for. It leads a process group of its own, in the background of our
// terminal; there SIGTTOU, blocked, never stops it for writing to the terminal (under
// `stty tostop`). Nothing else is blocked.
int setUpAttributes(posix_spawnattr_t& attributes, short keepFlags) {
  sigset_t defaults;
  sigset_t blocked;
  sigfillset(&defaults);
  sigemptyset(&blocked);
  sigaddset(&blocked, SIGTTOU);
  const short flags = static_cast<short>(keepFlags | POSIX_SPAWN_SETSIGDEF |
                                         POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);
  int error = posix_spawnattr_setflags(&attributes, flags);
  if (error == 0) {
    error = posix_spawnattr_setpgroup(&attributes, 0);
  }
  if (error == 0) {
    error = posix_spawnattr_setsigdefault(&attributes, &defaults);
  }
  if (error == 0) {
    error = posix_spawnattr_setsigmask(&attributes, &blocked);
  }
  return error;
}

}  // namespace

int spawnTool(const std::string& path, const std::vector<std::string>& arguments, int outputEnd,
              pid_t& pid) {
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 2);
  argv.push_back(const_cast<char*>(path.c_str()));
  for (const std::string& argument : arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);

  pid = -1;
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
  short keepFlags = 0;
  error = redirectStandardDescriptors(actions, outputEnd, keepFlags);
  if (error == 0) {
    error = setUpAttributes(attributes, keepFlags);
  }
  if (error == 0) {
    error = ::posix_spawn(&pid, path.c_str(), &actions, &attributes, argv.data(), environ);
  }
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) {
    pid = -1;
  }
  return error;
}

}  // namespace tarq::SystemValuesUtility
