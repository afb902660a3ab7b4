#include <time.h>

#include <array>
#include <string>

#include "report/Report.h"
#include "report/ReportDocument.h"
#include "validation/StatusCounts.h"

namespace tarq {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kSkipped = "Skipped";

// What each check requires, as values, in run order; the numbers are those the checks judge by.
Json requirementOf(std::string_view id) {
  if (id == "os") {
    return {{"minimumVersion", "10.11.6"}};
  }
  if (id == "memory") {
    return {{"minimumBytes", int64_t{4} << 30}};
  }
  if (id == "processor") {
    return {{"minimumCount", 2},
            {"requires64Bit", true},
            {"minimumHertz", int64_t{2400000000}},
            {"speedWaivedForIntel", true}};
  }
  if (id == "disk") {
    return {{"minimumFreeBytes", int64_t{5} << 30}};
  }
  if (id == "usb") {
    return {{"minimumVersion", "2.0"}};
  }
  if (id == "screen") {
    return {{"minimumWidthPoints", 1024}, {"minimumHeightPoints", 768}};
  }
  if (id == "browser") {
    return {{"application", "Google Chrome"}, {"folder", "/Applications"}};
  }
  return {{"minimumMajorVersion", 4}};
}

Json valueOf(const Measurement& measurement) {
  switch (measurement.kind) {
    case Measurement::Kind::integer:
      return measurement.integer;
    case Measurement::Kind::real:
      return measurement.real;
    case Measurement::Kind::text:
      return measurement.text;
    case Measurement::Kind::boolean:
      return measurement.boolean;
    case Measurement::Kind::unknown:
      break;
  }
  return nullptr;
}

Json checksOf(const PassRecord& pass) {
  const std::vector<ResultRow>& rows = pass.summary.results();
  const std::vector<std::string>& remedies = pass.summary.remedies();
  Json checks = Json::array();
  std::size_t row = 0;
  for (std::size_t index = 0; index < kChecksInRunOrder.size(); ++index) {
    const CheckDescription& check = kChecksInRunOrder[index];
    Json entry = {{"id", check.id}, {"testName", check.testName}};
    // A check left out, or one a stopped pass never reached, has no row.
    const bool ran =
        !pass.skipped.test(index) && row < rows.size() && rows[row].testName == check.testName;
    if (!ran) {
      entry["result"] = kSkipped;
      entry["requirement"] = requirementOf(check.id);
      checks.push_back(std::move(entry));
      continue;
    }
    entry["result"] = rows[row].result;
    entry["detected"] = rows[row].detected;
    Json lines = Json::array();
    for (std::size_t line = 0; line < pass.lines.resStrings().size(); ++line) {
      if (pass.lines.lineChecks()[line] == index) {
        lines.push_back(pass.lines.resStrings()[line]);
      }
    }
    entry["lines"] = std::move(lines);
    entry["requirement"] = requirementOf(check.id);
    Json measured = Json::object();
    for (const Measurement& measurement : pass.measurements.of(index)) {
      measured[std::string(measurement.name)] = valueOf(measurement);
    }
    entry["measured"] = std::move(measured);
    entry["remedy"] = remedies[row].empty() ? Json(nullptr) : Json(remedies[row]);
    checks.push_back(std::move(entry));
    ++row;
  }
  return checks;
}

Json optionalText(const std::optional<std::string>& text) {
  return text ? Json(*text) : Json(nullptr);
}

Json machineOf(const MachineDescription& machine) {
  Json described = {{"hostName", optionalText(machine.hostName)},
                    {"modelIdentifier", optionalText(machine.modelIdentifier)}};
  // Left out, not null, where the user may not read it: it is not unknown to the machine.
  if (machine.serialNumber) {
    described["serialNumber"] = *machine.serialNumber;
  }
  described["operatingSystem"] = {{"name", optionalText(machine.operatingSystemName)},
                                  {"version", optionalText(machine.operatingSystemVersion)},
                                  {"build", optionalText(machine.operatingSystemBuild)}};
  described["architecture"] = optionalText(machine.architecture);
  return described;
}

}  // namespace

std::string utcTimestamp(std::chrono::system_clock::time_point time) {
  const time_t seconds = std::chrono::system_clock::to_time_t(time);
  struct tm parts {};
  std::array<char, 32> text{};
  if (::gmtime_r(&seconds, &parts) == nullptr ||
      ::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%SZ", &parts) == 0) {
    return {};
  }
  return text.data();
}

Json reportDocument(const PassRecord& pass) {
  // The rows and lines exactly as the first shape of the report wrote them.
  Json document = Json::parse(jsonReport(pass.summary.results(), pass.lines.resStrings()));
  document["schemaVersion"] = kReportSchemaVersion;
  document["program"] = {{"name", "tarq-validate"}, {"version", pass.programVersion}};
  document["startedAt"] = utcTimestamp(pass.startedAt);
  document["finishedAt"] = utcTimestamp(pass.finishedAt);
  const auto milliseconds =
      std::chrono::duration_cast<std::chrono::milliseconds>(pass.finishedAt - pass.startedAt);
  document["durationSeconds"] =
      static_cast<double>(std::max<int64_t>(milliseconds.count(), 0)) / 1000.0;
  document["machine"] = machineOf(pass.machine);
  document["verdict"] = verdictIdentifier(verdictOf(countStatuses(pass.summary.results())));
  document["checks"] = checksOf(pass);
  return document;
}

std::string jsonPassReport(const PassRecord& pass) {
  return reportDocument(pass).dump(-1, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace tarq
