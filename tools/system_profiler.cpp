// The Linux stand-in for the platform's system profiler. It answers the questions the programs
// ask, "-xml SPUSBDataType" and "-xml SPUSBHostDataType", from sysfs, with the same buses for
// both; TARQ_SYSFS_ROOT, when set, names another sysfs root (a fixture tree in the tests).
// Anything else is refused with status 1.
#include <string_view>

#include "KernelCalls.h"
#include "SystemProfilerReport.h"

namespace tarq::standin {
namespace {

constexpr int kStandardOutput = 1;
constexpr int kStandardError = 2;

// The value of `name` in `environment`, or nothing.
const char* environmentValue(char** environment, std::string_view name) {
  for (char** entry = environment; entry != nullptr && *entry != nullptr; ++entry) {
    const std::string_view setting(*entry);
    if (setting.size() > name.size() && beginsWith(setting, name) && setting[name.size()] == '=') {
      return *entry + name.size() + 1;
    }
  }
  return nullptr;
}

bool writeToStandardOutput(void*, std::string_view text) {
  return writeAll(kStandardOutput, text);
}

}  // namespace

int systemProfilerMain(int argc, char** argv, char** environment) {
  const std::string_view dataType = argc == 3 && std::string_view(argv[1]) == "-xml" ? argv[2] : "";
  if (dataType != "SPUSBDataType" && dataType != "SPUSBHostDataType") {
    writeAll(kStandardError,
             "system_profiler: this stand-in answers only \"-xml SPUSBDataType\" and "
             "\"-xml SPUSBHostDataType\"\n");
    return 1;
  }
  const char* sysfsRoot = environmentValue(environment, "TARQ_SYSFS_ROOT");
  ReportStream out(writeToStandardOutput, nullptr);
  writeUsbReport(out, sysfsRoot != nullptr ? sysfsRoot : "/sys", dataType);
  return out.finish() ? 0 : 1;
}

}  // namespace tarq::standin
