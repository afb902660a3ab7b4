#include "system/process/ToolOutput.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>

#include "system/process/Deadline.h"
#include "system/process/ToolRunPlatform.h"

namespace tarq::SystemValuesUtility {

namespace {

// Most tools print a few lines: the first read has a page of room and each read of a short
// output doubles it, so that little memory is cleared and touched for them. Past that, a read is
// as large as the pipe and takes all a chatty tool has written meanwhile.
constexpr std::size_t kFirstRead = 4 * 1024;
constexpr std::size_t kShortOutput = 64 * 1024;
constexpr std::size_t kReadChunk = 1024 * 1024;

// A pipe end of ours kept above the standard descriptors, so that redirecting the child's
// standard output never collides with it even when the program was started without them.
bool aboveStandardDescriptors(int& end) {
  if (end > STDERR_FILENO) {
    return true;
  }
  const int moved = ::fcntl(end, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
  ::close(end);
  end = moved;
  return moved >= 0;
}

}  // namespace

int ToolOutput::openPipe() {
  int ends[2];
  if (!openOutputPipe(ends)) {
    return -1;
  }
  readEnd_ = ends[0];
  int writeEnd = ends[1];
  if (!aboveStandardDescriptors(readEnd_) || !aboveStandardDescriptors(writeEnd) ||
      ::fcntl(readEnd_, F_SETFL, O_NONBLOCK) != 0) {
    const int error = errno;
    if (writeEnd >= 0) {
      ::close(writeEnd);
    }
    close();
    errno = error;
    return -1;
  }
  return writeEnd;
}

std::size_t ToolOutput::readAvailable(int timeout) {
  pollfd entry{readEnd_, POLLIN, 0};
  const int ready = ::poll(&entry, 1, timeout);
  if (ready <= 0) {
    if (ready < 0 && errno != EINTR) {
      close();
    }
    return 0;
  }
  return drain();
}

std::size_t ToolOutput::drain() {
  std::size_t total = 0;
  while (readEnd_ >= 0) {
    // The kernel copies straight into the output; nothing is copied a second time.
    const std::size_t chunk =
        output_.size() < kShortOutput ? std::max(kFirstRead, output_.size()) : kReadChunk;
    char* room = roomFor(chunk);
    if (room == nullptr) {
      return total;
    }
    const ssize_t count = ::read(readEnd_, room, chunk);
    const std::size_t kept = count > 0 ? static_cast<std::size_t>(count) : 0;
    output_.resize(output_.size() - chunk + kept);
    if (output_.size() > maximumBytes_) {
      drop();
      return total;
    }
    total += kept;
    if (count > 0) {
      if (kept < chunk) {
        return total;
      }
    } else if (count < 0 && errno == EINTR) {
      continue;
    } else {
      if (count == 0 || (errno != EAGAIN && errno != EWOULDBLOCK)) {
        close();
      }
      return total;
    }
  }
  return total;
}

// Extends the output by `count` bytes to read into and gives where they start; null, with the
// output dropped, once memory runs out or after the output has been dropped.
char* ToolOutput::roomFor(std::size_t count) {
  if (overflowed_) {
    return nullptr;
  }
  try {
    const std::size_t used = output_.size();
    if (output_.capacity() - used < count) {
      if (used < kShortOutput) {
        // A short output grows as strings do, doubling.
        output_.reserve(used + count);
      } else {
        // Growing by a large step touches and copies less fresh memory on the way up.
        output_.reserve(std::max(
            used + count,
            std::min(std::max(output_.capacity(), kReadChunk) * 8, maximumBytes_ + count)));
      }
      // Only a large output is worth huge pages: a short one would pay a huge page's worth of
      // memory for its first read.
      if (used >= kReadChunk) {
        adviseLargeBuffer(output_.data() + used, output_.capacity() - used);
      }
    }
    output_.resize(used + count);
    return output_.data() + used;
  } catch (const std::bad_alloc&) {
    drop();
    return nullptr;
  }
}

void ToolOutput::drop() {
  overflowed_ = true;
  output_ = std::string();
  close();
}

void ToolOutput::readRest(std::chrono::milliseconds idleGrace, std::chrono::milliseconds limit) {
  const Clock::time_point end = Clock::now() + limit;
  while (readEnd_ >= 0 && !overflowed_) {
    const Clock::time_point now = Clock::now();
    if (now >= end) {
      return;
    }
    const Clock::time_point quietUntil = std::min(end, now + idleGrace);
    if (readAvailable(millisecondsUntil(quietUntil)) == 0 && readEnd_ >= 0 &&
        Clock::now() >= quietUntil) {
      return;
    }
  }
}

void ToolOutput::close() {
  if (readEnd_ >= 0) {
    ::close(readEnd_);
    readEnd_ = -1;
  }
}

std::string ToolOutput::take() {
  // A short output need not keep the room of a whole read.
  if (output_.size() < kReadChunk) {
    output_.shrink_to_fit();
  }
  return std::move(output_);
}

}  // namespace tarq::SystemValuesUtility
