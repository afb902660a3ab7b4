#pragma once

#include <functional>
#include <map>
#include <string>

namespace tarq::SystemValuesUtility {

// What a caught platform exception leaves behind: its name as the domain, code 0, and its user
// information (empty when it had none). Its reason text is not carried over.
struct ErrorValue {
  std::string domain;
  long code = 0;
  std::map<std::string, std::string> userInfo;

  friend bool operator==(const ErrorValue&, const ErrorValue&) = default;
};

// The exception bridge: turns the platform's exception into an ordinary error value.
class ObjC {
 public:
  ObjC() = delete;

  // Runs `closure` once, at once. When it raises the platform exception (or one derived from
  // it), stores the matching error in `error` and returns false; otherwise returns true and
  // leaves `error` as it was. Exceptions of any other kind pass on unchanged.
  static bool catchException(const std::function<void()>& closure, ErrorValue& error);
};

}  // namespace tarq::SystemValuesUtility
