#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "system/process/ToolRun.h"
#include "system/text/PropertyList.h"

namespace tarq::SystemValuesUtility {

// The system profiler: the platform's tool on macOS, our stand-in on Linux.
std::string systemProfilerPath();

// The data types whose reports name the machine's USB buses. macOS 26 no longer offers the
// first; its successor lists the buses in the same shape.
inline constexpr std::string_view kUsbDataType = "SPUSBDataType";
inline constexpr std::string_view kUsbHostDataType = "SPUSBHostDataType";

// The profiler answers in seconds; one still running after a minute is stopped. A report of
// hundreds of megabytes is no machine's USB: past 256 MiB the run fails.
inline constexpr ToolRunLimits kSystemProfilerLimits{.maximumSleeps = 60,
                                                     .maximumOutputBytes = std::size_t{256} << 20};

// The system profiler's XML report on `dataType`, whose root is then an array; null when the
// tool does not start, fails or is stopped at `limits`, prints something that is not a property
// list (both logged) or whose root is something else.
std::unique_ptr<PropertyList> systemProfilerData(
    std::string_view dataType, const std::string& profilerPath = systemProfilerPath(),
    const ToolRunLimits& limits = kSystemProfilerLimits);

// The version in a bus name: its first run of digits with at most one full stop inside
// ("USB 3.1 Bus 2" gives "3.1", "USB30Bus" gives "30"); empty when the name holds no digit.
std::string versionText(std::string_view name);

// The highest USB version the system profiler reports (3.1, 3.0, 2.0, ...): from the USB
// report, or where that names no version (refused, failed, or no bus with a version, as on macOS
// 26) from the USB host report. 0 when neither names one.
double highestUSBVersion(const std::string& profilerPath = systemProfilerPath(),
                         const ToolRunLimits& limits = kSystemProfilerLimits);

// The highest version among the names of the report's top-level entries that begin with "USB";
// 0 when there is none.
double highestUSBVersion(const PropertyList& report);

}  // namespace tarq::SystemValuesUtility
