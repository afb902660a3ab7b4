#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarq {

// One value a check judged, under a name that reports use as their key: a whole number (bytes,
// hertz, points, a count), a real, a text, a yes or no, or unknown where the machine did not say.
struct Measurement {
  enum class Kind { integer, real, text, boolean, unknown };

  std::string_view name;
  Kind kind = Kind::unknown;
  int64_t integer = 0;
  double real = 0;
  std::string text;
  bool boolean = false;

  static Measurement unknown(std::string_view name) {
    return {name, Kind::unknown, 0, 0, {}, false};
  }
  static Measurement ofInteger(std::string_view name, int64_t value) {
    return {name, Kind::integer, value, 0, {}, false};
  }
  static Measurement ofText(std::string_view name, std::string value) {
    return {name, Kind::text, 0, 0, std::move(value), false};
  }
  static Measurement ofBoolean(std::string_view name, bool value) {
    return {name, Kind::boolean, 0, 0, {}, value};
  }
  template <typename Number>
  static Measurement ofInteger(std::string_view name, const std::optional<Number>& value) {
    return value ? ofInteger(name, static_cast<int64_t>(*value)) : unknown(name);
  }
  static Measurement ofText(std::string_view name, const std::optional<std::string>& value) {
    return value ? ofText(name, *value) : unknown(name);
  }
};

// What each check of the last pass measured, by its place in the run order, in the order it
// measured it. A check that did not run has none.
class CheckMeasurementTable {
 public:
  const std::vector<Measurement>& of(std::size_t check) const;
  void record(std::size_t check, Measurement measurement);
  void clear() { byCheck_.clear(); }

 private:
  std::vector<std::vector<Measurement>> byCheck_;
};

}  // namespace tarq
