#include <gtest/gtest.h>

#include "support/Tables.h"
#include "system/text/PropertyList.h"

namespace tarq::SystemValuesUtility {
namespace {

// A compact text of a small value: {key=value,...}, [a,b], "string", date(...), data(...).
std::string render(const PropertyListValue& value) {
  std::string text;
  switch (value.kind()) {
    case PropertyListKind::dictionary:
      for (const std::string& key : value.keys()) {
        text += (text.empty() ? "" : ",") + key + '=' + render(value.find(key));
      }
      return '{' + text + '}';
    case PropertyListKind::array:
      for (const PropertyListValue& element : value.elements()) {
        text += (text.empty() ? "" : ",") + render(element);
      }
      return '[' + text + ']';
    case PropertyListKind::string:
      return '"' + value.text() + '"';
    case PropertyListKind::integer:
      return (value.integer().negative ? "-" : "") + std::to_string(value.integer().magnitude);
    case PropertyListKind::real:
      return ::testing::PrintToString(value.real());
    case PropertyListKind::boolean:
      return value.boolean() ? "true" : "false";
    case PropertyListKind::date:
      return "date(" + value.text() + ')';
    case PropertyListKind::data:
      return "data(" + value.data() + ')';
    case PropertyListKind::none:
      break;
  }
  return "none";
}

// The value, or what is wrong with it ("@" for "Invalid property list at byte offset ").
std::string parsed(std::string_view text) {
  const PropertyListParse result = PropertyList::parse(std::string(text));
  const std::string invalid = "Invalid property list at byte offset ";
  const std::string& description = result.errorDescription;
  return result.document                    ? render(result.document->root())
         : description.starts_with(invalid) ? "@" + description.substr(invalid.size())
                                            : description;
}

// Declared entities stay as written: nothing grows a document ("billion laughs") or reads a file.
TEST(PropertyListTest, ReadsEveryKindOfValue) {
  const auto inPlist = [](std::string_view body) {
    return parsed(
        "<?xml version=\"1.0\"?>\n"
        "<!DOCTYPE plist [<!ENTITY lol \"lol\"><!ENTITY lol2 \"&lol;&lol;&lol;&lol;&lol;\">\n"
        "  <!ENTITY file SYSTEM \"file:///etc/passwd\">]>\n<plist version=\"1.0\">" +
        std::string(body) + "</plist>");
  };
  testing::expectEach<std::string_view, std::string_view>(
      inPlist,
      {{"<dict><key>a</key><integer>-9223372036854775808</integer><key>b</key>"
        "<integer>18446744073709551615</integer><key>c</key><integer> 0x1F </integer>"
        "<key>d</key><integer>-0</integer><key>e</key><integer>0X1f</integer></dict>",
        "{a=-9223372036854775808,b=18446744073709551615,c=31,d=0,e=31}"},
       {"<array><real>2.5</real><real> -1e3 </real><real>3.</real><real>-infinity</real></array>",
        "[2.5,-1000,3,-inf]"},
       {"<array><true/><false></false><date>2024-05-01T12:00:00Z</date>"
        "<data>\n\tSGVs\n\tbG8=\n</data><data>SGVsbG8h</data></array>",
        "[true,false,date(2024-05-01T12:00:00Z),data(Hello),data(Hello!)]"},
       {"<array><string>a &amp; b &lt;c&gt; &#x41;&#66;</string><string><![CDATA[<raw>]]></string>"
        "<string> </string><string/><string>x<!-- note -->y</string></array>",
        R"(["a & b <c> AB","<raw>"," ","","xy"])"},
       // A repeated key: the last value counts, as the platform's dictionaries keep it.
       {"<dict><key>k</key><string>1</string><key>k</key><string>2</string></dict>",
        R"({k="2",k="2"})"},
       {"<dict/>", "{}"},
       {"<array><string>&lol2;</string><string>&file;</string><string>&undeclared;</string>"
        "</array>",
        R"(["&lol2;","&file;","&undeclared;"])"},
       {"<array>\n  <!-- comments and white space between values are nothing -->\n</array>",
        "[]"}});
}

TEST(PropertyListTest, DescribesWhatIsWrongAndWhere) {
  testing::expectEach<std::string_view, std::string_view>(
      parsed, {{"", "Malformed XML at byte offset 0: No document element found"},
               {"<array/>", "The document is <array>, not <plist>"},
               {"<plist/>", "@0: <plist> holds no value"}});
  // Each body in a <plist>, which the byte offsets count.
  testing::expectEach<std::string_view, std::string_view>(
      [](std::string_view body) { return parsed("<plist>" + std::string(body) + "</plist>"); },
      {{"<array><string>x</array>", "Malformed XML at byte offset 25: Start-end tags mismatch"},
       {"<true/><false/>", "@7: <plist> holds more than one value"},
       {"x<true/>", "@8: text inside <plist>"},
       {"<array><integer>12a</integer></array>", "@14: <integer> without a whole number in range"},
       {"<integer>18446744073709551616</integer>", "@7: <integer> without a whole number in range"},
       {"<integer>-9223372036854775809</integer>", "@7: <integer> without a whole number in range"},
       {"<integer></integer>", "@7: <integer> without a whole number in range"},
       {"<real>2,5</real>", "@7: <real> without a number"},
       {"<dict><key>a</key></dict>", "@7: a dictionary <key> without a value"},
       {"<dict><key>a</key><key>b</key></dict>", "@7: a dictionary <key> where its value belongs"},
       {"<dict><string>a</string></dict>", "@7: <string> where a dictionary needs a <key>"},
       {"<array><key>a</key></array>", "@14: <key> outside a dictionary"},
       {"<array>text</array>", "@7: text inside <array>"},
       {"<true>yes</true>", "@7: text inside <true>"},
       {"<string>a<b/></string>", "@7: an element inside <string>"},
       {"<array><foo/></array>", "@14: unknown element <foo>"},
       {"<date>yesterday</date>", "@7: <date> not of the form YYYY-MM-DDTHH:MM:SSZ"},
       {"<data>SGVs!bG8=</data>", "@7: <data> that is not base64"},
       {"<data>SG=Vs</data>", "@7: <data> that is not base64"}});
}

TEST(PropertyListTest, NestsAsDeepAsTheDocumentGoes) {
  constexpr int kDepth = 100000;
  std::string document = "<plist>";
  std::string closing;
  for (int level = 0; level < kDepth; ++level) {
    document += "<array>";
    closing += "</array>";
  }
  document += "<string>bottom</string>";
  const PropertyListParse deep = PropertyList::parse(document + closing + "</plist>");
  ASSERT_TRUE(deep.document) << deep.errorDescription;
  PropertyListValue value = deep.document->root();
  for (int level = 0; level < kDepth; ++level) {
    value = value.elements().at(0);
  }
  EXPECT_EQ(value.text(), "bottom");

  // The same depth with a fault at the bottom is found and reported.
  EXPECT_EQ(parsed(document + "<integer>x</integer>" + closing + "</plist>"),
            "@700030: <integer> without a whole number in range");
}

}  // namespace
}  // namespace tarq::SystemValuesUtility
