#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarq::SystemValuesUtility {

// The Documents folder named by the content of an xdg user-dirs file, whose entries read
// XDG_DOCUMENTS_DIR="$HOME/Documents" or XDG_DOCUMENTS_DIR="/absolute/path"; `home` stands
// for $HOME. Without a usable entry it is `home` + "/Documents".
std::string documentsDirectoryFromUserDirs(std::optional<std::string_view> userDirs,
                                           std::string_view home);

}  // namespace tarq::SystemValuesUtility
