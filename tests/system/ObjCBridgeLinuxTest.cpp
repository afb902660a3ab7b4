#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "system/ObjC.h"
#include "system/platform_exception_linux.h"

namespace tarq {
namespace {

class DerivedPlatformException : public PlatformException {
 public:
  using PlatformException::PlatformException;
};

TEST(ObjCBridgeTest, PlatformExceptionBecomesError) {
  const std::map<std::string, std::string> info{{"NSFilePath", "/Library/Mono"}};
  const struct {
    std::function<void()> raise;
    ErrorValue error;
  } cases[] = {
      {[&] { throw PlatformException("NSInvalidArgumentException", info); },
       {"NSInvalidArgumentException", 0, info}},
      {[] { throw PlatformException("NSGenericException"); }, {"NSGenericException", 0, {}}},
      {[&] { throw DerivedPlatformException("Derived", info); }, {"Derived", 0, info}},
  };
  for (const auto& c : cases) {
    ErrorValue error{"earlier", 7, {{"kept", "no"}}};
    EXPECT_FALSE(ObjC::catchException(c.raise, error));
    EXPECT_EQ(error, c.error) << c.error.domain;
  }
}

TEST(ObjCBridgeTest, NormalClosureRunsOnceAndLeavesTheErrorAlone) {
  const ErrorValue earlier{"earlier", 7, {{"kept", "yes"}}};
  ErrorValue error = earlier;
  int runs = 0;
  EXPECT_TRUE(ObjC::catchException([&] { ++runs; }, error));
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(error, earlier);
}

TEST(ObjCBridgeTest, OtherExceptionsPassThrough) {
  const ErrorValue earlier{"earlier", 7, {}};
  ErrorValue error = earlier;
  EXPECT_THROW(ObjC::catchException([] { throw std::runtime_error("not ours"); }, error),
               std::runtime_error);
  EXPECT_EQ(error, earlier);
}

}  // namespace
}  // namespace tarq
