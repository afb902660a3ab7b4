#include "validation/CheckMeasurements.h"

#include <utility>

namespace tarq {

const std::vector<Measurement>& CheckMeasurementTable::of(std::size_t check) const {
  static const std::vector<Measurement> none;
  return check < byCheck_.size() ? byCheck_[check] : none;
}

void CheckMeasurementTable::record(std::size_t check, Measurement measurement) {
  if (check >= byCheck_.size()) {
    byCheck_.resize(check + 1);
  }
  byCheck_[check].push_back(std::move(measurement));
}

}  // namespace tarq
