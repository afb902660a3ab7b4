#pragma once

#include <algorithm>
#include <chrono>

namespace tarq::SystemValuesUtility {

using Clock = std::chrono::steady_clock;

// The time left until `deadline` as poll takes it: whole milliseconds, rounded up, none once it
// has passed, and at most an hour.
inline int millisecondsUntil(Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(std::clamp<decltype(left)>(left, 0, 60 * 60 * 1000));
}

}  // namespace tarq::SystemValuesUtility
