#include <gtest/gtest.h>

#include <sstream>

#include "cli/PrefixedLines.h"
#include "system/Diagnostics.h"

namespace tarq {
namespace {

TEST(PrefixedLinesTest, EveryLineOfADiagnosticSaysWhereItComesFrom) {
  std::ostringstream errors;
  PrefixedLineBuffer prefixed(errors.rdbuf(), "tarq-validate: ");
  std::ostream stream(&prefixed);
  setDiagnosticStream(stream);
  writeDiagnosticLine("2");
  writeDiagnosticLine("/Applications/Google Chrome.app\n/Applications/Old/Google Chrome.app\n");
  setDiagnosticStream(std::cout);
  EXPECT_EQ(errors.str(),
            "tarq-validate: 2\n"
            "tarq-validate: /Applications/Google Chrome.app\n"
            "tarq-validate: /Applications/Old/Google Chrome.app\n"
            "tarq-validate: \n");
}

}  // namespace
}  // namespace tarq
