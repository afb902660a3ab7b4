#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "system/text/PropertyList.h"

namespace tarq::SystemValuesUtility {

// The system profiler: the platform's tool on macOS, our stand-in on Linux.
std::string systemProfilerPath();

// The data type whose report names the machine's USB buses.
inline constexpr std::string_view kUsbDataType = "SPUSBDataType";

// The system profiler's XML report on `dataType`, whose root is then an array; null when the
// tool does not start, fails, prints something that is not a property list (both logged) or
// whose root is something else.
std::unique_ptr<PropertyList> systemProfilerData(
    std::string_view dataType, const std::string& profilerPath = systemProfilerPath());

// The version in a bus name: its first run of digits with at most one full stop inside
// ("USB 3.1 Bus 2" gives "3.1", "USB30Bus" gives "30"); empty when the name holds no digit.
std::string versionText(std::string_view name);

// The highest USB version the system profiler reports (3.1, 3.0, 2.0, ...); 0 when it reports
// none or anything fails on the way.
double highestUSBVersion(const std::string& profilerPath = systemProfilerPath());

// The highest version among the names of the report's top-level entries that begin with "USB";
// 0 when there is none.
double highestUSBVersion(const PropertyList& report);

}  // namespace tarq::SystemValuesUtility
