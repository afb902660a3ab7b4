#include <gtest/gtest.h>

#include "support/Tables.h"
#include "system/probes/documents_folder_linux.h"

namespace tarq::SystemValuesUtility {
namespace {

TEST(DocumentsFolderLinuxTest, UserDirsNameTheFolder) {
  testing::expectEach<std::optional<std::string_view>, std::string>(
      [](std::optional<std::string_view> userDirs) {
        return documentsDirectoryFromUserDirs(userDirs, "/home/ada");
      },
      {{std::nullopt, "/home/ada/Documents"},
       {"", "/home/ada/Documents"},
       {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n",
        "/home/ada/Dokumente"},
       {"XDG_DOCUMENTS_DIR=\"/srv/papers\"", "/srv/papers"},
       {"XDG_DOCUMENTS_DIR=\"$HOME/My \\\"Docs\\\"\"", "/home/ada/My \"Docs\""},
       {"# XDG_DOCUMENTS_DIR=\"$HOME/Old\"\n", "/home/ada/Documents"},
       {"XDG_DOCUMENTS_DIR=\"relative\"\n", "/home/ada/Documents"},
       {"XDG_DOCUMENTS_DIR=\"$HOME/\"\n", "/home/ada/"},
       {"XDG_DOCUMENTS_DIR=\"$HOME/A\"\nXDG_DOCUMENTS_DIR=\"$HOME/B\"\n", "/home/ada/B"}});
}

}  // namespace
}  // namespace tarq::SystemValuesUtility
