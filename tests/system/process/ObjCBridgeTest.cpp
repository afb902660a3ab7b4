#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "system/process/ObjC.h"
#include "system/process/RaisePlatformException.h"

namespace tarq::SystemValuesUtility {
namespace {

// A platform exception becomes the error; a closure that returns runs once and leaves it alone,
// and any other exception passes through, leaving it alone too.
TEST(ObjCBridgeTest, PlatformExceptionBecomesErrorAndNoOtherIsCaught) {
  const std::map<std::string, std::string> info{{"NSFilePath", "/Library/Mono"}};
  const ErrorValue earlier{"earlier", 7, {{"kept", "no"}}};
  int runs = 0;
  const struct {
    std::function<void()> raise;
    bool returned;
    ErrorValue error;
  } cases[] = {
      {[&] { raisePlatformException("NSInvalidArgumentException", info); },
       false,
       {"NSInvalidArgumentException", 0, info}},
      {[] { raisePlatformException("NSGenericException"); }, false, {"NSGenericException", 0, {}}},
      {[&] { raisePlatformException("Derived", info, true); }, false, {"Derived", 0, info}},
      {[&] { ++runs; }, true, earlier},
  };
  for (const auto& c : cases) {
    ErrorValue error = earlier;
    EXPECT_EQ(ObjC::catchException(c.raise, error), c.returned);
    EXPECT_EQ(error, c.error) << c.error.domain;
  }
  EXPECT_EQ(runs, 1);
  ErrorValue error = earlier;
  EXPECT_THROW(ObjC::catchException([] { throw std::runtime_error("not ours"); }, error),
               std::runtime_error);
  EXPECT_EQ(error, earlier);
}

}  // namespace
}  // namespace tarq::SystemValuesUtility
