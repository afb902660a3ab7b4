#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pugi {
struct xml_node_struct;
}

// XML property lists, as the platform's tools print them. The document is checked whole when
// it is parsed; the values are then light handles into it, so a large report is held once, in
// the parsed text itself, and never copied into a second tree.
namespace tarq::SystemValuesUtility {

enum class PropertyListKind { none, dictionary, array, string, integer, real, boolean, date, data };

// A plist integer: from -2^63 up to 2^64 - 1, so it is kept as sign and magnitude.
struct PropertyListInteger {
  bool negative = false;
  uint64_t magnitude = 0;

  friend bool operator==(const PropertyListInteger&, const PropertyListInteger&) = default;
};

// One value of a parsed document, valid while the document lives. A default-constructed
// value, or one asked of a value of another kind, is of kind none.
class PropertyListValue {
 public:
  PropertyListValue() = default;

  PropertyListKind kind() const;
  bool is(PropertyListKind wanted) const { return kind() == wanted; }

  // A string's characters, or a date's text ("2024-05-01T12:00:00Z"); empty for other kinds.
  std::string text() const;
  PropertyListInteger integer() const;
  double real() const;
  bool boolean() const;
  // The decoded bytes of data.
  std::string data() const;

  // An array's elements in document order; none for any other kind.
  std::vector<PropertyListValue> elements() const;
  // A dictionary's value for `key` (the last one when a key is repeated).
  PropertyListValue find(std::string_view key) const;
  // A dictionary's keys, in document order.
  std::vector<std::string> keys() const;

 private:
  friend class PropertyList;
  explicit PropertyListValue(pugi::xml_node_struct* node) : node_(node) {}
  pugi::xml_node_struct* node_ = nullptr;
};

class PropertyList;

// The outcome of parsing: a document, or a description of what is wrong and where.
struct PropertyListParse {
  std::unique_ptr<PropertyList> document;
  std::string errorDescription;
};

class PropertyList {
 public:
  // Parses `text`, which the document takes over and parses in place. The document must be
  // UTF-8 or carry a byte order mark. A DOCTYPE is allowed and ignored; no entity beyond XML's
  // five and numeric character references is expanded. Nesting depth is unlimited: nothing
  // here recurses.
  static PropertyListParse parse(std::string text);

  ~PropertyList();
  PropertyList(const PropertyList&) = delete;
  PropertyList& operator=(const PropertyList&) = delete;

  PropertyListValue root() const { return root_; }

 private:
  struct Storage;
  PropertyList();
  std::unique_ptr<Storage> storage_;
  PropertyListValue root_;
};

}  // namespace tarq::SystemValuesUtility
