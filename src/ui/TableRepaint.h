#pragma once

#include <wx/window.h>

namespace tarq {

// Redraws `table` at once. A pass holds the main thread, so without this a person would see
// nothing until the pass ends; it paints without running the event loop, so no other input
// (a second press) can get in.
inline void repaintNow(wxWindow& table) {
  table.Refresh();
  table.Update();
}

}  // namespace tarq
