#include <gtest/gtest.h>

#include "validation/CheckHarness.h"

namespace tarq {
namespace {

using testing::FakeMachineFacts;
using testing::runCheck;

constexpr std::string_view V = "Version X (Build Y)";

struct Case {
  int64_t major, minor, patch;
  std::string_view status;
  std::string line;
  std::string detected;  // empty: the same as the line
};

std::string named(std::string_view release, bool isCertified) {
  const std::string prefix =
      "Operating System Mac OS X " + std::string(release) + " (Version X (Build Y) ) ";
  return prefix + (isCertified ? "is a certified version for the application"
                               : "is not a certified version for the application. The minimum "
                                 "requirement is Mac OS X El Capitan 10.11.6");
}

const std::string olderLine =
    "This version of the Mac OS. Version X (Build Y) is older than the minimum requirement Mac OS "
    "X El Capitan 10.11.6";
const std::string unverifiedLine =
    "This application was last certified with a prior version of the Mac OS. Version X (Build Y) "
    "hasn't been verified, so its support is indeterminate";

TEST(OperatingSystemCheckTest, ReportsEachVersionRange) {
  const Case cases[] = {
      // Only El Capitan looks at the patch number: 10.11.6 is the first certified release.
      {10, 11, 5, "Fail", named("El Capitan", false), "Mac OS X El Capitan"},
      {10, 11, 6, "Pass", named("El Capitan", true), "Mac OS X El Capitan"},
      {10, 11, 7, "Pass", named("El Capitan", true), "Mac OS X El Capitan"},
      {10, 12, 0, "Pass", named("Sierra", true), "Mac OS X Sierra"},
      {10, 13, 6, "Pass", named("High Sierra", true), "Mac OS X High Sierra"},
      {10, 14, 6, "Pass", named("Mojave", true), "Mac OS X Mojave"},
      {10, 15, 7, "Pass", named("Catalina", true), "Mac OS X Catalina"},
      {10, 10, 5, "Fail", named("Yosemite", false), "Mac OS X Yosemite"},
      {10, 0, 0, "Fail", named("Cheetah", false), "Mac OS X Cheetah"},
      {10, 6, 8, "Fail", named("Snow Leopard", false), "Mac OS X Snow Leopard"},
      {10, 8, 5, "Fail", named("Mountain Lion", false), "Mac OS X Mountain Lion"},
      // Releases the table does not name.
      {10, 16, 0, "Warn", unverifiedLine, ""},
      {10, 99, 0, "Warn", unverifiedLine, ""},
      {11, 0, 0, "Pass", "Operating System:Version X (Build Y)", "Version X (Build Y)"},
      {26, 1, 0, "Pass", "Operating System:Version X (Build Y)", "Version X (Build Y)"},
      {9, 99, 99, "Fail", olderLine, ""},
      {6, 1, 0, "Fail", olderLine, ""},
      {-1, 0, 0, "Fail", olderLine, ""},
      // A negative minor number names no release: it cannot be newer than the minimum.
      {10, -1, 0, "Fail", olderLine, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.major << "." << c.minor << "." << c.patch);
    FakeMachineFacts facts;
    facts.os = {c.major, c.minor, c.patch, std::string(V)};
    const auto report = runCheck(facts, &ValidationRunner::checkOperatingSystem);
    EXPECT_EQ(report.lines, std::vector<std::string>{c.line});
    const std::string detected = c.detected.empty() ? c.line : c.detected;
    EXPECT_EQ(report.rows,
              (std::vector<ResultRow>{{"Operating System", std::string(c.status), detected}}));
  }
}

TEST(OperatingSystemCheckTest, VersionTextIsUsedVerbatim) {
  FakeMachineFacts facts;
  facts.os = {14, 2, 1, " Version 14.2.1 (Build 23C71)\n"};
  const auto report = runCheck(facts, &ValidationRunner::checkOperatingSystem);
  EXPECT_EQ(report.lines,
            std::vector<std::string>{"Operating System: Version 14.2.1 (Build 23C71)\n"});
  EXPECT_EQ(report.rows.at(0).detected, " Version 14.2.1 (Build 23C71)\n");
}

}  // namespace
}  // namespace tarq
