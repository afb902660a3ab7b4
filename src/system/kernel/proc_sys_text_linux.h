#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Readers of the texts Linux publishes under /proc and /sys, for the stand-in kernel-parameter
// service. Each takes the text as it is, however malformed, and gives no value rather than a
// made-up one.
namespace tarq::SystemValuesUtility {

// The values of the "key : value" lines whose key is `key`, as in /proc/cpuinfo and
// /proc/meminfo, in order.
std::vector<std::string_view> colonFieldValues(std::string_view text, std::string_view key);

// The first non-empty value of `key`.
std::optional<std::string_view> colonField(std::string_view text, std::string_view key);

// "name" followed by digits only, as in "cpu12" or "memory7".
bool isNumberedEntry(std::string_view entry, std::string_view name);

// A cache size as /sys writes it: "32K", "1024K", "8M" or plain bytes.
std::optional<uint64_t> parseCacheSize(std::string_view text);

// The number of processors in a list such as "0-3,6,8-9" (the format of
// /sys/devices/system/cpu/online).
std::optional<uint64_t> countInCpuList(std::string_view list);

// The "2.60GHz" of a model name such as "Intel(R) Core(TM) i7-6700HQ CPU @ 2.60GHz", in hertz.
std::optional<uint64_t> frequencyInModelName(std::string_view modelName);

// ARM's /proc/cpuinfo has no model name on 64-bit kernels, only the implementer and part codes:
// the core's name where ARM Ltd made it, else the codes.
std::optional<std::string> armCoreName(std::string_view cpuinfo);

}  // namespace tarq::SystemValuesUtility
