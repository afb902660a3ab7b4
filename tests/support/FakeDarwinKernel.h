#pragma once

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "system/kernel/DarwinKernelParameterCalls.h"

namespace tarq::testing {

using SystemValuesUtility::DarwinSysctlFunctions;

// A Mac's kernel as its sysctl calls see it, answering from a saved `sysctl` output ("name:
// value" lines) plus the values the output lacks. The parameters it knows have Apple's numbers
// and widths (sys/sysctl.h): by name the byte counts and frequencies are 8 bytes, the rest 4;
// the legacy numbers (HW_L2CACHESIZE, HW_CPU_FREQ, ...) reply 4 bytes. A name the Mac lacks is
// ENOENT; on arm64 the name hw.cpufrequency is known, but reading it is ENOENT.
class FakeDarwinKernel {
 public:
  FakeDarwinKernel(const std::string& outputPath, const std::map<std::string, std::string>& extra)
      : values_(extra) {
    std::ifstream output(outputPath);
    for (std::string line; std::getline(output, line);) {
      const std::size_t colon = line.find(": ");
      if (colon != std::string::npos) {
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
  enum class Kind { text, int32, int64 };
  struct Parameter {
    const char* name;
    std::vector<int> mib;
    Kind kind;
  };

  // CTL_HW is 6, CTL_MACHDEP 7; names without a legacy number get theirs from 100 on, as
  // OID_AUTO does. The legacy numbers of byte counts and frequencies are 4-byte compatibility
  // entries beside the 8-byte named ones.
  static const std::vector<Parameter>& parameters() {
    static const std::vector<Parameter> known{
        {"hw.machine", {6, 1}, Kind::text},
        {"hw.model", {6, 2}, Kind::text},
        {"hw.ncpu", {6, 3}, Kind::int32},
        {"hw.activecpu", {6, 25}, Kind::int32},
        {"hw.memsize", {6, 24}, Kind::int64},
        {"hw.l2cachesize", {6, 20}, Kind::int32},
        {"hw.l3cachesize", {6, 22}, Kind::int32},
        {"hw.cpufrequency", {6, 15}, Kind::int32},
        {"hw.l2cachesize", {6, 100}, Kind::int64},
        {"hw.l3cachesize", {6, 101}, Kind::int64},
        {"hw.cpufrequency", {6, 102}, Kind::int64},
        {"hw.cpu64bit_capable", {6, 103}, Kind::int32},
        {"machdep.cpu.brand_string", {7, 100, 101}, Kind::text}};
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

  // The name's named entry: the last of its name in the list.
  static const Parameter* byName(const std::string& name) {
    const Parameter* found = nullptr;
    for (const Parameter& parameter : parameters()) {
      found = name == parameter.name ? &parameter : found;
    }
    return found;
  }

  bool nameKnown(const std::string& name) const {
    return values_.count(name) != 0 ||
           (name == "hw.cpufrequency" && values_.count("hw.machine") != 0 &&
            values_.at("hw.machine") == "arm64");
  }

  std::optional<std::vector<char>> reply(const int* mib, u_int levels) const {
    for (const Parameter& parameter : parameters()) {
      if (std::vector<int>(mib, mib + levels) != parameter.mib) {
        continue;
      }
      const auto value = values_.find(parameter.name);
      if (value == values_.end()) {
        return std::nullopt;
      }
      if (parameter.kind == Kind::text) {
        return std::vector<char>(value->second.c_str(),
                                 value->second.c_str() + value->second.size() + 1);
      }
      const int64_t number = std::stoll(value->second);
      std::vector<char> bytes(parameter.kind == Kind::int32 ? 4 : 8);
      if (parameter.kind == Kind::int32) {
        const auto narrow = static_cast<int32_t>(number);
        std::memcpy(bytes.data(), &narrow, bytes.size());
      } else {
        std::memcpy(bytes.data(), &number, bytes.size());
      }
      return bytes;
    }
    return std::nullopt;
  }

  static int sysctlnametomib(const char* name, int* mibp, size_t* sizep) {
    const Parameter* parameter = byName(name);
    if (parameter == nullptr || !active()->nameKnown(name)) {
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
    const std::optional<std::vector<char>> bytes = active()->reply(name, namelen);
    if (!bytes) {
      return fail(ENOENT);
    }
    if (oldp != nullptr && *oldlenp < bytes->size()) {
      return fail(ENOMEM);
    }
    if (oldp != nullptr) {
      std::memcpy(oldp, bytes->data(), bytes->size());
    }
    *oldlenp = bytes->size();
    return 0;
  }

  std::map<std::string, std::string> values_;
};

}  // namespace tarq::testing
