#pragma once

#include <exception>
#include <map>
#include <string>
#include <utility>

namespace tarq::SystemValuesUtility {

// The exception the bridge catches where the platform has none of its own: a name and user
// information, as the platform's exceptions carry.
class PlatformException : public std::exception {
 public:
  PlatformException(std::string name, std::map<std::string, std::string> userInfo = {})
      : name_(std::move(name)), userInfo_(std::move(userInfo)) {}

  const std::string& name() const { return name_; }
  const std::map<std::string, std::string>& userInfo() const { return userInfo_; }
  const char* what() const noexcept override { return name_.c_str(); }

 private:
  std::string name_;
  std::map<std::string, std::string> userInfo_;
};

}  // namespace tarq::SystemValuesUtility
