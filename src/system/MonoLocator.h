#pragma once

#include <cstdint>
#include <string>

namespace tarq {

// The installed Mono Framework's version. `error` is empty exactly when `version` is not;
// `major` is 0 on failure and when the first number does not fit.
struct MonoVersionInfo {
  std::string version;
  std::string error;
  int64_t major = 0;

  friend bool operator==(const MonoVersionInfo&, const MonoVersionInfo&) = default;
};

namespace SystemValuesUtility {

MonoVersionInfo monoVersion();

}  // namespace SystemValuesUtility
}  // namespace tarq
