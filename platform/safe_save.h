// Saving a user's file (a phonebook, a settings file) so that no failure costs the file it
// replaces.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace platform {

// Replaces the content of the file at `path` with `bytes`.
//
// The new content goes into a temporary file of a unique name beside the target, created
// exclusively, private from its first moment and given the target's mode before any byte is
// written; it is flushed to the disk and then renamed over the target. A failure at any step
// (a full disk, an I/O error, a mode that cannot be set) removes the temporary file and
// leaves the target as it was.
//
// A symbolic link is saved through: the file it names (which may not exist yet) gets the
// content and the link stays. Where the folder may not be written, or the target has other
// hard links that a rename would cut off, the target is rewritten in place instead. A
// target this user may not write is refused.
//
// Returns 0 on success, else the error number of the step that failed.
int SaveFileSafely(const std::filesystem::path& path, std::span<const uint8_t> bytes);

}  // namespace platform
