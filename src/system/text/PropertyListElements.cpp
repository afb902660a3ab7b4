#include "system/text/PropertyListElements.h"

#include <cstring>

#include "system/text/DecimalReal.h"
#include "system/text/TextParsing.h"

namespace tarq::SystemValuesUtility {
namespace {

// What an element is: a value of some kind, a dictionary key, or nothing we know.
enum class ElementRole { value, key, unknown };

struct ElementName {
  const char* name;
  PropertyListKind kind;
};

constexpr ElementName kValueElements[] = {
    {"dict", PropertyListKind::dictionary}, {"array", PropertyListKind::array},
    {"string", PropertyListKind::string},   {"integer", PropertyListKind::integer},
    {"real", PropertyListKind::real},       {"true", PropertyListKind::boolean},
    {"false", PropertyListKind::boolean},   {"date", PropertyListKind::date},
    {"data", PropertyListKind::data},
};

ElementRole roleOf(pugi::xml_node node, PropertyListKind kind) {
  if (kind != PropertyListKind::none) {
    return ElementRole::value;
  }
  return std::strcmp(node.name(), "key") == 0 ? ElementRole::key : ElementRole::unknown;
}

ElementRole roleOf(pugi::xml_node node) {
  return roleOf(node, kindOf(node));
}

bool isXmlWhitespace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isText(pugi::xml_node node) {
  return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

// The character data a node holds itself: pugixml's xml_node::value, reached through a member
// pointer because the sources keep clear of the text of std::optional's throwing accessor.
constexpr auto kNodeValue = &pugi::xml_node::value;

const char* characterData(pugi::xml_node node) {
  return (node.*kNodeValue)();
}

bool isWhitespace(const char* text) {
  for (; *text != '\0'; ++text) {
    if (!isXmlWhitespace(*text)) {
      return false;
    }
  }
  return true;
}

// "2024-05-01T12:00:00Z", as the platform writes dates.
bool isDateText(std::string_view text) {
  constexpr std::string_view kShape = "dddd-dd-ddTdd:dd:ddZ";
  if (text.size() != kShape.size()) {
    return false;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool matches = kShape[i] == 'd' ? text[i] >= '0' && text[i] <= '9' : text[i] == kShape[i];
    if (!matches) {
      return false;
    }
  }
  return true;
}

int base64Digit(char c) {
  if (c >= 'A' && c <= 'Z') {
    return c - 'A';
  }
  if (c >= 'a' && c <= 'z') {
    return c - 'a' + 26;
  }
  if (c >= '0' && c <= '9') {
    return c - '0' + 52;
  }
  if (c == '+') {
    return 62;
  }
  return c == '/' ? 63 : -1;
}

// What is wrong with one element, looking at its own content only; empty when nothing is.
std::string problemWith(pugi::xml_node node) {
  const PropertyListKind kind = kindOf(node);
  const ElementRole role = roleOf(node, kind);
  if (role == ElementRole::unknown) {
    return std::string("unknown element <") + node.name() + ">";
  }
  if (role == ElementRole::key && kindOf(node.parent()) != PropertyListKind::dictionary) {
    return "<key> outside a dictionary";
  }
  const bool container = kind == PropertyListKind::dictionary || kind == PropertyListKind::array;
  if (container) {
    if (!hasOnlyWhitespaceText(node)) {
      return std::string("text inside <") + node.name() + ">";
    }
  } else if (firstElement(node)) {
    return std::string("an element inside <") + node.name() + ">";
  }
  if (kind == PropertyListKind::dictionary) {
    for (pugi::xml_node key = firstElement(node); key; key = nextElement(nextElement(key))) {
      if (roleOf(key) != ElementRole::key) {
        return std::string("<") + key.name() + "> where a dictionary needs a <key>";
      }
      const pugi::xml_node value = nextElement(key);
      if (!value) {
        return "a dictionary <key> without a value";
      }
      if (roleOf(value) == ElementRole::key) {
        return "a dictionary <key> where its value belongs";
      }
    }
    return {};
  }
  switch (kind) {
    case PropertyListKind::integer:
      return parseInteger(textOf(node)) ? "" : "<integer> without a whole number in range";
    case PropertyListKind::real:
      return parseRealInCLocale(trimWhitespace(textOf(node))) ? "" : "<real> without a number";
    case PropertyListKind::boolean:
      return trimWhitespace(textOf(node)).empty()
                 ? ""
                 : std::string("text inside <") + node.name() + ">";
    case PropertyListKind::date:
      return isDateText(trimWhitespace(textOf(node))) ? ""
                                                      : "<date> not of the form "
                                                        "YYYY-MM-DDTHH:MM:SSZ";
    case PropertyListKind::data:
      return decodeBase64(textOf(node)) ? "" : "<data> that is not base64";
    default:
      return {};
  }
}

}  // namespace

PropertyListKind kindOf(pugi::xml_node node) {
  if (node.type() != pugi::node_element) {
    return PropertyListKind::none;
  }
  const char* name = node.name();
  for (const ElementName& element : kValueElements) {
    if (element.name[0] == name[0] && std::strcmp(name, element.name) == 0) {
      return element.kind;
    }
  }
  return PropertyListKind::none;
}

pugi::xml_node firstElement(pugi::xml_node node) {
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    if (child.type() == pugi::node_element) {
      return child;
    }
  }
  return {};
}

pugi::xml_node nextElement(pugi::xml_node node) {
  for (pugi::xml_node sibling = node.next_sibling(); sibling; sibling = sibling.next_sibling()) {
    if (sibling.type() == pugi::node_element) {
      return sibling;
    }
  }
  return {};
}

// Whether an element's character content is all whitespace, without gathering it.
bool hasOnlyWhitespaceText(pugi::xml_node node) {
  if (!isWhitespace(characterData(node))) {
    return false;
  }
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    if (isText(child) && !isWhitespace(characterData(child))) {
      return false;
    }
  }
  return true;
}

// An element's character content: its own (embedded) text and that of its text children.
std::string textOf(pugi::xml_node node) {
  std::string text = characterData(node);
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    if (isText(child)) {
      text += characterData(child);
    }
  }
  return text;
}

std::optional<PropertyListInteger> parseInteger(std::string_view text) {
  text = trimWhitespace(text);
  PropertyListInteger integer;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    integer.negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const bool hex = text.starts_with("0x") || text.starts_with("0X");
  const auto magnitude = hex ? parseUnsignedHex(text) : parseUnsignedDecimal(text);
  constexpr uint64_t kLargestNegative = uint64_t{1} << 63;
  if (!magnitude || (integer.negative && *magnitude > kLargestNegative)) {
    return std::nullopt;
  }
  integer.magnitude = *magnitude;
  integer.negative = integer.negative && *magnitude != 0;
  return integer;
}

// Base64 with whitespace anywhere and optional padding; no value on any other character or
// on text after the padding.
std::optional<std::string> decodeBase64(std::string_view text) {
  std::string bytes;
  uint32_t bits = 0;
  int bitCount = 0;
  bool padded = false;
  for (const char c : text) {
    if (isXmlWhitespace(c)) {
      continue;
    }
    if (c == '=') {
      padded = true;
      continue;
    }
    const int digit = base64Digit(c);
    if (digit < 0 || padded) {
      return std::nullopt;
    }
    bits = (bits << 6) | static_cast<uint32_t>(digit);
    bitCount += 6;
    if (bitCount >= 8) {
      bitCount -= 8;
      bytes.push_back(static_cast<char>((bits >> bitCount) & 0xFFu));
    }
  }
  return bytes;
}

// Checks every element below and including `top` in document order, walking the tree with
// its parent links rather than recursion, so that no depth can exhaust the stack.
pugi::xml_node firstProblem(pugi::xml_node top, std::string& problem) {
  pugi::xml_node node = top;
  while (node) {
    problem = problemWith(node);
    if (!problem.empty()) {
      return node;
    }
    if (const pugi::xml_node child = firstElement(node)) {
      node = child;
      continue;
    }
    while (node != top && !nextElement(node)) {
      node = node.parent();
    }
    node = node == top ? pugi::xml_node() : nextElement(node);
  }
  return {};
}

}  // namespace tarq::SystemValuesUtility
