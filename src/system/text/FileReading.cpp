#include "system/text/FileReading.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <utility>

namespace tarq::SystemValuesUtility {
namespace {

struct FileDescriptor {
  int fd;
  ~FileDescriptor() {
    if (fd >= 0) {
      ::close(fd);
    }
  }
};

struct DirectoryCloser {
  void operator()(DIR* directory) const { ::closedir(directory); }
};

}  // namespace

struct ReadOnceScope::Readings {
  std::map<std::pair<std::string, std::size_t>, std::optional<std::string>> files;
  std::map<std::string, std::vector<std::string>> folders;
};

namespace {

thread_local ReadOnceScope::Readings* currentReadings = nullptr;

// What `read` gives for `key`, read at most once under the thread's scope.
template <typename Key, typename Value, typename Read>
Value readOnce(std::map<Key, Value> ReadOnceScope::Readings::*kind, const Key& key, Read read) {
  if (currentReadings == nullptr) {
    return read();
  }
  std::map<Key, Value>& readings = currentReadings->*kind;
  auto found = readings.find(key);
  if (found == readings.end()) {
    found = readings.emplace(key, read()).first;
  }
  return found->second;
}

std::optional<std::string> readFileNow(const std::string& path, std::size_t maxBytes) {
  const FileDescriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (file.fd < 0) {
    return std::nullopt;
  }
  std::string content;
  char buffer[16384];
  for (;;) {
    const ssize_t count = ::read(file.fd, buffer, sizeof buffer);
    if (count < 0) {
      if (errno == EINTR) {
        continue;
      }
      return std::nullopt;
    }
    if (count == 0) {
      return content;
    }
    if (content.size() + static_cast<std::size_t>(count) > maxBytes) {
      return std::nullopt;
    }
    content.append(buffer, static_cast<std::size_t>(count));
  }
}

std::vector<std::string> listFolderNow(const std::string& path) {
  std::vector<std::string> names;
  const std::unique_ptr<DIR, DirectoryCloser> directory(::opendir(path.c_str()));
  if (!directory) {
    return names;
  }
  while (const dirent* entry = ::readdir(directory.get())) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") {
      names.push_back(name);
    }
  }
  return names;
}

}  // namespace

ReadOnceScope::ReadOnceScope()
    : readings_(std::make_unique<Readings>()), previous_(currentReadings) {
  currentReadings = readings_.get();
}

ReadOnceScope::~ReadOnceScope() {
  currentReadings = previous_;
}

std::optional<std::string> readWholeFile(const std::string& path, std::size_t maxBytes) {
  return readOnce(&ReadOnceScope::Readings::files, std::pair(path, maxBytes),
                  [&] { return readFileNow(path, maxBytes); });
}

std::vector<std::string> directoryEntries(const std::string& path) {
  return readOnce(&ReadOnceScope::Readings::folders, path, [&] { return listFolderNow(path); });
}

bool fileExists(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0;
}

bool isDirectory(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace tarq::SystemValuesUtility
