#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "report/MachineDescription.h"
#include "validation/CheckMeasurements.h"
#include "validation/ResultTables.h"
#include "validation/ValidationRunner.h"

namespace tarq {

// Everything a report for programs says about one finished pass: its two tables and measured
// values, which checks it left out, when it ran, and on what machine.
struct PassRecord {
  const TestSummaryTable& summary;
  const ResultTextTable& lines;
  const CheckMeasurementTable& measurements;
  ValidationRunner::CheckSet skipped;
  std::chrono::system_clock::time_point startedAt;
  std::chrono::system_clock::time_point finishedAt;
  MachineDescription machine;
  std::string_view programVersion;
};

// The version of the report's shape, raised whenever a key changes meaning or goes away.
inline constexpr int kReportSchemaVersion = 2;

// The JSON report: the `rows` and `lines` of jsonReport, byte for byte, followed by what
// docs/report.schema.json describes, on one line.
std::string jsonPassReport(const PassRecord& pass);

// The same data as an XML property list (version 1.0): objects as dicts with their keys in the
// same order, arrays, strings, integers, reals, true and false. A property list has no null: a
// value that is null in the JSON report is left out with its key. Characters XML cannot carry
// (control characters other than tab and line end) become U+FFFD.
std::string plistPassReport(const PassRecord& pass);

// A time as RFC 3339 in UTC, to the second: "2026-12-07T20:30:00Z".
std::string utcTimestamp(std::chrono::system_clock::time_point time);

}  // namespace tarq
