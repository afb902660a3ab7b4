// The Linux stand-in for the platform's system profiler. It answers the questions the programs
// ask, "-xml SPUSBDataType" and "-xml SPUSBHostDataType", from sysfs, with the same buses for
// both; TARQ_SYSFS_ROOT, when set, names another sysfs root (a fixture tree in the tests).
// Anything else is refused with status 1, as is a report that cannot be written.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "SystemProfilerReport.h"

int main(int argc, char** argv) {
  const std::string_view dataType = argc == 3 && std::string_view(argv[1]) == "-xml" ? argv[2] : "";
  if (dataType != "SPUSBDataType" && dataType != "SPUSBHostDataType") {
    std::fputs(
        "system_profiler: this stand-in answers only \"-xml SPUSBDataType\" and "
        "\"-xml SPUSBHostDataType\"\n",
        stderr);
    return 1;
  }
  const char* sysfsRoot = std::getenv("TARQ_SYSFS_ROOT");
  const std::string report =
      tarq::standin::usbReport(sysfsRoot != nullptr ? sysfsRoot : "/sys", dataType);
  const bool written = std::fwrite(report.data(), 1, report.size(), stdout) == report.size() &&
                       std::fflush(stdout) == 0;
  return written ? 0 : 1;
}
