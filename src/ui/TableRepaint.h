#pragma once

#include <wx/thread.h>
#include <wx/window.h>

namespace tarq {

// Asks for `table` to be redrawn from its list. Controls are touched on the main thread only: a
// pass runs elsewhere and hands each row and line over with a queued call, and the event loop,
// free while the pass runs, paints the change at once.
inline void repaintNow(wxWindow& table) {
  wxASSERT_MSG(wxIsMainThread(), "a table was changed off the main thread");
  table.Refresh();
}

}  // namespace tarq
