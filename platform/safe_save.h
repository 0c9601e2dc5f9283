// Saving a user's file (a phonebook, a settings file) so that no failure costs the file it
// replaces.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace platform {

// What a save left behind.
struct SaveOutcome {
  int error = 0;           // 0 when saved; else the error number of the step that failed
  bool mayBeTorn = false;  // the failure came while the file itself was being rewritten in
                           // place: it may hold part of the new content over the old
};

// Replaces the content of the file at `path` with `bytes`.
//
// The new content goes into a temporary file of a unique name beside the target, created
// exclusively, private from its first moment and given the target's mode before any byte is
// written; it is flushed to the disk and then renamed over the target. A failure at any step
// (a full disk, an I/O error, a mode that cannot be set) removes the temporary file and
// leaves the target as it was.
//
// A symbolic link is saved through: the file it names (which may not exist yet) gets the
// content and the link stays. In a sticky folder that every user may write, only a link of
// this user's or of the folder's owner is followed; another user's is refused (EACCES). Where the
// folder may not be written, or the target has other hard links that a rename would cut off, the
// target is rewritten in place instead: room for the new content is reserved first, so a full disk
// refuses the save with the file untouched; a failure after that (an I/O error, a disk that fails a
// reserved write) sets `mayBeTorn`. A target this user may not write is refused.
SaveOutcome SaveFileSafely(const std::filesystem::path& path, std::span<const uint8_t> bytes);

// Said after a file's name when a failed save may have torn it.
inline constexpr char kMayBeDamagedNote[] = " (the file may now be damaged)";

// A failed save in words, for a message after the file's name: the error's text, and that
// the file may now be damaged when it may be torn.
std::string SaveFailureText(const SaveOutcome& outcome);

}  // namespace platform
