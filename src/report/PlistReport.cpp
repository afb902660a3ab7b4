#include <string>

#include "report/ReportDocument.h"
#include "system/text/TextScanning.h"

namespace tarq {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// `text` (valid UTF-8) as XML character data. A carriage return is written as a reference, which
// a reader keeps, where a bare one would be read as a line end.
std::string xmlText(std::string_view text) {
  std::string escaped;
  std::size_t position = 0;
  while (position < text.size()) {
    const std::size_t start = position;
    const std::optional<char32_t> codePoint = SystemValuesUtility::nextCodePoint(text, position);
    const char32_t c = codePoint.value_or(0xFFFD);
    if (c == U'&') {
      escaped += "&amp;";
    } else if (c == U'<') {
      escaped += "&lt;";
    } else if (c == U'>') {
      escaped += "&gt;";
    } else if (c == U'\r') {
      escaped += "&#13;";
    } else if (!codePoint || (c < 0x20 && c != U'\t' && c != U'\n') || c == 0xFFFE || c == 0xFFFF) {
      escaped += kReplacementCharacter;
    } else {
      escaped.append(text.substr(start, position - start));
    }
  }
  return escaped;
}

void appendValue(std::string& plist, const Json& value, int depth);

void appendIndent(std::string& plist, int depth) {
  plist.append(static_cast<std::size_t>(depth), '\t');
}

void appendContainer(std::string& plist, const Json& value, int depth) {
  const bool dict = value.is_object();
  const std::string_view tag = dict ? "dict" : "array";
  if (value.empty()) {
    plist += "<" + std::string(tag) + "/>\n";
    return;
  }
  plist += "<" + std::string(tag) + ">\n";
  for (auto item = value.begin(); item != value.end(); ++item) {
    if (item->is_null()) {
      continue;
    }
    if (dict) {
      appendIndent(plist, depth + 1);
      plist += "<key>" + xmlText(item.key()) + "</key>\n";
    }
    appendValue(plist, *item, depth + 1);
  }
  appendIndent(plist, depth);
  plist += "</" + std::string(tag) + ">\n";
}

void appendValue(std::string& plist, const Json& value, int depth) {
  appendIndent(plist, depth);
  if (value.is_object() || value.is_array()) {
    appendContainer(plist, value, depth);
  } else if (value.is_string()) {
    plist += "<string>" + xmlText(value.get_ref<const std::string&>()) + "</string>\n";
  } else if (value.is_boolean()) {
    plist += value.get<bool>() ? "<true/>\n" : "<false/>\n";
  } else if (value.is_number_float()) {
    plist += "<real>" + value.dump() + "</real>\n";
  } else {
    plist += "<integer>" + value.dump() + "</integer>\n";
  }
}

}  // namespace

std::string plistPassReport(const PassRecord& pass) {
  // Read back from the JSON text, whose strings are valid UTF-8 by then.
  const Json document = Json::parse(jsonPassReport(pass));
  std::string plist =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
      "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
      "<plist version=\"1.0\">\n";
  appendValue(plist, document, 0);
  plist += "</plist>\n";
  return plist;
}

}  // namespace tarq
