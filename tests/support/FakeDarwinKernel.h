#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "system/kernel/DarwinKernelParameterCalls.h"
#include "system/kernel/KernelParameters.h"

namespace tarq::testing {

using SystemValuesUtility::DarwinSysctlFunctions;
using SystemValuesUtility::Mib;

// A reply's bytes: a text's as they are, a number's in this machine's order.
inline std::vector<int8_t> bytesOf(std::string_view text) {
  return std::vector<int8_t>(text.begin(), text.end());
}

template <typename T>
std::vector<int8_t> bytesOf(T value) {
  std::vector<int8_t> bytes(sizeof(T));
  std::memcpy(bytes.data(), &value, sizeof(T));
  return bytes;
}

// Sysctl calls answering from `replies` and `names` as a Mac's kernel does: ENOENT for what it
// lacks, ENOMEM for too little room, EPERM for a write. When set, the size query or the data
// read fails with that errno, and the data read gives only `dataReadSize` bytes.
class FakeKernelParameterCalls final : public SystemValuesUtility::KernelParameterCalls {
 public:
  std::map<Mib, std::vector<int8_t>> replies;
  std::map<std::string, Mib, std::less<>> names;
  std::optional<int> sizeQueryErrno, dataReadErrno;
  std::optional<size_t> dataReadSize;
  int sysctlCalls = 0;
  int nameCalls = 0;

  int sysctl(int* name, u_int namelen, void* oldp, size_t* oldlenp, void* newp,
             size_t /*newlen*/) override {
    ++sysctlCalls;
    const std::optional<int> failure = oldp == nullptr ? sizeQueryErrno : dataReadErrno;
    const auto reply = replies.find(Mib(name, name + namelen));
    if (newp != nullptr || failure || reply == replies.end()) {
      return fail(newp != nullptr ? EPERM : failure.value_or(ENOENT));
    }
    const size_t size = oldp == nullptr
                            ? reply->second.size()
                            : std::min(reply->second.size(), dataReadSize.value_or(SIZE_MAX));
    if (oldp != nullptr && *oldlenp < size) {
      return fail(ENOMEM);
    }
    if (oldp != nullptr) {
      std::memcpy(oldp, reply->second.data(), size);
    }
    *oldlenp = size;
    return 0;
  }

  int sysctlnametomib(const char* name, int* mibp, size_t* sizep) override {
    ++nameCalls;
    const auto found = names.find(name);
    if (found == names.end() || *sizep < found->second.size()) {
      return fail(found == names.end() ? ENOENT : ENOMEM);
    }
    std::copy(found->second.begin(), found->second.end(), mibp);
    *sizep = found->second.size();
    return 0;
  }

 private:
  static int fail(int errorNumber) {
    errno = errorNumber;
    return -1;
  }
};

// A Mac's kernel from a saved `sysctl` output ("name: value" lines) plus the values it lacks, with
// Apple's numbers and widths (sys/sysctl.h), reached through the C functions a Mac calls. On arm64
// hw.cpufrequency is a known name whose read is ENOENT.
class FakeDarwinKernel {
 public:
  FakeDarwinKernel(const std::string& outputPath, std::map<std::string, std::string> values) {
    std::ifstream output(outputPath);
    for (std::string line; std::getline(output, line);) {
      if (const std::size_t colon = line.find(": "); colon != std::string::npos) {
        values.emplace(line.substr(0, colon), line.substr(colon + 2));
      }
    }
    // CTL_HW is 6, CTL_MACHDEP 7, OID_AUTO from 100 on; the 4-byte legacy entries come before the
    // 8-byte named ones of the same name.
    const struct {
      const char* name;
      Mib mib;
      std::size_t width;  // 0 for text
    } parameters[] = {{"hw.machine", {6, 1}, 0},
                      {"hw.model", {6, 2}, 0},
                      {"hw.ncpu", {6, 3}, 4},
                      {"hw.activecpu", {6, 25}, 4},
                      {"hw.memsize", {6, 24}, 8},
                      {"hw.l2cachesize", {6, 20}, 4},
                      {"hw.l3cachesize", {6, 22}, 4},
                      {"hw.cpufrequency", {6, 15}, 4},
                      {"hw.l2cachesize", {6, 100}, 8},
                      {"hw.l3cachesize", {6, 101}, 8},
                      {"hw.cpufrequency", {6, 102}, 8},
                      {"hw.cpu64bit_capable", {6, 103}, 4},
                      {"machdep.cpu.brand_string", {7, 100, 101}, 0}};
    for (const auto& [name, mib, width] : parameters) {
      const auto value = values.find(name);
      if (value == values.end()) {
        continue;
      }
      calls_.names[name] = mib;
      const std::string& text = value->second;
      calls_.replies[mib] = width == 0   ? bytesOf(std::string_view(text.c_str(), text.size() + 1))
                            : width == 4 ? bytesOf(static_cast<int32_t>(std::stoll(text)))
                                         : bytesOf(int64_t{std::stoll(text)});
    }
    if (values["hw.machine"] == "arm64") {
      calls_.names.emplace("hw.cpufrequency", Mib{6, 102});
    }
    active() = this;
  }
  ~FakeDarwinKernel() { active() = nullptr; }
  FakeDarwinKernel(const FakeDarwinKernel&) = delete;
  FakeDarwinKernel& operator=(const FakeDarwinKernel&) = delete;

  static DarwinSysctlFunctions functions() {
    return {[](int* name, u_int namelen, void* oldp, size_t* oldlenp, void* newp, size_t newlen) {
              return active()->calls_.sysctl(name, namelen, oldp, oldlenp, newp, newlen);
            },
            [](const char* name, int* mibp, size_t* sizep) {
              return active()->calls_.sysctlnametomib(name, mibp, sizep);
            }};
  }

 private:
  static FakeDarwinKernel*& active() {
    static FakeDarwinKernel* kernel = nullptr;
    return kernel;
  }

  FakeKernelParameterCalls calls_;
};

}  // namespace tarq::testing
