#include "report/Report.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>

#include "system/text/TextParsing.h"

namespace tarq {
namespace {

using SystemValuesUtility::codePointCount;
using SystemValuesUtility::nextCodePoint;

constexpr std::string_view kRed = "\x1b[31m";
constexpr std::string_view kYellow = "\x1b[33m";
constexpr std::string_view kResetColour = "\x1b[0m";
constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

std::string padded(std::string_view text, std::size_t width) {
  std::string result(text);
  result.append(width - std::min(width, codePointCount(text)), ' ');
  return result;
}

}  // namespace

int exitStatusFor(const StatusCounts& counts) {
  if (counts.failed > 0) {
    return kExitSomeFailed;
  }
  return counts.warned > 0 ? kExitSomeWarned : kExitAllPassed;
}

std::string terminalSafe(std::string_view text) {
  std::string safe;
  safe.reserve(text.size());
  std::size_t position = 0;
  while (position < text.size()) {
    const std::size_t start = position;
    const std::optional<char32_t> codePoint = nextCodePoint(text, position);
    if (!codePoint) {
      safe += kReplacementCharacter;
    } else if (*codePoint == U'\n') {
      safe += "\\n";
    } else if (*codePoint == U'\t') {
      safe += "\\t";
    } else if (*codePoint == U'\r') {
      safe += "\\r";
    } else if (*codePoint < 0x20 || *codePoint == 0x7F) {
      safe += fmt::format("\\x{:02x}", static_cast<unsigned>(*codePoint));
    } else if (*codePoint >= 0x80 && *codePoint <= 0x9F) {
      safe += fmt::format("\\u{:04x}", static_cast<unsigned>(*codePoint));
    } else {
      safe.append(text.substr(start, position - start));
    }
  }
  return safe;
}

std::string textReport(const std::vector<ResultRow>& rows, const std::vector<std::string>& remedies,
                       const std::vector<std::string>& lines, bool colour) {
  const auto readable = [](std::string_view text) {
    return terminalSafe(SystemValuesUtility::withoutTrailingWhiteSpace(text));
  };
  const std::array<std::string, 3> header{"Check", "Result", "Detected"};
  std::vector<std::array<std::string, 3>> cells;
  std::size_t nameWidth = header[0].size();
  std::size_t resultWidth = header[1].size();
  for (const ResultRow& row : rows) {
    cells.push_back({readable(row.testName), readable(row.result), readable(row.detected)});
    nameWidth = std::max(nameWidth, codePointCount(cells.back()[0]));
    resultWidth = std::max(resultWidth, codePointCount(cells.back()[1]));
  }

  const auto tableLine = [&](const std::array<std::string, 3>& line) {
    std::string text =
        padded(line[0], nameWidth) + "  " + padded(line[1], resultWidth) + "  " + line[2];
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
  };

  std::string report = tableLine(header) + "\n";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::string_view highlight;
    if (colour && rows[i].result == StatusWord::fail) {
      highlight = kRed;
    } else if (colour && rows[i].result == StatusWord::warn) {
      highlight = kYellow;
    }
    report += highlight.empty()
                  ? tableLine(cells[i])
                  : std::string(highlight) + tableLine(cells[i]) + std::string(kResetColour);
    report += "\n";
  }
  report += "\n";
  for (const std::string& line : lines) {
    report += readable(line) + "\n";
  }
  std::string toDo;
  for (std::size_t i = 0; i < rows.size() && i < remedies.size(); ++i) {
    if (rows[i].result != StatusWord::pass && !remedies[i].empty()) {
      toDo += "  " + readable(rows[i].testName) + ": " + readable(remedies[i]) + "\n";
    }
  }
  if (!toDo.empty()) {
    report += "\nWhat to do:\n" + toDo;
  }
  report += "\n" + verdictSentence(countStatuses(rows)) + "\n";
  return report;
}

std::string jsonReport(const std::vector<ResultRow>& rows, const std::vector<std::string>& lines) {
  nlohmann::ordered_json report;
  report["rows"] = nlohmann::ordered_json::array();
  for (const ResultRow& row : rows) {
    report["rows"].push_back({{ResultKey::testName, row.testName},
                              {ResultKey::result, row.result},
                              {ResultKey::detected, row.detected}});
  }
  report["lines"] = lines;
  return report.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace tarq
