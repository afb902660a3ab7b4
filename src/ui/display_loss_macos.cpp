#include "ui/DisplayLoss.h"

namespace tarq {

// The window server does not go away under a running program.
void endToolsWhenTheDisplayGoesAway() {}

}  // namespace tarq
