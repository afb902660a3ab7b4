// The Linux stand-in for the platform's system profiler. It answers the questions the programs
// ask, "-xml SPUSBDataType" and "-xml SPUSBHostDataType", from sysfs, with the same buses for
// both; TARQ_SYSFS_ROOT, when set, names another sysfs root (a fixture tree in the tests).
// Anything else is refused with status 1.
#include <cstdlib>
#include <iostream>
#include <string>

#include "SystemProfilerReport.h"

int main(int argc, char** argv) {
  const std::string dataType = argc == 3 && std::string(argv[1]) == "-xml" ? argv[2] : "";
  if (dataType != "SPUSBDataType" && dataType != "SPUSBHostDataType") {
    std::cerr << "system_profiler: this stand-in answers only \"-xml SPUSBDataType\" and "
                 "\"-xml SPUSBHostDataType\"\n";
    return EXIT_FAILURE;
  }
  const char* sysfsRoot = std::getenv("TARQ_SYSFS_ROOT");
  std::cout << tarq::standin::usbReportXml(
      tarq::standin::readUsbBuses(sysfsRoot != nullptr ? sysfsRoot : "/sys"), dataType);
  std::cout.flush();
  return std::cout ? EXIT_SUCCESS : EXIT_FAILURE;
}
