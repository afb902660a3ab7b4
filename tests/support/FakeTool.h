#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "support/TemporaryDirectory.h"

namespace tarq::testing {

// Writes an executable shell script at `relativePath` with `body` after the "#!/bin/sh" line.
inline std::string writeScript(const TemporaryDirectory& directory, std::string_view relativePath,
                               std::string_view body) {
  directory.write(relativePath, "#!/bin/sh\n" + std::string(body));
  const std::filesystem::path script = directory.path() / relativePath;
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  return script.string();
}

// A tool that, called with exactly `arguments` (joined by blanks), prints `output` byte for
// byte and exits with `exitStatus`; called any other way it exits with 64.
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
