#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "support/TemporaryDirectory.h"

namespace tarq::testing {

enum class ToolForm { missing, danglingLink, folder, notExecutable, script };

// A script has `body` after its "#!/bin/sh" line. Returns the tool's path.
inline std::string writeTool(const TemporaryDirectory& directory, std::string_view relativePath,
                             ToolForm form, std::string_view body = "") {
  const std::filesystem::path path = directory.path() / relativePath;
  if (form == ToolForm::danglingLink) {
    std::filesystem::create_directories(path.parent_path());
    std::filesystem::create_symlink(directory.path() / "nothing", path);
  } else if (form == ToolForm::folder) {
    std::filesystem::create_directories(path);
  } else if (form != ToolForm::missing) {
    directory.write(relativePath, "#!/bin/sh\n" + std::string(body));
    if (form == ToolForm::script) {
      std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    }
  }
  return path.string();
}

inline std::string writeScript(const TemporaryDirectory& directory, std::string_view relativePath,
                               std::string_view body) {
  return writeTool(directory, relativePath, ToolForm::script, body);
}

// Called with exactly `arguments` (joined by blanks), it prints `output` byte for byte and exits
// with `exitStatus`; called any other way it exits with 64.
inline std::string writeFakeTool(const TemporaryDirectory& directory, std::string_view relativePath,
                                 std::string_view arguments, std::string_view output,
                                 int exitStatus = 0) {
  const std::string outputFile = std::string(relativePath) + ".output";
  directory.write(outputFile, output);
  return writeScript(directory, relativePath,
                     "[ \"$*\" = '" + std::string(arguments) + "' ] || exit 64\ncat '" +
                         (directory.path() / outputFile).string() + "'\nexit " +
                         std::to_string(exitStatus) + "\n");
}

}  // namespace tarq::testing
