#pragma once

#include <wx/bmpbndl.h>

namespace tarq {

// The program's icon, the picture it installs for the desktop, built into the program.
wxBitmapBundle appIcon();

}  // namespace tarq
