#pragma once

#include <nlohmann/json.hpp>

#include "report/PassReport.h"

namespace tarq {

// The data of a report for programs, once, for both of its forms.
nlohmann::ordered_json reportDocument(const PassRecord& pass);

}  // namespace tarq
