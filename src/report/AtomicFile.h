#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace tarq {

// Writes `contents` to the file `path` whole or not at all: into a new file beside it, flushed
// to the disk, then renamed over `path`. A symbolic link is followed, so the file it leads to is
// replaced and the link stays; a replaced file keeps its permissions and, where the saver may
// give it, its owner. Only a regular file is replaced: a folder gives EISDIR, anything else (a
// FIFO, a device) `SaveError::notRegularFile`. On failure the new file is removed, `path` is left
// as it was, and the error is returned (its message() is the text to show).
std::error_code writeFileAtomically(const std::string& path, std::string_view contents);

// Failures of a save that the operating system has no error number for.
enum class SaveError { notRegularFile = 1, noPath };
std::error_code make_error_code(SaveError error);

}  // namespace tarq

template <>
struct std::is_error_code_enum<tarq::SaveError> : std::true_type {};
