#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "system/process/ToolRun.h"

namespace tarq::SystemValuesUtility {

// The installed Mono Framework's version. `error` is empty exactly when `version` is not;
// `major` is 0 on failure and when the first number does not fit.
struct MonoVersionInfo {
  std::string version;
  std::string error;
  int64_t major = 0;

  friend bool operator==(const MonoVersionInfo&, const MonoVersionInfo&) = default;
};

// One run of a Mono executable: its output when `ok`, otherwise the message saying what failed.
struct MonoRun {
  bool ok = false;
  std::string text;

  friend bool operator==(const MonoRun&, const MonoRun&) = default;
};

// The framework's runtime executables, tried in this order.
inline constexpr const char* kMonoExecutable =
    "/Library/Frameworks/Mono.framework/Versions/Current/bin/mono";
inline constexpr const char* kMono64Executable =
    "/Library/Frameworks/Mono.framework/Versions/Current/bin/mono64";
inline constexpr const char* kMono32Executable =
    "/Library/Frameworks/Mono.framework/Versions/Current/bin/mono32";

// A runtime that hangs is stopped after 30 seconds. Its banner is a few lines: one that prints
// more than a megabyte is not the runtime and counts as failed.
inline constexpr ToolRunLimits kMonoRunLimits{.maximumSleeps = kGuardedRunSleeps,
                                              .maximumOutputBytes = std::size_t{1} << 20};

// Runs the executable at `path` with "--version" within `limits`. A path where nothing exists
// is not run; anything that exists is, folders included, and one that cannot be started says so.
MonoRun runMono(const std::string& path, const ToolRunLimits& limits = kMonoRunLimits);

// The version from the first of `candidates` that runs successfully; the later ones are not
// tried. When none does, the error is the last candidate's.
MonoVersionInfo monoVersion(const std::vector<std::string>& candidates = {kMonoExecutable,
                                                                          kMono64Executable,
                                                                          kMono32Executable},
                            const ToolRunLimits& limits = kMonoRunLimits);

// The version in the runtime's "--version" banner.
MonoVersionInfo monoVersionFromBanner(std::string_view banner);

}  // namespace tarq::SystemValuesUtility
