#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "system/process/ObjC.h"
#include "system/process/platform_exception_linux.h"

namespace tarq {
namespace {

class DerivedPlatformException : public PlatformException {
 public:
  using PlatformException::PlatformException;
};

// A platform exception becomes the error; a closure that returns runs once and leaves it alone.
TEST(ObjCBridgeTest, PlatformExceptionBecomesError) {
  const std::map<std::string, std::string> info{{"NSFilePath", "/Library/Mono"}};
  const ErrorValue earlier{"earlier", 7, {{"kept", "no"}}};
  int runs = 0;
  const struct {
    std::function<void()> raise;
    bool returned;
    ErrorValue error;
  } cases[] = {
      {[&] { throw PlatformException("NSInvalidArgumentException", info); },
       false,
       {"NSInvalidArgumentException", 0, info}},
      {[] { throw PlatformException("NSGenericException"); }, false, {"NSGenericException", 0, {}}},
      {[&] { throw DerivedPlatformException("Derived", info); }, false, {"Derived", 0, info}},
      {[&] { ++runs; }, true, earlier},
  };
  for (const auto& c : cases) {
    ErrorValue error = earlier;
    EXPECT_EQ(ObjC::catchException(c.raise, error), c.returned);
    EXPECT_EQ(error, c.error) << c.error.domain;
  }
  EXPECT_EQ(runs, 1);
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
