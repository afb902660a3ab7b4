#include "system/process/RaisePlatformException.h"
#include "system/process/platform_exception_linux.h"

namespace tarq::SystemValuesUtility {

namespace {

class DerivedPlatformException : public PlatformException {
 public:
  using PlatformException::PlatformException;
};

}  // namespace

void raisePlatformException(const std::string& name,
                            const std::map<std::string, std::string>& userInfo, bool derived) {
  if (derived) {
    throw DerivedPlatformException(name, userInfo);
  }
  throw PlatformException(name, userInfo);
}

}  // namespace tarq::SystemValuesUtility
