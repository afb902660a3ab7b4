#pragma once

namespace tarq {

// Opens the program's settings (the window's remembered shape) as the toolkit's configuration.
// A settings file the toolkit cannot read is set aside, renamed with ".unreadable" added, and
// said so on standard error; the program then starts from the defaults. Left to the toolkit,
// such a file would stop every start at an error dialog.
void openSettings();

}  // namespace tarq
