#include "system/process/RaisePlatformException.h"
#include "system/process/platform_exception_linux.h"

namespace tarq::SystemValuesUtility {

void raisePlatformException(const std::string& name,
                            const std::map<std::string, std::string>& userInfo, bool derived) {
  struct Derived : PlatformException {
    using PlatformException::PlatformException;
  };
  if (derived) {
    throw Derived(name, userInfo);
  }
  throw PlatformException(name, userInfo);
}

}  // namespace tarq::SystemValuesUtility
