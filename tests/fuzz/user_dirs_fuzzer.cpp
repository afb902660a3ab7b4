// The user-dirs file that names the Documents folder.
#include "FuzzText.h"
#include "system/probes/documents_folder_linux.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tarq::SystemValuesUtility::documentsDirectoryFromUserDirs(fuzzText(data, size), "/home/user");
  return 0;
}
