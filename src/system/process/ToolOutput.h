#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace tarq::SystemValuesUtility {

// A tool's standard output: the read end of its pipe and what has been read from it, up to a
// bound. Output past the bound, or past what memory holds, overflows: it is dropped, the pipe is
// closed and `overflowed` says so; the owner of the tool ends the tool. Reads never block.
class ToolOutput {
 public:
  explicit ToolOutput(std::size_t maximumBytes) : maximumBytes_(maximumBytes) {}
  ~ToolOutput() { close(); }
  ToolOutput(const ToolOutput&) = delete;
  ToolOutput& operator=(const ToolOutput&) = delete;

  // Opens the pipe and gives its write end, for the tool's standard output, to be closed by the
  // caller once the tool has it; -1, with errno set and nothing left open, on failure.
  int openPipe();

  // The read end; -1 once closed (at end of file, on a read error or on overflow).
  int descriptor() const { return readEnd_; }
  bool overflowed() const { return overflowed_; }

  // Reads all the pipe holds now. Returns the number of bytes read; at end of file, or on a
  // read error, the pipe is closed.
  std::size_t drain();
  // Waits up to `timeout` milliseconds for output and reads all there is, as drain does.
  std::size_t readAvailable(int timeout);
  // After the tool has exited: whatever is still in the pipe, until end of file, a quiet spell
  // of `idleGrace` or `limit` from now, whichever comes first. A descendant that left the tool's
  // process group may still hold the pipe; it cannot hold the run.
  void readRest(std::chrono::milliseconds idleGrace, std::chrono::milliseconds limit);

  void close();
  // What was read, handed over; empty after an overflow.
  std::string take();

 private:
  char* roomFor(std::size_t count);
  void drop();

  std::size_t maximumBytes_;
  int readEnd_ = -1;
  std::string output_;
  bool overflowed_ = false;
};

}  // namespace tarq::SystemValuesUtility
