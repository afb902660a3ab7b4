#include <gtest/gtest.h>

#include "system/probes/documents_folder_linux.h"

namespace tarq {
namespace {

TEST(DocumentsFolderLinuxTest, UserDirsNameTheFolder) {
  const struct {
    std::optional<std::string_view> userDirs;
    std::string folder;
  } cases[] = {
      {std::nullopt, "/home/ada/Documents"},
      {"", "/home/ada/Documents"},
      {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n",
       "/home/ada/Dokumente"},
      {"XDG_DOCUMENTS_DIR=\"/srv/papers\"", "/srv/papers"},
      {"XDG_DOCUMENTS_DIR=\"$HOME/My \\\"Docs\\\"\"", "/home/ada/My \"Docs\""},
      {"# XDG_DOCUMENTS_DIR=\"$HOME/Old\"\n", "/home/ada/Documents"},
      {"XDG_DOCUMENTS_DIR=relative/path\n", "/home/ada/Documents"},
      {"XDG_DOCUMENTS_DIR=\"relative\"\n", "/home/ada/Documents"},
      {"XDG_DOCUMENTS_DIR=\"$HOME/\"\n", "/home/ada/"},
      {"XDG_DOCUMENTS_DIR=\"$HOME/A\"\nXDG_DOCUMENTS_DIR=\"$HOME/B\"\n", "/home/ada/B"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(documentsDirectoryFromUserDirs(c.userDirs, "/home/ada"), c.folder)
        << c.userDirs.value_or("(no file)");
  }
}

}  // namespace
}  // namespace tarq
