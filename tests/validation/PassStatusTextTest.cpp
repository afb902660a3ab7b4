#include <gtest/gtest.h>

#include <string>

#include "validation/PassStatusText.h"
#include "validation/StatusCounts.h"

namespace tarq {
namespace {

// The control strip's texts, and the step to seconds where milliseconds would round to 1000.
TEST(PassStatusTextTest, EachTextIsExact) {
  const struct {
    const char* name;
    std::string text, expected;
  } cases[] = {
      {"starting", startingText(), "Starting the checks…"},
      {"first check", checkingText(0, "Operating System"), "Checking Operating System (1 of 8)…"},
      {"last check", checkingText(7, "Mono Framework"), "Checking Mono Framework (8 of 8)…"},
      {"verdict", verdictText({6, 1, 1}, 0.512), "1 failed, 1 warned, 6 passed in 512 ms"},
      {"stopped", stoppedText(5, 1.23), "Stopped during check 5 of 8, after 1.2 s."},
      {"stopped at once", stoppedText(0, 0.008), "Stopped before the first check, after 8 ms."},
      {"not started", notStartedText("Resource temporarily unavailable"),
       "Could not start the checks: Resource temporarily unavailable"},
      {"no time", durationText(0), "1 ms"},
      {"below a millisecond", durationText(0.0004), "1 ms"},
      {"milliseconds", durationText(0.021), "21 ms"},
      {"just below the step", durationText(0.9994), "999 ms"},
      {"at the step", durationText(0.9995), "1.0 s"},
      {"seconds", durationText(12.34), "12.3 s"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.text, c.expected) << c.name;
  }
}

// Only the exact status words count; the verdict follows the worst status, and its sentence
// names how many checks failed.
TEST(StatusCountsTest, ExactWordsCountAndTheVerdictIsOneSentenceAndOneIdentifier) {
  const std::vector<ResultRow> rows{{"a", "Pass", ""},  {"b", "Pass", ""}, {"c", "Warn", ""},
                                    {"d", "Fail", ""},  {"e", "fail", ""}, {"f", "WARN", ""},
                                    {"g", "Fail ", ""}, {"h", "", "Pass"}};
  EXPECT_EQ(countStatuses(rows), (StatusCounts{.passed = 2, .warned = 1, .failed = 1}));
  EXPECT_EQ(countStatuses({}), StatusCounts{});
  const struct {
    StatusCounts counts;
    std::string sentence, identifier;
  } cases[] = {
      {{.passed = 7, .warned = 1},
       "Ready with warnings: the client application may perform below expectations.",
       "readyWithWarnings"},
      {{.passed = 7, .failed = 1}, "Not ready: 1 check failed.", "notReady"},
      {{.passed = 3, .warned = 2, .failed = 3}, "Not ready: 3 checks failed.", "notReady"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sentence);
    EXPECT_EQ(verdictSentence(c.counts), c.sentence);
    EXPECT_EQ(verdictIdentifier(verdictOf(c.counts)), c.identifier);
  }
}

}  // namespace
}  // namespace tarq
