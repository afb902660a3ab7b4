#pragma once

namespace tarq {

// Gives a native control (a window's GetHandle()) the name a screen reader announces for it.
// wxWidgets 3.2 passes no window name to the platform's accessibility, so it is set natively; a
// table is named on the table itself, not on the scroll view around it.
void setAccessibleName(void* nativeControl, const char* utf8Name);

}  // namespace tarq
