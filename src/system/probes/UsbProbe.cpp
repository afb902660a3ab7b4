#include "system/probes/UsbProbe.h"

#include <limits>
#include <vector>

#include "system/Diagnostics.h"
#include "system/process/RunCancellation.h"
#include "system/process/ToolRun.h"
#include "system/text/DecimalReal.h"

namespace tarq::SystemValuesUtility {

namespace {

std::vector<std::string> profilerArguments(std::string_view dataType) {
  return {"-xml", std::string(dataType)};
}

// The report of a finished profiler run, as systemProfilerData gives it; where the run failed
// on its own, or printed no property list, `failure` says so for the system log.
std::unique_ptr<PropertyList> profilerReport(ToolRun run, std::string& failure) {
  // A run ended by a stop has not failed on its own: there is nothing to say of it.
  const RunCancellation* cancellation = currentRunCancellation();
  if (!run.launched || (cancellation != nullptr && cancellation->cancelled())) {
    return nullptr;
  }
  if (run.exitStatus != 0) {
    failure = "system_profiler returned error status";
    return nullptr;
  }
  PropertyListParse parsed = PropertyList::parse(std::move(run.output));
  if (!parsed.document) {
    failure = "Failed to parse system_profiler results. " + parsed.errorDescription;
    return nullptr;
  }
  if (!parsed.document->root().is(PropertyListKind::array)) {
    return nullptr;
  }
  return std::move(parsed.document);
}

std::unique_ptr<PropertyList> loggedProfilerReport(ToolRun run) {
  std::string failure;
  std::unique_ptr<PropertyList> report = profilerReport(std::move(run), failure);
  if (!failure.empty()) {
    writeSystemLogMessage(failure);
  }
  return report;
}

// The highest version a report names; a failure is logged unless the same was logged already
// for the other report of the pass (`logged`).
double highestVersionIn(ToolRun run, std::string& logged) {
  std::string failure;
  const std::unique_ptr<PropertyList> report = profilerReport(std::move(run), failure);
  if (!failure.empty() && failure != logged) {
    writeSystemLogMessage(failure);
    logged = failure;
  }
  return report ? highestUSBVersion(*report) : 0;
}

}  // namespace

std::unique_ptr<PropertyList> systemProfilerData(std::string_view dataType,
                                                 const std::string& profilerPath,
                                                 const ToolRunLimits& limits) {
  return loggedProfilerReport(runToolGuarded(profilerPath, profilerArguments(dataType), limits));
}

std::string versionText(std::string_view name) {
  // Bytes of multi-byte UTF-8 characters are never digits or full stops, so reading bytes
  // decides exactly as reading characters would.
  std::string version;
  bool tookFullStop = false;
  for (const char c : name) {
    if (c >= '0' && c <= '9') {
      version.push_back(c);
    } else if (version.empty()) {
      continue;
    } else if (c == '.' && !tookFullStop) {
      version.push_back(c);
      tookFullStop = true;
    } else {
      break;
    }
  }
  return version;
}

double highestUSBVersion(const std::string& profilerPath, const ToolRunLimits& limits) {
  // The USB report is the answer wherever it names a version, as on every macOS before 26; the
  // host report only where it names none, whatever the reason. Both are started at once, so that
  // a machine needing the host report waits for one profiler run rather than two; the host run
  // is ended, unread, as soon as the USB report has named a version.
  StartedToolRun usbRun(profilerPath, profilerArguments(kUsbDataType), limits);
  StartedToolRun hostRun(profilerPath, profilerArguments(kUsbHostDataType), limits);
  std::string logged;
  const double version = highestVersionIn(usbRun.finish(), logged);
  if (version != 0) {
    return version;
  }
  return highestVersionIn(hostRun.finish(), logged);
}

double highestUSBVersion(const PropertyList& report) {
  const std::vector<PropertyListValue> roots = report.root().elements();
  if (roots.empty() || !roots.front().is(PropertyListKind::dictionary)) {
    return 0;
  }
  const PropertyListValue items = roots.front().find("_items");
  double highest = 0;
  for (const PropertyListValue& item : items.elements()) {
    const std::string name = item.find("_name").text();
    if (!name.starts_with("USB")) {
      continue;
    }
    std::string version = versionText(name);
    if (version.empty()) {
      continue;
    }
    // Some systems name their buses "USB31Bus": the first digit is the major version.
    if (version.size() > 1 && version.find('.') == std::string::npos) {
      version.insert(1, ".");
    }
    // A number too large for a double (a name with hundreds of digits) counts as unreadable,
    // like any other text that does not parse.
    const double number = parseRealInCLocale(version).value_or(0);
    if (number > highest && number <= std::numeric_limits<double>::max()) {
      highest = number;
    }
  }
  return highest;
}

}  // namespace tarq::SystemValuesUtility
