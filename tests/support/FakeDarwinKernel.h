#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "system/kernel/DarwinKernelParameterCalls.h"

namespace tarq::testing {

using SystemValuesUtility::DarwinSysctlFunctions;

// A Mac's kernel as its sysctl calls see it, answering from a saved `sysctl` output ("name:
// value" lines) plus the values the output lacks, with Apple's numbers and widths (sys/sysctl.h).
// A name the Mac lacks is ENOENT; on arm64 hw.cpufrequency is a known name whose read is ENOENT.
class FakeDarwinKernel {
 public:
  FakeDarwinKernel(const std::string& outputPath, const std::map<std::string, std::string>& extra)
      : values_(extra) {
    std::ifstream output(outputPath);
    for (std::string line; std::getline(output, line);) {
      if (const std::size_t colon = line.find(": "); colon != std::string::npos) {
        values_.emplace(line.substr(0, colon), line.substr(colon + 2));
      }
    }
    active() = this;
  }
  ~FakeDarwinKernel() { active() = nullptr; }
  FakeDarwinKernel(const FakeDarwinKernel&) = delete;
  FakeDarwinKernel& operator=(const FakeDarwinKernel&) = delete;

  static DarwinSysctlFunctions functions() { return {&sysctl, &sysctlnametomib}; }

 private:
  struct Parameter {
    const char* name;
    std::vector<int> mib;
    std::size_t width;  // 0 for text
  };

  // CTL_HW is 6, CTL_MACHDEP 7; names without a legacy number get OID_AUTO's, from 100 on. The
  // legacy byte counts and frequency are 4-byte entries listed before the 8-byte named ones.
  static const std::vector<Parameter>& parameters() {
    static const std::vector<Parameter> known{{"hw.machine", {6, 1}, 0},
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
    return known;
  }

  static FakeDarwinKernel*& active() {
    static FakeDarwinKernel* kernel = nullptr;
    return kernel;
  }

  static int fail(int errorNumber) {
    errno = errorNumber;
    return -1;
  }

  // The bytes the parameter at `mib` replies, empty where the Mac has no value for it.
  std::vector<char> reply(const int* mib, u_int levels) const {
    const auto& known = parameters();
    const auto parameter = std::find_if(known.begin(), known.end(), [&](const Parameter& p) {
      return p.mib == std::vector<int>(mib, mib + levels);
    });
    const auto value = parameter == known.end() ? values_.end() : values_.find(parameter->name);
    if (value == values_.end()) {
      return {};
    }
    if (parameter->width == 0) {
      return std::vector<char>(value->second.c_str(),
                               value->second.c_str() + value->second.size() + 1);
    }
    const int64_t wide = std::stoll(value->second);
    const auto narrow = static_cast<int32_t>(wide);
    std::vector<char> bytes(parameter->width);
    std::memcpy(bytes.data(), bytes.size() == 4 ? static_cast<const void*>(&narrow) : &wide,
                bytes.size());
    return bytes;
  }

  static int sysctlnametomib(const char* name, int* mibp, size_t* sizep) {
    const auto& known = parameters();
    // The named entry is the last of its name.
    const auto parameter = std::find_if(known.rbegin(), known.rend(), [&](const Parameter& p) {
      return p.name == std::string(name);
    });
    const auto& values = active()->values_;
    const bool arm64 = values.count("hw.machine") != 0 && values.at("hw.machine") == "arm64";
    if (parameter == known.rend() ||
        (values.count(name) == 0 && !(arm64 && std::string(name) == "hw.cpufrequency"))) {
      return fail(ENOENT);
    }
    if (*sizep < parameter->mib.size()) {
      return fail(ENOMEM);
    }
    std::copy(parameter->mib.begin(), parameter->mib.end(), mibp);
    *sizep = parameter->mib.size();
    return 0;
  }

  static int sysctl(int* name, u_int namelen, void* oldp, size_t* oldlenp, void* newp,
                    size_t /*newlen*/) {
    if (newp != nullptr) {
      return fail(EPERM);
    }
    const std::vector<char> bytes = active()->reply(name, namelen);
    if (bytes.empty()) {
      return fail(ENOENT);
    }
    if (oldp != nullptr && *oldlenp < bytes.size()) {
      return fail(ENOMEM);
    }
    if (oldp != nullptr) {
      std::memcpy(oldp, bytes.data(), bytes.size());
    }
    *oldlenp = bytes.size();
    return 0;
  }

  std::map<std::string, std::string> values_;
};

}  // namespace tarq::testing
