#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// A fuzz target's input, as the text its reader takes.
inline std::string_view fuzzText(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}
