// The user-dirs file that names the Documents folder.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "system/probes/documents_folder_linux.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  tarq::documentsDirectoryFromUserDirs(text, "/home/user");
  return 0;
}
