#pragma once

#include <string>

namespace tarq::SystemValuesUtility {

// The system profiler: the platform's tool on macOS, our stand-in beside the program on Linux.
std::string systemProfilerPath();

// The highest USB version the system profiler reports (3.1, 3.0, 2.0, ...); 0 when it reports
// none or anything fails on the way.
double highestUSBVersion(const std::string& profilerPath = systemProfilerPath());

}  // namespace tarq::SystemValuesUtility
