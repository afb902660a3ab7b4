#include <gtest/gtest.h>

#include "support/Tables.h"
#include "system/probes/os_version_linux.h"

namespace tarq::SystemValuesUtility {
namespace {

// Linux is no macOS version, whatever its kernel is numbered.
TEST(OsVersionLinuxTest, NumbersAreZeroAndTheTextIsThePrettyNameWithTheKernelRelease) {
  const std::string_view debian = "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\nNAME=Debian\n";
  EXPECT_EQ(linuxOperatingSystemVersion("10.11.6", debian),
            (OperatingSystemVersion{0, 0, 0, "Debian GNU/Linux 12 (bookworm), kernel 10.11.6"}));
  EXPECT_EQ(linuxOperatingSystemVersion("11.2", "NAME=Alpine\n"),
            (OperatingSystemVersion{0, 0, 0, "Linux, kernel 11.2"}));
  EXPECT_EQ(linuxOperatingSystemVersion("6.1.0", std::nullopt).versionText, "Linux, kernel 6.1.0");
}

TEST(OsVersionLinuxTest, OsReleaseValuesAreShellWords) {
  testing::expectEach<std::string_view, std::optional<std::string>>(
      [](std::string_view content) { return osReleaseValue(content, "PRETTY_NAME"); },
      {{"PRETTY_NAME=\"Ubuntu 24.04.1 LTS\"\n", "Ubuntu 24.04.1 LTS"},
       {"PRETTY_NAME='Fedora Linux 40 (Workstation Edition)'",
        "Fedora Linux 40 (Workstation Edition)"},
       {"PRETTY_NAME=Arch\n", "Arch"},
       {"PRETTY_NAME=\"Say \\\"hi\\\" \\$5\"", "Say \"hi\" $5"},
       {"# PRETTY_NAME=\"commented\"\nPRETTY_NAME_EXTRA=1\n", std::nullopt},
       {"  PRETTY_NAME=\"indented\"  \n", "indented"},
       {"PRETTY_NAME=\"unterminated", "unterminated"},
       {"", std::nullopt}});
}

}  // namespace
}  // namespace tarq::SystemValuesUtility
