#include "system/probes/os_version_linux.h"

#include <sys/utsname.h>

#include "system/probes/OperatingSystem.h"
#include "system/text/FileReading.h"
#include "system/text/TextParsing.h"

namespace tarq::SystemValuesUtility {

std::optional<std::string> osReleaseValue(std::string_view content, std::string_view key) {
  for (std::string_view line : splitLines(content)) {
    line = trimWhitespace(line);
    if (!line.starts_with(key) || line.size() <= key.size() || line[key.size()] != '=') {
      continue;
    }
    const std::string_view raw = line.substr(key.size() + 1);
    // Values are shell words: in double quotes a backslash escapes $ " ` \; single quotes take
    // everything literally; unquoted text ends at a blank.
    std::string value;
    char quote = '\0';
    for (std::size_t i = 0; i < raw.size(); ++i) {
      const char c = raw[i];
      if (quote == '\0' && (c == '"' || c == '\'')) {
        quote = c;
      } else if (quote != '\0' && c == quote) {
        quote = '\0';
      } else if (quote != '\'' && c == '\\' && i + 1 < raw.size()) {
        value.push_back(raw[++i]);
      } else if (quote == '\0' && (c == ' ' || c == '\t')) {
        break;
      } else {
        value.push_back(c);
      }
    }
    return value;
  }
  return std::nullopt;
}

OperatingSystemVersion linuxOperatingSystemVersion(std::string_view kernelRelease,
                                                   std::optional<std::string_view> osRelease) {
  // The numbers stand for a macOS version, which Linux does not have: a kernel numbered 10.11.6
  // or 11.2 must not pass as a certified Mac.
  OperatingSystemVersion version;
  std::optional<std::string> prettyName =
      osRelease ? osReleaseValue(*osRelease, "PRETTY_NAME") : std::nullopt;
  if (!prettyName || prettyName->empty()) {
    prettyName = "Linux";
  }
  version.versionText = *prettyName + ", kernel " + std::string(kernelRelease);
  return version;
}

OperatingSystemVersion operatingSystemVersion() {
  struct utsname names {};
  const std::string release = ::uname(&names) == 0 ? names.release : "";
  auto osRelease = readWholeFile(std::string(kOsReleasePath));
  if (!osRelease) {
    osRelease = readWholeFile(std::string(kOsReleaseFallbackPath));
  }
  return linuxOperatingSystemVersion(
      release, osRelease ? std::optional<std::string_view>(*osRelease) : std::nullopt);
}

}  // namespace tarq::SystemValuesUtility
