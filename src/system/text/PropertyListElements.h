#pragma once

// The reading of a property list's XML elements, below the document and its values: what an
// element is, its text, its numbers and data, and the check of a whole tree. For
// PropertyList.cpp alone.

#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>

#include "system/text/PropertyList.h"

namespace tarq::SystemValuesUtility {

// Whitespace text between elements is dropped unless it is an element's only content, so
// "<string> </string>" keeps its blank. Comments and processing instructions are dropped.
inline constexpr unsigned kParseOptions = pugi::parse_cdata | pugi::parse_escapes |
                                          pugi::parse_eol | pugi::parse_doctype |
                                          pugi::parse_ws_pcdata_single | pugi::parse_embed_pcdata;

// The kind of value an element holds; none for a key or an unknown element.
PropertyListKind kindOf(pugi::xml_node node);
// The first element inside `node`, and the element after `node`, skipping text.
pugi::xml_node firstElement(pugi::xml_node node);
pugi::xml_node nextElement(pugi::xml_node node);
// Whether an element's character content is all whitespace, without gathering it.
bool hasOnlyWhitespaceText(pugi::xml_node node);
// An element's character content: its own (embedded) text and that of its text children.
std::string textOf(pugi::xml_node node);
// An <integer>'s text, decimal or "0x" hexadecimal, with an optional sign.
std::optional<PropertyListInteger> parseInteger(std::string_view text);
// Base64 with whitespace anywhere and optional padding; no value on any other character or
// on text after the padding.
std::optional<std::string> decodeBase64(std::string_view text);
// The first element below and including `top`, in document order, that is not well formed, with
// what is wrong with it in `problem`; none when every element is.
pugi::xml_node firstProblem(pugi::xml_node top, std::string& problem);

}  // namespace tarq::SystemValuesUtility
