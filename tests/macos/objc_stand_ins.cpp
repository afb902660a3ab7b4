// What the Objective-C++ files define, for a Mach-O link of tarq-validate's C++ files alone (Zig
// has Apple's C library but no Foundation); linked, never run, each stops the program if it is.
#include <cstdlib>

#include "report/ReplacementFolder.h"
#include "system/probes/DiskSpace.h"
#include "system/probes/OperatingSystem.h"
#include "system/probes/ScreenSize.h"
#include "system/process/ObjC.h"
#include "system/process/ToolRunPlatform.h"

namespace tarq {

ReplacementFolder replacementFolderFor(const std::string& /*target*/) {
  std::abort();
}

}  // namespace tarq

namespace tarq::SystemValuesUtility {

std::string documentsDirectory() {
  std::abort();
}
OperatingSystemVersion operatingSystemVersion() {
  std::abort();
}
ScreenSize mainScreenSize(const char* /*displayName*/) {
  std::abort();
}
bool ObjC::catchException(const std::function<void()>& /*closure*/, ErrorValue& /*error*/) {
  std::abort();
}

// The process service's platform steps (tool_run_macos.mm).
bool openOutputPipe(int* /*ends*/) {
  std::abort();
}
short keepOnlyStandardDescriptors(posix_spawn_file_actions_t& /*actions*/,
                                  bool /*inheritStandardError*/) {
  std::abort();
}
int openProcessHandle(pid_t /*pid*/) {
  std::abort();
}
bool signalThroughHandle(int /*handle*/, int /*signal*/) {
  std::abort();
}
void adviseLargeBuffer(char* /*start*/, std::size_t /*length*/) {
  std::abort();
}
void raiseStartFailure(const std::string& /*path*/, int /*error*/) {
  std::abort();
}

}  // namespace tarq::SystemValuesUtility
