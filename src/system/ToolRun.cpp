// Provisional: a plain spawn, read and wait. To be replaced by the hardened runner.
#include "system/ToolRun.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace tarq::SystemValuesUtility {

ToolRun runTool(const std::string& path, const std::vector<std::string>& arguments) {
  ToolRun run;
  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
    return run;
  }
  std::vector<char*> argv;
  std::string program = path;
  argv.push_back(program.data());
  std::vector<std::string> copies = arguments;
  for (std::string& argument : copies) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  pid_t pid = 0;
  const int started = ::posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeEnds[1]);
  if (started != 0) {
    ::close(pipeEnds[0]);
    return run;
  }
  run.launched = true;
  std::string output;
  char buffer[65536];
  for (;;) {
    const ssize_t count = ::read(pipeEnds[0], buffer, sizeof buffer);
    if (count > 0) {
      output.append(buffer, static_cast<std::size_t>(count));
    } else if (count == 0 || errno != EINTR) {
      break;
    }
  }
  ::close(pipeEnds[0]);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  if (run.exitStatus == 0) {
    run.output = std::move(output);
  }
  return run;
}

ToolRun runToolGuarded(const std::string& path, const std::vector<std::string>& arguments,
                       int /*maximumSleeps*/) {
  return runTool(path, arguments);
}

}  // namespace tarq::SystemValuesUtility
