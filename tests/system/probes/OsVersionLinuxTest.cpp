#include <gtest/gtest.h>

#include "system/probes/os_version_linux.h"

namespace tarq {
namespace {

TEST(OsVersionLinuxTest, TextIsThePrettyNameWithTheKernelRelease) {
  constexpr std::string_view debian =
      "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=\"Debian "
      "GNU/Linux\"\nVERSION_ID=\"12\"\n";
  EXPECT_EQ(linuxOperatingSystemVersion("6.1.0-18-amd64", debian).versionText,
            "Debian GNU/Linux 12 (bookworm), kernel 6.1.0-18-amd64");
  EXPECT_EQ(linuxOperatingSystemVersion("6.1.0", "NAME=Alpine\n").versionText,
            "Linux, kernel 6.1.0");
  EXPECT_EQ(linuxOperatingSystemVersion("6.1.0", std::nullopt).versionText, "Linux, kernel 6.1.0");
}

TEST(OsVersionLinuxTest, OsReleaseValuesAreShellWords) {
  const struct {
    std::string_view content;
    std::optional<std::string> value;
  } cases[] = {
      {"PRETTY_NAME=\"Ubuntu 24.04.1 LTS\"\n", "Ubuntu 24.04.1 LTS"},
      {"PRETTY_NAME='Fedora Linux 40 (Workstation Edition)'",
       "Fedora Linux 40 (Workstation Edition)"},
      {"PRETTY_NAME=Arch\n", "Arch"},
      {"PRETTY_NAME=\"Say \\\"hi\\\" \\$5\"", "Say \"hi\" $5"},
      {"# PRETTY_NAME=\"commented\"\nPRETTY_NAME_EXTRA=1\n", std::nullopt},
      {"  PRETTY_NAME=\"indented\"  \n", "indented"},
      {"PRETTY_NAME=\"unterminated", "unterminated"},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(osReleaseValue(c.content, "PRETTY_NAME"), c.value) << c.content;
  }
}

}  // namespace
}  // namespace tarq
