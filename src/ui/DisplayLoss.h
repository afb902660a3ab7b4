#pragma once

namespace tarq {

// Has the tools of a running pass end with the program when its display goes away. The toolkit
// leaves through _exit() on a lost X connection, past the exit handlers that end the tools on
// every other way out, so this hooks the X library's handler for that loss. Called once the
// toolkit has opened its display; nothing where the platform has no such loss.
void endToolsWhenTheDisplayGoesAway();

}  // namespace tarq
