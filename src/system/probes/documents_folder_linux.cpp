#include "system/probes/documents_folder_linux.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "system/probes/DiskSpace.h"
#include "system/text/FileReading.h"
#include "system/text/TextParsing.h"

namespace tarq::SystemValuesUtility {
namespace {

constexpr std::string_view kDocumentsKey = "XDG_DOCUMENTS_DIR=";

// $HOME, or the password database's home where it is unset.
std::string homeDirectory() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
    return home;
  }
  long bufferSize = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(bufferSize > 0 ? static_cast<std::size_t>(bufferSize) : 16384);
  struct passwd entry {};
  struct passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
      found != nullptr && found->pw_dir != nullptr) {
    return found->pw_dir;
  }
  return {};
}

}  // namespace

std::string documentsDirectoryFromUserDirs(std::optional<std::string_view> userDirs,
                                           std::string_view home) {
  const std::string fallback = std::string(home) + "/Documents";
  std::optional<std::string> folder;
  for (std::string_view line : splitLines(userDirs.value_or(std::string_view{}))) {
    line = trimWhitespace(line);
    if (!line.starts_with(kDocumentsKey)) {
      continue;
    }
    std::string_view quoted = line.substr(kDocumentsKey.size());
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') {
      continue;
    }
    quoted = quoted.substr(1, quoted.size() - 2);
    std::string path;
    for (std::size_t i = 0; i < quoted.size(); ++i) {
      path.push_back(quoted[i] == '\\' && i + 1 < quoted.size() ? quoted[++i] : quoted[i]);
    }
    if (quoted.starts_with("$HOME")) {
      folder = std::string(home) + path.substr(5);
    } else if (path.starts_with('/')) {
      folder = path;
    }
  }
  return folder.value_or(fallback);
}

std::string documentsDirectory() {
  const std::string home = homeDirectory();
  const char* configHome = std::getenv("XDG_CONFIG_HOME");
  const std::string configDirectory =
      configHome != nullptr && configHome[0] == '/' ? configHome : home + "/.config";
  const auto userDirs = readWholeFile(configDirectory + "/user-dirs.dirs");
  return documentsDirectoryFromUserDirs(
      userDirs ? std::optional<std::string_view>(*userDirs) : std::nullopt, home);
}

}  // namespace tarq::SystemValuesUtility
