#include "report/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "report/ReplacementFolder.h"

namespace tarq {
namespace {

std::error_code lastError() {
  return {errno, std::generic_category()};
}

// Each new file gets a name of its own, even when two saves run at once.
std::atomic<unsigned> temporaryFileCount{0};

}  // namespace

std::error_code writeFileAtomically(const std::string& path, std::string_view contents) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "."
                             : slash == 0               ? "/"
                                                        : path.substr(0, slash);
  const ReplacementFolder replacement = replacementFolderFor(path);
  const std::string newFolder = replacement.path.empty() ? folder : replacement.path;
  // Short enough that the new file's name fits wherever the target's does.
  const std::string stem = path.substr(slash + 1).substr(0, 200);

  const std::error_code error = [&]() -> std::error_code {
    std::string temporary;
    int file = -1;
    while (file < 0) {
      temporary = newFolder + "/." + stem + "." + std::to_string(::getpid()) + "-" +
                  std::to_string(temporaryFileCount++) + ".tmp";
      file = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (file < 0 && errno != EEXIST) {
        return lastError();
      }
    }
    const auto abandon = [&](std::error_code failure) {
      if (file >= 0) {
        ::close(file);
      }
      ::unlink(temporary.c_str());
      return failure;
    };
    while (!contents.empty()) {
      const ssize_t written = ::write(file, contents.data(), contents.size());
      if (written < 0) {
        if (errno == EINTR) {
          continue;
        }
        return abandon(lastError());
      }
      contents.remove_prefix(static_cast<std::size_t>(written));
    }
    if (::fsync(file) != 0) {
      return abandon(lastError());
    }
    const int closed = ::close(file);
    file = -1;
    if (closed != 0) {
      return abandon(lastError());
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
      return abandon(lastError());
    }
    return {};
  }();
  if (replacement.removeAfter) {
    ::rmdir(replacement.path.c_str());
  }
  if (!error) {
    // The rename itself is on the disk once the folder is.
    const int folderFile = ::open(folder.c_str(), O_RDONLY | O_CLOEXEC);
    if (folderFile >= 0) {
      ::fsync(folderFile);
      ::close(folderFile);
    }
  }
  return error;
}

}  // namespace tarq
