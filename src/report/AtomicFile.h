#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace tarq {

// Writes `contents` to the file `path` whole or not at all: into a new file beside it, flushed
// to the disk, then renamed over `path`. On failure the new file is removed, `path` is left as
// it was, and the operating system's error is returned (its message() is the text to show).
std::error_code writeFileAtomically(const std::string& path, std::string_view contents);

}  // namespace tarq
