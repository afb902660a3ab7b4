#include "system/text/PropertyList.h"

#include <cstring>
#include <functional>
#include <limits>
#include <pugixml.hpp>

#include "system/text/DecimalReal.h"
#include "system/text/PropertyListElements.h"
#include "system/text/TextParsing.h"

namespace tarq::SystemValuesUtility {

struct PropertyList::Storage {
  std::string text;
  pugi::xml_document document;

  // Where `node` starts in the text, for messages; empty when the parser had to convert the
  // text (from UTF-16, say) and so holds its names elsewhere.
  std::string whereIs(pugi::xml_node node) const {
    const char* name = node.name();
    const std::less<const char*> before;
    if (before(name, text.data() + 1) || !before(name, text.data() + text.size())) {
      return {};
    }
    return " at byte offset " + std::to_string(name - 1 - text.data());
  }
};

PropertyList::PropertyList() : storage_(std::make_unique<Storage>()) {}
PropertyList::~PropertyList() = default;

PropertyListParse PropertyList::parse(std::string text) {
  PropertyListParse outcome;
  std::unique_ptr<PropertyList> list(new PropertyList());
  Storage& storage = *list->storage_;
  storage.text = std::move(text);
  const pugi::xml_parse_result parsed = storage.document.load_buffer_inplace(
      storage.text.data(), storage.text.size(), kParseOptions, pugi::encoding_auto);
  if (!parsed) {
    outcome.errorDescription = "Malformed XML at byte offset " + std::to_string(parsed.offset) +
                               ": " + parsed.description();
    return outcome;
  }
  const pugi::xml_node plist = storage.document.document_element();
  if (std::strcmp(plist.name(), "plist") != 0) {
    outcome.errorDescription = std::string("The document is <") + plist.name() + ">, not <plist>";
    return outcome;
  }
  const pugi::xml_node top = firstElement(plist);
  std::string problem;
  if (!top) {
    problem = "<plist> holds no value";
  } else if (nextElement(top)) {
    problem = "<plist> holds more than one value";
  } else if (!hasOnlyWhitespaceText(plist)) {
    problem = "text inside <plist>";
  }
  pugi::xml_node where = top ? top : plist;
  if (problem.empty()) {
    where = firstProblem(top, problem);
  }
  if (!problem.empty()) {
    outcome.errorDescription = "Invalid property list" + storage.whereIs(where) + ": " + problem;
    return outcome;
  }
  list->root_ = PropertyListValue(top.internal_object());
  outcome.document = std::move(list);
  return outcome;
}

PropertyListKind PropertyListValue::kind() const {
  return kindOf(pugi::xml_node(node_));
}

std::string PropertyListValue::text() const {
  const PropertyListKind own = kind();
  if (own == PropertyListKind::string) {
    return textOf(pugi::xml_node(node_));
  }
  if (own == PropertyListKind::date) {
    return std::string(trimWhitespace(textOf(pugi::xml_node(node_))));
  }
  return {};
}

PropertyListInteger PropertyListValue::integer() const {
  if (!is(PropertyListKind::integer)) {
    return {};
  }
  return parseInteger(textOf(pugi::xml_node(node_))).value_or(PropertyListInteger{});
}

double PropertyListValue::real() const {
  if (!is(PropertyListKind::real)) {
    return 0;
  }
  return parseRealInCLocale(trimWhitespace(textOf(pugi::xml_node(node_)))).value_or(0);
}

bool PropertyListValue::boolean() const {
  return is(PropertyListKind::boolean) && std::strcmp(pugi::xml_node(node_).name(), "true") == 0;
}

std::string PropertyListValue::data() const {
  if (!is(PropertyListKind::data)) {
    return {};
  }
  return decodeBase64(textOf(pugi::xml_node(node_))).value_or(std::string());
}

std::vector<PropertyListValue> PropertyListValue::elements() const {
  std::vector<PropertyListValue> values;
  if (is(PropertyListKind::array)) {
    for (pugi::xml_node child = firstElement(pugi::xml_node(node_)); child;
         child = nextElement(child)) {
      values.push_back(PropertyListValue(child.internal_object()));
    }
  }
  return values;
}

PropertyListValue PropertyListValue::find(std::string_view key) const {
  PropertyListValue found;
  if (is(PropertyListKind::dictionary)) {
    for (pugi::xml_node name = firstElement(pugi::xml_node(node_)); name;
         name = nextElement(nextElement(name))) {
      if (textOf(name) == key) {
        found = PropertyListValue(nextElement(name).internal_object());
      }
    }
  }
  return found;
}

std::vector<std::string> PropertyListValue::keys() const {
  std::vector<std::string> names;
  if (is(PropertyListKind::dictionary)) {
    for (pugi::xml_node name = firstElement(pugi::xml_node(node_)); name;
         name = nextElement(nextElement(name))) {
      names.push_back(textOf(name));
    }
  }
  return names;
}

}  // namespace tarq::SystemValuesUtility
