#include "system/process/ObjC.h"
#include "system/process/platform_exception_linux.h"

namespace tarq::SystemValuesUtility {

bool ObjC::catchException(const std::function<void()>& closure, ErrorValue& error) {
  try {
    closure();
    return true;
  } catch (const PlatformException& exception) {
    error = ErrorValue{exception.name(), 0, exception.userInfo()};
    return false;
  }
}

}  // namespace tarq::SystemValuesUtility
