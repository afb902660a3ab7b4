// The Linux stand-in for the platform's system profiler. It answers the one question the
// programs ask, "-xml SPUSBDataType", from sysfs; TARQ_SYSFS_ROOT, when set, names another
// sysfs root (a fixture tree in the tests). Anything else is refused with status 1.
#include <cstdlib>
#include <iostream>
#include <string>

#include "SystemProfilerReport.h"

int main(int argc, char** argv) {
  const bool usbReport =
      argc == 3 && std::string(argv[1]) == "-xml" && std::string(argv[2]) == "SPUSBDataType";
  if (!usbReport) {
    std::cerr << "system_profiler: this stand-in answers only \"-xml SPUSBDataType\"\n";
    return EXIT_FAILURE;
  }
  const char* sysfsRoot = std::getenv("TARQ_SYSFS_ROOT");
  std::cout << tarq::standin::usbReportXml(
      tarq::standin::readUsbBuses(sysfsRoot != nullptr ? sysfsRoot : "/sys"));
  std::cout.flush();
  return std::cout ? EXIT_SUCCESS : EXIT_FAILURE;
}
