#pragma once

namespace tarq {

// Moves and sizes a shown native dialog (its GetHandle()) to `width`x`height` at `x`,`y` on the
// screen, where wxWidgets leaves that to the platform: its file dialog ignores sizes it is given
// and takes one of its own, from its font or the size it last had.
void placeNativeDialog(void* nativeDialog, int x, int y, int width, int height);

}  // namespace tarq
