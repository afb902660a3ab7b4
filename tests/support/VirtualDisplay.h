#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

namespace tarq::testing {

// An Xvfb server of a test's own, on a display number it picks itself; stopped with the object.
class VirtualDisplay {
 public:
  VirtualDisplay(int width, int height) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
      throw std::runtime_error("cannot create a pipe for Xvfb");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The server writes its display number to fd 3 once it accepts connections.
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 3);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    // -noreset: a reset when the last client leaves would refuse a connection made meanwhile.
    // setpriv ends the server with a test process killed before it can stop it.
    const char* argv[] = {"setpriv", "--pdeathsig", "TERM", "Xvfb",         "-displayfd",
                          "3",       "-screen",     "0",    screen.c_str(), "-nolisten",
                          "tcp",     "-noreset",    nullptr};
    posix_spawnp(&pid_, "setpriv", &actions, nullptr, const_cast<char* const*>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    std::string number;
    for (char c = 0; ::read(pipeEnds[0], &c, 1) == 1 && c != '\n';) {
      number += c;
    }
    ::close(pipeEnds[0]);
    if (number.empty()) {
      stop();
      throw std::runtime_error("Xvfb did not start");
    }
    name_ = ":" + number;
  }
  ~VirtualDisplay() { stop(); }
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;

  const std::string& name() const { return name_; }  // e.g. ":3"

 private:
  void stop() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
      pid_ = 0;
    }
  }

  pid_t pid_ = 0;
  std::string name_;
};

}  // namespace tarq::testing
