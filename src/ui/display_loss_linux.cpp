// X: the I/O error handler is the last code that runs when the display connection is lost. libX11
// is in the process already, loaded by the toolkit; its one call is looked up there, so the build
// needs no X headers.
#include <dlfcn.h>

#include "system/process/RunningToolGroups.h"
#include "ui/DisplayLoss.h"

namespace tarq {
namespace {

using IoErrorHandler = int (*)(void* display);
using SetIoErrorHandler = IoErrorHandler(IoErrorHandler handler);

IoErrorHandler toolkitHandler = nullptr;

// Ends the tools, then leaves as the toolkit would have.
int displayLost(void* display) {
  SystemValuesUtility::endRunningTools();
  return toolkitHandler != nullptr ? toolkitHandler(display) : 0;
}

}  // namespace

void endToolsWhenTheDisplayGoesAway() {
  auto* setHandler =
      reinterpret_cast<SetIoErrorHandler*>(::dlsym(RTLD_DEFAULT, "XSetIOErrorHandler"));
  if (setHandler != nullptr && toolkitHandler == nullptr) {
    toolkitHandler = setHandler(displayLost);
  }
}

}  // namespace tarq
