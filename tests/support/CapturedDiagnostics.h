#pragma once

#include <iostream>
#include <sstream>
#include <string>

#include "system/Diagnostics.h"

namespace tarq::testing {

// Catches the diagnostic stream for the life of the object.
class CapturedDiagnostics {
 public:
  CapturedDiagnostics() { SystemValuesUtility::setDiagnosticStream(text_); }
  ~CapturedDiagnostics() { SystemValuesUtility::setDiagnosticStream(std::cout); }
  CapturedDiagnostics(const CapturedDiagnostics&) = delete;
  CapturedDiagnostics& operator=(const CapturedDiagnostics&) = delete;

  std::string text() const { return text_.str(); }

 private:
  std::ostringstream text_;
};

}  // namespace tarq::testing
