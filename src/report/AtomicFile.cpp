#include "report/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <optional>

#include "report/ReplacementFolder.h"

namespace tarq {
namespace {

std::error_code lastError() {
  return {errno, std::generic_category()};
}

// Each new file gets a name of its own, even when two saves run at once.
std::atomic<unsigned> temporaryFileCount{0};

// As many links as the kernel follows in one path before it gives up.
constexpr int kMostLinksFollowed = 40;

class SaveErrorCategory final : public std::error_category {
 public:
  const char* name() const noexcept override { return "save"; }
  std::string message(int value) const override {
    switch (static_cast<SaveError>(value)) {
      case SaveError::notRegularFile:
        return "Not a regular file";
      case SaveError::noPath:
        return "No file name was given";
    }
    return "Unknown error";
  }
};

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// The file a save replaces: `path`, or the end of the chain of symbolic links it starts.
std::error_code followLinks(std::string& path) {
  for (int followed = 0;; ++followed) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      // A name not there yet is a new file; any other failure shows when it is written.
      return {};
    }
    if (followed == kMostLinksFollowed) {
      return {ELOOP, std::generic_category()};
    }
    std::string target(static_cast<std::size_t>(info.st_size) + 1, '\0');
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length < 0) {
      return lastError();
    }
    // A link that grew since it was measured is read again.
    if (static_cast<std::size_t>(length) >= target.size()) {
      --followed;
      continue;
    }
    target.resize(static_cast<std::size_t>(length));
    path = target.front() == '/' ? target : folderOf(path) + "/" + target;
  }
}

// What the replaced file has that the new one must keep; none for a new file.
struct ReplacedFile {
  mode_t permissions;
  uid_t owner;
  gid_t group;
};

std::error_code examineReplaced(const std::string& path, std::optional<ReplacedFile>& replaced) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    return {};
  }
  if (S_ISDIR(info.st_mode)) {
    return {EISDIR, std::generic_category()};
  }
  if (!S_ISREG(info.st_mode)) {
    return SaveError::notRegularFile;
  }
  replaced = ReplacedFile{static_cast<mode_t>(info.st_mode & 07777), info.st_uid, info.st_gid};
  return {};
}

// The owner first, since a change of owner clears the set-user-ID bits. Giving the file away is
// for root only; an ordinary saver keeps at least the group where it belongs to it.
void keepOwnerAndPermissions(int file, const ReplacedFile& replaced) {
  if (::fchown(file, replaced.owner, replaced.group) != 0) {
    (void)::fchown(file, static_cast<uid_t>(-1), replaced.group);
  }
  ::fchmod(file, replaced.permissions);
}

}  // namespace

std::error_code make_error_code(SaveError error) {
  static const SaveErrorCategory category;
  return {static_cast<int>(error), category};
}

std::error_code writeFileAtomically(const std::string& requestedPath, std::string_view contents) {
  if (requestedPath.empty()) {
    return SaveError::noPath;
  }
  std::string path = requestedPath;
  std::optional<ReplacedFile> replaced;
  if (std::error_code error = followLinks(path)) {
    return error;
  }
  if (std::error_code error = examineReplaced(path, replaced)) {
    return error;
  }
  const std::size_t slash = path.rfind('/');
  const std::string folder = folderOf(path);
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
    if (replaced) {
      keepOwnerAndPermissions(file, *replaced);
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
